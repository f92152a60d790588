// The fader's rules on their own: the frames on which it turns, decided by
// double accumulation and by the sense of each turn test.
#include <gtest/gtest.h>

#include "draw/scenes/animators.h"

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
