// Paced processes side by side on private X servers: the CPU each uses a
// frame, and the frames a second it draws.
#include "paced_run.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <unistd.h>

namespace {

// Each process settles (start-up, the GL compiling its drawing code) before
// its CPU is read over a spell.
constexpr double kSettleSeconds = 2.0;
constexpr double kPacedSeconds = 4.0;

// The frames a process has drawn, as its preloaded counter keeps them.
struct FrameCount {
    std::string path;
    FrameCount() : path("/tmp/vorlex-frames-XXXXXX")
    {
        const int fd = mkstemp(path.data());
        if (fd < 0 || ftruncate(fd, sizeof(std::uint64_t)) != 0)
            throw std::runtime_error("cannot make a file to count frames in /tmp");
        close(fd);
    }
    FrameCount(const FrameCount &) = delete;
    ~FrameCount() { unlink(path.c_str()); }
    double read() const
    {
        std::uint64_t frames = 0;
        FILE *file = std::fopen(path.c_str(), "rb");
        if (file) {
            if (std::fread(&frames, sizeof frames, 1, file) != 1)
                frames = 0;
            std::fclose(file);
        }
        return static_cast<double>(frames);
    }
};

} // namespace

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

std::vector<Paced> pacedCpu(const std::vector<Launch> &launches)
{
    using Clock = std::chrono::steady_clock;
    std::vector<Child> children;
    std::vector<FrameCount> counts(launches.size());
    std::string failure;
    try {
        for (const Launch &launch : launches) {
            std::vector<std::string> environment = launch.environment;
            environment.push_back("LD_PRELOAD=" VORLEX_FRAME_COUNTER);
            environment.push_back("VORLEX_FRAME_COUNT=" + counts[children.size()].path);
            children.push_back(startChild(launch.argv, environment));
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
    std::vector<double> used, frames;
    const auto start = Clock::now();
    for (std::size_t i = 0; i < children.size(); ++i) {
        used.push_back(children[i].closed ? 0 : cpuSeconds(children[i].pid));
        frames.push_back(counts[i].read());
    }
    pause(kPacedSeconds);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<Paced> paced(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const double drawn = counts[i].read() - frames[i];
        if (children[i].closed)
            failure = launches[i].argv[0] + " ended before its spell was over";
        else if (drawn < 1)
            failure = launches[i].argv[0] + " drew no frame in its spell (is its frame counter preloaded?)";
        else
            paced[i] = {(cpuSeconds(children[i].pid) - used[i]) / drawn, drawn / seconds};
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
    return paced;
}

