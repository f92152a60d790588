// fontA, fontB and fontRec against the recording GL: where each glyph goes and
// which atlas cell it shows.
#include <gtest/gtest.h>

#include <string>

#include "draw/scenes/slots.h"
#include "glyph_log.h"
#include "draw/text/font.h"

namespace {

using Calls = std::vector<std::string>;

class Font : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetFakeGl();
        fontAtlasA[0] = 11;
        fontAtlasA[1] = 12;
        fontAtlasB[0] = 21;
        fontAtlasB[1] = 22;
    }
};

std::vector<int> xs(const std::vector<Glyph> &glyphs)
{
    std::vector<int> found;
    for (const Glyph &g : glyphs)
        found.push_back(g.x);
    return found;
}

} // namespace

TEST_F(Font, FormatsTheFrameRateIntoSixGlyphsOneCellApart)
{
    fontB(0, 1.0, 598, 468, "FPS:%2d", 7);

    // 'F' is code 70: column 6, row 4 of the 6-pixel atlas.
    const Calls first = {
        "glPushMatrix()", "glTranslated(598, 468, 0)", "glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 21)",
        "glColor4d(1, 1, 1, 1)", "glBegin(GL_QUADS)",
        "glTexCoord2i(36, 24)", "glVertex2i(0, 0)",
        "glTexCoord2i(42, 24)", "glVertex2i(6, 0)",
        "glTexCoord2i(42, 30)", "glVertex2i(6, 6)",
        "glTexCoord2i(36, 30)", "glVertex2i(0, 6)",
        "glEnd()", "glPopMatrix()"};
    ASSERT_EQ(callLog.size(), 6 * first.size()) << "one push, translate, quad and pop per character";
    EXPECT_EQ(Calls(callLog.begin(), callLog.begin() + 15), first);

    const auto glyphs = glyphsFrom();
    ASSERT_EQ(glyphs.size(), 6u);
    EXPECT_EQ(xs(glyphs), (std::vector<int>{598, 604, 610, 616, 622, 628}));
    for (const Glyph &g : glyphs)
        EXPECT_EQ(g.y, 468);
    // "%2d" pads the 7 with a space, which draws the cell of code 32 like any other.
    EXPECT_EQ(glyphs[4].u, 0);
    EXPECT_EQ(glyphs[4].v, 12);
    EXPECT_EQ(textDrawsFrom(), (std::vector<TextDraw>{{21, 6, "1", 598, 468, "FPS: 7"}}));
    EXPECT_EQ(fakeGl.depth, 0) << "every push is popped";
}

TEST_F(Font, TheSizeIndexPicksTheCellAndTheFamilysAtlas)
{
    fontA(1, 0.5, 10, 20, "A");
    // 'A' is code 65: column 1, row 4, texels (12, 48) to (24, 60).
    const auto glyphs = glyphsFrom();
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_EQ(glyphs[0].atlas, 12u);
    EXPECT_EQ(glyphs[0].cell, 12);
    EXPECT_EQ(glyphs[0].u, 12);
    EXPECT_EQ(glyphs[0].v, 48);
    EXPECT_EQ(glyphs[0].alpha, "0.5");
    EXPECT_EQ(callLog[1], "glTranslated(10, 20, 0)");
    EXPECT_EQ(callLog[11], "glTexCoord2i(12, 60)");

    resetFakeGl();
    fontA(0, 0.25, 0, 0, "A");
    fontB(0, 0.25, 0, 0, "A");
    fontB(1, 0.25, 0, 0, "A");
    // An index other than 0 or 1 still means 12-pixel cells, from the 12-pixel atlas.
    fontA(2, 0.25, 0, 0, "A");
    const auto more = glyphsFrom();
    ASSERT_EQ(more.size(), 4u);
    EXPECT_EQ(more[0].atlas, 11u);
    EXPECT_EQ(more[0].u, 6);
    EXPECT_EQ(more[0].v, 24);
    EXPECT_EQ(more[1].atlas, 21u);
    EXPECT_EQ(more[2].atlas, 22u);
    EXPECT_EQ(more[2].cell, 12);
    EXPECT_EQ(more[3].atlas, 12u);
    EXPECT_EQ(more[3].cell, 12);
}

