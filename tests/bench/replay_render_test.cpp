// The replay on the real GL under Xvfb: a replayed frame leaves exactly the
// pixels the program's own frame left, textures included, so the benchmark
// compares like with like. Runs in the folder that holds Vorlex.app.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include "app/platform.h"
#include "app/startup.h"
#include "process.h"
#include "recording/replay.h"
#include "tools/headless.h"
#include "support/pixels.h"

namespace {

constexpr long kFrames = 300;
const long kProbed[] = {1, 2, 37, 100, 150, 199, 200, 250, 300};

Recording &recording()
{
    static Recording frames = captureFrames(VORLEX_CAPTURE_TOOL, kFrames);
    return frames;
}

TEST(ReplayRender, SamePixelsAsTheProgram)
{
    for (const long n : kProbed) {
        drawUpTo(static_cast<int>(n));
        const Frame program;

        // Magenta first: a replay that drew nothing would leave it.
        glClearColor(1.0, 0.0, 1.0, 1.0);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0, 0.0, 0.0, 1.0);
        replayFrame(recording(), static_cast<std::size_t>(n - 1));
        const Frame replayed;

        int differ = 0;
        for (int row = 0; row < Frame::kHeight; ++row)
            for (int x = 0; x < Frame::kWidth; ++x)
                if (!(replayed.at(x, row) == program.at(x, row)) && differ++ < 3)
                    ADD_FAILURE() << "frame " << n << ", pixel (" << x << ", " << row << "): the program drew "
                                  << program.at(x, row) << ", the replay " << replayed.at(x, row);
        EXPECT_EQ(differ, 0) << "pixels that differ in frame " << n;
    }
}

} // namespace
