// The screen fit's decision for each kind of display, a small preview's
// averaging, and the heap the desktop keeps for the GL driver's frames: pure
// logic and the real heap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>
#include <vector>

#include "app/fail.h"
#include "desktop/heads.h"
#include "desktop/heap.h"
#include "desktop/preview_scaling.h"
#include "desktop/screen.h"

namespace {

struct Case {
    const char *display;
    ScreenReport screen;
    bool windowed;
    ScreenFit fit;
};

// {width, height, window manager, honours full screen, heads} -> {scale, cover, to head}
const Case cases[] = {
    {"bare, larger", {1920, 1080, false, false}, false, {true, true}},
    {"bare, picture's size", {640, 480, false, false}, false, {false, true}},
    {"bare, smaller", {320, 240, false, false}, false, {true, true}},
    {"EWMH full screen, larger", {1920, 1080, true, true}, false, {true, false}},
    {"EWMH full screen, picture's size", {640, 480, true, true}, false, {false, false}},
    {"manager ignoring full screen", {1920, 1080, true, false}, false, {false, false}},
    {"picture's width, taller", {640, 512, true, true}, false, {true, false}},
    {"windowed on a bare larger screen", {1920, 1080, false, false}, true, {false, false}},
    {"windowed under EWMH", {1280, 1024, true, true}, true, {false, false}},
    {"bare, one head of two", {1024, 768, false, false, 2}, false, {true, true, false}},
    {"EWMH full screen, one head of two", {1280, 768, true, true, 2}, false, {true, false, true}},
    {"windowed under EWMH, two heads", {1280, 768, true, true, 2}, true, {false, false, false}},
};

TEST(ScreenFit, ScalesOnlyWhereTheWindowIsNotThePicturesSize)
{
    for (const Case &c : cases) {
        const ScreenFit fit = fitScreen(c.screen, c.windowed);
        EXPECT_EQ(fit.scale, c.fit.scale) << c.display;
        EXPECT_EQ(fit.cover, c.fit.cover) << c.display;
        EXPECT_EQ(fit.toHead, c.fit.toHead) << c.display;
    }
}

TEST(ScreenFit, FullScreenTakesTheHeadTheEnvironmentNamesOrThePrimary)
{
    const struct {
        const char *named;
        int head;
    } cases[] = {{nullptr, 0}, {"1", 1}, {"2", 0}, {"01", 1}, {"-1", 0}, {"1x", 0}, {"", 0}, {"99999999999999999999", 0}};
    for (const auto &c : cases)
        EXPECT_EQ(namedHead(c.named, 2), c.head) << (c.named ? c.named : "unset");
}

TEST(FrameHeap, KeepsTheFreedTopOfTheHeapForTheNextFrame)
{
#ifdef VORLEX_SANITIZED
    GTEST_SKIP() << "the sanitizer's allocator has a heap of its own";
#endif
    keepFrameHeap();
    // As llvmpipe bins a frame: 40 MiB in blocks of 64 KiB, below the size
    // glibc maps on their own, freed together after the swap.
    std::vector<void *> blocks(640);
    for (void *&block : blocks)
        block = std::malloc(64 << 10);
    const void *top = sbrk(0);
    for (void *block : blocks)
        std::free(block);
    EXPECT_EQ(sbrk(0), top) << "the heap's top went back to the kernel";
}

// Linear sampling reads two pixels a step; past that, the averaging must
// cover a whole step: 200x150 is a step of 3.2 pixels, 800x200 one of 2.4.
TEST(PreviewScaling, AveragesOverAWholeStepBeyondTwoPixels)
{
    const struct {
        double step;
        int passes;
    } cases[] = {{0.5, 0}, {1.0, 0}, {2.0, 0}, {2.4, 2}, {3.2, 2}, {4.0, 2}, {4.1, 3}, {16.0, 4}, {1e6, 4}};
    for (const auto &c : cases)
        EXPECT_EQ(smoothingPasses(c.step), c.passes) << "a step of " << c.step;
}

} // namespace
