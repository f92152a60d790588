// The real scenes on the real GL under Xvfb: whole frames drawn with no timing
// involved, read back, and probed where the colour follows from the design.
// Runs in the folder that holds Vorlex.app.
//
// The scenes' state only goes forward, so main draws frames 1 to the last
// probed one once, keeping the picture of each probed frame; the tests only
// read those pictures, in any order.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <cstdlib>
#include <map>
#include <string>

#include "app/platform.h"
#include "app/startup.h"
#include "tools/headless.h"
#include "support/pixels.h"

namespace {

const int kProbedFrames[] = {1, 100, 125, 200};

std::map<int, Frame> &pictures()
{
    static std::map<int, Frame> taken;
    return taken;
}

const Frame &picture(int n)
{
    const auto found = pictures().find(n);
    if (found == pictures().end())
        throw std::invalid_argument("frame " + std::to_string(n) + " is not among the probed frames");
    return found->second;
}

// Blending rounds to 8 bits at every layer, so a colour worked out in exact
// fractions may land one or two steps off.
::testing::AssertionResult near(const Rgba &got, int r, int g, int b)
{
    const auto close = [](int x, int y) { return std::abs(x - y) <= 2; };
    if (close(got.r, r) && close(got.g, g) && close(got.b, b))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected about (" << r << ", " << g << ", " << b << "), got " << got;
}

// The pixel that shows the point (x + 0.5, y + 0.5) of screen space: the
// projection puts the top edge at y = -1, so row y + 1.
Rgba at(const Frame &f, int x, int y)
{
    return f.at(x, y + 1);
}

// Every texel of the block [0, w) x [0, h) of an image file, against the
// pixels of a square that shows it from (left, top) at one texel per unit.
void expectTexelsShown(const Frame &f, const char *file, int left, int top, int w, int h)
{
    SDL_Surface *image = IMG_Load((std::string(VORLEX_RESOURCES) + file).c_str());
    ASSERT_NE(image, nullptr) << file << ": " << IMG_GetError();
    int wrong = 0;
    for (int t = 0; t < h; ++t)
        for (int s = 0; s < w; ++s) {
            const Rgba want = expectedTexel(image, s, t);
            const Rgba got = at(f, left + s, top + t);
            const bool same = got.r == want.r && got.g == want.g && got.b == want.b;
            if (!same && wrong++ < 3)
                ADD_FAILURE() << file << " texel (" << s << ", " << t << "): expected " << want << ", shown "
                              << got;
        }
    EXPECT_EQ(wrong, 0) << file << ": texels shown otherwise than in the file";
    SDL_FreeSurface(image);
}

} // namespace

TEST(Staircase, TheRedSquareIsAlwaysAlphaPointFourOverBlack)
{
    // 1.0 * 0.4 of 255.
    EXPECT_TRUE(near(at(picture(1), 300, 220), 102, 0, 0));
    EXPECT_TRUE(near(at(picture(100), 300, 220), 102, 0, 0));
    EXPECT_TRUE(near(at(picture(200), 300, 220), 102, 0, 0));
}

TEST(Staircase, BlendsItsFadersOverEachOtherOnFrame100)
{
    // Frame 100: green alpha 0.25 (100 steps of 0.0025), blue 0.5 (100 of 0.005),
    // white at its bound 1.0.
    const Frame &f = picture(100);
    // Green over the red square: (0.4 * 0.75, 0.25, 0).
    EXPECT_TRUE(near(at(f, 330, 235), 77, 64, 0)) << "red and green";
    // Blue over both: (0.3 * 0.5, 0.25 * 0.5, 0.5).
    EXPECT_TRUE(near(at(f, 344, 264), 38, 32, 128)) << "red, green and blue";
    // Blue over green alone: (0, 0.125, 0.5).
    EXPECT_TRUE(near(at(f, 356, 275), 0, 32, 128)) << "green and blue";
    EXPECT_TRUE(near(at(f, 370, 248), 0, 64, 0)) << "green alone";
    EXPECT_TRUE(near(at(f, 410, 290), 255, 255, 255)) << "white, opaque at its bound";
    EXPECT_TRUE(near(at(f, 370, 290), 255, 255, 255)) << "white over blue";
}

TEST(Staircase, BlueIsOpaqueAndWhiteClearWhenTheirFadersTurnOnFrame200)
{
    const Frame &f = picture(200);
    EXPECT_TRUE(near(at(f, 344, 264), 0, 0, 255)) << "blue at its bound 1.0 hides what lies below";
    EXPECT_TRUE(near(at(f, 410, 290), 0, 0, 0)) << "white at its bound 0.0 shows nothing";
    // Green at 0.5 (200 steps of 0.0025) over the red square: (0.4 * 0.5, 0.5, 0).
    EXPECT_TRUE(near(at(f, 330, 235), 51, 128, 0));
}

TEST(TexturedSquares, TheFixedPowerOfTwoSquareShowsItsTexelsWhenOpaque)
{
    // Frame 100: the texFixedSquare fader reaches 1.0. The rectangle-texture square
    // covers it from (404, 324) on, so only the top-left 20 x 20 is probed.
    expectTexelsShown(picture(100), "image.bmp", 384, 304, 20, 20);
}

TEST(TexturedSquares, TheFixedRectangleSquareShowsItsTexelsWhenOpaque)
{
    // Frame 125: the texFixedRect fader reaches 1.0; 72 x 72 texels, one per unit.
    expectTexelsShown(picture(125), "img72.bmp", 404, 324, 72, 72);
}

TEST(TexturedSquares, AreInvisibleAtAlphaZero)
{
    // Frame 200: the texFixedSquare fader is back at 0.0. Right of the white square and
    // above the rectangle-texture square, nothing else lies there.
    EXPECT_TRUE(near(at(picture(200), 436, 314), 0, 0, 0));
}

TEST(Octagon, IsOpaqueRedOnTheFrameItsFaderTurns)
{
    // Frame 200: the octagon's fader reaches 1.0 again (up for 50 frames, down
    // for 100), and its box lies at (150, 250). Its edge from (214, 282) to
    // (204, 304) passes near (209, 293).
    const Frame &f = picture(200);
    int red = 0;
    for (int y = 290; y <= 296; ++y)
        for (int x = 206; x <= 212; ++x)
            red += at(f, x, y) == Rgba{255, 0, 0, 255};
    EXPECT_GT(red, 0) << "no fully opaque red pixel on the octagon's edge";
    EXPECT_TRUE(near(at(f, 182, 282), 0, 0, 0)) << "an outline, not a filled shape";
}

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    startUp();
    for (int n : kProbedFrames) {
        drawUpTo(n);
        pictures().emplace(n, Frame());
    }
    const int result = RUN_ALL_TESTS();
    SDL_Quit();
    return result;
}
