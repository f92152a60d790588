// The overlay against the recording GL: its twelve texts on the frames where
// its fade turns, and the frame rate it shows as the frame loop measures it.
#include <gtest/gtest.h>

#include <algorithm>

#include "draw/frame.h"
#include "app/loop.h"
#include "draw/scenes/slots.h"
#include "glyph_log.h"
#include "draw/text/overlay.h"

namespace {

using Calls = std::vector<std::string>;
using Draws = std::vector<TextDraw>;

const char kCredit[] = "VORLEX DEMO 2009 BY THE VORLEX AUTHORS";

// The twelve texts in their order; `alp` is the fade's alpha on the frame.
Draws expectedDraws(const std::string &alp, const std::string &rate,
                    unsigned a6, unsigned a12, unsigned b6, unsigned b12)
{
    return {
        {b12, 12, "1", 48, 360, "OpenGL TEST"},
        {a12, 12, alp, 48, 360, "OpenGL TEST"},
        {b6, 6, "1", 48, 372, kCredit},
        {a6, 6, alp, 48, 372, kCredit},
        {b6, 6, "1", 48, 378, std::string(38, '_')},
        {b6, 6, "1", 48, 386, "ESC OR Q TO QUIT"},
        {b6, 6, alp, 0, 0, "MAC OS X10.4.11"},
        {b6, 6, alp, 0, 6, "Xcode 2.5"},
        {b6, 6, alp, 0, 12, "OpenGL"},
        {b6, 6, alp, 0, 18, "SDL 1.2.13"},
        {b6, 6, alp, 0, 24, "DATE:2009.7"},
        {b6, 6, "1", 598, 468, "FPS:" + rate},
    };
}

class Overlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetFakes();
    }

    // Draws one overlay frame alone, with the atlases named 11, 12 (A) and 21, 22 (B).
    void frame()
    {
        resetFakeGl();
        fontAtlasA[0] = 11;
        fontAtlasA[1] = 12;
        fontAtlasB[0] = 21;
        fontAtlasB[1] = 22;
        drawOverlay(0);  // the rate before the first window closes
        ++framesDrawn;
    }

    // The fade lives in the overlay's own statics and repeats every 200
    // frames from (0, 0); this runs on to the end of the current cycle.
    void toCycleStart()
    {
        while (framesDrawn % 200 != 0)
            frame();
    }

    double alpha() const { return std::stod(textDrawsFrom()[1].alpha); }

    static int framesDrawn;  // overlay frames drawn so far in this process
};

int Overlay::framesDrawn = 0;

} // namespace

TEST_F(Overlay, TheCreditLineNamesTheDemoItsYearAndItsMakerInThirtyEightCells)
{
    frame();
    const Draws draws = textDrawsFrom();
    ASSERT_EQ(draws.size(), 12u);
    const std::string credit = draws[2].text;
    EXPECT_EQ(credit, kCredit);
    EXPECT_EQ(credit.size(), 38u);
    EXPECT_EQ(draws[4].text.size(), credit.size()) << "the underline is exactly as wide";
    EXPECT_NE(credit.find("VORLEX"), std::string::npos);
    EXPECT_NE(credit.find("2009"), std::string::npos);
    EXPECT_EQ(credit.find('%'), std::string::npos) << "the line is passed as a format";
}

TEST_F(Overlay, DrawsItsTwelveTextsBetweenTheTexturingSwitches)
{
    toCycleStart();
    frame();
    ASSERT_GE(callLog.size(), 5u);
    EXPECT_EQ(Calls(callLog.begin(), callLog.begin() + 3),
              (Calls{"glLoadIdentity()", "glEnable(GL_TEXTURE_2D)", "glEnable(GL_TEXTURE_RECTANGLE_ARB)"}));
    EXPECT_EQ(Calls(callLog.end() - 2, callLog.end()),
              (Calls{"glDisable(GL_TEXTURE_RECTANGLE_ARB)", "glDisable(GL_TEXTURE_2D)"}));
    // One glyph is 15 calls; nothing else lies between the switches.
    std::size_t glyphs = 0;
    for (const TextDraw &d : textDrawsFrom())
        glyphs += d.text.size();
    EXPECT_EQ(callLog.size(), 5 + 15 * glyphs);
    EXPECT_EQ(fakeGl.depth, 0);
    EXPECT_TRUE(fakeGl.enabled.empty());
}

