// Each goal's pass or fail at its bound: the figures decide, the bound
// itself included or not as the goal says.
#include <gtest/gtest.h>

#include "goals.h"

namespace {

TEST(Goals, FrameOverheadUpToFivePercent)
{
    EXPECT_TRUE(frameOverhead(1.05, 2.1, 2.0).pass);
    EXPECT_TRUE(frameOverhead(0.95, 1.9, 2.0).pass);
    EXPECT_FALSE(frameOverhead(1.0501, 2.1, 2.0).pass);  // the ratio decides, not the times beside it
    EXPECT_EQ(frameOverhead(1.05, 2.1, 2.0).measured, "1.050x (2.100 vs 2.000 ms)");
}

TEST(Goals, StartupUnderThirtyMillisecondsMore)
{
    EXPECT_TRUE(startupCost(229.9, 200.0, 2.0).pass);
    EXPECT_FALSE(startupCost(230.0, 200.0, 2.0).pass);
    EXPECT_TRUE(startupCost(190.0, 200.0, 2.0).pass);
    EXPECT_EQ(startupCost(235.0, 200.0, 2.5).measured,
              "235.0 - 200.0 ms = +35.0 ms (+2.5 before the first frame, +32.5 in it)");
}

TEST(Goals, MemoryUnderSixteenMebibytesMore)
{
    EXPECT_TRUE(memoryCost(90 * 1024 + 16 * 1024 - 1, 90 * 1024).pass);
    EXPECT_FALSE(memoryCost(90 * 1024 + 16 * 1024, 90 * 1024).pass);
    EXPECT_EQ(memoryCost(108 * 1024, 90 * 1024).measured, "108.0 - 90.0 MiB = +18.0 MiB");
}

TEST(Goals, RateLinesSteadyAfterTheFirst)
{
    EXPECT_TRUE(rateLines("0\n62\n62\n").pass);   // the first window holds start-up
    EXPECT_TRUE(rateLines("62\n62\n62\n62\n").pass);
    EXPECT_FALSE(rateLines("62\n62\n").pass);     // one line after the first is not steady yet
    EXPECT_FALSE(rateLines("62\n61\n62\n").pass);
    EXPECT_FALSE(rateLines("62\n62\n63\n").pass);
    EXPECT_FALSE(rateLines("62\n62\n62x\n").pass);
    EXPECT_FALSE(rateLines("").pass);
    EXPECT_EQ(rateLines("60\n62\n62\n").measured, "60 62 62 (first not counted)");
}

TEST(Goals, NoAllocations)
{
    EXPECT_TRUE(heapAllocations(0, 1000).pass);
    EXPECT_FALSE(heapAllocations(1, 1000).pass);
}

TEST(Goals, WhatWasNotMeasuredFails)
{
    EXPECT_FALSE(notMeasured("start-up to first frame", "a benchmark did not run").pass);
}

} // namespace
