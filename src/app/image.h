// The desktop's image files up to the RGBA pixels that become a texture,
// without GL: the header check (header.h), SDL_image's decoding under a time
// limit, and the staging copy. stageFile() (platform.h) is these steps in order.
#pragma once

#include <SDL.h>
#include <cstdio>
#include <string>

#include "app/header.h"   // declaredSize, headerProblem
#include "app/texture.h"  // the pixel budget, sizeProblem

// Runs decode(context) and gives up on it after `seconds`, setting *timedOut:
// SDL_image's GIF reader can loop for ever on damaged picture data. A decoder
// given up on is left where it stood, with whatever it held, so the caller
// ends the process next. What the decoder prints on standard error is
// dropped (but in a sanitizer build). A time limit that cannot be armed (timer_create
// fails, e.g. under ulimit -i 0) ends start-up through startFail().
SDL_Surface *decodeWithin(unsigned seconds, SDL_Surface *(*decode)(void *), void *context,
                          bool *timedOut);

// A new RGBA staging surface (bytes red, green, blue, alpha) holding the image
// at its top left, top row first: the image's own size, or each side rounded
// up to a power of two when `padded`, the rest transparent black. Takes the
// image's own alpha rather than blending it. Null on failure (SDL_GetError).
SDL_Surface *stageImage(SDL_Surface *image, bool padded);
