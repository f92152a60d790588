// The picture the real GL drew, read back before the swap, for the tests and
// the picture harness that render on a real display.
#pragma once

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstddef>
#include <ostream>
#include <vector>

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba &o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

inline std::ostream &operator<<(std::ostream &out, const Rgba &c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

// The 640x480 frame drawn so far, with row 0 at the top of the screen.
class Frame {
public:
    static constexpr int kWidth = 640, kHeight = 480;

    Frame() : pixels_(kWidth * kHeight * 4)
    {
        // Rows of 640 * 4 bytes meet the default pack alignment of 4.
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels_.data());
    }
    Rgba at(int x, int row) const
    {
        const unsigned char *p = &pixels_[static_cast<std::size_t>(((kHeight - 1 - row) * kWidth + x) * 4)];
        return {p[0], p[1], p[2], p[3]};
    }

private:
    std::vector<unsigned char> pixels_;
};

// What the loaders promise for a pixel of an image file that IMG_Load read:
// its own colour and alpha, alpha 255 where the format has none, and
// transparent black where the colour key marks it transparent.
inline Rgba expectedTexel(SDL_Surface *image, int x, int y)
{
    const Uint8 *row = static_cast<const Uint8 *>(image->pixels) + y * image->pitch;
    const int bpp = image->format->BytesPerPixel;
    Uint32 value = 0;
    for (int i = 0; i < bpp; ++i)  // little-endian
        value |= static_cast<Uint32>(row[x * bpp + i]) << (8 * i);
    if ((image->flags & SDL_SRCCOLORKEY) && value == image->format->colorkey)
        return {0, 0, 0, 0};
    Uint8 r, g, b, a;
    SDL_GetRGBA(value, image->format, &r, &g, &b, &a);
    return {r, g, b, image->format->Amask ? a : 255};
}
