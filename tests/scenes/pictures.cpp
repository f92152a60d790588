// Writes chosen frames of the demo as binary PPM files OUTDIR/frame-NNNN.ppm,
// the overlay reading "FPS: 0", for the pictures in docs/. Run by
// scripts/pictures.sh under a private Xvfb, from the folder that holds
// Vorlex.app: scenes_pictures OUTDIR FRAME...
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/startup.h"
#include "tools/headless.h"

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTDIR FRAME...\n", argv[0]);
        return 2;
    }
    std::vector<int> frames;
    for (int i = 2; i < argc; ++i)
        frames.push_back(frameArgument("scenes_pictures", "FRAME", argv[i]));
    std::sort(frames.begin(), frames.end());

    startUp();
    for (const int n : frames) {
        drawUpTo(n);
        char path[4096];
        std::snprintf(path, sizeof path, "%s/frame-%04d.ppm", argv[1], n);
        std::string why;
        if (!writePpm(path, &why)) {
            std::fprintf(stderr, "scenes_pictures: cannot write %s: %s\n", path, why.c_str());
            SDL_Quit();
            return 1;
        }
    }
    SDL_Quit();
    return 0;
}
