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

// Start-up to the first frame against the replay's (vorlex_replay): at most
// 5 ms more. The replay opens the same display, uploads the same ten
// textures and draws the same first frame's GL calls with none of the
// program's logic, so the difference is the program's own. `readyAddedMs` is
// the part of it before the first frame.
Row startupCost(double programMs, double replayMs, double readyAddedMs);

// Start-up to the first frame against opening the display and an empty
// frame. No goal: most of it is the renderer's compiling its code for the
// first frame's drawing states, which moves by tens of milliseconds between
// runs.
Row startupOverDisplay(double programMs, double displayMs);

// Peak resident memory against the replay's after as many frames: at most
// 1 MiB more.
Row memoryCost(long programKiB, long replayKiB);

// Peak resident memory against a program that only opens the display. No
// goal: most of it is the renderer's.
Row memoryOverDisplay(long programKiB, long displayKiB);

// The program's standard output over its run: every frame-rate line after
// the first (whose window includes start-up) reads 62, and there are at
// least two of them.
Row rateLines(const std::string &output);

// Whole-process CPU a paced second costs, the program against a replay of
// its own GL calls in the same display mode, on `screen` (e.g. "640x480"):
// at most 1.05x. `ratio` is the median of rounds that ran both; the CPU
// seconds per second of each are shown beside it.
Row pacedCost(const std::string &screen, double ratio, double programCpu, double replayCpu);

// The same, the program as it runs against the program with sdl12-compat's
// scaling off. With `sameGoal`, where the fit must leave the pass out: equal
// within 10%; without, what the pass costs, no goal.
Row scalingCost(const std::string &screen, double ratio, double asRunsCpu, double unscaledCpu, bool sameGoal);

// The program as a small preview (--root on a `preview` screen, e.g.
// "200x150", where it averages the picture down) against the whole picture
// (--root on a 640x480 screen): at most 1.05x.
Row previewCost(const std::string &preview, double ratio, double previewCpu, double wholeCpu);

// Heap allocations made while `frames` frames were drawn: none.
Row heapAllocations(long count, long frames);

// A figure that could not be measured, with the reason; it fails.
Row notMeasured(const std::string &figure, const std::string &reason);

void printRows(const std::vector<Row> &rows, std::FILE *out);
