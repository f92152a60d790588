// Paced processes side by side, each on a private X server of its own, so
// that whatever else the machine does falls on all of them alike.
#pragma once

#include <string>
#include <vector>

#include "process.h"

// A private X server for one paced process: Xvfb picks a free display
// number and writes it on its standard output.
struct Server {
    Child child;
    std::string display;
};

Server startServer(const std::string &size);
void stopServer(Server &server);

struct Launch {
    std::vector<std::string> argv;
    std::vector<std::string> environment;
    bool waitsForLine;  // settles from its first line (the paced replay, once its recording is read)
    int endStatus = 0;  // after SIGTERM: a screensaver (--root) ends by that signal, as daemons expect
};

// What one process cost over the spell: CPU a frame compares two processes
// also where either falls short of the paced 62 frames a second, which CPU a
// second would mix in.
struct Paced {
    double cpuPerFrame, framesPerSecond;
};

// Runs the processes side by side, each with the benchmark's frame counter
// preloaded: the CPU seconds each uses a frame over a spell once all have
// settled, and the frames a second it drew. Throws unless each runs to the
// end of the spell and then ends cleanly on SIGTERM.
std::vector<Paced> pacedCpu(const std::vector<Launch> &launches);
