// The desktop's display: SDL 1.2 (sdl12-compat) on X11 with Mesa's OpenGL.
#include "app/platform.h"

#include <SDL_opengl.h>
#include <X11/Xlib.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include "app/fail.h"
#include "app/heap.h"
#include "app/screen.h"
#ifdef VORLEX_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

SDL_Surface *mWIN;

namespace {

// SDL's queue holds 128 events and drops new ones when full, and the loop
// takes one a frame: a moving mouse would fill it and crowd out an Escape
// press or a quit request. So SDL queues key presses and quit requests alone.
// SDL_Init resets this, so it must follow it.
void queueOnlyQuitTestEvents()
{
    static const Uint8 unused[] = {
        SDL_ACTIVEEVENT,     SDL_KEYUP,         SDL_MOUSEMOTION,   SDL_MOUSEBUTTONDOWN,
        SDL_MOUSEBUTTONUP,   SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION,
        SDL_JOYBUTTONDOWN,   SDL_JOYBUTTONUP,   SDL_SYSWMEVENT,    SDL_VIDEORESIZE,
        SDL_VIDEOEXPOSE,
    };
    for (const Uint8 type : unused)
        SDL_EventState(type, SDL_IGNORE);
}

// SDL falls back on a video driver that shows nothing when there is no
// display; running unseen forever is worse than saying so. A driver the user
// chose by name is honoured, which is also how a headless run is asked for.
void requireVisibleDriver()
{
    const char *chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen)
        return;
    char name[32];
    if (!SDL_VideoDriverName(name, sizeof name))
        return;
    if (std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0) {
        const char *display = std::getenv("DISPLAY");
        // SDL says no more than that X failed; the reason may be the
        // process's own: too few descriptors.
        // SDL's X driver needs a dozen or so descriptors besides the connection.
        rlimit files = {};
        if (display && *display && getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < 32) {
            char reason[200];
            std::snprintf(reason, sizeof reason,
                          "SDL could not use DISPLAY %s with at most %lu open files (ulimit -n): %s", display,
                          static_cast<unsigned long>(files.rlim_cur), std::strerror(EMFILE));
            startFail("cannot open the display", reason);
        }
        char reason[160];
        std::snprintf(reason, sizeof reason,
                      "no display to show it on (DISPLAY is %s; SDL chose its \"%s\" driver)",
                      display && *display ? "not reachable" : "not set", name);
        startFail("cannot open the display", reason);
    }
}

// What SDL's video drivers print while SDL_Init looks for a display goes to a
// memory file and is passed on afterwards, all but the Wayland library's
// "XDG_RUNTIME_DIR is invalid or not set" (printed whenever no X display
// answers, under ssh, cron or a container): the program's own line says what
// failed. A sanitizer's report still goes straight to standard error.
class SiftedStderr {
public:
    SiftedStderr() : saved_(fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3)), kept_(memfd_create("stderr", MFD_CLOEXEC))
    {
        std::fflush(stderr);
        if (saved_ >= 0 && kept_ >= 0) {
#ifdef VORLEX_SANITIZED
            __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(saved_)));
#endif
            dup2(kept_, STDERR_FILENO);
        }
    }
    ~SiftedStderr()
    {
        if (saved_ < 0 || kept_ < 0)
            return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
#ifdef VORLEX_SANITIZED
        __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(STDERR_FILENO)));
#endif
        close(saved_);
        std::string text;
        char chunk[4096];
        ssize_t n;
        lseek(kept_, 0, SEEK_SET);
        while ((n = read(kept_, chunk, sizeof chunk)) > 0)
            text.append(chunk, static_cast<std::size_t>(n));
        close(kept_);
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end + 1;
            const std::string line = text.substr(at, end - at);
            if (line.find("XDG_RUNTIME_DIR") == std::string::npos)
                std::fputs(line.c_str(), stderr);
            at = end;
        }
    }
    SiftedStderr(const SiftedStderr &) = delete;
    SiftedStderr &operator=(const SiftedStderr &) = delete;

private:
    int saved_ = -1;
    int kept_ = -1;
};

// Xlib calls this when the X connection breaks mid-run (the X server ended or
// was killed) and ends the process itself if it returns. SDL cannot be shut
// down at this point: each call it would make goes to the dead connection and
// back here. So: one line, and out.
int onLostDisplay(Display *display)
{
    const int error = errno;
    // Xlib on XCB leaves errno as the last read left it; a closed connection
    // reads as nothing at all, not as an error of its own.
    const bool closed = error == 0 || error == EAGAIN || error == EPIPE || error == ECONNRESET;
    char line[512];
    const int length = std::snprintf(line, sizeof line, "Vorlex: lost the display %s: %s\n",
                                     DisplayString(display),
                                     closed ? "the X server closed the connection" : std::strerror(error));
    if (length > 0 && write(STDERR_FILENO, line, static_cast<std::size_t>(length)) < 0) {
        // Nothing left to tell it to.
    }
    _exit(1);
}

bool hasExtension(const char *extensions, const char *wanted)
{
    const std::size_t length = std::strlen(wanted);
    for (const char *at = extensions; at && (at = std::strstr(at, wanted)); at += length) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends)
            return true;
    }
    return false;
}

} // namespace

void openDisplay()
{
    keepFrameHeap();
    chooseScreenFit();
    int started;
    {
        const SiftedStderr sifted;
        started = SDL_Init(SDL_INIT_VIDEO);
    }
    if (started == -1)
        startFail("cannot start SDL's video subsystem", SDL_GetError());
    queueOnlyQuitTestEvents();
    requireVisibleDriver();

    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    mWIN = SDL_SetVideoMode(640, 480, 32, SDL_OPENGL | SDL_FULLSCREEN);
    if (!mWIN)
        startFail("cannot open the 640x480 full-screen OpenGL display", SDL_GetError());
    if (const char *reason = applyScreenFit())
        startFail("cannot cover the screen", reason);
    if (!hasExtension(reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)),
                      "GL_ARB_texture_rectangle")) {
        const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
        char reason[256];
        std::snprintf(reason, sizeof reason,
                      "the OpenGL renderer \"%s\" lacks the GL_ARB_texture_rectangle extension",
                      renderer ? renderer : "unknown");
        startFail("cannot draw rectangle textures", reason);
    }
    // After the display is open: SDL may set a handler of its own.
    XSetIOErrorHandler(onLostDisplay);
    SDL_WM_SetCaption("OpenGL Test Window", NULL);
    SDL_ShowCursor(SDL_DISABLE);
}

void presentFrame()
{
    SDL_GL_SwapBuffers();
}
