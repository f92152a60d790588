#include "process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::runtime_error failure(const std::string &what, int error)
{
    return std::runtime_error(what + ": " + std::strerror(error));
}

} // namespace

Child startChild(const std::vector<std::string> &argv, const std::vector<std::string> &environment)
{
    std::vector<char *> env;
    for (char **setting = environ; *setting; ++setting) {
        const std::string name(*setting, std::strcspn(*setting, "="));
        bool replaced = false;
        for (const std::string &own : environment)
            replaced = replaced || own.compare(0, name.size() + 1, name + "=") == 0;
        if (!replaced)
            env.push_back(*setting);
    }
    for (const std::string &own : environment)
        env.push_back(const_cast<char *>(own.c_str()));
    env.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw failure("cannot make a pipe for " + argv.at(0), errno);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Both ends close on exec; the copy dup2 makes as standard output does not.
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (error != 0) {
        close(fds[0]);
        throw failure("cannot start " + argv[0], error);
    }
    return {pid, fds[0], argv[0], false};
}

double cpuSeconds(pid_t pid)
{
    clockid_t clock;
    timespec used = {};
    const int error = clock_getcpuclockid(pid, &clock);
    if (error != 0)
        throw failure("cannot find the CPU clock of process " + std::to_string(pid), error);
    if (clock_gettime(clock, &used) != 0)
        throw failure("cannot read the CPU clock of process " + std::to_string(pid), errno);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

std::string readFor(Child &child, double seconds)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    std::string got;
    char buffer[65536];
    for (;;) {
        int wait = -1;
        if (seconds >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                break;
            wait = static_cast<int>(left.count());
        }
        pollfd ready = {child.output, POLLIN, 0};
        const int polled = poll(&ready, 1, wait);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled < 0)
            throw failure("cannot wait for the output of " + child.name, errno);
        if (polled == 0)
            break;
        const ssize_t n = read(child.output, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw failure("cannot read the output of " + child.name, errno);
        if (n == 0) {
            child.closed = true;
            break;
        }
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

int waitChild(Child &child)
{
    if (child.output >= 0)
        close(child.output);
    child.output = -1;
    int status = 0;
    while (waitpid(child.pid, &status, 0) < 0)
        if (errno != EINTR)
            throw failure("cannot wait for " + child.name, errno);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string runChild(const std::vector<std::string> &argv)
{
    Child child = startChild(argv);
    std::string output = readFor(child, -1);
    const int status = waitChild(child);
    if (status != 0)
        throw std::runtime_error(argv[0] + " exited with status " + std::to_string(status));
    return output;
}

void captureFrames(const std::string &tool, long frames, Recording &into,
                   const std::function<void(Recording &)> &take)
{
    Child child = startChild({tool, std::to_string(frames)});
    std::FILE *in = fdopen(child.output, "rb");
    if (!in) {
        const int error = errno;
        waitChild(child);
        throw failure("cannot read the output of " + tool, error);
    }
    child.output = -1;  // the stream owns it now
    long got = 0;
    std::string damage;
    try {
        RecordingReader reader(in);
        for (; reader.next(into); ++got)
            take(into);
    } catch (const std::exception &e) {
        damage = e.what();
    }
    std::fclose(in);  // a child still writing ends on SIGPIPE
    const int status = waitChild(child);
    const bool cutOff = !damage.empty() && status == 128 + SIGPIPE;
    if (status != 0 && !cutOff)
        throw std::runtime_error(tool + " exited with status " + std::to_string(status));
    if (!damage.empty())
        throw std::runtime_error("the recording from " + tool + ": " + damage);
    if (got != frames)
        throw std::runtime_error(tool + " recorded " + std::to_string(got) + " frames, not " +
                                 std::to_string(frames));
}

Recording captureFrames(const std::string &tool, long frames)
{
    Recording recording;
    captureFrames(tool, frames, recording, [](Recording &) {});
    return recording;
}
