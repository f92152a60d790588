// The frame's drawing allocates nothing: a thousand frames of the real scenes
// and overlay, against a GL stand-in that records nothing, with every heap
// allocation of the process counted.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/frame.h"
#include "support/fakes.h"

extern "C" {
void *__libc_malloc(std::size_t);
void *__libc_calloc(std::size_t, std::size_t);
void *__libc_realloc(void *, std::size_t);
void *__libc_memalign(std::size_t, std::size_t);
}

namespace {
bool counting;
long allocations;
} // namespace

// Every allocation in the process comes through these, operator new included.
extern "C" {
void *malloc(std::size_t size)
{
    allocations += counting;
    return __libc_malloc(size);
}
void *calloc(std::size_t count, std::size_t size)
{
    allocations += counting;
    return __libc_calloc(count, size);
}
void *realloc(void *block, std::size_t size)
{
    allocations += counting;
    return __libc_realloc(block, size);
}
void *memalign(std::size_t alignment, std::size_t size)
{
    allocations += counting;
    return __libc_memalign(alignment, size);
}
int posix_memalign(void **block, std::size_t alignment, std::size_t size)
{
    allocations += counting;
    *block = __libc_memalign(alignment, size);
    return *block ? 0 : ENOMEM;
}
void *aligned_alloc(std::size_t alignment, std::size_t size)
{
    allocations += counting;
    return __libc_memalign(alignment, size);
}
}

TEST(Allocation, NoneInAThousandFramesAfterTheFirst)
{
    resetFakeGl();
    fakeGl.recording = false;
    back();
    modelDrow();  // the first frame may set up what lives for the run

    counting = true;
    for (int frame = 2; frame <= 1001; ++frame) {
        back();
        modelDrow();
    }
    counting = false;
    EXPECT_EQ(allocations, 0) << "heap allocations in 1000 frames";
    EXPECT_EQ(fakeGl.depth, 0) << "the frames were really drawn, and balanced";
    fakeGl.recording = true;
}

TEST(Allocation, TheCounterSeesAllocations)
{
    counting = true;
    void *block = std::malloc(16);
    auto *object = new int(3);
    counting = false;
    EXPECT_EQ(allocations, 2);
    delete object;
    std::free(block);
    allocations = 0;
}
