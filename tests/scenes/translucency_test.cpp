// The translucent scenes (fadingStaircase, fadingCircle) against the recording GL:
// the frames on which their faders and drifters turn and wrap.
#include <gtest/gtest.h>

#include <map>

#include "film.h"

namespace {

// The colours of fadingStaircase's five squares on frame n: red, green, blue, white, yellow.
std::vector<std::string> staircaseColours(int n)
{
    return only(calls(n, "fadingStaircase"), "glColor4d");
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
    EXPECT_EQ(only(calls(60, "fadingStaircase"), "glRotated"), Calls{rotated(360)});
    EXPECT_EQ(only(calls(61, "fadingStaircase"), "glRotated"), Calls{rotated(0)});
    EXPECT_EQ(only(calls(62, "fadingStaircase"), "glRotated"), Calls{rotated(6)});
}

TEST(ModelBAlph, TheYellowSquareWrapsXOnlyOncePast640)
{
    // Its box is placed by its centre: (poX + 32, poY + 32).
    EXPECT_EQ(only(calls(2560, "fadingStaircase"), "glTranslated").back(), "glTranslated(-32, -32, 0)");
    EXPECT_EQ(only(calls(2560, "fadingStaircase"), "glTranslated")[4], "glTranslated(672, 352, 0)");
    EXPECT_EQ(only(calls(2561, "fadingStaircase"), "glTranslated")[4], "glTranslated(-32, 352, 0)");
    EXPECT_EQ(only(calls(2562, "fadingStaircase"), "glTranslated")[4], "glTranslated(-31.75, 352.125, 0)");
}

TEST(ModelCAlph, TheOctagonTurnsOpaqueOnFrame50AndClearOnFrame150)
{
    // Up by 0.02 for 50 frames, down by 0.01 for 100.
    const std::map<int, double> alphas = {
        {49, stepped(0.0, 0.02, 49)}, {50, 1.0}, {51, 0.99},
        {149, stepped(1.0, -0.01, 99)}, {150, 0.0}, {151, 0.02},
    };
    for (const auto &[n, alpha] : alphas) {
        const Calls colours = only(calls(n, "fadingCircle"), "glColor4d");
        ASSERT_EQ(colours.size(), 2u);
        EXPECT_EQ(colours[0], "glColor4d(1, 0, 0, 1)") << "the fixed circle, frame " << n;
        EXPECT_EQ(colours[1], "glColor4d(1, 0, 0, " + fmt(alpha) + ")") << "frame " << n;
    }
}

TEST(ModelCAlph, TheOctagonWrapsYThenXWithYWaiting)
{
    const std::map<int, std::string> at = {
        {384, "glTranslated(288, 480, 0)"},     {385, "glTranslated(288.75, -64, 0)"},
        {853, "glTranslated(639.75, -24, 0)"},  {854, "glTranslated(-64, -24, 0)"},
        {855, "glTranslated(-63.25, -22.75, 0)"},
    };
    for (const auto &[n, want] : at)
        EXPECT_EQ(only(calls(n, "fadingCircle"), "glTranslated"), Calls{want}) << "frame " << n;
}
