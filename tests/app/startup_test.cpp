// Start-up against the recording GL and SDL: the display set-up, the ten loads
// in their order, the loaders' exact calls, and every start-up failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "app/platform.h"
#include "app/startup.h"
#include "app/texture.h"
#include "scenes/slots.h"
#include "support/fakes.h"

namespace {

using Calls = std::vector<std::string>;

const char kMasks[] = "32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000)";

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetFakes();
        unsetenv("SDL_VIDEODRIVER");
    }

    // A file the loader can open and check, whose decoding the stand-in
    // answers with `image`; its path.
    static std::string standIn(const std::string &name, FakeImage image)
    {
        static const std::string folder = [] {
            char pattern[] = "/tmp/vorlex-startup-XXXXXX";
            static const pid_t owner = getpid();
            static std::string made = mkdtemp(pattern);
            // Removed by the process that made it, not by a death test's child.
            std::atexit([] {
                if (getpid() == owner)
                    std::system(("rm -rf '" + made + "'").c_str());
            });
            return made;
        }();
        const std::string path = folder + "/" + name;
        if (std::FILE *file = std::fopen(path.c_str(), "wb")) {
            std::fputs("stand-in", file);
            std::fclose(file);
        }
        fakeSdl.images[path] = image;
        return path;
    }
};

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

