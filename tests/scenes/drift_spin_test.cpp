// The drifter and spinner rules on their own: the frames on which they wrap,
// decided by double accumulation and by the sense of each test.
#include <gtest/gtest.h>

#include "draw/scenes/animators.h"

namespace {

struct Drifter {
    double x = 0.0;
    double y = 0.0;
};

// The drifter of the diagonal square: +2 across, +1 down, back one box outside.
Drifter diagonalFor(int frames)
{
    Drifter d;
    for (int i = 0; i < frames; ++i)
        driftLinked(d.x, d.y, 2.0, {640.0, -64.0}, 1.0, {480.0, -64.0});
    return d;
}

double spinFor(int frames, double step)
{
    double angle = 0.0;
    for (int i = 0; i < frames; ++i)
        spin(angle, step);
    return angle;
}

} // namespace

TEST(Drifter, LinkedHoldsYOnTheFrameXWraps)
{
    EXPECT_EQ(diagonalFor(1).x, 2.0);
    EXPECT_EQ(diagonalFor(1).y, 1.0);
    const Drifter d320 = diagonalFor(320);
    EXPECT_EQ(d320.x, 640.0) << "equal to the limit: the test is strict";
    EXPECT_EQ(d320.y, 320.0);
    const Drifter d321 = diagonalFor(321);
    EXPECT_EQ(d321.x, -64.0) << "642 passed the limit; the overshoot is dropped";
    EXPECT_EQ(d321.y, 320.0) << "y stays on the frame x wraps";
    const Drifter d322 = diagonalFor(322);
    EXPECT_EQ(d322.x, -62.0);
    EXPECT_EQ(d322.y, 321.0);
    const Drifter d482 = diagonalFor(482);
    EXPECT_EQ(d482.x, 258.0);
    EXPECT_EQ(d482.y, -64.0);
    const Drifter d674 = diagonalFor(674);
    EXPECT_EQ(d674.x, -64.0) << "x wraps again on frame 674";
    EXPECT_EQ(diagonalFor(673).x, 640.0);
}

TEST(Drifter, IndependentMovesYOnTheFrameXWraps)
{
    Drifter d;
    for (int frame = 1; frame <= 961; ++frame) {
        driftIndependent(d.x, d.y, 1.0, {640.0, -64.0}, 0.5, {480.0, -64.0});
        if (frame == 640) {
            EXPECT_EQ(d.x, 640.0);
            EXPECT_EQ(d.y, 320.0);
        }
        if (frame == 641) {
            EXPECT_EQ(d.x, -64.0);
            EXPECT_EQ(d.y, 320.5) << "a linked drifter would hold 320.0";
        }
        if (frame == 960) {
            EXPECT_EQ(d.y, 480.0);
        }
    }
    EXPECT_EQ(d.y, -64.0) << "y first wraps on frame 961";
    EXPECT_EQ(d.x, 256.0);
}

TEST(Drifter, DropsTheOvershootAtEveryWrap)
{
    // Steps of 3 overshoot the limit by a different amount each pass.
    double x = 0.0, y = 0.0;
    int wraps = 0;
    for (int frame = 0; frame < 5000; ++frame) {
        const double was = x;
        driftLinked(x, y, 3.0, {640.0, -64.0}, 0.0, {480.0, -64.0});
        if (x < was) {
            ++wraps;
            EXPECT_EQ(x, -64.0) << "wrap " << wraps << " from " << was;
        }
    }
    EXPECT_GT(wraps, 10);
}

TEST(Drifter, NegativeStepsLeaveBelowTheLimitAndComeBackAtTheReset)
{
    double x = 0.0, y = 0.0;
    driftLinked(x, y, -0.35, {-0.0, 640.0}, -0.15, {-0.0, 480.0});
    EXPECT_EQ(x, 640.0) << "-0.35 is below -0.0";
    EXPECT_EQ(y, 0.0);
    driftLinked(x, y, -0.35, {-0.336, 640.168}, -0.15, {-0.336, 480.168});
    EXPECT_EQ(x, 639.65);
    EXPECT_EQ(y, -0.15) << "-0.15 is not below -0.336";
    // Equal to a limit below zero is not below it.
    double a = -1.0, b = 0.0;
    driftLinked(a, b, -1.0, {-2.0, 100.0}, -1.0, {-5.0, 50.0});
    EXPECT_EQ(a, -2.0);
    EXPECT_EQ(b, -1.0);
}

TEST(Drifter, ReadsLimitsFromAFaderUpdatedEarlierInTheSameFrame)
{
    // A scale fader that falls first turns at once, then rises by 0.007; the
    // drifter's limits follow the scale of the same frame.
    double scl = 0.0, vc2 = 0.0, x = 0.0, y = 0.0;
    for (int frame = 1; frame <= 2; ++frame) {
        fade(scl, vc2, -0.007, below(0.0), +0.007, above(2.0));
        driftLinked(x, y, -0.35, {scl * -48.0, scl * 48.0 * 0.5 + 640.0},
                    -0.15, {scl * -48.0, scl * 48.0 * 0.5 + 480.0});
    }
    EXPECT_EQ(scl, 0.007);
    EXPECT_EQ(x, 639.65);
    EXPECT_EQ(y, -0.15) << "with the frame's scale the limit is -0.336; with the last frame's, -0.0 would reset y";
}

TEST(Spinner, CountingDownNeverHoldsZero)
{
    EXPECT_EQ(spinFor(1, -1.0), 360.0);
    EXPECT_EQ(spinFor(2, -1.0), 359.0);
    EXPECT_EQ(spinFor(360, -1.0), 1.0);
    EXPECT_EQ(spinFor(361, -1.0), 360.0) << "0.0 meets <= 0.0 and becomes 360.0";
    double angle = 0.0;
    for (int frame = 0; frame < 2000; ++frame) {
        spin(angle, -9.0);
        ASSERT_GT(angle, 0.0) << "frame " << frame + 1;
    }
    EXPECT_EQ(spinFor(40, -9.0), 9.0);
    EXPECT_EQ(spinFor(41, -9.0), 360.0);
}

TEST(Spinner, CountingUpHoldsThreeSixtyForOneFrame)
{
    EXPECT_EQ(spinFor(1, 6.0), 6.0);
    EXPECT_EQ(spinFor(60, 6.0), 360.0) << "360.0 is not greater than 360.0";
    EXPECT_EQ(spinFor(61, 6.0), 0.0);
    EXPECT_EQ(spinFor(62, 6.0), 6.0);
}

TEST(Spinner, DropsTheOvershootWhenTheStepDoesNotDivideTheCircle)
{
    EXPECT_EQ(spinFor(205, 1.75), 358.75);
    EXPECT_EQ(spinFor(206, 1.75), 0.0) << "360.5 is never stored";
    EXPECT_EQ(spinFor(207, 1.75), 1.75);
    EXPECT_EQ(spinFor(240, 1.5), 360.0);
    EXPECT_EQ(spinFor(241, 1.5), 0.0);
}
