// The web page's display: emscripten's SDL 1.2 on a WebGL canvas, with the
// legacy-GL emulation and the adaptations of webgl.cpp.
#include "app/platform.h"

#include <emscripten.h>

#include "app/fail.h"
#include "webgl_prepare.h"
#include "page.h"

SDL_Surface *mWIN;

namespace {
long presented = 0;
}

void openDisplay()
{
    if (!webHasWebGL())
        startFail("cannot open the 640x480 OpenGL display", "this browser offers no WebGL");
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        startFail("cannot start SDL's video subsystem", SDL_GetError());
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Full screen is the user's to ask of the browser; the page scales the canvas.
    mWIN = SDL_SetVideoMode(640, 480, 32, SDL_OPENGL);
    if (!mWIN)
        startFail("cannot open the 640x480 OpenGL display", SDL_GetError());
    webQueueOnlyKeys();
    webPrepareGl();
    SDL_WM_SetCaption("OpenGL Test Window", NULL);
    SDL_ShowCursor(SDL_DISABLE);
}

void presentFrame()
{
    SDL_GL_SwapBuffers();
    webShowFrame(++presented);
    // The browser shows the canvas and delivers key presses only between
    // tasks: a frame that needed no wait must still give way.
    if (!webTakeWait())
        emscripten_sleep(0);
}

long framesPresented()
{
    return presented;
}
