// The pixel budget of one image, on every platform (each platform's image
// reading checks it), on the size a header declares before decoding and on
// the decoded picture.
#pragma once

#include <string>

// At most 2048x2048 pixels in all, and at most 8192 on a side. The demo's own
// images are at most 192x96. At the budget an image costs at most 16 MiB
// decoded, as much again staged (64 MiB when padded: each side rounds up to
// less than twice itself) and a fraction of a second to decode; a header that
// declares 16383x16383 would otherwise cost gigabytes and many seconds. The
// side limit is SDL 1.2's: a surface's pitch is 16 bits, so a 32-bit surface
// is at most 16383 wide, and SDL_image's GIF reader writes through the null
// surface it gets for a 16384-wide picture; 8192 also keeps a padded side (the
// next power of two) within it.
constexpr long kBudgetPixels = 2048L * 2048L;
constexpr long kBudgetSide = 8192;

// Why an image of width x height cannot become a texture whose sides may be
// at most `largest`, or is over the pixel budget, or "" when it can.
std::string sizeProblem(long width, long height, long largest);
