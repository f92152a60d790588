// What an image file's header shows before anything decodes it: the size a
// BMP, GIF or PNG declares, and a GIF cut short before its first picture
// ends. Every platform checks it, so that a file is refused with the same
// line wherever it is loaded.
#pragma once

#include <cstdio>
#include <string>

#include "app/budget.h"

// What the header of a BMP, GIF or PNG file shows without decoding it.
enum class Header {
    unknown,   // another format: the decoder decides
    sized,     // the size it declares is in width and height
    cutShort,  // a GIF that ends before its first picture's data does, a
               // PNG or BMP before the header that declares its size
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

// What the header shows wrong with the file for a texture whose sides may be
// at most `largest`, or "" when nothing is wrong or the decoder must decide.
// Reads from the file's current position.
std::string headerProblem(std::FILE *file, long largest);
