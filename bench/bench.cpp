// The benchmark, on the real GL: the program's start-up to its first frame
// against a replay of its own GL calls, uploads included (and, as context,
// against opening the display); a run of the real program for its frame-rate
// lines and peak memory (against the replay's, and the display's as
// context); the CPU the whole process uses a paced second against a paced
// replay of its own GL calls, on a 640x480 screen and a 1920x1080 one, and
// with sdl12-compat's scaling off; the heap allocations of its frames; then
// what a frame costs against an empty frame and against a replay of its own
// GL calls. Prints Google Benchmark's tables, then the goals with pass or
// fail; exits 1 when a goal is missed.
//
// Run by scripts/bench.sh on a private Xvfb, from the folder that holds
// Vorlex.app; the paced runs start Xvfb servers of their own. Google
// Benchmark's flags are accepted.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_opengl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <map>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "draw/frame.h"
#include "app/startup.h"
#include "goals.h"
#include "median.h"
#include "paced.h"
#include "process.h"
#include "program_run.h"
#include "reporter.h"
#include "recording/replay.h"

namespace {

// Frames drawn, untimed, before any timing: the GL compiles its drawing code
// for each new state on first use.
constexpr long kWarmUpFrames = 60;
// Frames per timed run, each drawn by the program and replayed.
constexpr long kFramesPerRun = 40;
constexpr int kFrameRuns = 60;
constexpr int kStartupRuns = 11;

Recording recording;
// Frames drawn so far, both by the program and replayed.
long drawnFrames = 0;
std::vector<long> displayPeaksKiB;
// Milliseconds from SDL_Init to the display's being open, to startUp()'s
// return, and to the end of the replay's uploads.
std::vector<double> displayReadyMs, programReadyMs, replayReadyMs;

void drawProgramFrame()
{
    drawFrame(0);
    SDL_GL_SwapBuffers();
}

void drawReplayedFrame(long frame)
{
    replayFrame(recording, static_cast<std::size_t>(frame));
    SDL_GL_SwapBuffers();
}

void emptyFrame(benchmark::State &state)
{
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapBuffers();
    }
}

