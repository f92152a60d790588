// The desktop's image files up to the RGBA pixels that become a texture,
// without GL: the header check (header.h), SDL_image's decoding under a time
// limit (decode.h), and the staging copy. stageFile() (platform.h) is these
// steps in order.
#pragma once

#include <SDL.h>
#include <cstdio>
#include <string>

#include "app/budget.h"   // sizeProblem
#include "desktop/decode.h"   // decodeWithin
#include "app/header.h"   // declaredSize, headerProblem

// A new RGBA staging surface (bytes red, green, blue, alpha) holding the image
// at its top left, top row first: the image's own size, or each side rounded
// up to a power of two when `padded`, the rest transparent black. Takes the
// image's own alpha rather than blending it. Null on failure (SDL_GetError).
SDL_Surface *stageImage(SDL_Surface *image, bool padded);
