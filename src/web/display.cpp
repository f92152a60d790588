// The web page's display: emscripten's SDL 1.2 on a WebGL canvas, drawn on
// by the page's own GL layer (webgl.h). A context the browser takes away is
// waited for between frames and rebuilt when it comes back. Implements
// openDisplay() and presentFrame() of platform.h, and the frame loop's wait
// (SDL_Delay) as the page waits.
#include "app/platform.h"

#include "webgl.h"

#include <cstdlib>
#include <utility>

#include "app/fail.h"
#include "app/startup.h"
#include "device.h"
#include "draw/picture.h"
#include "gl_layer.h"
#include "page.h"

namespace {

// The surface SDL_SetVideoMode gave; SDL owns it.
SDL_Surface *display;
long presented = 0;
// Whether the frame loop's wait gave the browser a turn since the last frame.
bool waited = false;

// The browser composites the canvas as it stands whenever the page gives it
// a turn, not at a swap: before every turn the layer draws what it still
// holds, so the browser only ever sees a whole frame.
void finishDrawing()
{
    layerFinishFrame();
    webFrameWhole();
}

// Waits while the context is lost; false when Escape ended the wait first.
// A context may be lost again as soon as it is back: only a live one ends it.
bool awaitLiveContext()
{
    if (webContextLost())
        webAwaitContext();
    return !webContextLost();
}

// The device's shaders, made as soon as the context is live: one WebGL
// refuses end the program in the page's one line.
void makeDevice()
{
    char reason[1024];
    if (!webglMake(reason, sizeof reason))
        startFail("cannot open the 640x480 OpenGL display", reason);
}

// A context given back holds nothing: the layer's own objects, the render
// state and the textures are made again as start-up made them, and the
// frames go on from where they were. The projection is multiplied on, so it
// starts again from identity.
void rebuildGl()
{
    layerRebuild();
    makeDevice();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    renderState();
    loadTextures();
}
} // namespace

void openDisplay()
{
    if (!webHasWebGL())
        startFail("cannot open the 640x480 OpenGL display", "this browser offers no WebGL");
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        startFail("cannot start SDL's video subsystem", SDL_GetError());
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Full screen is the user's to ask of the browser; the page scales the canvas.
    display = SDL_SetVideoMode(kPictureWidth, kPictureHeight, 32, SDL_OPENGL);
    if (!display || !webCanvasHasWebGL())
        startFail("cannot open the 640x480 OpenGL display",
                  display ? "the browser gave the page's canvas no WebGL" : SDL_GetError());
    webTakeKeys();
    webWatchContext();
    // Lost as soon as it was made: nothing is made, nor any limit read, until
    // it is back. Escape meanwhile ends the demo before its first frame.
    if (!awaitLiveContext()) {
        SDL_Quit();
        std::exit(0);
    }
    if (webTakeRestore())
        layerRebuild();
    makeDevice();
    SDL_WM_SetCaption("OpenGL Test Window", NULL);
    SDL_ShowCursor(SDL_DISABLE);
}

// The frame loop waits before the swap, as on the desktop; the frame it
// waits on is finished first (above).
extern "C" void SDL_Delay(Uint32 ms)
{
    finishDrawing();
    waited = true;
    webSleep(ms);
}

void presentFrame()
{
    finishDrawing();
    SDL_GL_SwapBuffers();
    webShowFrame(++presented);
    webHoldWhilePaused();
    const bool gaveWay = std::exchange(waited, false);
    if (awaitLiveContext() && webTakeRestore())
        rebuildGl();
    // The browser shows the canvas and delivers key presses only between
    // tasks: a frame that needed no wait must still give way.
    else if (!gaveWay)
        webGiveWay();
}

long framesPresented()
{
    return presented;
}
