// Paced processes side by side on private X servers, and the ratios of the
// CPU they use.
#include "paced.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <random>
#include <stdexcept>
#include <string>

#include "median.h"
#include "process.h"

namespace {

// Paced runs: each process settles (start-up, the GL compiling its drawing
// code) before its CPU is read over a spell; the rounds interleave them.
constexpr double kSettleSeconds = 2.0;
constexpr double kPacedSeconds = 4.0;
constexpr int kPacedRounds = 5;
// Frames the paced replay records and draws in turn: more than it draws in
// its settling and its spell, so that it draws the frames the program draws.
constexpr long kPacedFrames = 62 * 10;

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
    int endStatus = 0;  // after SIGTERM: a screensaver (--root) ends by that signal, as daemons expect
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
        if (status != launches[i].endStatus && failure.empty())
            failure = launches[i].argv[0] + " ended with status " + std::to_string(status);
    }
    if (!failure.empty())
        throw std::runtime_error(failure);
    return used;
}

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
                    const std::vector<double> cpu = pacedCpu(launches);
                    pair->program.push_back(cpu[programFirst ? 0 : 1]);
                    pair->other.push_back(cpu[programFirst ? 1 : 0]);
                    std::fprintf(stderr, "  %s: the program %.0f, %s %.0f ms of CPU a second\n",
                                 screen->name.c_str(), pair->program.back() * 1e3, pair->against,
                                 pair->other.back() * 1e3);
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
            const std::vector<double> cpu = pacedCpu(saver);
            previewCpu.push_back(cpu[previewFirst ? 0 : 1]);
            wholeCpu.push_back(cpu[previewFirst ? 1 : 0]);
            std::fprintf(stderr, "  --root: a %s preview %.0f, the whole picture %.0f ms of CPU a second\n",
                         previewSize.c_str(), previewCpu.back() * 1e3, wholeCpu.back() * 1e3);
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
