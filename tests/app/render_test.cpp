// The real display under Xvfb: startUp() once, then frames drawn and read back
// before the swap, and the loaded textures read back texel by texel.
// Runs in the folder that holds Vorlex.app.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_opengl.h>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/platform.h"
#include "app/startup.h"
#include "draw/frame.h"
#include "app/texture.h"
#include "draw/scenes/slots.h"
#include "draw/scenes/primitives.h"
#include "support/pixels.h"

namespace {

const Rgba kBlack{0, 0, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kRed{255, 0, 0, 255};
const Rgba kYellow{255, 255, 0, 255};
const Rgba kClear{0, 0, 0, 0};

// A texture's level 0, texel row 0 first.
struct Texels {
    int w = 0, h = 0;
    std::vector<unsigned char> data;
    Rgba at(int x, int y) const
    {
        const unsigned char *p = &data[static_cast<std::size_t>((y * w + x) * 4)];
        return {p[0], p[1], p[2], p[3]};
    }
};

Texels readTexture(GLenum target, GLuint name)
{
    Texels t;
    glBindTexture(target, static_cast<GLuint>(name));
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &t.w);
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_HEIGHT, &t.h);
    t.data.resize(static_cast<std::size_t>(t.w * t.h * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.data.data());
    return t;
}

struct Comparison {
    int transparent = 0;  // texels with alpha 0 inside the image
    int partial = 0;      // texels with alpha strictly between 0 and 255
};

Comparison expectTextureHolds(GLenum target, GLuint name, const std::string &file, bool padded)
{
    Comparison seen;
    SDL_Surface *image = IMG_Load(file.c_str());
    EXPECT_NE(image, nullptr) << file << ": " << IMG_GetError();
    if (!image)
        return seen;
    const Texels t = readTexture(target, name);
    EXPECT_EQ(t.w, padded ? nextPowerOfTwo(image->w) : image->w) << file;
    EXPECT_EQ(t.h, padded ? nextPowerOfTwo(image->h) : image->h) << file;
    if (t.w < image->w || t.h < image->h) {
        SDL_FreeSurface(image);
        return seen;
    }
    int wrong = 0;
    for (int y = 0; y < t.h; ++y)
        for (int x = 0; x < t.w; ++x) {
            const bool inside = x < image->w && y < image->h;
            const Rgba want = inside ? expectedTexel(image, x, y) : kClear;
            const Rgba got = t.at(x, y);
            if (!(got == want) && wrong++ < 3)
                ADD_FAILURE() << file << " texel (" << x << ", " << y << "): expected " << want
                              << ", got " << got;
            seen.transparent += inside && got.a == 0;
            seen.partial += inside && got.a > 0 && got.a < 255;
        }
    EXPECT_EQ(wrong, 0) << file << ": texels that differ from the file";
    SDL_FreeSurface(image);
    return seen;
}

std::string resource(const char *name)
{
    return std::string(VORLEX_RESOURCES) + name;
}

// Writes a 24-bit BMP of w x h pixels with a different colour in every pixel.
std::string writeBmp(int w, int h)
{
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Uint8 *p = static_cast<Uint8 *>(s->pixels) + y * s->pitch + x * 3;
            p[0] = static_cast<Uint8>(x * 3 + 1);
            p[1] = static_cast<Uint8>(y * 5 + 2);
            p[2] = static_cast<Uint8>(200 - x);
        }
    char path[64];
    std::snprintf(path, sizeof path, "/tmp/vorlex-render-%d-%dx%d.bmp", static_cast<int>(getpid()), w, h);
    SDL_SaveBMP(s, path);
    SDL_FreeSurface(s);
    return path;
}

} // namespace

// The crosshair under the rest is held pixel for pixel by the pictures' test
// (docs_current); here each drawing starts from a cleared frame.
TEST(Projection, PutsTheOriginOnePixelBelowTheTopEdge)
{
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    filledSquare(1.0, 1.0, 0.0, 1.0);
    const Frame f;
    // The box (0, 0)-(64, 64) covers the pixel centres of rows 1 to 64.
    EXPECT_EQ(f.at(10, 0), kBlack);
    EXPECT_EQ(f.at(10, 1), kYellow);
    EXPECT_EQ(f.at(63, 64), kYellow);
    EXPECT_EQ(f.at(10, 65), kBlack);
    EXPECT_EQ(f.at(64, 10), kBlack);
    EXPECT_EQ(f.at(0, 10), kYellow);
}

TEST(Outline, IsARedSquareAtTheOrigin)
{
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    redOutlineSquare();
    const Frame f;
    EXPECT_TRUE(f.at(32, 0) == kRed || f.at(32, 1) == kRed) << "top edge";
    EXPECT_TRUE(f.at(32, 64) == kRed || f.at(32, 65) == kRed) << "bottom edge";
    // The left edge lies on the screen's own left edge and may fall outside it.
    EXPECT_TRUE(f.at(63, 32) == kRed || f.at(64, 32) == kRed) << "right edge";
    EXPECT_EQ(f.at(32, 32), kBlack) << "an outline, not a filled square";
}

// Each slot of the texture table holds its own file: a GIF's transparent
// colour becomes (0, 0, 0, 0), and the fonts' glyphs lie on it; a PNG keeps
// its own alpha.
TEST(Textures, EveryImageArrivesTexelForTexelInItsSlot)
{
    for (const TextureSlot &slot : textureTable) {
        const std::string file = slot.file;
        const std::string kind = file.substr(file.rfind('.') + 1);
        const Comparison c = expectTextureHolds(slot.padded ? GL_TEXTURE_2D : GL_TEXTURE_RECTANGLE_ARB, *slot.name,
                                                resource(slot.file), slot.padded);
        EXPECT_TRUE(kind != "gif" || c.transparent > 0) << file;
        EXPECT_TRUE(kind != "png" || c.partial > 0) << file;
    }
}

TEST(Textures, PaddingIsTransparentBlackAndTheTopRowComesFirst)
{
    const std::string path = writeBmp(72, 72);
    GLuint name = 0;
    createPotTexture(path.c_str(), &name);
    const Comparison padded = expectTextureHolds(GL_TEXTURE_2D, name, path, true);
    EXPECT_EQ(padded.transparent, 0) << "a BMP has alpha 255 over the whole image";
    createRectTexture(path.c_str(), &name);
    expectTextureHolds(GL_TEXTURE_RECTANGLE_ARB, name, path, false);
    std::remove(path.c_str());
}

TEST(Textures, EachSideIsRoundedByItself)
{
    for (auto [w, h] : {std::pair{100, 30}, {1, 1}}) {
        const std::string path = writeBmp(w, h);
        GLuint name = 0;
        createPotTexture(path.c_str(), &name);
        expectTextureHolds(GL_TEXTURE_2D, name, path, true);
        createRectTexture(path.c_str(), &name);
        expectTextureHolds(GL_TEXTURE_RECTANGLE_ARB, name, path, false);
        std::remove(path.c_str());
    }
}

TEST(Textures, LoadersLeaveTheEnableStateAsPromised)
{
    const std::string path = writeBmp(8, 8);
    GLuint name = 0;
    glEnable(GL_TEXTURE_2D);
    createPotTexture(path.c_str(), &name);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_TEXTURE_2D);
    createPotTexture(path.c_str(), &name);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    createRectTexture(path.c_str(), &name);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_RECTANGLE_ARB, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), name);
    std::remove(path.c_str());
}
