// Draws frames headless and compares each, pixel for pixel, with a picture
// file, decoded by SDL_image:
//
//   docs_check [--modelled-clock] FRAME FILE [FRAME FILE...]
//
// With --modelled-clock the overlay shows the rate as the preview's frames
// do; without, "FPS: 0" as the pictures' do. One line per file; exits 1 when
// one differs or cannot be read. Run from the folder that holds Vorlex.app.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "tools/headless.h"
#include "support/pixels.h"

namespace {

// The pixels of `file` against the frame in the back buffer: "" when they
// are the same, else what differs.
std::string difference(const char *file)
{
    SDL_Surface *image = IMG_Load(file);
    if (!image)
        return std::string("cannot read it: ") + SDL_GetError();
    SDL_Surface *rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xFF, 0xFF00, 0xFF0000, 0);
    SDL_Surface *pixels = rgba ? SDL_ConvertSurface(image, rgba->format, SDL_SWSURFACE) : nullptr;
    SDL_FreeSurface(image);
    if (rgba)
        SDL_FreeSurface(rgba);
    if (!pixels)
        return std::string("cannot convert it: ") + SDL_GetError();
    std::string found;
    if (pixels->w != Frame::kWidth || pixels->h != Frame::kHeight) {
        found = std::to_string(pixels->w) + "x" + std::to_string(pixels->h) + ", not " +
                std::to_string(Frame::kWidth) + "x" + std::to_string(Frame::kHeight);
    } else {
        const Frame drawn;
        long differ = 0;
        for (int row = 0; row < pixels->h; ++row)
            for (int x = 0; x < pixels->w; ++x) {
                const Uint8 *p = static_cast<const Uint8 *>(pixels->pixels) + row * pixels->pitch + x * 4;
                const Rgba d = drawn.at(x, row);
                if (d.r == p[0] && d.g == p[1] && d.b == p[2])
                    continue;
                if (differ++ == 0) {
                    char first[160];
                    std::snprintf(first, sizeof first, "the first at (%d, %d): drawn %d %d %d, file %d %d %d", x,
                                  row, d.r, d.g, d.b, p[0], p[1], p[2]);
                    found = first;
                }
            }
        if (differ)
            found = std::to_string(differ) + " of " + std::to_string(Frame::kWidth * Frame::kHeight) +
                    " pixels differ, " + found;
    }
    SDL_FreeSurface(pixels);
    return found;
}

} // namespace

int main(int argc, char *argv[])
{
    int next = 1;
    const bool modelled = argc > 1 && std::strcmp(argv[1], "--modelled-clock") == 0;
    next += modelled;
    if (argc - next < 2 || (argc - next) % 2 != 0) {
        std::fprintf(stderr, "usage: %s [--modelled-clock] FRAME FILE [FRAME FILE...]\n", argv[0]);
        return 2;
    }
    std::vector<std::pair<int, const char *>> pictures;
    for (int i = next; i < argc; i += 2)
        pictures.emplace_back(frameArgument("docs_check", "FRAME", argv[i]), argv[i + 1]);
    std::stable_sort(pictures.begin(), pictures.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });

    startUp();
    if (modelled)
        showRate(RateShown::modelled);
    int status = 0;
    for (const auto &[frame, file] : pictures) {
        drawUpTo(frame);
        const std::string problem = difference(file);
        if (problem.empty()) {
            std::printf("same: %s (frame %d)\n", file, frame);
        } else {
            std::printf("differs: %s (frame %d): %s\n", file, frame, problem.c_str());
            status = 1;
        }
    }
    SDL_Quit();
    return status;
}