// Frame k drawn by the program and replayed, both swapped, in turns: the
// program first on even frames, the replay first on odd ones, so that
// whatever else the machine does falls on both alike. The iteration's time
// is the program's frame; the replay's goes into counters, with the ratio of
// the two over the run, which pairs each frame with itself.
void programAndReplay(benchmark::State &state)
{
    if (drawnFrames + state.max_iterations > static_cast<long>(recording.frameCount())) {
        state.SkipWithError("more frames asked for than were recorded");
        return;
    }
    using Clock = std::chrono::steady_clock;
    Clock::duration programTime{}, replayTime{};
    for (auto _ : state) {
        const long frame = drawnFrames++;
        const bool programFirst = frame % 2 == 0;
        const auto start = Clock::now();
        programFirst ? drawProgramFrame() : drawReplayedFrame(frame);
        const auto half = Clock::now();
        programFirst ? drawReplayedFrame(frame) : drawProgramFrame();
        const auto end = Clock::now();
        const auto program = programFirst ? half - start : end - half;
        programTime += program;
        replayTime += programFirst ? end - half : half - start;
        state.SetIterationTime(std::chrono::duration<double>(program).count());
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["replay_ms"] = std::chrono::duration<double, std::milli>(replayTime).count() / iterations;
    state.counters["vs_replay"] = std::chrono::duration<double>(programTime) / replayTime;
}

// Each iteration starts `tool`, which reports its start-up to the first
// frame and to the point where it is ready to draw, in microseconds, and its
// peak memory in KiB.
void startup(benchmark::State &state, const std::vector<std::string> &tool, std::vector<double> *readyMs,
             std::vector<long> *peaksKiB)
{
    for (auto _ : state) {
        try {
            const std::string output = runChild(tool);
            double micros = 0, readyMicros = 0;
            long peakKiB = 0;
            if (std::sscanf(output.c_str(), "%lf %lf %ld", &micros, &readyMicros, &peakKiB) != 3 || micros <= 0 ||
                readyMicros <= 0 || peakKiB <= 0)
                throw std::runtime_error(tool[0] + " reported \"" + output + "\", not two times and a size");
            state.SetIterationTime(micros / 1e6);
            readyMs->push_back(readyMicros / 1e3);
            if (peaksKiB)
                peaksKiB->push_back(peakKiB);
        } catch (const std::exception &e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}

// The rows that follow from Google Benchmark's medians.
std::vector<Row> timedRows(const std::map<std::string, double> &medians)
{
    const auto has = [&](const char *name) { return medians.count(name) != 0; };
    std::vector<Row> rows;
    if (has("startup/program") && has("startup/replay"))
        rows.push_back(startupCost(medians.at("startup/program"), medians.at("startup/replay"),
                                   median(programReadyMs) - median(replayReadyMs)));
    else
        rows.push_back(notMeasured("start-up to first frame / replay", "a benchmark did not run"));
    if (has("startup/program") && has("startup/display"))
        rows.push_back(startupOverDisplay(medians.at("startup/program"), medians.at("startup/display")));

    if (has("frame/program") && has("frame/empty"))
        rows.push_back(frameCost(medians.at("frame/program"), medians.at("frame/empty")));
    if (has("frame/program") && has("frame/program.vs_replay"))
        rows.push_back(frameOverhead(medians.at("frame/program.vs_replay"), medians.at("frame/program"),
                                     medians.at("frame/program.replay_ms")));
    else
        rows.push_back(notMeasured("frame / replay of its GL calls", "the benchmark did not run"));
    return rows;
}

// Start-up of the program, of the replay of its GL calls and of the display
// alone, each in a process of its own.
void runStartups(MedianReporter &reporter)
{
    const auto startups = [](benchmark::internal::Benchmark *b) {
        b->Iterations(1)->Repetitions(kStartupRuns)->UseManualTime()->Unit(benchmark::kMillisecond)
            ->DisplayAggregatesOnly();
    };
    using Args = std::vector<std::string>;
    startups(benchmark::RegisterBenchmark("startup/display", startup, Args{VORLEX_DISPLAY_TOOL}, &displayReadyMs,
                                          &displayPeaksKiB));
    startups(benchmark::RegisterBenchmark("startup/program", startup, Args{VORLEX_STARTUP_TOOL}, &programReadyMs,
                                          nullptr));
    // One frame: the replay tool reads it before its clock starts.
    startups(benchmark::RegisterBenchmark("startup/replay", startup, Args{VORLEX_REPLAY_TOOL, "1"}, &replayReadyMs,
                                          nullptr));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::ClearRegisteredBenchmarks();
}

// Frames on this process's own display, after the program's own start-up.
// Returns false when the recording could not be made.
bool runFrames(MedianReporter &reporter)
{
    startUp();  // on failure it ends the process with the program's own message
    try {
        recording = captureFrames(VORLEX_CAPTURE_TOOL, kWarmUpFrames + kFramesPerRun * kFrameRuns);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vorlex_bench: %s\n", e.what());
        return false;
    }
    for (; drawnFrames < kWarmUpFrames; ++drawnFrames) {
        drawProgramFrame();
        drawReplayedFrame(drawnFrames);
    }

    benchmark::RegisterBenchmark("frame/empty", emptyFrame)
        ->Iterations(kFramesPerRun)->Repetitions(kFrameRuns)->UseRealTime()->Unit(benchmark::kMillisecond)
        ->DisplayAggregatesOnly();
    benchmark::RegisterBenchmark("frame/program", programAndReplay)
        ->Iterations(kFramesPerRun)->Repetitions(kFrameRuns)->UseManualTime()->Unit(benchmark::kMillisecond)
        ->DisplayAggregatesOnly();
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Repetitions of different benchmarks take turns in random order, so
    // that a busy spell on a shared machine does not fall on one side of a
    // ratio. The user's flags come after, and win.
    std::vector<char *> args = {argv[0], const_cast<char *>("--benchmark_enable_random_interleaving=true")};
    args.insert(args.end(), argv + 1, argv + argc);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    // The program as it runs: its own screen fit decides sdl12-compat's
    // scaling for every figure but those that turn it off.
    unsetenv("SDL12COMPAT_OPENGL_SCALING");
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;

    MedianReporter reporter(isatty(STDOUT_FILENO) ? MedianReporter::OO_Color : MedianReporter::OO_None);
    // Every other process first, while this one has nothing on the display:
    // a full-screen SDL window that is not taking its events keeps the
    // pointer grabbed, and a new one then tries for 5 s to grab it.
    runStartups(reporter);
    std::vector<Row> rows = programRows(displayPeaksKiB);
    const std::vector<Row> paced = pacedRows();
    rows.insert(rows.end(), paced.begin(), paced.end());
    rows.push_back(allocationRow());
    if (!runFrames(reporter))
        return 1;
    benchmark::Shutdown();

    const std::vector<Row> timed = timedRows(reporter.medians);
    rows.insert(rows.begin(), timed.begin(), timed.end());
    std::printf("\nVorlex on %s at 640x480: medians of interleaved runs, compared as ratios or\n"
                "differences within this run\n\n",
                reinterpret_cast<const char *>(glGetString(GL_RENDERER)));
    printRows(rows, stdout);
    SDL_Quit();
    return std::all_of(rows.begin(), rows.end(), [](const Row &row) { return row.pass; }) ? 0 : 1;
}
