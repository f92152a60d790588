// The real program run as a user runs it, and the allocation tool, each as a
// child process; what they report becomes the benchmark's rows.
#include "program_run.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "median.h"
#include "peak.h"
#include "process.h"

namespace {

// Three frame-rate windows of 5 s, the first of which includes start-up.
constexpr double kProgramSeconds = 16.0;
// About as many frames as the program draws in that time.
constexpr long kReplayFrames = 1000;
constexpr long kAllocationFrames = 1000;

} // namespace

// The real program, started as a user starts it and ended with SIGTERM: its
// frame-rate lines and its peak memory, against the display alone and
// against a replay of its frames' GL calls.
std::vector<Row> programRows(const std::vector<long> &displayPeaksKiB)
{
    std::fprintf(stderr, "Running the program for %.0f s...\n", kProgramSeconds);
    std::string output;
    long peakKiB = -1;
    int status = -1;
    try {
        Child child = startChild({VORLEX_PROGRAM});
        output = readFor(child, kProgramSeconds);
        // Its peak so far, start-up and every kind of frame included.
        peakKiB = peakResidentKiB(std::to_string(child.pid));
        kill(child.pid, SIGTERM);
        output += readFor(child, 10.0);
        if (!child.closed)
            kill(child.pid, SIGKILL);  // it did not take the request
        status = waitChild(child);
    } catch (const std::exception &e) {
        output = e.what();
    }
    if (status != 0) {
        const std::string why = status < 0 ? output : "the program ended with status " + std::to_string(status);
        return {notMeasured("frame-rate lines", why), notMeasured("peak resident memory / replay", why)};
    }

    std::vector<Row> rows = {rateLines(output)};
    if (peakKiB < 0)
        return {rows[0], notMeasured("peak resident memory / replay", "the program's peak could not be read")};
    try {
        const std::string replay = runChild({VORLEX_REPLAY_TOOL, std::to_string(kReplayFrames)});
        long replayKiB = -1;
        if (std::sscanf(replay.c_str(), "%*f %*f %ld", &replayKiB) != 1 || replayKiB <= 0)
            throw std::runtime_error("vorlex_replay reported \"" + replay + "\", not two times and a size");
        rows.push_back(memoryCost(peakKiB, replayKiB));
    } catch (const std::exception &e) {
        rows.push_back(notMeasured("peak resident memory / replay", e.what()));
    }
    if (!displayPeaksKiB.empty())
        rows.push_back(memoryOverDisplay(peakKiB, median(displayPeaksKiB)));
    return rows;
}

Row allocationRow()
{
    try {
        const std::string count = runChild({VORLEX_ALLOCATIONS_TOOL, std::to_string(kAllocationFrames)});
        return heapAllocations(std::stol(count), kAllocationFrames);
    } catch (const std::exception &e) {
        return notMeasured("heap allocations per frame", e.what());
    }
}
