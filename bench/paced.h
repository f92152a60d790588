// The CPU the whole program uses a paced second, against a paced replay of
// its own GL calls and against itself with sdl12-compat's scaling off.
#pragma once

#include <vector>

#include "goals.h"

// Runs the paced rounds on private X servers of two sizes; a row per figure,
// "not measured" rows with the reason when a run failed.
std::vector<Row> pacedRows();
