// The child processes the benchmark and its tests run: started with their
// standard output on a pipe (standard error stays the caller's, so a child's
// own message reaches the user). Failures throw std::runtime_error naming the program and the reason.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "recording/records.h"

struct Child {
    pid_t pid;
    int output;            // read end of the child's standard output
    std::string name;
    bool closed = false;   // the child closed its output: it has ended
};

// `environment` holds NAME=value settings that replace or add to this
// process's own in the child's.
Child startChild(const std::vector<std::string> &argv, const std::vector<std::string> &environment = {});

// CPU time the running process `pid` has used so far, user and system, all
// its threads included, in seconds.
double cpuSeconds(pid_t pid);

// What the child writes until it closes its output or `seconds` have
// passed; a negative `seconds` waits for the close.
std::string readFor(Child &child, double seconds);

// Closes the pipe and reaps the child: its exit status, or 128 + the signal
// that ended it.
int waitChild(Child &child);

// Runs argv to its end and returns its output; throws unless it exits with
// status 0.
std::string runChild(const std::vector<std::string> &argv);

// Frames 1 to `frames` of the program, recorded by the capture tool at
// `tool` and read as it draws them: each is appended to `into`, then handed
// to `take`, which may clear `into` again to hold one frame at a time.
void captureFrames(const std::string &tool, long frames, Recording &into,
                   const std::function<void(Recording &)> &take);

// The same, all frames kept.
Recording captureFrames(const std::string &tool, long frames);
