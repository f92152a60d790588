#include "recording/allocations.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>

namespace {
std::atomic<std::size_t> counted{0};

void count()
{
    counted.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

std::size_t allocationCount()
{
    return counted.load(std::memory_order_relaxed);
}

// glibc's allocator under its own names. Defining the public names in the
// executable replaces them for the whole process, glibc's and libstdc++'s
// own calls included; free needs no wrapper but must pair with these.
extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *block, std::size_t size);
void *__libc_memalign(std::size_t alignment, std::size_t size);
void *__libc_valloc(std::size_t size);
void *__libc_pvalloc(std::size_t size);

void *malloc(std::size_t size) noexcept
{
    count();
    return __libc_malloc(size);
}
void *calloc(std::size_t n, std::size_t size) noexcept
{
    count();
    return __libc_calloc(n, size);
}
void *realloc(void *block, std::size_t size) noexcept
{
    count();
    return __libc_realloc(block, size);
}
void *reallocarray(void *block, std::size_t n, std::size_t size) noexcept
{
    if (size != 0 && n > SIZE_MAX / size) {
        errno = ENOMEM;
        return nullptr;
    }
    return realloc(block, n * size);
}
void *memalign(std::size_t alignment, std::size_t size) noexcept
{
    count();
    return __libc_memalign(alignment, size);
}
void *aligned_alloc(std::size_t alignment, std::size_t size) noexcept
{
    return memalign(alignment, size);
}
int posix_memalign(void **block, std::size_t alignment, std::size_t size) noexcept
{
    // Its own rule: a power of two that is a multiple of the pointer size.
    if (alignment % sizeof(void *) != 0 || (alignment & (alignment - 1)) != 0 || alignment == 0)
        return EINVAL;
    void *got = memalign(alignment, size);
    if (!got)
        return ENOMEM;
    *block = got;
    return 0;
}
void *valloc(std::size_t size) noexcept
{
    count();
    return __libc_valloc(size);
}
void *pvalloc(std::size_t size) noexcept
{
    count();
    return __libc_pvalloc(size);
}
} // extern "C"
