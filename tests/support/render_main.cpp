// The entry of a test binary that draws on the real GL: the program's own
// start-up once (display, render state, the ten textures), then the tests,
// then the shut-down. Run from the folder that holds Vorlex.app.
#include <gtest/gtest.h>

#include <SDL.h>

#include "app/platform.h"
#include "app/startup.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    startUp();
    const int result = RUN_ALL_TESTS();
    SDL_Quit();
    return result;
}