TEST_F(Startup, SetsUpTheDisplayAndRenderStateInOrder)
{
    inits();
    const Calls expected = {
        "SDL_Init(32)",
        // Everything SDL queues but key presses (2) and quit requests (12) is
        // ignored, so that the queue cannot fill up with events never acted on.
        "SDL_EventState(1, 0)",
        "SDL_EventState(3, 0)",
        "SDL_EventState(4, 0)",
        "SDL_EventState(5, 0)",
        "SDL_EventState(6, 0)",
        "SDL_EventState(7, 0)",
        "SDL_EventState(8, 0)",
        "SDL_EventState(9, 0)",
        "SDL_EventState(10, 0)",
        "SDL_EventState(11, 0)",
        "SDL_EventState(13, 0)",
        "SDL_EventState(16, 0)",
        "SDL_EventState(17, 0)",
        "SDL_GL_SetAttribute(5, 1)",
        "SDL_SetVideoMode(640, 480, 32, 0x80000002)",
        "glGetString(GL_EXTENSIONS)",
        "SDL_WM_SetCaption(\"OpenGL Test Window\", NULL)",
        "SDL_ShowCursor(0)",
        "glClearColor(0, 0, 0, 1)",
        "glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA)",
        "glEnable(GL_BLEND)",
        "glShadeModel(GL_FLAT)",
        "glMatrixMode(GL_PROJECTION)",
        "glOrtho(0, 640, 479, -1, 0, 1)",
        "glMatrixMode(GL_MODELVIEW)",
    };
    ASSERT_GE(callLog.size(), expected.size());
    EXPECT_EQ(Calls(callLog.begin(), callLog.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(fakeGl.enabled, (std::set<GLenum>{GL_BLEND})) << "no texturing target left on";
}

TEST_F(Startup, LoadsTheTenImagesInOrderIntoTheirSlots)
{
    inits();
    const Calls expected = {
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/image.bmp\")",
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/image.gif\")",
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/image.png\")",
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/img72.bmp\")",
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/img48.gif\")",
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/img24.png\")",
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/fontA06.gif\")",
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/fontA12.gif\")",
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/fontB06.gif\")",
        "IMG_Load_RW(\"Vorlex.app/Contents/Resources/fontB12.gif\")",
    };
    EXPECT_EQ(callsFrom(0, "IMG_Load"), expected);
    // Names come out of glGenTextures in load order.
    EXPECT_EQ((std::vector<unsigned long>{texA, texB, texC, texD, texE, texF, imgFontA[0],
                                          imgFontA[1], imgFontB[0], imgFontB[1]}),
              (std::vector<unsigned long>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(callsFrom(0, "glTexImage2D(GL_TEXTURE_2D").size(), 3u);
    EXPECT_EQ(callsFrom(0, "glTexImage2D(GL_TEXTURE_RECTANGLE_ARB").size(), 7u);
    EXPECT_EQ(fakeSdl.surfacesLive, 0);
}

TEST_F(Startup, CreatTexPadsToPowerOfTwoSides)
{
    const std::string path = standIn("pic.png", FakeImage{72, 72, SDL_SRCALPHA});
    unsigned long slot = 0;
    createPotTexture(path.c_str(), &slot);
    const Calls expected = {
        "glGetIntegerv(GL_MAX_TEXTURE_SIZE)",
        "IMG_Load_RW(\"" + path + "\")",
        std::string("SDL_CreateRGBSurface(0, 128, 128, ") + kMasks,
        "SDL_SetAlpha(0, 0)",
        "SDL_UpperBlit({0, 0, 72, 72}, {0, 0, 72, 72})",
        "SDL_FreeSurface(72x72)",
        "glGenTextures(1)",
        "glBindTexture(GL_TEXTURE_2D, 1)",
        "glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST)",
        "glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST)",
        "glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE)",
        "SDL_FreeSurface(128x128)",
    };
    EXPECT_EQ(callLog, expected);
    EXPECT_EQ(slot, 1u);
    EXPECT_TRUE(fakeGl.enabled.empty()) << "createPotTexture leaves GL_TEXTURE_2D as it found it";
}

TEST_F(Startup, CreatTexRoundsEachSideByItself)
{
    const std::string path = standIn("wide.bmp", FakeImage{100, 30, 0});
    unsigned long slot = 0;
    createPotTexture(path.c_str(), &slot);
    EXPECT_EQ(callsFrom(0, "SDL_CreateRGBSurface"),
              (Calls{std::string("SDL_CreateRGBSurface(0, 128, 32, ") + kMasks}));
    EXPECT_TRUE(callsFrom(0, "SDL_SetAlpha").empty()) << "only an image with SDL_SRCALPHA is changed";
}

TEST_F(Startup, CreatTex2KeepsTheExactSizeAndDisablesItsTarget)
{
    const std::string path = standIn("pic.gif", FakeImage{72, 72, 0});
    unsigned long slot = 0;
    createRectTexture(path.c_str(), &slot);
    const Calls expected = {
        "glGetIntegerv(GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB)",
        "IMG_Load_RW(\"" + path + "\")",
        std::string("SDL_CreateRGBSurface(0, 72, 72, ") + kMasks,
        "SDL_UpperBlit({0, 0, 72, 72}, {0, 0, 72, 72})",
        "SDL_FreeSurface(72x72)",
        "glGenTextures(1)",
        "glEnable(GL_TEXTURE_RECTANGLE_ARB)",
        "glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 1)",
        "glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MAG_FILTER, GL_NEAREST)",
        "glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, GL_NEAREST)",
        "glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, 72, 72, 0, GL_RGBA, GL_UNSIGNED_BYTE)",
        "glDisable(GL_TEXTURE_RECTANGLE_ARB)",
        "SDL_FreeSurface(72x72)",
    };
    EXPECT_EQ(callLog, expected);
    EXPECT_EQ(fakeGl.bound[GL_TEXTURE_RECTANGLE_ARB], 1u) << "left bound with its target disabled";
}

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
            inits();
            if (callsFrom(0, "IMG_Load").size() != 2)
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
            inits();
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
            inits();
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
            inits();
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
            inits();
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
            inits();
        },
        ::testing::ExitedWithCode(1),
        "^Vorlex: cannot start SDL's video subsystem: no video for you\n\\[last call SDL_Quit, 0 surfaces live\\]\n$");

    fakeSdl.initResult = 0;
    fakeSdl.videoModeFails = true;
    EXPECT_EXIT(
        {
            checkShutDownAtExit();
            inits();
        },
        ::testing::ExitedWithCode(1),
        "^Vorlex: cannot open the 640x480 full-screen OpenGL display: no mode for you\n"
        "\\[last call SDL_Quit, 0 surfaces live\\]\n$");
}

TEST_F(StartupDeath, AGlWithoutRectangleTexturesIsReported)
{
    fakeGl.extensions = "GL_ARB_texture_rectangles GL_EXT_foo XGL_ARB_texture_rectangle";
    EXPECT_EXIT(inits(), ::testing::ExitedWithCode(1),
                "^Vorlex: cannot draw rectangle textures: the OpenGL renderer \"recording stand-in\" "
                "lacks the GL_ARB_texture_rectangle extension\n$");
}

TEST_F(StartupDeath, ADriverThatShowsNothingIsAFailureUnlessChosen)
{
    fakeSdl.driver = "offscreen";
    EXPECT_EXIT(inits(), ::testing::ExitedWithCode(1),
                "^Vorlex: cannot open the display: no display to show it on \\(DISPLAY is .*; SDL "
                "chose its \"offscreen\" driver\\)\n$");

    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    inits();
    EXPECT_EQ(callsFrom(0, "IMG_Load").size(), 10u);
    unsetenv("SDL_VIDEODRIVER");
}
