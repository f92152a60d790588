// The eight scenes against the recording GL, frame for frame: every call and
// argument of frame 1, the frames on which an animator turns or wraps, and
// the matrix depth and texturing each scene leaves behind.
//
// Scene state lives in function statics for the whole process, so the scenes
// are run once, frame after frame from the first, in the frame's order, and
// every frame's calls are kept: each test reads the frames it needs, in any
// order and under any filter.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <stdexcept>

#include "scenes/slots.h"
#include "scenes/primitives.h"
#include "scenes/scenes.h"
#include "support/fakes.h"

namespace {

using Calls = std::vector<std::string>;

// What one scene did on one frame.
struct Take {
    Calls calls;
    int depth = 0;               // matrix stack depth it left
    int deepest = 0;             // deepest push during it
    Capabilities enabled;        // capabilities it left enabled
};

struct Drawing {
    const char *name;
    void (*draw)();
};

// The fixed square and the eight scenes, in the frame's drawing order.
const std::array<Drawing, 9> kOrder = {{
    {"modelA", modelA},
    {"modelA_move", modelA_move},
    {"modelA_scal", modelA_scal},
    {"modelA_rots", modelA_rots},
    {"modelB_alph", modelB_alph},
    {"modelA_msr", modelA_msr},
    {"modelC_alph", modelC_alph},
    {"modelD_xfade", modelD_xfade},
    {"modelE_xfade", modelE_xfade},
}};

std::vector<std::array<Take, 9>> &film()
{
    static std::vector<std::array<Take, 9>> frames;
    return frames;
}

// The takes of frame n (from 1), drawing the frames up to it if need be.
const std::array<Take, 9> &frame(int n)
{
    auto &frames = film();
    if (frames.empty()) {
        // The names the recording GL would give the first six loads.
        texA = 1;
        texB = 2;
        texC = 3;
        texD = 4;
        texE = 5;
        texF = 6;
    }
    while (static_cast<int>(frames.size()) < n) {
        resetFakeGl();
        std::array<Take, 9> takes;
        for (std::size_t i = 0; i < kOrder.size(); ++i) {
            const std::size_t from = callLog.size();
            fakeGl.deepest = fakeGl.depth;
            kOrder[i].draw();
            takes[i] = {Calls(callLog.begin() + static_cast<std::ptrdiff_t>(from), callLog.end()),
                        fakeGl.depth, fakeGl.deepest, fakeGl.enabled};
        }
        frames.push_back(std::move(takes));
    }
    return frames[static_cast<std::size_t>(n - 1)];
}

const Take &take(int n, const std::string &scene)
{
    for (std::size_t i = 0; i < kOrder.size(); ++i)
        if (scene == kOrder[i].name)
            return frame(n)[i];
    throw std::invalid_argument("no scene " + scene);
}

Calls calls(int n, const std::string &scene) { return take(n, scene).calls; }

Calls wholeFrame(int n)
{
    Calls all;
    for (const auto &t : frame(n))
        all.insert(all.end(), t.calls.begin(), t.calls.end());
    return all;
}

// The calls that begin with `prefix`, e.g. every glTranslated of a scene.
Calls only(const Calls &calls, const std::string &prefix)
{
    Calls kept;
    for (const auto &call : calls)
        if (call.rfind(prefix, 0) == 0)
            kept.push_back(call);
    return kept;
}

// What a primitive issues, recorded apart from the film.
Calls drawn(const std::function<void()> &primitive)
{
    const Calls savedLog = callLog;
    const FakeGl savedGl = fakeGl;
    callLog.clear();
    primitive();
    const Calls result = callLog;
    callLog = savedLog;
    fakeGl = savedGl;
    return result;
}

Calls join(std::initializer_list<Calls> parts)
{
    Calls all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::string translated(double x, double y) { return "glTranslated(" + fmt(x) + ", " + fmt(y) + ", 0)"; }
std::string scaled(double s) { return "glScaled(" + fmt(s) + ", " + fmt(s) + ", 0)"; }
std::string rotated(double a) { return "glRotated(" + fmt(a) + ", 0, 0, 1)"; }

// Says where two call lists part, rather than printing both whole.
::testing::AssertionResult sameCalls(const Calls &got, const Calls &want)
{
    const std::size_t n = std::min(got.size(), want.size());
    for (std::size_t i = 0; i < n; ++i)
        if (got[i] != want[i]) {
            auto failure = ::testing::AssertionFailure();
            failure << "call " << i << ": expected " << want[i] << ", got " << got[i] << "\n  before it:";
            for (std::size_t j = i >= 3 ? i - 3 : 0; j < i; ++j)
                failure << " " << got[j];
            return failure;
        }
    if (got.size() != want.size())
        return ::testing::AssertionFailure()
               << "expected " << want.size() << " calls, got " << got.size() << "; next: "
               << (got.size() > n ? "extra " + got[n] : "missing " + want[n]);
    return ::testing::AssertionSuccess();
}

// A sum of `count` steps accumulated one at a time from `start`, as a scene does.
double stepped(double start, double step, int count)
{
    double value = start;
    for (int i = 0; i < count; ++i)
        value += step;
    return value;
}

// The offset that keeps a 64x64 box centred when scaled by s.
double centring(double s) { return (64.0 - 64.0 * s) * 0.5; }

Calls outline() { return drawn(modelA); }
const Calls kPopPush = {"glPopMatrix()", "glPushMatrix()"};  // between two bracketed objects

} // namespace

TEST(FrameOne, IsTheSquareThenTheEightScenesCallForCall)
{
    const Calls expected = join({
        outline(),
        // modelA_move: one step from (0, 0).
        {"glLoadIdentity()", "glTranslated(2, 1, 0)"}, outline(),
        // modelA_scal: scl 0.02, so c = (64 - 1.28) / 2 = 31.36; the drifter at (1, 0.5).
        {"glLoadIdentity()", "glPushMatrix()", "glTranslated(31.36, 31.36, 0)", "glScaled(0.02, 0.02, 0)"},
        outline(), kPopPush,
        {"glTranslated(32.36, 31.86, 0)", "glScaled(0.02, 0.02, 0)"}, outline(), {"glPopMatrix()"},
        // modelA_rots: both spinners start at 360; the drifter at (0.5, 0.25).
        {"glLoadIdentity()", "glPushMatrix()", "glTranslated(32, 32, 0)", "glRotated(360, 0, 0, 1)",
         "glTranslated(-32, -32, 0)"},
        outline(), kPopPush,
        {"glTranslated(32.5, 32.25, 0)", "glRotated(360, 0, 0, 1)", "glTranslated(-32, -32, 0)"}, outline(),
        {"glPopMatrix()"},
        // modelB_alph: the red square, then the faders' first steps, the drifter at
        // (0.25, 0.125) and the spinner at 6.
        {"glLoadIdentity()", "glPushMatrix()", "glTranslated(288, 208, 0)"},
        drawn([] { modelB(1.0, 0.0, 0.0, 0.4); }), kPopPush,
        {"glTranslated(312, 232, 0)"}, drawn([] { modelB(0.0, 1.0, 0.0, 0.0025); }), kPopPush,
        {"glTranslated(336, 256, 0)"}, drawn([] { modelB(0.0, 0.0, 1.0, 0.005); }), kPopPush,
        {"glTranslated(360, 280, 0)"}, drawn([] { modelB(1.0, 1.0, 1.0, 0.01); }), kPopPush,
        {"glTranslated(32.25, 32.125, 0)", "glRotated(6, 0, 0, 1)", "glTranslated(-32, -32, 0)"},
        drawn([] { modelB(1.0, 1.0, 0.0, 0.005); }), {"glPopMatrix()"},
        // modelA_msr: drifter (1.2, 1), scl 0.0125 so c = 31.6, spinner 360; the sum
        // 31.6 + 1.2 rounds to 32.800000000000004 in doubles. No push.
        {"glLoadIdentity()", "glTranslated(32.800000000000004, 32.6, 0)", "glScaled(0.0125, 0.0125, 0)",
         "glTranslated(32, 32, 0)", "glRotated(360, 0, 0, 1)", "glTranslated(-32, -32, 0)"},
        outline(),
        // modelC_alph: the fixed circle, then the octagon at (0.75, 1.25) with alpha 0.02.
        {"glLoadIdentity()", "glPushMatrix()"}, drawn([] { modelC(16, 1.0); }), kPopPush,
        {"glTranslated(0.75, 1.25, 0)"}, drawn([] { modelC(8, 0.02); }), {"glPopMatrix()"},
        // modelD_xfade: k = (-64 * 0.007 + 64) / 2 = 31.776; drifters (0.35, 1.15) and (0.65, 1.75).
        {"glLoadIdentity()", "glEnable(GL_TEXTURE_2D)", "glPushMatrix()", "glTranslated(384, 304, 0)"},
        drawn([] { modelD(0.01, 1); }), kPopPush,
        {"glTranslated(32.126, 32.926, 0)", "glScaled(0.007, 0.007, 0)", "glTranslated(32, 32, 0)",
         "glRotated(1.5, 0, 0, 1)", "glTranslated(-32, -32, 0)"},
        drawn([] { modelD(0.025, 2); }), kPopPush,
        {"glTranslated(32.426, 33.525999999999996, 0)", "glScaled(0.007, 0.007, 0)", "glTranslated(32, 32, 0)",
         "glRotated(-1.5, 0, 0, 1)", "glTranslated(-32, -32, 0)"},
        drawn([] { modelD(0.975, 3); }), {"glPopMatrix()", "glDisable(GL_TEXTURE_2D)"},
        // modelE_xfade: both scales turn at once to 0, both drifters wrap x to 640 and keep y 0.
        {"glLoadIdentity()", "glEnable(GL_TEXTURE_2D)", "glEnable(GL_TEXTURE_RECTANGLE_ARB)", "glPushMatrix()",
         "glTranslated(404, 324, 0)"},
        drawn([] { modelE(0.008, 4, 72); }), kPopPush,
        {"glTranslated(664, 24, 0)", "glScaled(0, 0, 0)", "glTranslated(24, 24, 0)", "glRotated(1.75, 0, 0, 1)",
         "glTranslated(-24, -24, 0)"},
        drawn([] { modelE(0.015, 5, 48); }), kPopPush,
        {"glTranslated(652, 12, 0)", "glScaled(0, 0, 0)", "glTranslated(12, 12, 0)", "glRotated(-1.75, 0, 0, 1)",
         "glTranslated(-12, -12, 0)"},
        drawn([] { modelE(0.985, 6, 24); }),
        {"glPopMatrix()", "glDisable(GL_TEXTURE_RECTANGLE_ARB)", "glDisable(GL_TEXTURE_2D)"},
    });
    EXPECT_TRUE(sameCalls(wholeFrame(1), expected));
}

TEST(Scenes, LeaveTheStackAsTheyFoundItAndTexturingOff)
{
    for (int n : {1, 2, 50, 81, 100, 200, 241, 321, 1000}) {
        for (std::size_t i = 0; i < kOrder.size(); ++i) {
            const Take &t = frame(n)[i];
            const std::string where = std::string(kOrder[i].name) + " on frame " + std::to_string(n);
            EXPECT_EQ(t.depth, 0) << where;
            EXPECT_TRUE(t.enabled.empty()) << where;
            // Only modelA_move and modelA_msr leave their transformation unbracketed.
            const bool brackets = i != 0 && i != 1 && i != 5;
            EXPECT_EQ(t.deepest, brackets ? 1 : 0) << where;
            if (i > 0) {
                EXPECT_EQ(t.calls.front(), "glLoadIdentity()") << where << ": starts from the identity";
            }
        }
    }
}

TEST(Scenes, ScaleEveryTimeWithZFactorZero)
{
    for (int n = 1; n <= 300; ++n)
        for (const auto &call : only(wholeFrame(n), "glScaled"))
            ASSERT_EQ(call.substr(call.size() - 4), ", 0)") << call << " on frame " << n;
}

TEST(ModelAMove, WrapsXOnFrame321WhileYWaits)
{
    EXPECT_EQ(only(calls(320, "modelA_move"), "glTranslated"), Calls{"glTranslated(640, 320, 0)"});
    EXPECT_EQ(only(calls(321, "modelA_move"), "glTranslated"), Calls{"glTranslated(-64, 320, 0)"});
    EXPECT_EQ(only(calls(322, "modelA_move"), "glTranslated"), Calls{"glTranslated(-62, 321, 0)"});
    EXPECT_EQ(only(calls(482, "modelA_move"), "glTranslated"), Calls{"glTranslated(258, -64, 0)"});
}

TEST(ModelAScal, PulsesOverTheFixedSquareEveryHundredFrames)
{
    EXPECT_EQ(only(calls(50, "modelA_scal"), "glTranslated"),
              (Calls{"glTranslated(0, 0, 0)", "glTranslated(50, 25, 0)"}));
    EXPECT_EQ(only(calls(50, "modelA_scal"), "glScaled"), (Calls{scaled(1.0), scaled(1.0)}));
    EXPECT_EQ(only(calls(100, "modelA_scal"), "glTranslated"),
              (Calls{"glTranslated(32, 32, 0)", "glTranslated(132, 82, 0)"}));
    EXPECT_EQ(only(calls(100, "modelA_scal"), "glScaled"), (Calls{scaled(0.0), scaled(0.0)}));
    EXPECT_EQ(only(calls(150, "modelA_scal"), "glScaled"), (Calls{scaled(1.0), scaled(1.0)}));
}

TEST(ModelAScal, ItsIndependentDrifterMovesYOnTheFrameXWraps)
{
    // Frame 641 is frame 41 of the scale's 100-frame cycle.
    const double c = centring(stepped(0.0, 0.02, 41));
    EXPECT_EQ(only(calls(641, "modelA_scal"), "glTranslated"),
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
        EXPECT_EQ(only(calls(n, "modelA_rots"), "glRotated"), want) << "frame " << n;
    EXPECT_EQ(only(calls(2, "modelA_rots"), "glTranslated")[2], "glTranslated(33, 32.5, 0)");
}

namespace {

// modelA_msr's scale on frame n: 81 rising steps of 0.0125, the 81st set to
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
    const Calls all = calls(n, "modelA_msr");
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
    EXPECT_EQ(only(calls(2, "modelA_msr"), "glRotated"), Calls{rotated(351)});
    EXPECT_EQ(only(calls(40, "modelA_msr"), "glRotated"), Calls{rotated(9)});
    EXPECT_EQ(only(calls(41, "modelA_msr"), "glRotated"), Calls{rotated(360)});
}

namespace {

// The colours of modelB_alph's five squares on frame n: red, green, blue, white, yellow.
std::vector<std::string> staircaseColours(int n)
{
    return only(calls(n, "modelB_alph"), "glColor4d");
}

} // namespace

TEST(ModelBAlph, TheRedSquareKeepsItsAlphaAndYellowFollowsBlue)
{
    for (int n = 1; n <= 1000; ++n) {
        const auto colours = staircaseColours(n);
        ASSERT_EQ(colours.size(), 5u);
        ASSERT_EQ(colours[0], "glColor4d(1, 0, 0, 0.4)") << "frame " << n;
        const std::string blue = colours[2].substr(colours[2].rfind(", "));
        const std::string yellow = colours[4].substr(colours[4].rfind(", "));
        ASSERT_EQ(blue, yellow) << "frame " << n;
        ASSERT_EQ(colours[4].rfind("glColor4d(1, 1, 0, ", 0), 0u) << colours[4];
    }
}

TEST(ModelBAlph, FadersTurnOnTheFramesTheirSumsPassTheBounds)
{
    const auto at200 = staircaseColours(200);
    EXPECT_EQ(at200[1], "glColor4d(0, 1, 0, " + fmt(stepped(0.0, 0.0025, 200)) + ")");
    EXPECT_EQ(at200[2], "glColor4d(0, 0, 1, 1)") << "fader 1 first passes 1.0 on frame 200";
    EXPECT_EQ(at200[3], "glColor4d(1, 1, 1, 0)") << "fader 2 is back below 0.0 on frame 200";
    EXPECT_EQ(at200[4], "glColor4d(1, 1, 0, 1)");
    EXPECT_EQ(staircaseColours(199)[2], "glColor4d(0, 0, 1, " + fmt(stepped(0.0, 0.005, 199)) + ")");
    EXPECT_EQ(staircaseColours(100)[3], "glColor4d(1, 1, 1, 1)");
    EXPECT_EQ(staircaseColours(401)[1], "glColor4d(0, 1, 0, 1)") << "fader 0 rises for 401 frames";
    EXPECT_EQ(staircaseColours(400)[2], "glColor4d(0, 0, 1, 0)");
}

TEST(ModelBAlph, TheYellowSquareSpinsUpAndWrapsToZero)
{
    EXPECT_EQ(only(calls(60, "modelB_alph"), "glRotated"), Calls{rotated(360)});
    EXPECT_EQ(only(calls(61, "modelB_alph"), "glRotated"), Calls{rotated(0)});
    EXPECT_EQ(only(calls(62, "modelB_alph"), "glRotated"), Calls{rotated(6)});
}

TEST(ModelBAlph, TheYellowSquareWrapsXOnlyOncePast640)
{
    // Its box is placed by its centre: (poX + 32, poY + 32).
    EXPECT_EQ(only(calls(2560, "modelB_alph"), "glTranslated").back(), "glTranslated(-32, -32, 0)");
    EXPECT_EQ(only(calls(2560, "modelB_alph"), "glTranslated")[4], "glTranslated(672, 352, 0)");
    EXPECT_EQ(only(calls(2561, "modelB_alph"), "glTranslated")[4], "glTranslated(-32, 352, 0)");
    EXPECT_EQ(only(calls(2562, "modelB_alph"), "glTranslated")[4], "glTranslated(-31.75, 352.125, 0)");
}

TEST(ModelCTest, TheOctagonTurnsOpaqueOnFrame50AndClearOnFrame150)
{
    // Up by 0.02 for 50 frames, down by 0.01 for 100.
    const std::map<int, double> alphas = {
        {49, stepped(0.0, 0.02, 49)}, {50, 1.0}, {51, 0.99},
        {149, stepped(1.0, -0.01, 99)}, {150, 0.0}, {151, 0.02},
    };
    for (const auto &[n, alpha] : alphas) {
        const Calls colours = only(calls(n, "modelC_alph"), "glColor4d");
        ASSERT_EQ(colours.size(), 2u);
        EXPECT_EQ(colours[0], "glColor4d(1, 0, 0, 1)") << "the fixed circle, frame " << n;
        EXPECT_EQ(colours[1], "glColor4d(1, 0, 0, " + fmt(alpha) + ")") << "frame " << n;
    }
}

TEST(ModelCTest, TheOctagonWrapsYThenXWithYWaiting)
{
    const std::map<int, std::string> at = {
        {384, "glTranslated(288, 480, 0)"},     {385, "glTranslated(288.75, -64, 0)"},
        {853, "glTranslated(639.75, -24, 0)"},  {854, "glTranslated(-64, -24, 0)"},
        {855, "glTranslated(-63.25, -22.75, 0)"},
    };
    for (const auto &[n, want] : at)
        EXPECT_EQ(only(calls(n, "modelC_alph"), "glTranslated"), Calls{want}) << "frame " << n;
}

TEST(ModelDTest, TheCrossFadeTurnsOnFrame40)
{
    const Calls colours = only(calls(40, "modelD_xfade"), "glColor4d");
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(colours[1], "glColor4d(1, 1, 1, 1)");
    EXPECT_EQ(colours[2], "glColor4d(1, 1, 1, 0)") << "the texC square shows 1 - al1";
    EXPECT_EQ(only(calls(100, "modelD_xfade"), "glColor4d")[0], "glColor4d(1, 1, 1, 1)");
    EXPECT_EQ(only(calls(240, "modelD_xfade"), "glColor4d")[1], "glColor4d(1, 1, 1, 0)")
        << "al1 falls for 200 frames";
}

TEST(ModelDTest, TheTwoMovingSquaresTurnOppositeWays)
{
    EXPECT_EQ(only(calls(240, "modelD_xfade"), "glRotated"), (Calls{rotated(360), rotated(-360)}));
    EXPECT_EQ(only(calls(241, "modelD_xfade"), "glRotated"), (Calls{rotated(0), rotated(-0.0)}));
    EXPECT_EQ(only(calls(242, "modelD_xfade"), "glRotated"), (Calls{rotated(1.5), rotated(-1.5)}));
}

TEST(ModelDTest, TheTexCSquareReentersWithTheScaleOfTheSameFrame)
{
    // sl2 rises by 0.007 for 429 frames; on frame 369 pY2 passes sl2 * 64 + 480
    // and is set to sl2 * -64, with the sl2 updated earlier in that frame.
    const double sl2 = stepped(0.0, 0.007, 369);
    const double k = (-64.0 * sl2 + 64.0) * 0.5;
    const double pX2 = stepped(0.0, 0.65, 369);
    EXPECT_EQ(only(calls(369, "modelD_xfade"), "glTranslated")[4], translated(k + pX2, k + sl2 * -64.0));
    EXPECT_EQ(only(calls(369, "modelD_xfade"), "glScaled")[1], scaled(sl2));
}

TEST(ModelDTest, BindsTheThreePowerOfTwoTexturesWithTexturingOn)
{
    const Calls all = calls(7, "modelD_xfade");
    EXPECT_EQ(only(all, "glBindTexture"),
              (Calls{"glBindTexture(GL_TEXTURE_2D, 1)", "glBindTexture(GL_TEXTURE_2D, 2)",
                     "glBindTexture(GL_TEXTURE_2D, 3)"}));
    EXPECT_EQ(all[1], "glEnable(GL_TEXTURE_2D)");
    EXPECT_EQ(all.back(), "glDisable(GL_TEXTURE_2D)");
}

TEST(ModelETest, ItsSecondFrameReadsTheScalesOfThatFrame)
{
    // scl = sl2 = 0.007. poY = -0.15 is not below 0.007 * -48 = -0.336 and stays;
    // pY2 = -0.65 is below 0.007 * -24 = -0.168 and comes back at 0.084 + 480.
    const double k48 = (-48.0 * 0.007 + 48.0) * 0.5, k24 = (-24.0 * 0.007 + 24.0) * 0.5;
    const Calls translations = only(calls(2, "modelE_xfade"), "glTranslated");
    ASSERT_EQ(translations.size(), 7u);
    EXPECT_EQ(translations[1], translated(k48 + 639.65, k48 + -0.15));
    EXPECT_EQ(translations[4], translated(k24 + 638.25, k24 + 480.084));
    EXPECT_EQ(translations[4], translated(650.166, 492)) << "the re-entering top edge lies at 492";
    EXPECT_EQ(only(calls(2, "modelE_xfade"), "glScaled"), (Calls{scaled(0.007), scaled(0.007)}));
}

TEST(ModelETest, TheSpinnerDropsItsOvershootAt360)
{
    EXPECT_EQ(only(calls(205, "modelE_xfade"), "glRotated"), (Calls{rotated(358.75), rotated(-358.75)}));
    EXPECT_EQ(only(calls(206, "modelE_xfade"), "glRotated"), (Calls{rotated(0), rotated(-0.0)}));
}

TEST(ModelETest, BindsTheThreeRectangleTexturesBetweenTheSwitches)
{
    const Calls all = calls(3, "modelE_xfade");
    EXPECT_EQ(only(all, "glBindTexture"),
              (Calls{"glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 4)", "glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 5)",
                     "glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 6)"}));
    EXPECT_EQ(only(all, "glTexCoord2i(").size(), 12u);
    EXPECT_EQ(all.back(), "glDisable(GL_TEXTURE_2D)");
}
