// The web page's display: emscripten's SDL 1.2 on a WebGL canvas, drawn on
// by the page's own GL layer (webgl.h). A context the browser takes away is
// waited for between frames and rebuilt when it comes back. Implements
// openDisplay() and presentFrame() of platform.h.
#include "app/platform.h"

#include "webgl.h"

#include "app/fail.h"
#include "app/startup.h"
#include "gl_layer.h"
#include "page.h"

namespace {

// The surface SDL_SetVideoMode gave; SDL owns it.
SDL_Surface *display;
long presented = 0;

// A context given back holds nothing: the layer's own objects, the render
// state and the textures are made again as start-up made them, and the
// frames go on from where they were. The projection is multiplied on, so it
// starts again from identity.
void rebuildGl()
{
    layerRebuild();
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
    display = SDL_SetVideoMode(640, 480, 32, SDL_OPENGL);
    if (!display)
        startFail("cannot open the 640x480 OpenGL display", SDL_GetError());
    webTakeKeys();
    webWatchContext();
    SDL_WM_SetCaption("OpenGL Test Window", NULL);
    SDL_ShowCursor(SDL_DISABLE);
}

void presentFrame()
{
    layerFinishFrame();
    SDL_GL_SwapBuffers();
    webShowFrame(++presented);
    webHoldWhilePaused();
    if (webContextLost())
        webAwaitContext();
    if (webTakeRestore())
        rebuildGl();
    // The browser shows the canvas and delivers key presses only between
    // tasks: a frame that needed no wait must still give way.
    else if (!webTakeWait())
        webGiveWay();
}

long framesPresented()
{
    return presented;
}
