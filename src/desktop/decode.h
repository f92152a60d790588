// The desktop's guarded decode: a decoder given a time limit of its own and
// kept off the user's standard error.
#pragma once

#include <SDL.h>

// Runs decode(context) and gives up on it after `seconds`, setting *timedOut:
// SDL_image's GIF reader can loop for ever on damaged picture data. A decoder
// given up on is left where it stood, with whatever it held, so the caller
// ends the process next. What the decoder prints on standard error is
// dropped (but in a sanitizer build, a sanitizer's report). A time limit that
// cannot be armed (timer_create fails, e.g. under ulimit -i 0) ends start-up
// through startFail().
SDL_Surface *decodeWithin(unsigned seconds, SDL_Surface *(*decode)(void *), void *context,
                          bool *timedOut);
