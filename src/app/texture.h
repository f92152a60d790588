// Image files to OpenGL textures.
#pragma once

#include <string>

// The pixel budget of one image, on every platform, checked on the size a
// header declares before decoding and on the decoded picture: at most
// 2048x2048 pixels in all, and at most 8192 on a side. The demo's own images
// are at most 192x96. At the budget an image costs at most 16 MiB decoded, as
// much again staged (64 MiB when padded: each side rounds up to less than
// twice itself) and a fraction of a second to decode; a header that declares
// 16383x16383 would otherwise cost gigabytes and many seconds. The side limit
// is SDL 1.2's: a surface's pitch is 16 bits, so a 32-bit surface is at most
// 16383 wide, and SDL_image's GIF reader writes through the null surface it
// gets for a 16384-wide picture; 8192 also keeps a padded side (the next
// power of two) within it.
constexpr long kBudgetPixels = 2048L * 2048L;
constexpr long kBudgetSide = 8192;

// Why an image of width x height cannot become a texture whose sides may be
// at most `largest`, or is over the pixel budget, or "" when it can.
std::string sizeProblem(long width, long height, long largest);

// The smallest power of two that is at least n, counting from 1.
int Pot(int n);

// Loads the image at path into a new GL_TEXTURE_2D texture padded to
// power-of-two sides with transparent black, the image at its top left with
// its top row first, and stores the texture's name in *texture.
void createPotTexture(const char *path, unsigned long *texture);

// The same for a GL_TEXTURE_RECTANGLE_ARB texture of the image's exact size,
// addressed in texels. Leaves the rectangle target disabled.
void createRectTexture(const char *path, unsigned long *texture);
