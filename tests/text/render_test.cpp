// The text on the real GL under Xvfb: glyphs read back from the screen match
// their cells in the bundled atlas images, and the title's family A layer
// fades in and out over family B. Runs in the folder that holds Vorlex.app.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_opengl.h>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/platform.h"
#include "app/startup.h"
#include "draw/scenes/primitives.h"
#include "support/pixels.h"
#include "draw/text/font.h"
#include "draw/text/overlay.h"

namespace {

// An atlas image as the file holds it, read independently of the loaders.
class Atlas {
public:
    Atlas(const char *file, int cell) : cell_(cell), path_(std::string(VORLEX_RESOURCES) + file)
    {
        image_ = IMG_Load(path_.c_str());
        EXPECT_NE(image_, nullptr) << path_ << ": " << IMG_GetError();
    }
    ~Atlas()
    {
        if (image_)
            SDL_FreeSurface(image_);
    }
    Atlas(const Atlas &) = delete;
    Atlas &operator=(const Atlas &) = delete;

    bool loaded() const { return image_ != nullptr; }
    const std::string &path() const { return path_; }

    // Texel (i, j) of the cell of a code from 0 to 127.
    Rgba texel(char code, int i, int j) const
    {
        return expectedTexel(image_, code % 16 * cell_ + i, code / 16 * cell_ + j);
    }

private:
    int cell_;
    std::string path_;
    SDL_Surface *image_ = nullptr;
};

// `over` blended onto `under` by source alpha, its alpha first scaled by `alpha`.
Rgba blend(Rgba under, Rgba over, double alpha)
{
    const double a = over.a / 255.0 * alpha;
    const auto mix = [a](int dst, int src) { return static_cast<int>(std::lround(src * a + dst * (1.0 - a))); };
    return {mix(under.r, over.r), mix(under.g, over.g), mix(under.b, over.b), 0};
}

const Rgba kBlack{0, 0, 0, 0};

// Compares the cells of a line of text drawn at (x, y) with `expect(code, i, j)`,
// channel by channel within `tolerance`; reports the first few differences
// and returns how many pixels differ. A cell's pixel (i, j) lies in column
// x + i and screen row y + 1 + j: the projection puts y 0 one row down.
template <class Expect>
int compareLine(const Frame &f, int x, int y, int cell, const std::string &text, Expect expect,
                int tolerance, const std::string &what)
{
    int wrong = 0;
    for (std::size_t n = 0; n < text.size(); ++n)
        for (int j = 0; j < cell; ++j)
            for (int i = 0; i < cell; ++i) {
                const int column = x + static_cast<int>(n) * cell + i;
                const Rgba want = expect(text[n], i, j);
                Rgba got = f.at(column, y + 1 + j);
                got.a = 0;
                const bool close = std::abs(got.r - want.r) <= tolerance &&
                                   std::abs(got.g - want.g) <= tolerance &&
                                   std::abs(got.b - want.b) <= tolerance;
                if (!close && wrong++ < 3)
                    ADD_FAILURE() << what << ": '" << text[n] << "' pixel (" << i << ", " << j
                                  << ") at column " << column << ", row " << y + 1 + j
                                  << ": expected " << want << ", got " << got;
            }
    return wrong;
}

int lineTop(std::size_t line, int cell)
{
    return 20 + static_cast<int>(line) * (cell + 4);
}

void clearToBlack()
{
    glClear(GL_COLOR_BUFFER_BIT);
}

} // namespace

TEST(Glyphs, MatchTheirAtlasCellsInBothFamiliesAndSizes)
{
    // Every printable code, in lines that fit the screen in 12-pixel cells.
    std::vector<std::string> lines(2);
    for (char code = 32; code < 127; ++code)
        lines[code < 80 ? 0 : 1] += code;

    using Draw = void (*)(long, double, long, long, const char *, ...);
    const struct {
        Draw draw;
        long size;
        const char *file;
        int cell;
    } cases[] = {{fontA, 0, "fontA06.gif", 6}, {fontA, 1, "fontA12.gif", 12},
                 {fontB, 0, "fontB06.gif", 6}, {fontB, 1, "fontB12.gif", 12}};

    for (const auto &c : cases) {
        const Atlas atlas(c.file, c.cell);
        if (!atlas.loaded())
            continue;
        clearToBlack();
        identityAndTexturesOn();
        for (std::size_t n = 0; n < lines.size(); ++n)
            c.draw(c.size, 1.0, 16, lineTop(n, c.cell), "%s", lines[n].c_str());
        texturesOff();
        const Frame f;

        int inked = 0;
        const auto overBlack = [&](char code, int i, int j) {
            const Rgba want = blend(kBlack, atlas.texel(code, i, j), 1.0);
            inked += !(want == kBlack);
            return want;
        };
        int wrong = 0;
        for (std::size_t n = 0; n < lines.size(); ++n)
            wrong += compareLine(f, 16, lineTop(n, c.cell), c.cell, lines[n], overBlack, 1, atlas.path());
        EXPECT_EQ(wrong, 0) << atlas.path() << ": pixels that differ from the atlas";
        EXPECT_GT(inked, 0) << atlas.path() << ": the printable cells hold no glyph at all";
    }
}

TEST(Title, FamilyAFadesInAndOutOverFamilyB)
{
    const Atlas a("fontA12.gif", 12);
    const Atlas b("fontB12.gif", 12);
    ASSERT_TRUE(a.loaded() && b.loaded());
    const std::string title = "OpenGL TEST";

    // Nothing else in this process draws the overlay, so its fade starts
    // from 0: frame n shows the A layer at n / 100 on the way up and at
    // (200 - n) / 100 on the way down.
    std::optional<Frame> opaque, gone;
    for (int n = 1; n <= 200; ++n) {
        clearToBlack();
        drawOverlay(0);
        if (n % 50 != 0 && n != 1)
            continue;
        const double alp = n <= 100 ? n / 100.0 : (200 - n) / 100.0;
        const Frame f;
        const auto crossFade = [&](char code, int i, int j) {
            return blend(blend(kBlack, b.texel(code, i, j), 1.0), a.texel(code, i, j), alp);
        };
        const int wrong = compareLine(f, 48, 360, 12, title, crossFade, 2,
                                      "title on frame " + std::to_string(n));
        EXPECT_EQ(wrong, 0) << "title on frame " << n << " with the A layer at " << alp;
        if (n == 100)
            opaque = f;
        if (n == 200)
            gone = f;
    }

    // The two families must differ for the fade to show at all.
    int differing = 0;
    for (int row = 361; row <= 372; ++row)
        for (int x = 48; x < 48 + 12 * static_cast<int>(title.size()); ++x)
            differing += !(opaque->at(x, row) == gone->at(x, row));
    EXPECT_GT(differing, 0) << "the title looks the same with and without its family A layer";
}
