// The staging surface that a decoded image is copied into on its way to a
// texture, on every platform; each copies its decoder's pixels in itself.
#pragma once

#include <SDL.h>

// A new RGBA surface (bytes red, green, blue, alpha on a little-endian
// machine, as GL_RGBA / GL_UNSIGNED_BYTE reads them; rows of 4 x width bytes)
// for an image of width x height: of that size, or each side rounded up to a
// power of two when `padded`. Every pixel is transparent black, which is what
// the padding shows. Null on failure (SDL_GetError).
SDL_Surface *newStaging(int width, int height, bool padded);
