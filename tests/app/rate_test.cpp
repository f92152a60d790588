// Pacing, the frame-rate window and the power-of-two rounding: pure logic.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/rate.h"
#include "app/texture.h"

TEST(NextPowerOfTwo, RoundsUpToAPowerOfTwoCountingFromOne)
{
    EXPECT_EQ(nextPowerOfTwo(0), 1);
    EXPECT_EQ(nextPowerOfTwo(1), 1);
    EXPECT_EQ(nextPowerOfTwo(-7), 1);
    EXPECT_EQ(nextPowerOfTwo(2), 2);
    EXPECT_EQ(nextPowerOfTwo(30), 32);
    EXPECT_EQ(nextPowerOfTwo(64), 64);
    EXPECT_EQ(nextPowerOfTwo(65), 128);
    EXPECT_EQ(nextPowerOfTwo(72), 128);
    EXPECT_EQ(nextPowerOfTwo(100), 128);
}

TEST(NextPowerOfTwo, StopsAtTwoToTheThirtyInsteadOfOverflowing)
{
    EXPECT_EQ(nextPowerOfTwo(1 << 30), 1 << 30);
    EXPECT_EQ(nextPowerOfTwo((1 << 30) + 1), 1 << 30);
    EXPECT_EQ(nextPowerOfTwo(0x7FFFFFFF), 1 << 30);
}

TEST(Pacing, WaitsOutTheRestOfSixteenMilliseconds)
{
    EXPECT_EQ(paceDelay(0), 16u);
    EXPECT_EQ(paceDelay(5), 11u);
    EXPECT_EQ(paceDelay(15), 1u);
    EXPECT_EQ(paceDelay(16), 0u);
    EXPECT_EQ(paceDelay(17), 0u);
    EXPECT_EQ(paceDelay(0xFFFFFFFFu), 0u);
}

TEST(MeasureRate, IsTheMeasuredRateRoundedToNearestAHalfDown)
{
    EXPECT_EQ(measureRate(312, 5000), 62u);   // 62.4
    EXPECT_EQ(measureRate(313, 5000), 63u);   // 62.6
    EXPECT_EQ(measureRate(313, 5008), 62u);   // 62.5: a half rounds down
    EXPECT_EQ(measureRate(304, 5000), 61u);   // 60.8, not 59
    EXPECT_EQ(measureRate(4, 5000), 1u);      // 0.8
    EXPECT_EQ(measureRate(0, 5000), 0u);
    // A window that lasted longer than five seconds is divided by its length.
    EXPECT_EQ(measureRate(300, 10000), 30u);
    EXPECT_EQ(measureRate(620, 10016), 62u);
}

TEST(MeasureRate, CannotOverflow)
{
    EXPECT_EQ(measureRate(0xFFFFFFFFu, 5000), 858993459u);
    EXPECT_EQ(measureRate(0xFFFFFFFFu, 0xFFFFFFFFu), 1000u);
    EXPECT_EQ(measureRate(1, 0xFFFFFFFFu), 0u);
}

class Window : public ::testing::Test {
protected:
    FrameClock clock;
};

TEST_F(Window, CountsUntilFiveSecondsHavePassed)
{
    clock.windowFrames = 311;
    EXPECT_FALSE(clock.count(4999));
    EXPECT_EQ(clock.windowFrames, 312u);
    EXPECT_EQ(clock.windowStart, 0u);
    EXPECT_EQ(clock.lastRate, 0u);
}

TEST_F(Window, ClosesAtFiveSecondsAndRestartsAtOne)
{
    clock.windowFrames = 312;
    EXPECT_TRUE(clock.count(5000));
    EXPECT_EQ(clock.lastRate, 62u);
    EXPECT_EQ(clock.windowFrames, 1u);  // the closing frame opens the next window
    EXPECT_EQ(clock.windowStart, 5000u);

    clock.windowFrames = 300;
    EXPECT_FALSE(clock.count(9999));
    EXPECT_EQ(clock.lastRate, 62u);  // unchanged between closes
    EXPECT_TRUE(clock.count(10000));
    EXPECT_EQ(clock.lastRate, 60u);
    EXPECT_EQ(clock.windowStart, 10000u);
}

TEST_F(Window, MeasuresAcrossAWrapOfTheTickCounter)
{
    clock.windowStart = 0xFFFFF000u;  // 4096 ms before the wrap
    clock.windowFrames = 100;
    EXPECT_FALSE(clock.count(903));  // 4999 ms later
    EXPECT_EQ(clock.windowFrames, 101u);
    EXPECT_TRUE(clock.count(904));   // 5000 ms later
    EXPECT_EQ(clock.lastRate, 20u);            // 101 frames in 5 s
    EXPECT_EQ(clock.windowStart, 904u);
}

// The loop's pacing and window on a millisecond counter that moves in whole
// steps, or in steps whose edges jitter by up to a millisecond (as browsers
// coarsen their clocks), with a wait that ends once the counter has moved on
// by the delay: wait ends stay 16 ticks apart and no rate reads above 62.
TEST(PacedLoop, HoldsOnCoarseAndJitteredClocks)
{
    for (const double jitter : {0.0, 0.999}) {
        std::uint64_t seed = 12345;
        auto random = [&seed](double most) {  // a fixed sequence, uniform in [0, most)
            seed = seed * 6364136223846793005u + 1442695040888963407u;
            return most * static_cast<double>(seed >> 11) / static_cast<double>(1ull << 53);
        };
        double now = 0.0;  // true time, ms
        std::uint32_t last = 0;
        auto ticks = [&] {
            last = std::max(last, static_cast<std::uint32_t>(now + random(jitter)));
            return last;
        };
        FrameClock clock;
        std::uint32_t previousWaitEnd = 0;
        int closes = 0;
        for (int frame = 0; frame < 20000; ++frame) {
            now += random(frame % 50 == 0 ? 20.0 : 6.0);  // drawing; now and then a slow frame
            const std::uint32_t delay = clock.drawn(ticks());
            for (const std::uint32_t deadline = ticks() + delay; ticks() < deadline;)
                now += random(0.3);
            const bool closed = clock.waited(ticks());
            if (frame > 0) {
                ASSERT_GE(clock.waitEnd - previousWaitEnd, 16u) << "jitter " << jitter << ", frame " << frame;
            }
            previousWaitEnd = clock.waitEnd;
            if (closed) {
                ++closes;
                ASSERT_LE(clock.rate(), 62u) << "jitter " << jitter << ", frame " << frame;
            }
        }
        EXPECT_GT(closes, 50);
    }
}