TEST_F(Overlay, TheFadeRisesToOpaqueOnFrameOneHundredAndIsGoneOnFrameTwoHundred)
{
    toCycleStart();
    frame();  // frame 1: one step of 0.01 from 0
    EXPECT_EQ(textDrawsFrom(), expectedDraws("0.01", " 0", 11, 12, 21, 22));
    frame();
    EXPECT_EQ(alpha(), 0.02);
    while (framesDrawn % 200 != 99)
        frame();
    EXPECT_GT(alpha(), 0.98);
    EXPECT_LT(alpha(), 1.0) << "99 steps of 0.01 stay below the bound";

    frame();  // frame 100: the sum first passes 1 and is set to it
    EXPECT_EQ(textDrawsFrom(), expectedDraws("1", " 0", 11, 12, 21, 22));
    frame();
    EXPECT_GT(alpha(), 0.98);
    EXPECT_LT(alpha(), 1.0) << "the fade turns back down";

    while (framesDrawn % 200 != 199)
        frame();
    EXPECT_GT(alpha(), 0.0);
    EXPECT_LT(alpha(), 0.02);
    frame();  // frame 200: below 0, set to 0
    EXPECT_EQ(textDrawsFrom(), expectedDraws("0", " 0", 11, 12, 21, 22));
    frame();  // and the cycle starts over
    EXPECT_EQ(alpha(), 0.01);
}

TEST_F(Overlay, ShowsTheRateTheFrameLoopMeasured)
{
    // 20 ms a frame from tick 0: frame 250 reads tick 5000 and closes the
    // first window over the 249 frames before it, 49.8 a second, shown as 50
    // from the next frame on, since the overlay is drawn before the count.
    const int frames = 251;
    fakeSdl.drawCost = 20;
    for (int i = 0; i < frames; ++i)
        fakeSdl.polls.push_back(std::nullopt);
    fakeSdl.polls.push_back(quitEvent());
    testing::internal::CaptureStdout();
    EXPECT_EQ(SDL_main(0, nullptr), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "50\n");
    framesDrawn += frames;

    std::vector<std::size_t> starts;  // where each frame's calls begin
    for (std::size_t i = 0; i < callLog.size(); ++i)
        if (callLog[i] == "SDL_PollEvent()")
            starts.push_back(i);
    ASSERT_EQ(starts.size(), static_cast<std::size_t>(frames) + 1);

    // The overlay's calls in a frame run from its identityAndTexturesOn(), the frame's
    // last, to the end of the frame; the scenes' drawing comes before.
    const auto overlayFrom = [&](int frame) {
        std::size_t from = starts[frame - 1];
        for (std::size_t i = from; i < starts[frame]; ++i)
            if (callLog[i] == "glEnable(GL_TEXTURE_RECTANGLE_ARB)")
                from = i + 1;
        return from;
    };
    const auto rateShown = [&](int frame) {
        const Draws draws = textDrawsFrom(overlayFrom(frame), starts[frame]);
        return draws.size() == 12 ? draws[11].text : "";
    };
    EXPECT_EQ(rateShown(1), "FPS: 0");
    EXPECT_EQ(rateShown(250), "FPS: 0");
    EXPECT_EQ(rateShown(251), "FPS:50");

    // The overlay is the frame's last drawing: after its last glyph, only the
    // texturing switch comes before the clock is read.
    const auto tick = std::find_if(callLog.begin() + static_cast<long>(starts[0]), callLog.end(),
                                   [](const std::string &c) { return c.rfind("SDL_GetTicks", 0) == 0; });
    ASSERT_NE(tick, callLog.end());
    EXPECT_EQ(Calls(tick - 3, tick),
              (Calls{"glPopMatrix()", "glDisable(GL_TEXTURE_RECTANGLE_ARB)", "glDisable(GL_TEXTURE_2D)"}));
    const Draws first = textDrawsFrom(overlayFrom(1), starts[1]);
    ASSERT_EQ(first.size(), 12u);
    EXPECT_EQ(first, expectedDraws(first[1].alpha, " 0", static_cast<unsigned>(fontAtlasA[0]),
                            static_cast<unsigned>(fontAtlasA[1]), static_cast<unsigned>(fontAtlasB[0]),
                            static_cast<unsigned>(fontAtlasB[1])));
}
