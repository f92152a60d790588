// The benchmark's goals. Each function turns measured figures into one row
// of the table, its pass or fail computed from those figures.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct Row {
    std::string figure;    // what was measured
    std::string measured;  // the figures and what follows from them
    std::string goal;      // empty for a figure that has none
    bool pass;
};

// A frame of the program against an empty frame (clear and swap). No goal:
// it says how much GL work a frame is.
Row frameCost(double frameMs, double emptyMs);

// A frame of the program against the replay of its own GL calls: at most
// 1.05x. `ratio` is the median of runs that drew the same frames both ways;
// the two times are shown beside it.
Row frameOverhead(double ratio, double frameMs, double replayMs);

// Start-up to the first frame against opening the display: under 30 ms more.
// `readyAddedMs` is the part of that before the first frame: the program's
// own start-up (render state, textures) beyond opening the display; the rest
// is its first frame's GL work beyond an empty frame's.
Row startupCost(double programMs, double displayMs, double readyAddedMs);

// Peak resident memory against a program that only opens the display:
// under 16 MiB more.
Row memoryCost(long programKiB, long displayKiB);

// Peak resident memory against a program that draws the same GL calls with
// none of the program's logic. No goal: it says how much of the memory above
// is the program's own.
Row memoryOverReplay(long programKiB, long replayKiB);

// The program's standard output over its run: every frame-rate line after
// the first (whose window includes start-up) reads 62, and there are at
// least two of them.
Row rateLines(const std::string &output);

// Heap allocations made while `frames` frames were drawn: none.
Row heapAllocations(long count, long frames);

// A figure that could not be measured, with the reason; it fails.
Row notMeasured(const std::string &figure, const std::string &reason);

void printRows(const std::vector<Row> &rows, std::FILE *out);
