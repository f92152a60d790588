// Each goal's pass or fail comes from the figures it is given, at and just
// past its bound; the rows with no goal never fail.
#include <gtest/gtest.h>

#include "goals.h"

namespace {

TEST(Goals, PassOrFailAtTheBound)
{
    const struct {
        Row row;
        bool pass;
    } cases[] = {
        {frameOverhead(1.05, 2.1, 2.0), true},
        {frameOverhead(1.0501, 2.1, 2.0), false},  // the ratio decides, not the times beside it
        {startupCost(205.0, 200.0, 1.0), true},
        {startupCost(205.1, 200.0, 1.0), false},
        {startupCost(190.0, 200.0, 1.0), true},
        {memoryCost(100 * 1024 + 1024, 100 * 1024), true},
        {memoryCost(100 * 1024 + 1025, 100 * 1024), false},
        {heapAllocations(0, 1000), true},
        {heapAllocations(1, 1000), false},
        {notMeasured("start-up to first frame / replay", "a benchmark did not run"), false},
        {pacedCost("640x480", 1.05, 0.105, 0.1), true},
        {pacedCost("640x480", 1.0501, 0.1, 0.1), false},
        {scalingCost("640x480", 1.1, 0.11, 0.1, true), true},
        {scalingCost("640x480", 1.1001, 0.11, 0.1, true), false},
        {scalingCost("640x480", 0.9, 0.09, 0.1, true), true},
        {scalingCost("640x480", 0.8999, 0.09, 0.1, true), false},
        {scalingCost("1920x1080", 4.0, 0.4, 0.1, false), true},
        {previewCost("200x150", 1.05, 0.105, 0.1), true},
        {previewCost("200x150", 1.0501, 0.1, 0.1), false},
        {startupOverDisplay(260.0, 200.0), true},
        {memoryOverDisplay(200 * 1024, 90 * 1024), true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.row.pass, c.pass) << c.row.figure << ": " << c.row.measured;
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
}

} // namespace
