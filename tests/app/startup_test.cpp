// Start-up against the recording GL and SDL: the display set-up, the ten loads
// in their order and the loaders' exact calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/platform.h"
#include "app/startup.h"
#include "app/texture.h"
#include "draw/scenes/slots.h"
#include "startup_fixture.h"

namespace {

using Calls = std::vector<std::string>;

const char kMasks[] = "32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000)";

} // namespace

TEST_F(Startup, SetsUpTheDisplayAndRenderStateInOrder)
{
    startUp();
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
        // The window's icon, before the window exists.
        "IMG_Load_RW(\"(the window icon)\")",
        "SDL_WM_SetIcon(128x128, NULL)",
        "SDL_GL_SetAttribute(5, 1)",
        "SDL_SetVideoMode(640, 480, 32, 0x80000002)",
        "SDL_FreeSurface(128x128)",
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
    startUp();
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
    EXPECT_EQ(callsFrom(0, "IMG_Load_RW(\"Vorlex.app"), expected);
    // Names come out of glGenTextures in load order.
    EXPECT_EQ((std::vector<GLuint>{texFixedSquare, texDriftingSquare, texPartnerSquare, texFixedRect, texDriftingRect, texPartnerRect, fontAtlasA[0],
                                          fontAtlasA[1], fontAtlasB[0], fontAtlasB[1]}),
              (std::vector<GLuint>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(callsFrom(0, "glTexImage2D(GL_TEXTURE_2D").size(), 3u);
    EXPECT_EQ(callsFrom(0, "glTexImage2D(GL_TEXTURE_RECTANGLE_ARB").size(), 7u);
    EXPECT_EQ(fakeSdl.surfacesLive, 0);
}

TEST_F(Startup, CreatePotTexturePadsToPowerOfTwoSides)
{
    const std::string path = standIn("pic.png", FakeImage{72, 72, SDL_SRCALPHA});
    GLuint slot = 0;
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

TEST_F(Startup, CreatePotTextureRoundsEachSideByItself)
{
    const std::string path = standIn("wide.bmp", FakeImage{100, 30, 0});
    GLuint slot = 0;
    createPotTexture(path.c_str(), &slot);
    EXPECT_EQ(callsFrom(0, "SDL_CreateRGBSurface"),
              (Calls{std::string("SDL_CreateRGBSurface(0, 128, 32, ") + kMasks}));
    EXPECT_TRUE(callsFrom(0, "SDL_SetAlpha").empty()) << "only an image with SDL_SRCALPHA is changed";
}

TEST_F(Startup, CreateRectTextureKeepsTheExactSizeAndDisablesItsTarget)
{
    const std::string path = standIn("pic.gif", FakeImage{72, 72, 0});
    GLuint slot = 0;
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