TEST_F(Font, EveryByteDrawsItsCellWithoutBreakingTheLine)
{
    fontA(0, 1.0, 0, 100, "a\n\t %%");
    const auto glyphs = glyphsFrom();
    ASSERT_EQ(glyphs.size(), 5u) << "the doubled percent sign is one character";
    EXPECT_EQ(xs(glyphs), (std::vector<int>{0, 6, 12, 18, 24}));
    for (const Glyph &g : glyphs)
        EXPECT_EQ(g.y, 100) << "a newline does not start a new line";
    // Newline: column 10, row 0. Tab: column 9, row 0. Space: column 0, row 2.
    EXPECT_EQ(glyphs[1].u, 60);
    EXPECT_EQ(glyphs[1].v, 0);
    EXPECT_EQ(glyphs[2].u, 54);
    EXPECT_EQ(glyphs[3].u, 0);
    EXPECT_EQ(glyphs[3].v, 12);
    EXPECT_EQ(glyphs[4].code(), '%');
}

TEST_F(Font, BytesFromOneTwentyEightUpAreNegativeCodes)
{
    fontA(0, 1.0, 0, 0, "\xff\x80\x8f");
    const auto glyphs = glyphsFrom();
    ASSERT_EQ(glyphs.size(), 3u);
    // 255 is code -1: column -1, row 0, so its quad samples texels x -6 to 0.
    EXPECT_EQ(Calls(callLog.begin() + 5, callLog.begin() + 13),
              (Calls{"glTexCoord2i(-6, 0)", "glVertex2i(0, 0)", "glTexCoord2i(0, 0)", "glVertex2i(6, 0)",
                     "glTexCoord2i(0, 6)", "glVertex2i(6, 6)", "glTexCoord2i(-6, 6)", "glVertex2i(0, 6)"}));
    // 128 is code -128: column 0, row -8. 143 is code -113: column -1, row -7
    // (the remainder takes the code's sign).
    EXPECT_EQ(glyphs[1].u, 0);
    EXPECT_EQ(glyphs[1].v, -48);
    EXPECT_EQ(glyphs[2].u, -6);
    EXPECT_EQ(glyphs[2].v, -42);
}

TEST_F(Font, ALineIsAsWideAsItsCells)
{
    fontB(0, 1.0, 48, 372, "%s", std::string(38, 'x').c_str());
    auto glyphs = glyphsFrom();
    ASSERT_EQ(glyphs.size(), 38u);
    EXPECT_EQ(glyphs.back().x + glyphs.back().cell - 48, 228);

    resetFakeGl();
    fontB(1, 1.0, 48, 360, "OpenGL TEST");
    glyphs = glyphsFrom();
    ASSERT_EQ(glyphs.size(), 11u);
    EXPECT_EQ(glyphs.back().x + glyphs.back().cell - 48, 132);
}

TEST_F(Font, ThePenIsSixteenBitsWide)
{
    fontA(0, 1.0, 32760, 65536 + 470, "abc");
    EXPECT_EQ(xs(glyphsFrom()), (std::vector<int>{32760, 32766, -32764})) << "x wraps past 32767";
    EXPECT_EQ(glyphsFrom()[0].y, 470) << "y is narrowed on entry";

    resetFakeGl();
    fontA(0, 1.0, -3, -2, "a");
    EXPECT_EQ(callLog[1], "glTranslated(-3, -2, 0)");
}

TEST_F(Font, AnOverlongTextIsCutAtTwoHundredFiftyFiveCharacters)
{
    std::string text(400, 'x');
    text[254] = 'y';
    text[255] = 'z';
    fontB(0, 1.0, 0, 0, "%s", text.c_str());
    auto draws = textDrawsFrom();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].text, text.substr(0, 255));

    // A conversion that alone outgrows the buffer is cut the same way.
    resetFakeGl();
    fontB(0, 1.0, 0, 0, "%300d", 7);
    draws = textDrawsFrom();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].text, std::string(255, ' '));
}

TEST_F(Font, AnEmptyTextMakesNoCallAtAll)
{
    fontA(0, 1.0, 0, 0, "%s", "");
    fontB(1, 1.0, 0, 0, "%s", "");
    EXPECT_TRUE(callLog.empty()) << testing::PrintToString(callLog);
}
