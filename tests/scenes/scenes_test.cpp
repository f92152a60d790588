// The eight scenes against the recording GL, frame for frame: every call and
// argument of frame 1, and the matrix depth and texturing each scene leaves
// behind. The frames on which an animator turns or wraps are in the tests of
// each kind of scene.
#include <gtest/gtest.h>

#include "film.h"
#include "draw/scenes/primitives.h"

TEST(FrameOne, IsTheSquareThenTheEightScenesCallForCall)
{
    const Calls expected = join({
        outline(),
        // driftingSquare: one step from (0, 0).
        {"glLoadIdentity()", "glTranslated(2, 1, 0)"}, outline(),
        // pulsingSquares: scl 0.02, so c = (64 - 1.28) / 2 = 31.36; the drifter at (1, 0.5).
        {"glLoadIdentity()", "glPushMatrix()", "glTranslated(31.36, 31.36, 0)", "glScaled(0.02, 0.02, 0)"},
        outline(), kPopPush,
        {"glTranslated(32.36, 31.86, 0)", "glScaled(0.02, 0.02, 0)"}, outline(), {"glPopMatrix()"},
        // spinningSquares: both spinners start at 360; the drifter at (0.5, 0.25).
        {"glLoadIdentity()", "glPushMatrix()", "glTranslated(32, 32, 0)", "glRotated(360, 0, 0, 1)",
         "glTranslated(-32, -32, 0)"},
        outline(), kPopPush,
        {"glTranslated(32.5, 32.25, 0)", "glRotated(360, 0, 0, 1)", "glTranslated(-32, -32, 0)"}, outline(),
        {"glPopMatrix()"},
        // fadingStaircase: the red square, then the faders' first steps, the drifter at
        // (0.25, 0.125) and the spinner at 6.
        {"glLoadIdentity()", "glPushMatrix()", "glTranslated(288, 208, 0)"},
        drawn([] { filledSquare(1.0, 0.0, 0.0, 0.4); }), kPopPush,
        {"glTranslated(312, 232, 0)"}, drawn([] { filledSquare(0.0, 1.0, 0.0, 0.0025); }), kPopPush,
        {"glTranslated(336, 256, 0)"}, drawn([] { filledSquare(0.0, 0.0, 1.0, 0.005); }), kPopPush,
        {"glTranslated(360, 280, 0)"}, drawn([] { filledSquare(1.0, 1.0, 1.0, 0.01); }), kPopPush,
        {"glTranslated(32.25, 32.125, 0)", "glRotated(6, 0, 0, 1)", "glTranslated(-32, -32, 0)"},
        drawn([] { filledSquare(1.0, 1.0, 0.0, 0.005); }), {"glPopMatrix()"},
        // tumblingSquare: drifter (1.2, 1), scl 0.0125 so c = 31.6, spinner 360; the sum
        // 31.6 + 1.2 rounds to 32.800000000000004 in doubles. No push.
        {"glLoadIdentity()", "glTranslated(32.800000000000004, 32.6, 0)", "glScaled(0.0125, 0.0125, 0)",
         "glTranslated(32, 32, 0)", "glRotated(360, 0, 0, 1)", "glTranslated(-32, -32, 0)"},
        outline(),
        // fadingCircle: the fixed circle, then the octagon at (0.75, 1.25) with alpha 0.02.
        {"glLoadIdentity()", "glPushMatrix()"}, drawn([] { redOutlineCircle(16, 1.0); }), kPopPush,
        {"glTranslated(0.75, 1.25, 0)"}, drawn([] { redOutlineCircle(8, 0.02); }), {"glPopMatrix()"},
        // texturedSquares: k = (-64 * 0.007 + 64) / 2 = 31.776; drifters (0.35, 1.15) and (0.65, 1.75).
        {"glLoadIdentity()", "glEnable(GL_TEXTURE_2D)", "glPushMatrix()", "glTranslated(384, 304, 0)"},
        drawn([] { texturedSquare(0.01, 1); }), kPopPush,
        {"glTranslated(32.126, 32.926, 0)", "glScaled(0.007, 0.007, 0)", "glTranslated(32, 32, 0)",
         "glRotated(1.5, 0, 0, 1)", "glTranslated(-32, -32, 0)"},
        drawn([] { texturedSquare(0.025, 2); }), kPopPush,
        {"glTranslated(32.426, 33.525999999999996, 0)", "glScaled(0.007, 0.007, 0)", "glTranslated(32, 32, 0)",
         "glRotated(-1.5, 0, 0, 1)", "glTranslated(-32, -32, 0)"},
        drawn([] { texturedSquare(0.975, 3); }), {"glPopMatrix()", "glDisable(GL_TEXTURE_2D)"},
        // rectTexturedSquares: both scales turn at once to 0, both drifters wrap x to 640 and keep y 0.
        {"glLoadIdentity()", "glEnable(GL_TEXTURE_2D)", "glEnable(GL_TEXTURE_RECTANGLE_ARB)", "glPushMatrix()",
         "glTranslated(404, 324, 0)"},
        drawn([] { rectTexturedSquare(0.008, 4, 72); }), kPopPush,
        {"glTranslated(664, 24, 0)", "glScaled(0, 0, 0)", "glTranslated(24, 24, 0)", "glRotated(1.75, 0, 0, 1)",
         "glTranslated(-24, -24, 0)"},
        drawn([] { rectTexturedSquare(0.015, 5, 48); }), kPopPush,
        {"glTranslated(652, 12, 0)", "glScaled(0, 0, 0)", "glTranslated(12, 12, 0)", "glRotated(-1.75, 0, 0, 1)",
         "glTranslated(-12, -12, 0)"},
        drawn([] { rectTexturedSquare(0.985, 6, 24); }),
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
            // Only driftingSquare and tumblingSquare leave their transformation unbracketed.
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
