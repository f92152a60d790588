// The frame's order against the recording GL: the background, the fixed square, then the eight
// scenes in their fixed order, each recognised by the calls it opens with.
// Other tests of this binary run frames too, so nothing here depends on which
// frame of the scenes this is.
#include <gtest/gtest.h>

#include <algorithm>

#include "draw/frame.h"
#include "support/fakes.h"

namespace {

using Calls = std::vector<std::string>;

// How each scene opens; an entry ending in "(" stands for any arguments.
const std::vector<std::pair<std::string, Calls>> kOpenings = {
    {"driftingSquare", {"glLoadIdentity()", "glTranslated(", "glColor3d(1, 0, 0)"}},
    {"pulsingSquares", {"glLoadIdentity()", "glPushMatrix()", "glTranslated(", "glScaled("}},
    {"spinningSquares", {"glLoadIdentity()", "glPushMatrix()", "glTranslated(32, 32, 0)", "glRotated("}},
    {"fadingStaircase", {"glLoadIdentity()", "glPushMatrix()", "glTranslated(288, 208, 0)"}},
    {"tumblingSquare", {"glLoadIdentity()", "glTranslated(", "glScaled("}},
    {"fadingCircle", {"glLoadIdentity()", "glPushMatrix()", "glColor4d(1, 0, 0, 1)"}},
    {"texturedSquares", {"glLoadIdentity()", "glEnable(GL_TEXTURE_2D)", "glPushMatrix()", "glTranslated(384, 304, 0)"}},
    {"rectTexturedSquares", {"glLoadIdentity()", "glEnable(GL_TEXTURE_2D)", "glEnable(GL_TEXTURE_RECTANGLE_ARB)",
                     "glPushMatrix()", "glTranslated(404, 324, 0)"}},
};

bool opensWith(const Calls &part, const Calls &opening)
{
    if (part.size() < opening.size())
        return false;
    for (std::size_t i = 0; i < opening.size(); ++i) {
        const std::string &want = opening[i];
        const bool any = want.back() == '(';
        if (any ? part[i].rfind(want, 0) != 0 : part[i] != want)
            return false;
    }
    return true;
}

std::string sceneOf(const Calls &part)
{
    for (const auto &[name, opening] : kOpenings)
        if (opensWith(part, opening))
            return name;
    return "something else, opening with " + part.front();
}

} // namespace

TEST(DrawOrder, IsTheFixedSquareThenTheEightScenesInTheirOrder)
{
    resetFakes();
    drawFrame(0);

    // The background's crosshair ends with the frame's first glEnd; the square
    // comes next, under the background's identity.
    const auto crosshairEnd = std::find(callLog.begin(), callLog.end(), "glEnd()");
    ASSERT_NE(crosshairEnd, callLog.end());
    const std::size_t start = static_cast<std::size_t>(crosshairEnd - callLog.begin()) + 1;
    const Calls square = {"glColor3d(1, 0, 0)", "glBegin(GL_LINE_LOOP)", "glVertex2i(0, 0)", "glVertex2i(64, 0)",
                          "glVertex2i(64, 64)", "glVertex2i(0, 64)", "glEnd()"};
    ASSERT_GE(callLog.size(), start + square.size());
    EXPECT_EQ(Calls(callLog.begin() + static_cast<std::ptrdiff_t>(start),
                    callLog.begin() + static_cast<std::ptrdiff_t>(start + square.size())),
              square);

    // Each scene starts from its own identity.
    std::vector<Calls> parts;
    for (std::size_t i = start + square.size(); i < callLog.size(); ++i) {
        if (callLog[i] == "glLoadIdentity()" || parts.empty())
            parts.emplace_back();
        parts.back().push_back(callLog[i]);
    }
    Calls seen;
    for (const auto &part : parts)
        seen.push_back(sceneOf(part));
    const Calls expected = {"driftingSquare", "pulsingSquares", "spinningSquares", "fadingStaircase",
                            "tumblingSquare",  "fadingCircle", "texturedSquares", "rectTexturedSquares"};
    // What is drawn after the eighth scene (the overlay) is not this test's concern.
    ASSERT_GE(seen.size(), expected.size());
    EXPECT_EQ(Calls(seen.begin(), seen.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
    EXPECT_EQ(fakeGl.depth, 0);
}
