// The desktop's image files up to the RGBA pixels that become a texture,
// without GL: a header check, SDL_image's decoding under a time limit, and
// the staging copy. stageFile() (platform.h) is these steps in order.
#pragma once

#include <SDL.h>
#include <cstdio>
#include <string>

#include "app/texture.h"  // the pixel budget, sizeProblem

// What the header of a BMP, GIF or PNG file shows without decoding it.
enum class Header {
    unknown,   // another format, or a header cut short: the decoder decides
    sized,     // the size it declares is in width and height
    cutShort,  // a GIF that ends before its first picture's data does
    noPicture, // a GIF that ends without a picture
    tooFar,    // a GIF whose first picture does not end within kGifWalkBytes
};

// How far the header walk reads into a GIF before its first picture must have
// ended. LZW codes are at most 12 bits and each but a clear code gives at least
// one pixel, so even with a clear code after every pixel the data of a picture
// within the budget takes under 3.1 bytes a pixel with its sub-block lengths;
// 4 leaves room for the extensions before it.
constexpr long kGifWalkBytes = 4 * kBudgetPixels;

// Reads the pixel size that a BMP, GIF or PNG file declares. The file
// position is left anywhere.
Header declaredSize(std::FILE *file, long *width, long *height);

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
