// The silent-display time limit: a real-time timer and a SIGALRM handler that
// may only write and exit.
#include "desktop/display_silence.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// The line is made beforehand and written to a standard error of its own,
// taken before standard error is held.
char silentLine[512];
int silentLength;
int silentFd = -1;

void onSilentDisplay(int)
{
    if (write(silentFd, silentLine, static_cast<std::size_t>(silentLength)) < 0) {
        // Nothing left to tell it to.
    }
    _exit(1);
}

} // namespace

void limitSilence(const char *display, int seconds, const char *suspects)
{
    silentLength = std::snprintf(silentLine, sizeof silentLine,
                                 "Vorlex: the X display %s does not answer: nothing came back within %d seconds (%s)\n",
                                 display, seconds, suspects);
    silentLength = std::min(silentLength, static_cast<int>(sizeof silentLine) - 1);
    if (silentFd < 0)
        silentFd = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    struct sigaction action = {};
    action.sa_handler = onSilentDisplay;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    itimerval limit = {};
    limit.it_value.tv_sec = seconds;
    setitimer(ITIMER_REAL, &limit, nullptr);
}

void endSilenceLimit()
{
    const itimerval off = {};
    setitimer(ITIMER_REAL, &off, nullptr);
    signal(SIGALRM, SIG_DFL);
    if (silentFd >= 0)
        close(silentFd);
    silentFd = -1;
}
