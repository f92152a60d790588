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
// Run by scripts/bench.sh on a private 640x480 Xvfb, with a second one of
// 1920x1080 named by VORLEX_WIDE_DISPLAY, from the folder that holds
// Vorlex.app. Google Benchmark's flags are accepted.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_opengl.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/platform.h"
#include "app/startup.h"
#include "app/frame.h"
#include "goals.h"
#include "peak.h"
#include "process.h"
#include "tools/replay.h"

namespace {

// Frames drawn, untimed, before any timing: the GL compiles its drawing code
// for each new state on first use.
constexpr long kWarmUpFrames = 60;
// Frames per timed run, each drawn by the program and replayed.
constexpr long kFramesPerRun = 40;
constexpr int kFrameRuns = 60;
constexpr int kStartupRuns = 11;
// Three frame-rate windows of 5 s, the first of which includes start-up.
constexpr double kProgramSeconds = 16.0;
// About as many frames as the program draws in that time.
constexpr long kReplayFrames = 1000;
constexpr long kAllocationFrames = 1000;
// Paced runs: each process settles (start-up, the GL compiling its drawing
// code) before its CPU is read over a spell; the rounds interleave them.
constexpr double kSettleSeconds = 2.0;
constexpr double kPacedSeconds = 4.0;
constexpr int kPacedRounds = 5;
// Frames the paced replay records and draws in turn: more than it draws in
// its settling and its spell, so that it draws the frames the program draws.
constexpr long kPacedFrames = 62 * 10;

Recording recording;
// Frames drawn so far, both by the program and replayed.
long drawnFrames = 0;
std::vector<long> displayPeaksKiB;
// Milliseconds from SDL_Init to the display's being open, to inits()'s
// return, and to the end of the replay's uploads.
std::vector<double> displayReadyMs, programReadyMs, replayReadyMs;

void drawProgramFrame()
{
    back();
    modelDrow(0);
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

// Google Benchmark's console tables, one per phase under one header, keeping
// the medians.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    explicit MedianReporter(OutputOptions options) : ConsoleReporter(options) {}

    bool ReportContext(const Context &context) override
    {
        if (!contextShown_) {
            contextShown_ = true;
            return ConsoleReporter::ReportContext(context);
        }
        name_field_width_ = context.name_field_width;
        printed_header_ = false;
        return true;
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median" || run.error_occurred)
                continue;
            const std::string name = run.run_name.function_name;
            medians[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            for (const auto &[counter, value] : run.counters)
                medians[name + "." + counter] = value;
        }
    }

    // Times in milliseconds by benchmark name, counters as "name.counter".
    std::map<std::string, double> medians;

private:
    bool contextShown_ = false;
};

template <typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The real program, started as a user starts it and ended with SIGTERM: its
// frame-rate lines and its peak memory, against the display alone and
// against a replay of its frames' GL calls.
std::vector<Row> programRows()
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

// One paced run: the CPU seconds a second the process at argv uses over
// kPacedSeconds once it has settled. A tool that writes a line when its
// recording is read settles from then. Throws unless the process runs to the
// end of the spell and then ends cleanly on SIGTERM.
double pacedCpu(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
                bool waitsForLine)
{
    using Clock = std::chrono::steady_clock;
    Child child = startChild(argv, environment);
    std::string output;
    while (waitsForLine && output.find('\n') == std::string::npos && !child.closed)
        output += readFor(child, 1.0);
    readFor(child, kSettleSeconds);
    double used = 0, seconds = 0;
    if (!child.closed) {
        const double before = cpuSeconds(child.pid);
        const auto start = Clock::now();
        readFor(child, kPacedSeconds);
        used = cpuSeconds(child.pid) - before;
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        kill(child.pid, SIGTERM);
        readFor(child, 10.0);
        if (!child.closed)
            kill(child.pid, SIGKILL);  // it did not take the request
    }
    const int status = waitChild(child);
    if (status != 0 || seconds == 0)
        throw std::runtime_error(argv[0] + (seconds == 0 ? " ended before its spell was over"
                                                         : " ended with status " + std::to_string(status)));
    return used / seconds;
}

// The CPU a paced second costs, whole process, on llvmpipe with one thread
// (which makes the figures steady): the program against the paced replay of
// its own calls on a screen the picture's size and on a 1920x1080 one, and
// against itself with sdl12-compat's scaling off. In each round the screens
// take turns in a random order, and each screen's three runs follow one
// another in an order of their own, so that the runs a ratio pairs are close
// in time; each ratio is the median of the rounds' ratios.
std::vector<Row> pacedRows()
{
    struct Run {
        const char *what;
        std::vector<std::string> argv;
        std::vector<std::string> environment;
        std::vector<double> cpu;
    };
    struct Screen {
        std::string name;
        const char *display;
        bool pictureSized;
        std::vector<Run> runs;  // the program as it runs, with scaling off, the replay
    };
    std::vector<Screen> screens = {{"640x480", std::getenv("DISPLAY"), true, {}},
                                   {"1920x1080", std::getenv("VORLEX_WIDE_DISPLAY"), false, {}}};
    std::vector<Row> rows;
    std::vector<Screen *> order;
    for (Screen &screen : screens) {
        if (!screen.display) {
            const std::string why = "no " + screen.name + " display to run on";
            rows.push_back(notMeasured("paced CPU on " + screen.name + " / replay", why));
            rows.push_back(notMeasured("paced CPU on " + screen.name + " / scaling off", why));
            continue;
        }
        const std::vector<std::string> as = {"LP_NUM_THREADS=0", std::string("DISPLAY=") + screen.display};
        std::vector<std::string> off = as;
        off.push_back("SDL12COMPAT_OPENGL_SCALING=0");
        screen.runs = {{"the program", {VORLEX_PROGRAM}, as, {}},
                       {"the program, scaling off", {VORLEX_PROGRAM}, off, {}},
                       {"the replay", {VORLEX_PACED_REPLAY_TOOL, std::to_string(kPacedFrames)}, as, {}}};
        order.push_back(&screen);
    }
    std::mt19937 shuffle(std::random_device{}());
    try {
        for (int round = 1; round <= kPacedRounds; ++round) {
            std::fprintf(stderr, "Paced runs, round %d of %d...\n", round, kPacedRounds);
            std::shuffle(order.begin(), order.end(), shuffle);
            for (Screen *screen : order) {
                std::vector<Run *> runs;
                for (Run &run : screen->runs)
                    runs.push_back(&run);
                std::shuffle(runs.begin(), runs.end(), shuffle);
                for (Run *run : runs) {
                    const bool replay = run == &screen->runs[2];
                    run->cpu.push_back(pacedCpu(run->argv, run->environment, replay));
                    std::fprintf(stderr, "  %s, %s: %.0f ms of CPU a second\n", screen->name.c_str(), run->what,
                                 run->cpu.back() * 1e3);
                }
            }
        }
    } catch (const std::exception &e) {
        for (const Screen *screen : order) {
            rows.push_back(notMeasured("paced CPU on " + screen->name + " / replay", e.what()));
            rows.push_back(notMeasured("paced CPU on " + screen->name + " / scaling off", e.what()));
        }
        return rows;
    }
    const auto ratio = [](const Run &a, const Run &b) {
        std::vector<double> ratios;
        for (std::size_t k = 0; k < a.cpu.size(); ++k)
            ratios.push_back(a.cpu[k] / b.cpu[k]);
        return median(ratios);
    };
    for (const Screen &screen : screens) {
        if (screen.runs.empty())
            continue;
        const Run &program = screen.runs[0], &unscaled = screen.runs[1], &replay = screen.runs[2];
        rows.push_back(pacedCost(screen.name, ratio(program, replay), median(program.cpu), median(replay.cpu)));
        rows.push_back(scalingCost(screen.name, ratio(program, unscaled), median(program.cpu),
                                   median(unscaled.cpu), screen.pictureSized));
    }
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
    inits();  // on failure it ends the process with the program's own message
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
    std::vector<Row> rows = programRows();
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
