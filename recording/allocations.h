// Counts heap allocations: a binary that links allocations.cpp has malloc,
// calloc, realloc and the aligned allocators replaced by counting wrappers
// around glibc's own, so every allocation in the process is counted, also
// those made inside the C and C++ libraries (operator new, stdio).
#pragma once

#include <cstddef>

// Allocations made so far by any thread.
std::size_t allocationCount();
