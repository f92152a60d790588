// The benchmark's figures from whole processes of the program: its frame-rate
// lines and peak memory, and the heap allocations of its frames.
#pragma once

#include <vector>

#include "goals.h"

// Runs the program as a user does for a few frame-rate windows; compares its
// peak memory with a replay's and with `displayPeaksKiB`, the display's alone
// (none when empty).
std::vector<Row> programRows(const std::vector<long> &displayPeaksKiB);

// The heap allocations a frame makes, from the allocation tool.
Row allocationRow();
