// Monospaced lines of printf-formatted text, drawn glyph by glyph from the
// bitmap-font atlases. Callers enable rectangle texturing and set the matrix.
#pragma once

#include <GL/gl.h>

// Draws the formatted text in family A (or B) with its first glyph's top-left
// corner at (x, y). size 0 draws 6-pixel cells, any other value 12-pixel
// cells. Every glyph is white, modulated by the atlas, at the given alpha.
// The text is cut at 255 characters; every byte draws its cell, spaces and
// control characters included, with no line break.
[[gnu::format(printf, 5, 6)]] void fontA(long size, double alpha, long x, long y, const char *format, ...);
[[gnu::format(printf, 5, 6)]] void fontB(long size, double alpha, long x, long y, const char *format, ...);

// One cell x cell quad at the model-view origin, showing the atlas texels
// from (u, v), one texel per unit.
void fontRec(long u, long v, long cell, GLuint texture, double alpha);
