// The scenes of the red outline square (driftingSquare, pulsingSquares,
// spinningSquares, tumblingSquare) against the recording GL: the frames on which their
// animators turn and wrap.
#include <gtest/gtest.h>

#include <map>

#include "film.h"

TEST(ModelAMove, WrapsXOnFrame321WhileYWaits)
{
    EXPECT_EQ(only(calls(320, "driftingSquare"), "glTranslated"), Calls{"glTranslated(640, 320, 0)"});
    EXPECT_EQ(only(calls(321, "driftingSquare"), "glTranslated"), Calls{"glTranslated(-64, 320, 0)"});
    EXPECT_EQ(only(calls(322, "driftingSquare"), "glTranslated"), Calls{"glTranslated(-62, 321, 0)"});
    EXPECT_EQ(only(calls(482, "driftingSquare"), "glTranslated"), Calls{"glTranslated(258, -64, 0)"});
}

TEST(ModelAScal, PulsesOverTheFixedSquareEveryHundredFrames)
{
    EXPECT_EQ(only(calls(50, "pulsingSquares"), "glTranslated"),
              (Calls{"glTranslated(0, 0, 0)", "glTranslated(50, 25, 0)"}));
    EXPECT_EQ(only(calls(50, "pulsingSquares"), "glScaled"), (Calls{scaled(1.0), scaled(1.0)}));
    EXPECT_EQ(only(calls(100, "pulsingSquares"), "glTranslated"),
              (Calls{"glTranslated(32, 32, 0)", "glTranslated(132, 82, 0)"}));
    EXPECT_EQ(only(calls(100, "pulsingSquares"), "glScaled"), (Calls{scaled(0.0), scaled(0.0)}));
    EXPECT_EQ(only(calls(150, "pulsingSquares"), "glScaled"), (Calls{scaled(1.0), scaled(1.0)}));
}

TEST(ModelAScal, ItsIndependentDrifterMovesYOnTheFrameXWraps)
{
    // Frame 641 is frame 41 of the scale's 100-frame cycle.
    const double c = centring(stepped(0.0, 0.02, 41));
    EXPECT_EQ(only(calls(641, "pulsingSquares"), "glTranslated"),
              (Calls{translated(c, c), translated(c + -64.0, c + 320.5)}));
}

TEST(ModelARots, SpinnersCountDownAndNeverReachZero)
{
    // Each frame: rot about the fixed square, then rt2 about the drifting one.
    const std::map<int, Calls> angles = {
        {1, {rotated(360), rotated(360)}},   {2, {rotated(359), rotated(357)}},
        {120, {rotated(241), rotated(3)}},   {121, {rotated(240), rotated(360)}},
        {360, {rotated(1), rotated(3)}},     {361, {rotated(360), rotated(360)}},
    };
    for (const auto &[n, want] : angles)
        EXPECT_EQ(only(calls(n, "spinningSquares"), "glRotated"), want) << "frame " << n;
    EXPECT_EQ(only(calls(2, "spinningSquares"), "glTranslated")[2], "glTranslated(33, 32.5, 0)");
}

namespace {

// tumblingSquare's scale on frame n: 81 rising steps of 0.0125, the 81st set to
// 1.0, then 81 falling ones, the 81st set to 0.0, over and over.
double msrScale(int n)
{
    const int inCycle = (n - 1) % 162 + 1;
    if (inCycle == 81)
        return 1.0;
    if (inCycle == 162)
        return 0.0;
    return inCycle < 81 ? stepped(0.0, 0.0125, inCycle) : stepped(1.0, -0.0125, inCycle - 81);
}

Calls msrPlacement(int n, double x, double y)
{
    const double s = msrScale(n);
    return {translated(centring(s) + x, centring(s) + y), scaled(s)};
}

Calls msrPlacementOf(int n)
{
    const Calls all = calls(n, "tumblingSquare");
    return {all.at(1), all.at(2)};
}

} // namespace

TEST(ModelAMsr, TurnsOnFrame81NotFrame80)
{
    EXPECT_EQ(msrPlacementOf(80)[1], "glScaled(0.9999999999999984, 0.9999999999999984, 0)");
    EXPECT_EQ(msrPlacementOf(81), (Calls{translated(stepped(0.0, 1.2, 81), 81.0), scaled(1.0)}));
    EXPECT_EQ(msrPlacementOf(162), (Calls{translated(32.0 + stepped(0.0, 1.2, 162), 32.0 + 162.0), scaled(0.0)}));
}

TEST(ModelAMsr, WrapsYOnFrame481AndXOnFrame534)
{
    EXPECT_EQ(msrPlacementOf(480), msrPlacement(480, stepped(0.0, 1.2, 480), 480.0));
    EXPECT_EQ(msrPlacementOf(481), msrPlacement(481, stepped(0.0, 1.2, 481), -64.0));
    EXPECT_EQ(msrPlacementOf(534), msrPlacement(534, -64.0, -12.0)) << "y waits while x wraps";
    EXPECT_EQ(msrPlacementOf(535), msrPlacement(535, -62.8, -11.0));
}

TEST(ModelAMsr, SpinsNineDegreesAFrameDownwards)
{
    EXPECT_EQ(only(calls(2, "tumblingSquare"), "glRotated"), Calls{rotated(351)});
    EXPECT_EQ(only(calls(40, "tumblingSquare"), "glRotated"), Calls{rotated(9)});
    EXPECT_EQ(only(calls(41, "tumblingSquare"), "glRotated"), Calls{rotated(360)});
}
