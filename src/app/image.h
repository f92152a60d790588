// The desktop's image files up to the RGBA pixels that become a texture,
// without GL: a header check, SDL_image's decoding under a time limit, and
// the staging copy. stageFile() (platform.h) is these steps in order.
#pragma once

#include <SDL.h>
#include <cstdio>
#include <string>

// What the header of a BMP, GIF or PNG file shows without decoding it.
enum class Header {
    unknown,   // another format, or a header cut short: the decoder decides
    sized,     // the size it declares is in width and height
    cutShort,  // a GIF that ends before its first picture's data does
    noPicture, // a GIF that ends without a picture
    tooFar,    // a GIF whose first picture does not end within kGifWalkBytes
};

// The pixel budget of one image, checked on the size a header declares before
// decoding and on the decoded picture: at most 2048x2048 pixels in all, and at
// most 8192 on a side. The demo's own images are at most 192x96. At the budget
// an image costs at most 16 MiB decoded, as much again staged (64 MiB when
// padded: each side rounds up to less than twice itself) and a fraction of a
// second to decode; a header that declares 16383x16383 would otherwise cost
// gigabytes and many seconds. The side limit is SDL 1.2's: a surface's pitch
// is 16 bits, so a 32-bit surface is at most 16383 wide, and SDL_image's GIF
// reader writes through the null surface it gets for a 16384-wide picture;
// 8192 also keeps a padded side (the next power of two) within it.
constexpr long kBudgetPixels = 2048L * 2048L;
constexpr long kBudgetSide = 8192;

// How far the header walk reads into a GIF before its first picture must have
// ended. LZW codes are at most 12 bits and each but a clear code gives at least
// one pixel, so even with a clear code after every pixel the data of a picture
// within the budget takes under 3.1 bytes a pixel with its sub-block lengths;
// 4 leaves room for the extensions before it.
constexpr long kGifWalkBytes = 4 * kBudgetPixels;

// Reads the pixel size that a BMP, GIF or PNG file declares. The file
// position is left anywhere.
Header declaredSize(std::FILE *file, long *width, long *height);

// Why an image of width x height cannot become a texture whose sides may be
// at most `largest`, or is over the pixel budget, or "" when it can.
std::string sizeProblem(long width, long height, long largest);

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
