// Every start-up failure against the recording GL and SDL: what is reported,
// and that the process ends right after SDL_Quit with every surface freed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/platform.h"
#include "app/startup.h"
#include "app/texture.h"
#include "draw/scenes/slots.h"
#include "startup_fixture.h"

namespace {

// In a failing child: checks that the process ends right after SDL_Quit,
// with every surface freed, and says so on standard error.
void checkShutDownAtExit()
{
    std::atexit([] {
        const bool quitLast = !callLog.empty() && callLog.back() == "SDL_Quit()";
        std::fprintf(stderr, "[last call %s, %d surfaces live]\n",
                     quitLast ? "SDL_Quit" : callLog.back().c_str(), fakeSdl.surfacesLive);
    });
}

} // namespace

using StartupDeath = Startup;

TEST_F(StartupDeath, AMissingImageEndsStartUpWithoutLaterLoads)
{
    fakeSdl.images.erase("Vorlex.app/Contents/Resources/image.gif");
    EXPECT_EXIT(
        {
            // A bundle that holds the first image alone, so that the second
            // is missing on disk too.
            static char folder[] = "/tmp/vorlex-missing-XXXXXX";
            char cwd[4096];
            const std::string first = std::string(getcwd(cwd, sizeof cwd)) + "/" VORLEX_RESOURCES "image.bmp";
            if (!mkdtemp(folder) || chdir(folder) != 0 ||
                std::system(("mkdir -p " VORLEX_RESOURCES " && cp '" + first + "' " VORLEX_RESOURCES).c_str()) != 0)
                std::abort();
            std::atexit([] { std::system((std::string("rm -rf ") + folder).c_str()); });
            checkShutDownAtExit();
            startUp();
            if (callsFrom(0, "IMG_Load_RW(\"Vorlex.app").size() != 2)
                std::fprintf(stderr, "[a later image was loaded]\n");
        },
        ::testing::ExitedWithCode(1),
        "^Vorlex: cannot load \"Vorlex.app/Contents/Resources/image.gif\" \\(working directory "
        "[^)]+\\): No such file or directory; start the program from the folder that holds Vorlex.app\n"
        "\\[last call SDL_Quit, 0 surfaces live\\]\n$");
}

TEST_F(StartupDeath, AFailedStagingSurfaceFreesTheImage)
{
    fakeSdl.stagingFails = true;
    EXPECT_EXIT(
        {
            checkShutDownAtExit();
            startUp();
        },
        ::testing::ExitedWithCode(1),
        "^Vorlex: cannot load \"Vorlex.app/Contents/Resources/image.bmp\" \\([^)]+\\): Out of memory\n"
        "\\[last call SDL_Quit, 0 surfaces live\\]\n$");
}

TEST_F(StartupDeath, ATextureNameOfZeroEndsStartUp)
{
    fakeGl.nextName = 0;
    EXPECT_EXIT(
        {
            checkShutDownAtExit();
            startUp();
        },
        ::testing::ExitedWithCode(1),
        "^Vorlex: cannot load \"Vorlex.app/Contents/Resources/image.bmp\" \\([^)]+\\): "
        "OpenGL gave no texture name\n\\[last call SDL_Quit, 0 surfaces live\\]\n$");
}

TEST_F(StartupDeath, AnImageLargerThanTheGlCanHoldIsReported)
{
    fakeGl.largestTexture = 32;
    EXPECT_EXIT(
        {
            checkShutDownAtExit();
            startUp();
        },
        ::testing::ExitedWithCode(1),
        "^Vorlex: cannot load \"Vorlex.app/Contents/Resources/image.bmp\" \\([^)]+\\): the image is "
        "64x64, larger than the largest texture this OpenGL can hold \\(32 on a side\\)\n\\[last call SDL_Quit, 0 surfaces live\\]\n$");
}

TEST_F(StartupDeath, AnEmptyImageIsReported)
{
    fakeSdl.images["Vorlex.app/Contents/Resources/img48.gif"] = FakeImage{0, 0, 0};
    EXPECT_EXIT(
        {
            checkShutDownAtExit();
            startUp();
        },
        ::testing::ExitedWithCode(1),
        "^Vorlex: cannot load \"Vorlex.app/Contents/Resources/img48.gif\" \\([^)]+\\): the image "
        "has no pixels \\(0x0\\)\n\\[last call SDL_Quit, 0 surfaces live\\]\n$");
}

TEST_F(StartupDeath, FailuresToStartSdlOrOpenTheDisplayAreReported)
{
    fakeSdl.initResult = -1;
    EXPECT_EXIT(
        {
            checkShutDownAtExit();
            startUp();
        },
        ::testing::ExitedWithCode(1),
        "^Vorlex: cannot start SDL's video subsystem: no video for you\n\\[last call SDL_Quit, 0 surfaces live\\]\n$");

    fakeSdl.initResult = 0;
    fakeSdl.videoModeFails = true;
    EXPECT_EXIT(
        {
            checkShutDownAtExit();
            startUp();
        },
        ::testing::ExitedWithCode(1),
        "^Vorlex: cannot open the 640x480 full-screen OpenGL display: no mode for you\n"
        "\\[last call SDL_Quit, 0 surfaces live\\]\n$");
}

TEST_F(StartupDeath, AGlWithoutRectangleTexturesIsReported)
{
    fakeGl.extensions = "GL_ARB_texture_rectangles GL_EXT_foo XGL_ARB_texture_rectangle";
    EXPECT_EXIT(startUp(), ::testing::ExitedWithCode(1),
                "^Vorlex: cannot draw rectangle textures: the OpenGL renderer \"recording stand-in\" "
                "lacks the GL_ARB_texture_rectangle extension\n$");
}

TEST_F(StartupDeath, ADriverThatShowsNothingIsAFailureUnlessChosen)
{
    fakeSdl.driver = "offscreen";
    EXPECT_EXIT(startUp(), ::testing::ExitedWithCode(1),
                "^Vorlex: cannot open the display: no display to show it on \\(DISPLAY is .*; SDL "
                "chose its \"offscreen\" driver\\)\n$");

    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    startUp();
    EXPECT_EQ(callsFrom(0, "IMG_Load_RW(\"Vorlex.app").size(), 10u);
    unsetenv("SDL_VIDEODRIVER");
}
