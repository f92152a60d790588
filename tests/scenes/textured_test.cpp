// The textured scenes (texturedSquares, rectTexturedSquares) against the recording GL:
// the cross-fades, the frames on which they turn and wrap, and the textures
// they bind.
#include <gtest/gtest.h>

#include "film.h"

TEST(ModelDXfade, TheCrossFadeTurnsOnFrame40)
{
    const Calls colours = only(calls(40, "texturedSquares"), "glColor4d");
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(colours[1], "glColor4d(1, 1, 1, 1)");
    EXPECT_EQ(colours[2], "glColor4d(1, 1, 1, 0)") << "the partner square shows 1 - al1";
    EXPECT_EQ(only(calls(100, "texturedSquares"), "glColor4d")[0], "glColor4d(1, 1, 1, 1)");
    EXPECT_EQ(only(calls(240, "texturedSquares"), "glColor4d")[1], "glColor4d(1, 1, 1, 0)")
        << "al1 falls for 200 frames";
}

TEST(ModelDXfade, TheTwoMovingSquaresTurnOppositeWays)
{
    EXPECT_EQ(only(calls(240, "texturedSquares"), "glRotated"), (Calls{rotated(360), rotated(-360)}));
    EXPECT_EQ(only(calls(241, "texturedSquares"), "glRotated"), (Calls{rotated(0), rotated(-0.0)}));
    EXPECT_EQ(only(calls(242, "texturedSquares"), "glRotated"), (Calls{rotated(1.5), rotated(-1.5)}));
}

TEST(ModelDXfade, TheTexCSquareReentersWithTheScaleOfTheSameFrame)
{
    // sl2 rises by 0.007 for 429 frames; on frame 369 pY2 passes sl2 * 64 + 480
    // and is set to sl2 * -64, with the sl2 updated earlier in that frame.
    const double sl2 = stepped(0.0, 0.007, 369);
    const double k = (-64.0 * sl2 + 64.0) * 0.5;
    const double pX2 = stepped(0.0, 0.65, 369);
    EXPECT_EQ(only(calls(369, "texturedSquares"), "glTranslated")[4], translated(k + pX2, k + sl2 * -64.0));
    EXPECT_EQ(only(calls(369, "texturedSquares"), "glScaled")[1], scaled(sl2));
}

TEST(ModelDXfade, BindsTheThreePowerOfTwoTexturesWithTexturingOn)
{
    const Calls all = calls(7, "texturedSquares");
    EXPECT_EQ(only(all, "glBindTexture"),
              (Calls{"glBindTexture(GL_TEXTURE_2D, 1)", "glBindTexture(GL_TEXTURE_2D, 2)",
                     "glBindTexture(GL_TEXTURE_2D, 3)"}));
    EXPECT_EQ(all[1], "glEnable(GL_TEXTURE_2D)");
    EXPECT_EQ(all.back(), "glDisable(GL_TEXTURE_2D)");
}

TEST(ModelEXfade, ItsSecondFrameReadsTheScalesOfThatFrame)
{
    // scl = sl2 = 0.007. poY = -0.15 is not below 0.007 * -48 = -0.336 and stays;
    // pY2 = -0.65 is below 0.007 * -24 = -0.168 and comes back at 0.084 + 480.
    const double k48 = (-48.0 * 0.007 + 48.0) * 0.5, k24 = (-24.0 * 0.007 + 24.0) * 0.5;
    const Calls translations = only(calls(2, "rectTexturedSquares"), "glTranslated");
    ASSERT_EQ(translations.size(), 7u);
    EXPECT_EQ(translations[1], translated(k48 + 639.65, k48 + -0.15));
    EXPECT_EQ(translations[4], translated(k24 + 638.25, k24 + 480.084));
    EXPECT_EQ(translations[4], translated(650.166, 492)) << "the re-entering top edge lies at 492";
    EXPECT_EQ(only(calls(2, "rectTexturedSquares"), "glScaled"), (Calls{scaled(0.007), scaled(0.007)}));
}

TEST(ModelEXfade, TheSpinnerDropsItsOvershootAt360)
{
    EXPECT_EQ(only(calls(205, "rectTexturedSquares"), "glRotated"), (Calls{rotated(358.75), rotated(-358.75)}));
    EXPECT_EQ(only(calls(206, "rectTexturedSquares"), "glRotated"), (Calls{rotated(0), rotated(-0.0)}));
}

TEST(ModelEXfade, BindsTheThreeRectangleTexturesBetweenTheSwitches)
{
    const Calls all = calls(3, "rectTexturedSquares");
    EXPECT_EQ(only(all, "glBindTexture"),
              (Calls{"glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 4)", "glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 5)",
                     "glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 6)"}));
    EXPECT_EQ(only(all, "glTexCoord2i(").size(), 12u);
    EXPECT_EQ(all.back(), "glDisable(GL_TEXTURE_2D)");
}
