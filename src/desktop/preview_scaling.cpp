// The averaging before sdl12-compat's scaling pass: the frame is halved n
// times by linear blits, each an exact mean of two by two pixels, into
// framebuffers of this file's own, and the last half scaled back up over the
// frame, so that each pixel holds the mean of about 2^n by 2^n of the
// picture's. A line one pixel wide then covers 2^n, at 1/2^n of its
// brightness, as an exact area average would have it. Blits take no part of
// the GL state the frame relies on but the framebuffers bound, which are put
// back; the frame's own GL calls are left as they are.
#include "desktop/preview_scaling.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

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

// The halves: two framebuffers of half the picture's size, each level
// written into the one the level before was not read from.
struct Halves {
    const BlitCalls *gl = nullptr;
    GLuint framebuffer[2] = {};
};

// Made on first use, with the GL context that draws the frame; null where
// the GL lacks framebuffer objects or will not make them.
const Halves *halves()
{
    static BlitCalls calls;
    static Halves made;
    static const bool ready = [] {
        if (!load(&calls.genFramebuffers, "glGenFramebuffersEXT") || !load(&calls.bindFramebuffer, "glBindFramebufferEXT") ||
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
    return std::max(640.0 / width, 480.0 / height);
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

void smoothForPreview(int width, int height)
{
    const int passes = smoothingPasses(stepFor(width, height));
    GLint frame = 0;
    if (passes > 0)
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &frame);
    // Without sdl12-compat's framebuffer the frame is drawn at the window's
    // size, and nothing scales it.
    const Halves *own = frame != 0 ? halves() : nullptr;
    if (!own)
        return;
    const BlitCalls *gl = own->gl;
    GLuint from = static_cast<GLuint>(frame);
    int w = 640, h = 480;
    for (int pass = 0; pass < passes; ++pass) {
        const GLuint to = own->framebuffer[pass % 2];
        gl->bindFramebuffer(GL_READ_FRAMEBUFFER_EXT, from);
        gl->bindFramebuffer(GL_DRAW_FRAMEBUFFER_EXT, to);
        gl->blitFramebuffer(0, 0, w, h, 0, 0, w / 2, h / 2, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        from = to;
        w /= 2;
        h /= 2;
    }
    gl->bindFramebuffer(GL_READ_FRAMEBUFFER_EXT, from);
    gl->bindFramebuffer(GL_DRAW_FRAMEBUFFER_EXT, static_cast<GLuint>(frame));
    gl->blitFramebuffer(0, 0, w, h, 0, 0, 640, 480, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    gl->bindFramebuffer(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(frame));
}
