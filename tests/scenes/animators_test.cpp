// The fader, drifter and spinner rules on their own: the frames on which they
// turn and wrap, decided by double accumulation and by the sense of each test.
#include <gtest/gtest.h>

#include "scenes/animators.h"

namespace {

struct Fader {
    double value = 0.0;
    double flag = 0.0;
};

// Runs `frames` updates of a fader whose two steps are +step and -step.
Fader fadeFor(int frames, double step, Turn up, Turn down)
{
    Fader f;
    for (int i = 0; i < frames; ++i)
        fade(f.value, f.flag, step, up, -step, down);
    return f;
}

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

TEST(Fader, RisesToTheBoundAndFallsBackEveryHundredFrames)
{
    const Turn up = atLeast(1.0), down = atMost(0.0);
    EXPECT_EQ(fadeFor(1, 0.02, up, down).value, 0.02);
    const Fader before = fadeFor(49, 0.02, up, down);
    EXPECT_EQ(before.value, 0.9800000000000005) << "the accumulated value, not 49 * 0.02";
    EXPECT_EQ(before.flag, 0.0);
    const Fader top = fadeFor(50, 0.02, up, down);
    EXPECT_EQ(top.value, 1.0) << "set to the bound exactly, overshoot dropped";
    EXPECT_EQ(top.flag, 1.0);
    const Fader back = fadeFor(51, 0.02, up, down);
    EXPECT_EQ(back.value, 0.98) << "one step down from the bound itself";
    EXPECT_EQ(back.flag, 1.0);
    for (int frames : {100, 200, 300}) {
        const Fader bottom = fadeFor(frames, 0.02, up, down);
        EXPECT_EQ(bottom.value, 0.0) << "frame " << frames;
        EXPECT_EQ(bottom.flag, 0.0) << "frame " << frames;
    }
    EXPECT_EQ(fadeFor(150, 0.02, up, down).value, 1.0);
}

TEST(Fader, TurnsOnFrame81NotFrame80WhenTheSumFallsShort)
{
    const Turn up = atLeast(1.0), down = atMost(0.0);
    const Fader f80 = fadeFor(80, 0.0125, up, down);
    EXPECT_EQ(f80.value, 0.9999999999999984);
    EXPECT_EQ(f80.flag, 0.0);
    const Fader f81 = fadeFor(81, 0.0125, up, down);
    EXPECT_EQ(f81.value, 1.0);
    EXPECT_EQ(f81.flag, 1.0);
    const Fader f161 = fadeFor(161, 0.0125, up, down);
    EXPECT_GT(f161.value, 0.0);
    EXPECT_EQ(f161.flag, 1.0);
    const Fader f162 = fadeFor(162, 0.0125, up, down);
    EXPECT_EQ(f162.value, 0.0);
    EXPECT_EQ(f162.flag, 0.0);
}

TEST(Fader, StrictTestsTurnOnceTheSumHasPassedTheBound)
{
    const Turn up = above(1.0), down = below(0.0);
    const Fader f99 = fadeFor(99, 0.01, up, down);
    EXPECT_LT(f99.value, 1.0);
    EXPECT_EQ(f99.flag, 0.0);
    const Fader f100 = fadeFor(100, 0.01, up, down);
    EXPECT_EQ(f100.value, 1.0);
    EXPECT_EQ(f100.flag, 1.0);
    EXPECT_EQ(fadeFor(199, 0.01, up, down).flag, 1.0);
    const Fader f200 = fadeFor(200, 0.01, up, down);
    EXPECT_EQ(f200.value, 0.0);
    EXPECT_EQ(f200.flag, 0.0);
}

TEST(Fader, AStrictTestLetsAValueEqualToItsBoundMoveOn)
{
    // Steps of 0.25 add up exactly: the value lands on the bound on frame 4.
    const Fader strict4 = fadeFor(4, 0.25, above(1.0), below(0.0));
    EXPECT_EQ(strict4.value, 1.0);
    EXPECT_EQ(strict4.flag, 0.0) << "1.0 > 1.0 does not hold";
    const Fader strict5 = fadeFor(5, 0.25, above(1.0), below(0.0));
    EXPECT_EQ(strict5.value, 1.0);
    EXPECT_EQ(strict5.flag, 1.0);

    const Fader loose4 = fadeFor(4, 0.25, atLeast(1.0), atMost(0.0));
    EXPECT_EQ(loose4.value, 1.0);
    EXPECT_EQ(loose4.flag, 1.0) << "1.0 >= 1.0 holds";

    // On the way down: 0.0 turns a non-strict fader, a strict one goes below first.
    EXPECT_EQ(fadeFor(8, 0.25, atLeast(1.0), atMost(0.0)).flag, 0.0);
    const Fader strict9 = fadeFor(9, 0.25, above(1.0), below(0.0));
    EXPECT_EQ(strict9.value, 0.0);
    EXPECT_EQ(strict9.flag, 1.0);
    const Fader strict10 = fadeFor(10, 0.25, above(1.0), below(0.0));
    EXPECT_EQ(strict10.value, 0.0);
    EXPECT_EQ(strict10.flag, 0.0);
}

TEST(Fader, WhoseFlagZeroMovesDownTurnsOnItsFirstFrame)
{
    double value = 0.0, flag = 0.0;
    fade(value, flag, -0.007, below(0.0), +0.007, above(2.0));
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(flag, 1.0);
    fade(value, flag, -0.007, below(0.0), +0.007, above(2.0));
    EXPECT_EQ(value, 0.007) << "starts rising on frame 2";
    EXPECT_EQ(flag, 1.0);
}

TEST(Fader, MovesOnlyUnderAFlagOfZeroOrOne)
{
    double value = 0.5, flag = 0.5;
    fade(value, flag, 0.1, above(1.0), -0.1, below(0.0));
    EXPECT_EQ(value, 0.5);
    EXPECT_EQ(flag, 0.5);
}

TEST(Fader, UnequalStepsGiveUnequalHalves)
{
    // Up by 0.025, down by 0.005: 40 frames up, 200 down.
    double value = 0.0, flag = 0.0;
    int frame = 0, turnedUp = 0, turnedDown = 0;
    while (!turnedDown && frame < 1000) {
        ++frame;
        const double was = flag;
        fade(value, flag, +0.025, above(1.0), -0.005, below(0.0));
        if (was == 0.0 && flag == 1.0)
            turnedUp = frame;
        if (was == 1.0 && flag == 0.0)
            turnedDown = frame;
    }
    EXPECT_EQ(turnedUp, 40);
    EXPECT_EQ(turnedDown - turnedUp, 200);
}

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
