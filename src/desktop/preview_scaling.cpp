// The averaging for a small preview: the frame is halved n times by linear
// blits, each an exact mean of two by two pixels, into framebuffers of this
// file's own, and the last half scaled straight into the window, letterboxed,
// then shown, so that each window pixel holds the mean of about 2^n by 2^n of
// the picture's. A line one pixel wide then covers 2^n, at 1/2^n of its
// brightness, as an exact area average would have it. The window gets only
// its own pixels: sdl12-compat's pass, which would copy a 640x480 picture
// into it, is left out, as is scaling the half back up to 640x480 for it,
// which cost more than the frame. Blits take no part of the GL state the
// frame relies on but the framebuffers bound, which are put back; the frame's
// own GL calls are left as they are.
#include "desktop/preview_scaling.h"

#include "draw/picture.h"

#include <GL/glx.h>
#include <SDL.h>
#include <SDL_opengl.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>

namespace {

// Reached through SDL, as sdl12-compat's own pass reaches its GL: the calls
// come from the GL library that draws the frame. SDL 1.2's GL header knows
// them by their extensions' names, which Mesa keeps.
struct BlitCalls {
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer;
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers;
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus;
    PFNGLBLITFRAMEBUFFEREXTPROC blitFramebuffer;
};

template <typename Call>
bool load(Call *call, const char *name)
{
    *call = reinterpret_cast<Call>(SDL_GL_GetProcAddress(name));
    return *call != nullptr;
}

// What shows the window's own framebuffer: the GL's binding call itself
// (sdl12-compat's, which SDL hands out, binds its framebuffer for 0) and
// GLX's swap, from the GL library SDL loaded.
struct WindowCalls {
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer;
    Display *(*currentDisplay)();
    GLXDrawable (*currentDrawable)();
    void (*swapBuffers)(Display *, GLXDrawable);
};

// The halves: two framebuffers of half the picture's size, each level
// written into the one the level before was not read from.
struct Halves {
    const BlitCalls *gl = nullptr;
    const WindowCalls *window = nullptr;
    GLuint framebuffer[2] = {};
};

template <typename Call>
bool find(void *library, Call *call, const char *name)
{
    *call = reinterpret_cast<Call>(dlsym(library, name));
    return *call != nullptr;
}

bool loadWindowCalls(WindowCalls *calls)
{
    void *library = dlopen("libGL.so.1", RTLD_LAZY | RTLD_NOLOAD);
    using GetProc = void (*(*)(const GLubyte *))();
    GetProc getProc = nullptr;
    if (!library || !find(library, &getProc, "glXGetProcAddressARB") ||
        !find(library, &calls->currentDisplay, "glXGetCurrentDisplay") ||
        !find(library, &calls->currentDrawable, "glXGetCurrentDrawable") ||
        !find(library, &calls->swapBuffers, "glXSwapBuffers"))
        return false;
    calls->bindFramebuffer =
        reinterpret_cast<PFNGLBINDFRAMEBUFFEREXTPROC>(getProc(reinterpret_cast<const GLubyte *>("glBindFramebufferEXT")));
    return calls->bindFramebuffer != nullptr;
}

// Made on first use, with the GL context that draws the frame; null where
// the GL lacks framebuffer objects or will not make them, or SDL drew with
// a GL library other than GLX's libGL.
const Halves *halves()
{
    static BlitCalls calls;
    static WindowCalls window;
    static Halves made;
    static const bool ready = [] {
        if (!loadWindowCalls(&window) || !load(&calls.genFramebuffers, "glGenFramebuffersEXT") ||
            !load(&calls.bindFramebuffer, "glBindFramebufferEXT") ||
            !load(&calls.genRenderbuffers, "glGenRenderbuffersEXT") ||
            !load(&calls.bindRenderbuffer, "glBindRenderbufferEXT") ||
            !load(&calls.renderbufferStorage, "glRenderbufferStorageEXT") ||
            !load(&calls.framebufferRenderbuffer, "glFramebufferRenderbufferEXT") ||
            !load(&calls.checkFramebufferStatus, "glCheckFramebufferStatusEXT") ||
            !load(&calls.blitFramebuffer, "glBlitFramebufferEXT"))
            return false;
        GLint drawn = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &drawn);
        GLuint storage[2];
        calls.genFramebuffers(2, made.framebuffer);
        calls.genRenderbuffers(2, storage);
        bool complete = true;
        for (int i = 0; i < 2; ++i) {
            calls.bindRenderbuffer(GL_RENDERBUFFER_EXT, storage[i]);
            calls.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_RGBA8, 320, 240);
            calls.bindFramebuffer(GL_FRAMEBUFFER_EXT, made.framebuffer[i]);
            calls.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, storage[i]);
            complete = complete && calls.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
        }
        calls.bindRenderbuffer(GL_RENDERBUFFER_EXT, 0);
        calls.bindFramebuffer(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(drawn));
        made.gl = &calls;
        made.window = &window;
        return complete;
    }();
    return ready ? &made : nullptr;
}

