// Decoding under a time limit: a timer of the calling thread's own, and a
// jump out of the decoder when it fires.
#include "desktop/decode.h"

#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <ctime>
#include <unistd.h>

#include "app/fail.h"
#include "desktop/held_stderr.h"

namespace {

sigjmp_buf deadline;

void onDeadline(int)
{
    siglongjmp(deadline, 1);
}

} // namespace

SDL_Surface *decodeWithin(unsigned seconds, SDL_Surface *(*decode)(void *), void *context,
                          bool *timedOut)
{
    *timedOut = false;
    // A timer of this thread's own: GL's worker threads must not take the
    // signal, and SIGALRM is left to whoever else may use it (libFuzzer does).
    struct sigaction onTime = {}, previous = {};
    onTime.sa_handler = onDeadline;
    sigemptyset(&onTime.sa_mask);
    sigaction(SIGVTALRM, &onTime, &previous);
    sigevent event = {};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = SIGVTALRM;
    event._sigev_un._tid = gettid();
    timer_t timer;
    if (timer_create(CLOCK_MONOTONIC, &event, &timer) != 0) {
        const int error = errno;
        sigaction(SIGVTALRM, &previous, nullptr);
        startFail("cannot arm the image decoding time limit", std::strerror(error));
    }

    SDL_Surface *volatile image = nullptr;
    // Held only once the limit is armed, so that a failure to arm it is
    // heard; what libpng and the others print on a broken file is dropped:
    // the one line the loader writes carries SDL_image's own reason.
    HeldStderr quiet;
    quiet.hold();
    if (sigsetjmp(deadline, 1) == 0) {
        itimerspec after = {};
        after.it_value.tv_sec = seconds;
        timer_settime(timer, 0, &after, nullptr);
        image = decode(context);
    } else {
        *timedOut = true;
    }
    quiet.release();
    timer_delete(timer);
    sigaction(SIGVTALRM, &previous, nullptr);
    return image;
}
