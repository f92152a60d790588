// The frame's drawing allocates nothing: a thousand frames of the real scenes
// and overlay, against a GL stand-in that records nothing, with every heap
// allocation of the process counted.
#include <gtest/gtest.h>

#include <cstdlib>

#include "draw/frame.h"
#include "recording/allocations.h"
#include "recording/recording_gl.h"

TEST(Allocation, NoneInAThousandFramesAfterTheFirst)
{
    resetFakeGl();
    fakeGl.recording = false;
    drawFrame(0);  // the first frame may set up what lives for the run

    const std::size_t before = allocationCount();
    for (int frame = 2; frame <= 1001; ++frame) {
        drawFrame(0);
    }
    const std::size_t made = allocationCount() - before;
    fakeGl.recording = true;
    EXPECT_EQ(made, 0u) << "heap allocations in 1000 frames";
    EXPECT_EQ(fakeGl.depth, 0) << "the frames were really drawn, and balanced";
}

TEST(Allocation, TheCounterSeesAllocations)
{
    // Through a volatile pointer, so that the compiler cannot leave it out.
    static void *(*volatile allocate)(std::size_t) = std::malloc;
    const std::size_t before = allocationCount();
    void *block = allocate(16);
    const std::size_t made = allocationCount() - before;
    std::free(block);
    EXPECT_EQ(made, 1u);
}
