// Paced processes side by side on private X servers, and the ratios of the
// CPU they use.
#include "paced.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "median.h"
#include "paced_run.h"
#include "process.h"

namespace {

constexpr int kPacedRounds = 5;
// Frames the paced replay records and draws in turn: more than it draws in
// its settling and its spell, so that it draws the frames the program draws.
constexpr long kPacedFrames = 62 * 10;

} // namespace

// The CPU a paced second costs, whole process, on llvmpipe with one thread
// (which makes the figures steady): the program against the paced replay of
// its own calls, on a screen the picture's size and on a 1920x1080 one, and
// against itself with sdl12-compat's scaling off; and as a screensaver
// (--root), on a screen of a small preview's size against one the picture's. Each ratio's two
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
    const std::string previewSize = "200x150";
    Server preview;
    std::vector<double> previewCpu, wholeCpu;
    try {
        preview = startServer(previewSize);
        started.push_back(&preview);
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
                    const std::vector<Paced> cpu = pacedCpu(launches);
                    const Paced &program = cpu[programFirst ? 0 : 1], &baseline = cpu[programFirst ? 1 : 0];
                    pair->program.push_back(program.cpuPerFrame);
                    pair->other.push_back(baseline.cpuPerFrame);
                    std::fprintf(stderr, "  %s: the program %.2f ms at %.0f, %s %.2f ms at %.0f frames a second\n",
                                 screen->name.c_str(), program.cpuPerFrame * 1e3, program.framesPerSecond,
                                 pair->against, baseline.cpuPerFrame * 1e3, baseline.framesPerSecond);
                }
            }
            // The preview beside the whole picture, on the 640x480 server
            // that is free of a pair now.
            std::vector<Launch> saver = {
                {{VORLEX_PROGRAM, "--root"}, {"DISPLAY=" + preview.display, "LP_NUM_THREADS=0"}, false, 128 + SIGTERM},
                {{VORLEX_PROGRAM, "--root"},
                 {"DISPLAY=" + screens[0].servers[round % 2].display, "LP_NUM_THREADS=0"},
                 false,
                 128 + SIGTERM}};
            const bool previewFirst = round % 2 == 0;
            if (!previewFirst)
                std::swap(saver[0], saver[1]);
            const std::vector<Paced> cpu = pacedCpu(saver);
            const Paced &small = cpu[previewFirst ? 0 : 1], &whole = cpu[previewFirst ? 1 : 0];
            previewCpu.push_back(small.cpuPerFrame);
            wholeCpu.push_back(whole.cpuPerFrame);
            std::fprintf(stderr, "  --root: a %s preview %.2f ms at %.0f, the whole picture %.2f ms at %.0f frames a second\n",
                         previewSize.c_str(), small.cpuPerFrame * 1e3, small.framesPerSecond,
                         whole.cpuPerFrame * 1e3, whole.framesPerSecond);
        }
    } catch (const std::exception &e) {
        for (Server *server : started)
            stopServer(*server);
        for (const Screen &screen : screens)
            for (const char *against : {"replay", "scaling off"})
                rows.push_back(notMeasured("paced CPU on " + screen.name + " / " + against, e.what()));
        rows.push_back(notMeasured("paced CPU as a " + previewSize + " preview / whole", e.what()));
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
    std::vector<double> ratios;
    for (std::size_t k = 0; k < previewCpu.size(); ++k)
        ratios.push_back(previewCpu[k] / wholeCpu[k]);
    rows.push_back(previewCost(previewSize, median(ratios), median(previewCpu), median(wholeCpu)));
    return rows;
}
