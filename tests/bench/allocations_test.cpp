// The allocation counter sees every way the process allocates: directly,
// through operator new in the C++ library, and inside the C library itself,
// so that a count of zero means no allocation and not a blind counter.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string>

#include "recording/allocations.h"

namespace {

// Allocations made by `what`.
template <typename F>
std::size_t counted(F what)
{
    const std::size_t before = allocationCount();
    what();
    return allocationCount() - before;
}

// Keeps the compiler from eliding an allocation whose result goes unused.
void *volatile sink;

TEST(Allocations, CountsTheCAllocator)
{
    EXPECT_EQ(counted([] { sink = std::malloc(24); std::free(sink); }), 1u);
    EXPECT_EQ(counted([] { sink = std::calloc(3, 8); std::free(sink); }), 1u);
    EXPECT_EQ(counted([] { sink = std::realloc(nullptr, 40); sink = std::realloc(sink, 4000); std::free(sink); }),
              2u);
    EXPECT_EQ(counted([] { sink = aligned_alloc(64, 128); std::free(sink); }), 1u);
    EXPECT_EQ(counted([] { sink = memalign(32, 96); std::free(sink); }), 1u);
}

TEST(Allocations, CountsOperatorNew)
{
    EXPECT_EQ(counted([] { int *volatile p = new int(7); delete p; }), 1u);
    EXPECT_GE(counted([] { std::string s(200, 'x'); sink = s.data(); }), 1u);
}

TEST(Allocations, CountsWhatTheCLibraryAllocatesItself)
{
    EXPECT_EQ(counted([] { sink = strdup("a copy made inside the C library"); std::free(sink); }), 1u);
}

TEST(Allocations, FreeingIsNotCounted)
{
    void *block = std::malloc(16);
    EXPECT_EQ(counted([&] { std::free(block); }), 0u);
}

TEST(Allocations, PosixMemalignKeepsItsRules)
{
    void *block = nullptr;
    EXPECT_EQ(posix_memalign(&block, 24, 64), EINVAL);  // not a power of two
    EXPECT_EQ(posix_memalign(&block, 2, 64), EINVAL);   // not a multiple of the pointer size
    EXPECT_EQ(counted([&] { EXPECT_EQ(posix_memalign(&block, 64, 64), 0); }), 1u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 64, 0u);
    std::free(block);
}

} // namespace
