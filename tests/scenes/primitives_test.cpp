// The shape primitives against the recording GL: exactly the listed calls, in
// order, with integer vertices and texture coordinates.
#include <gtest/gtest.h>

#include "draw/scenes/primitives.h"
#include "support/fakes.h"

namespace {

using Calls = std::vector<std::string>;

class Primitives : public ::testing::Test {
protected:
    void SetUp() override { resetFakeGl(); }
};

// The vertices of a loop as "glVertex2i(x, y)" lines.
Calls vertices(std::initializer_list<std::pair<int, int>> points)
{
    Calls calls;
    for (auto [x, y] : points)
        calls.push_back("glVertex2i(" + std::to_string(x) + ", " + std::to_string(y) + ")");
    return calls;
}

Calls join(std::initializer_list<Calls> parts)
{
    Calls all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Calls kBox = vertices({{0, 0}, {64, 0}, {64, 64}, {0, 64}});

} // namespace

TEST_F(Primitives, ModelAIsAnOpaqueRedOutline)
{
    redOutlineSquare();
    EXPECT_EQ(callLog, join({{"glColor3d(1, 0, 0)", "glBegin(GL_LINE_LOOP)"}, kBox, {"glEnd()"}}));
}

TEST_F(Primitives, ModelBFillsTheSquareInTheGivenColour)
{
    filledSquare(0.25, 0.5, 0.75, 0.4);
    EXPECT_EQ(callLog, join({{"glColor4d(0.25, 0.5, 0.75, 0.4)", "glBegin(GL_QUADS)"}, kBox, {"glEnd()"}}));
}

TEST_F(Primitives, ModelCWithEightPointsIsATruncatedOctagon)
{
    redOutlineCircle(8, 0.02);
    const Calls expected = join({{"glColor4d(1, 0, 0, 0.02)", "glBegin(GL_LINE_LOOP)"},
                                 vertices({{64, 32}, {54, 54}, {32, 63}, {9, 54}, {0, 32}, {9, 9},
                                           {31, 0}, {54, 9}}),
                                 {"glEnd()"}});
    EXPECT_EQ(callLog, expected);
}

TEST_F(Primitives, ModelCWithSixteenPointsTurnsBy628NotTwoPi)
{
    redOutlineCircle(16, 1.0);
    // The last point sits short of the full turn: (61, 19), not (61, 20).
    const Calls expected = join({{"glColor4d(1, 0, 0, 1)", "glBegin(GL_LINE_LOOP)"},
                                 vertices({{64, 32}, {61, 44}, {54, 54}, {44, 61}, {32, 63}, {19, 61},
                                           {9, 54}, {2, 44}, {0, 32}, {2, 19}, {9, 9}, {19, 2},
                                           {31, 0}, {44, 2}, {54, 9}, {61, 19}}),
                                 {"glEnd()"}});
    EXPECT_EQ(callLog, expected);
}

TEST_F(Primitives, ModelCWithNoPointsDrawsAnEmptyLoop)
{
    for (int count : {0, -3}) {
        resetFakeGl();
        redOutlineCircle(count, 0.5);
        EXPECT_EQ(callLog, (Calls{"glColor4d(1, 0, 0, 0.5)", "glBegin(GL_LINE_LOOP)", "glEnd()"}))
            << "count " << count;
    }
}

TEST_F(Primitives, ModelDMapsTheWholeTextureOntoTheSquare)
{
    texturedSquare(0.975, 7);
    const Calls expected = {
        "glBindTexture(GL_TEXTURE_2D, 7)", "glColor4d(1, 1, 1, 0.975)", "glBegin(GL_QUADS)",
        "glTexCoord2i(0, 0)", "glVertex2i(0, 0)",  "glTexCoord2i(1, 0)", "glVertex2i(64, 0)",
        "glTexCoord2i(1, 1)", "glVertex2i(64, 64)", "glTexCoord2i(0, 1)", "glVertex2i(0, 64)",
        "glEnd()",
    };
    EXPECT_EQ(callLog, expected);
}

TEST_F(Primitives, ModelEMapsOneTexelToOneUnit)
{
    rectTexturedSquare(0.5, 4, 72);
    const Calls expected = {
        "glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 4)", "glColor4d(1, 1, 1, 0.5)", "glBegin(GL_QUADS)",
        "glTexCoord2i(0, 0)",   "glVertex2i(0, 0)",   "glTexCoord2i(72, 0)", "glVertex2i(72, 0)",
        "glTexCoord2i(72, 72)", "glVertex2i(72, 72)", "glTexCoord2i(0, 72)", "glVertex2i(0, 72)",
        "glEnd()",
    };
    EXPECT_EQ(callLog, expected);
}

TEST_F(Primitives, NoneTouchesTheMatrixOrTheEnableState)
{
    redOutlineSquare();
    filledSquare(1.0, 1.0, 0.0, 0.0);
    redOutlineCircle(8, 1.0);
    texturedSquare(1.0, 1);
    rectTexturedSquare(1.0, 2, 24);
    for (const auto &call : callLog)
        for (const char *prefix : {"glLoadIdentity", "glPush", "glPop", "glTranslate", "glScale",
                                   "glRotate", "glEnable", "glDisable", "glBlendFunc", "glMatrixMode"})
            EXPECT_NE(call.rfind(prefix, 0), 0u) << call;
}

TEST_F(Primitives, TexSwitchOnResetsTheMatrixAndEnablesBothTargets)
{
    identityAndTexturesOn();
    EXPECT_EQ(callLog, (Calls{"glLoadIdentity()", "glEnable(GL_TEXTURE_2D)",
                              "glEnable(GL_TEXTURE_RECTANGLE_ARB)"}));
    EXPECT_EQ(fakeGl.enabled, (std::set<GLenum>{GL_TEXTURE_2D, GL_TEXTURE_RECTANGLE_ARB}));
}

TEST_F(Primitives, TexSwitchOffDisablesBothAndLeavesTheMatrix)
{
    identityAndTexturesOn();
    callLog.clear();
    texturesOff();
    EXPECT_EQ(callLog, (Calls{"glDisable(GL_TEXTURE_RECTANGLE_ARB)", "glDisable(GL_TEXTURE_2D)"}));
    EXPECT_TRUE(fakeGl.enabled.empty());
}
