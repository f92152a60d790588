// Writes chosen frames of the demo as binary PPM files, for the pictures in
// docs/. Run by scripts/pictures.sh under a private Xvfb, from the folder that
// holds Vorlex.app: scenes_pictures OUTDIR FRAME...
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/platform.h"
#include "app/startup.h"
#include "support/headless.h"
#include "support/pixels.h"

namespace {

bool writePpm(const Frame &frame, const char *path)
{
    std::FILE *out = std::fopen(path, "wb");
    if (!out)
        return false;
    std::fprintf(out, "P6\n%d %d\n255\n", Frame::kWidth, Frame::kHeight);
    for (int row = 0; row < Frame::kHeight; ++row)
        for (int x = 0; x < Frame::kWidth; ++x) {
            const Rgba c = frame.at(x, row);
            const unsigned char rgb[3] = {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                          static_cast<unsigned char>(c.b)};
            std::fwrite(rgb, 1, sizeof rgb, out);
        }
    return std::fclose(out) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTDIR FRAME...\n", argv[0]);
        return 2;
    }
    std::vector<int> frames;
    for (int i = 2; i < argc; ++i) {
        const int n = std::atoi(argv[i]);
        if (n < 1) {
            std::fprintf(stderr, "scenes_pictures: \"%s\" is not a frame number (1 or more)\n", argv[i]);
            return 2;
        }
        frames.push_back(n);
    }
    std::sort(frames.begin(), frames.end());

    inits();
    int status = 0;
    for (int n : frames) {
        drawUpTo(n);
        char path[4096];
        std::snprintf(path, sizeof path, "%s/frame-%04d.ppm", argv[1], n);
        if (!writePpm(Frame(), path)) {
            std::fprintf(stderr, "scenes_pictures: cannot write %s\n", path);
            status = 1;
            break;
        }
    }
    SDL_Quit();
    return status;
}
