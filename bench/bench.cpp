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
#include "recording/replay.h"

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
    modelDraw(0);
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

// A private X server for one paced process: Xvfb picks a free display
// number and writes it on its standard output.
struct Server {
    Child child;
    std::string display;
};

Server startServer(const std::string &size)
{
    // Its start-up chatter (keymap warnings) says nothing about the figures.
    Server server{startChild({"/bin/sh", "-c",
                              "exec Xvfb -displayfd 1 -screen 0 " + size + "x24 -nolisten tcp -noreset 2>/dev/null"}),
                  ""};
    std::string got;
    for (int wait = 0; wait < 20 && got.find('\n') == std::string::npos && !server.child.closed; ++wait)
        got += readFor(server.child, 1.0);
    const std::size_t digits = got.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string::npos || got[digits] != '\n') {
        kill(server.child.pid, SIGTERM);
        waitChild(server.child);
        throw std::runtime_error("Xvfb did not start a " + size + " screen");
    }
    server.display = ":" + got.substr(0, digits);
    return server;
}

void stopServer(Server &server)
{
    kill(server.child.pid, SIGTERM);
    waitChild(server.child);
}

struct Launch {
    std::vector<std::string> argv;
    std::vector<std::string> environment;
    bool waitsForLine;  // settles from its first line (the paced replay, once its recording is read)
};

// Paced processes run side by side, each on its own X server, so that
// whatever else the machine does falls on all of them alike: the CPU seconds
// a second each uses over kPacedSeconds once all have settled. Throws unless
// each runs to the end of the spell and then ends cleanly on SIGTERM.
std::vector<double> pacedCpu(const std::vector<Launch> &launches)
{
    using Clock = std::chrono::steady_clock;
    std::vector<Child> children;
    std::string failure;
    try {
        for (const Launch &launch : launches) {
            children.push_back(startChild(launch.argv, launch.environment));
            std::string output;
            while (launch.waitsForLine && output.find('\n') == std::string::npos && !children.back().closed)
                output += readFor(children.back(), 1.0);
        }
    } catch (const std::exception &) {
        for (Child &child : children) {
            kill(child.pid, SIGKILL);
            waitChild(child);
        }
        throw;
    }
    // Each reads its own output while the others run on: none has much to say.
    const auto pause = [&](double seconds) {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (Clock::now() < end)
            for (Child &child : children)
                if (!child.closed)
                    readFor(child, 0.05);
    };
    pause(kSettleSeconds);
    std::vector<double> used;
    const auto start = Clock::now();
    for (Child &child : children)
        used.push_back(child.closed ? 0 : cpuSeconds(child.pid));
    pause(kPacedSeconds);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i].closed)
            failure = launches[i].argv[0] + " ended before its spell was over";
        else
            used[i] = (cpuSeconds(children[i].pid) - used[i]) / seconds;
        kill(children[i].pid, SIGTERM);
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        readFor(children[i], 10.0);
        if (!children[i].closed)
            kill(children[i].pid, SIGKILL);  // it did not take the request
        const int status = waitChild(children[i]);
        if (status != 0 && failure.empty())
            failure = launches[i].argv[0] + " ended with status " + std::to_string(status);
    }
    if (!failure.empty())
        throw std::runtime_error(failure);
    return used;
}

// The CPU a paced second costs, whole process, on llvmpipe with one thread
// (which makes the figures steady): the program against the paced replay of
// its own calls, on a screen the picture's size and on a 1920x1080 one, and
// against itself with sdl12-compat's scaling off. Each ratio's two
// processes run side by side; in each round the screens and the pairs take
// turns in random order, and the two X servers of a screen change hands, as
// does which process starts first.
// Each ratio is the median of the rounds' ratios.
std::vector<Row> pacedRows()
{
    struct Pair {
        const char *against;         // the figure's name after the slash
        std::vector<std::string> argv;
        std::vector<std::string> environment;
        std::vector<double> program, other;
    };
    struct Screen {
        std::string name;
        bool pictureSized;
        std::vector<Pair> pairs;
        Server servers[2];
    };
    const std::vector<std::string> replay = {VORLEX_PACED_REPLAY_TOOL, std::to_string(kPacedFrames)};
    std::vector<Screen> screens(2);
    screens[0].name = "640x480";
    screens[0].pictureSized = true;
    screens[1].name = "1920x1080";
    screens[1].pictureSized = false;
    std::vector<Row> rows;
    std::vector<Server *> started;
    try {
        for (Screen &screen : screens) {
            screen.pairs = {{"replay", replay, {}, {}, {}},
                            {"scaling off", {VORLEX_PROGRAM}, {"SDL12COMPAT_OPENGL_SCALING=0"}, {}, {}}};
            for (Server &server : screen.servers) {
                server = startServer(screen.name);
                started.push_back(&server);
            }
        }
        std::mt19937 shuffle(std::random_device{}());
        std::vector<Screen *> order = {&screens[0], &screens[1]};
        for (int round = 1; round <= kPacedRounds; ++round) {
            std::fprintf(stderr, "Paced runs, round %d of %d...\n", round, kPacedRounds);
            std::shuffle(order.begin(), order.end(), shuffle);
            for (Screen *screen : order) {
                std::vector<Pair *> pairs = {&screen->pairs[0], &screen->pairs[1]};
                std::shuffle(pairs.begin(), pairs.end(), shuffle);
                for (Pair *pair : pairs) {
                    const std::string &mine = screen->servers[round % 2].display,
                                      &theirs = screen->servers[1 - round % 2].display;
                    std::vector<std::string> other = pair->environment;
                    other.push_back("DISPLAY=" + theirs);
                    other.push_back("LP_NUM_THREADS=0");
                    std::vector<Launch> launches = {
                        {{VORLEX_PROGRAM}, {"DISPLAY=" + mine, "LP_NUM_THREADS=0"}, false},
                        {pair->argv, other, pair->argv == replay}};
                    // Which starts first takes turns too, out of step with the servers.
                    const bool programFirst = round / 2 % 2 == 0;
                    if (!programFirst)
                        std::swap(launches[0], launches[1]);
                    const std::vector<double> cpu = pacedCpu(launches);
                    pair->program.push_back(cpu[programFirst ? 0 : 1]);
                    pair->other.push_back(cpu[programFirst ? 1 : 0]);
                    std::fprintf(stderr, "  %s: the program %.0f, %s %.0f ms of CPU a second\n",
                                 screen->name.c_str(), pair->program.back() * 1e3, pair->against,
                                 pair->other.back() * 1e3);
                }
            }
        }
    } catch (const std::exception &e) {
        for (Server *server : started)
            stopServer(*server);
        for (const Screen &screen : screens)
            for (const char *against : {"replay", "scaling off"})
                rows.push_back(notMeasured("paced CPU on " + screen.name + " / " + against, e.what()));
        return rows;
    }
    for (Server *server : started)
        stopServer(*server);
    for (const Screen &screen : screens) {
        for (const Pair &pair : screen.pairs) {
            std::vector<double> ratios;
            for (std::size_t k = 0; k < pair.program.size(); ++k)
                ratios.push_back(pair.program[k] / pair.other[k]);
            if (&pair == &screen.pairs[0])
                rows.push_back(pacedCost(screen.name, median(ratios), median(pair.program), median(pair.other)));
            else
                rows.push_back(scalingCost(screen.name, median(ratios), median(pair.program), median(pair.other),
                                           screen.pictureSized));
        }
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