// A window pixel spans this many picture pixels: the picture keeps 4:3,
// letterboxed.
double stepFor(int width, int height)
{
    if (width <= 0 || height <= 0)
        return 1.0;
    return std::max(static_cast<double>(kPictureWidth) / width, static_cast<double>(kPictureHeight) / height);
}

} // namespace

void choosePreviewScaling(int width, int height)
{
    setenv("SDL12COMPAT_SCALE_METHOD", stepFor(width, height) > 1.0 ? "linear" : "nearest", 0);
}

int smoothingPasses(double step)
{
    if (step <= 2.0)
        return 0;
    const double pixels = std::ceil(step);
    int passes = 0;
    while ((1 << passes) < pixels && passes < 4)
        ++passes;
    return passes;
}

bool presentPreview(int width, int height)
{
    const int passes = smoothingPasses(stepFor(width, height));
    GLint frame = 0;
    if (passes > 0)
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &frame);
    // Without sdl12-compat's framebuffer the frame is drawn at the window's
    // size, and nothing scales it.
    const Halves *own = frame != 0 ? halves() : nullptr;
    if (!own)
        return false;
    const BlitCalls *gl = own->gl;
    GLuint from = static_cast<GLuint>(frame);
    int w = kPictureWidth, h = kPictureHeight;
    for (int pass = 0; pass < passes; ++pass) {
        const GLuint to = own->framebuffer[pass % 2];
        gl->bindFramebuffer(GL_READ_FRAMEBUFFER_EXT, from);
        gl->bindFramebuffer(GL_DRAW_FRAMEBUFFER_EXT, to);
        gl->blitFramebuffer(0, 0, w, h, 0, 0, w / 2, h / 2, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        from = to;
        w /= 2;
        h /= 2;
    }
    // The window: black bands around the 4:3 picture, centred.
    const WindowCalls *window = own->window;
    const double scale = std::min(width / static_cast<double>(kPictureWidth), height / static_cast<double>(kPictureHeight));
    const int shownWidth = static_cast<int>(std::lround(kPictureWidth * scale));
    const int shownHeight = static_cast<int>(std::lround(kPictureHeight * scale));
    const int left = (width - shownWidth) / 2, bottom = (height - shownHeight) / 2;
    window->bindFramebuffer(GL_READ_FRAMEBUFFER_EXT, from);
    window->bindFramebuffer(GL_DRAW_FRAMEBUFFER_EXT, 0);
    // The clear colour is start-up's black, which no frame changes.
    glClear(GL_COLOR_BUFFER_BIT);
    gl->blitFramebuffer(0, 0, w, h, left, bottom, left + shownWidth, bottom + shownHeight, GL_COLOR_BUFFER_BIT,
                        GL_LINEAR);
    window->swapBuffers(window->currentDisplay(), window->currentDrawable());
    window->bindFramebuffer(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(frame));
    return true;
}
