// The desktop's display: SDL 1.2 (sdl12-compat) on X11 with Mesa's OpenGL.
#include "app/platform.h"

#include <SDL_opengl.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "app/display_request.h"
#include "app/fail.h"
#include "app/foreign_window.h"
#include "app/heap.h"
#include "app/quit.h"
#include "app/screen.h"
#ifdef VORLEX_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

SDL_Surface *mWIN;

namespace {

// How long the X display may keep silent: to the answer of a first
// connection, and then while SDL and GL set up the window and context.
constexpr int kProbeSeconds = 5;
constexpr int kOpenSeconds = 30;

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

// What SDL, Xlib and Mesa print while the display opens goes to a memory
// file. When the display opens, none of it is passed on: it is chatter (the
// Wayland library's "XDG_RUNTIME_DIR is invalid or not set" whenever no X
// display answers, Xlib's note that RandR is missing). When it does not, the
// libraries' own words join the program's one line. A sanitizer's report
// still goes straight to standard error.
class HeldStderr {
public:
    void hold()
    {
        std::fflush(stderr);
        saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        kept_ = memfd_create("stderr", MFD_CLOEXEC);
        if (saved_ < 0 || kept_ < 0) {
            release();
            return;
        }
#ifdef VORLEX_SANITIZED
        __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(saved_)));
#endif
        dup2(kept_, STDERR_FILENO);
    }

    // What was said so far, line by line, chatter left out, joined by "; ".
    std::string said() const
    {
        if (kept_ < 0)
            return "";
        std::fflush(stderr);
        std::string text;
        char chunk[4096];
        ssize_t n;
        for (off_t at = 0; (n = pread(kept_, chunk, sizeof chunk, at)) > 0; at += n)
            text.append(chunk, static_cast<std::size_t>(n));
        std::string lines;
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end;
            std::string line = text.substr(at, end - at);
            at = end + 1;
            const std::size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string::npos || isChatter(line))
                continue;
            line = line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
            lines += (lines.empty() ? "" : "; ") + line;
        }
        return lines;
    }

    // Gives standard error back; returns what said() would.
    std::string release()
    {
        const std::string text = said();
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
#ifdef VORLEX_SANITIZED
            __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(STDERR_FILENO)));
#endif
            close(saved_);
        }
        if (kept_ >= 0)
            close(kept_);
        saved_ = kept_ = -1;
        return text;
    }

private:
    static bool isChatter(const std::string &line)
    {
        return line.find("XDG_RUNTIME_DIR") != std::string::npos ||
               (line.find("Xlib:  extension \"") != std::string::npos &&
                line.find("\" missing on display") != std::string::npos);
    }

    int saved_ = -1;
    int kept_ = -1;
};

HeldStderr heldStderr;

// Every start-up failure of the display goes this way, so that standard
// error is back before the one line, with what the libraries said in it.
[[noreturn]] void openFail(const std::string &action, std::string reason)
{
    const std::string said = heldStderr.release();
    if (!said.empty())
        reason += " (" + said + ")";
    startFail(action.c_str(), reason.c_str());
}

// An X server that took the connection and stopped answering (stopped, wedged,
// at the end of a dead ssh tunnel) would hold start-up forever in a read that
// no signal interrupts: Xlib goes back to waiting. So a timer ends it. The
// line is made beforehand and written to a standard error of its own: the
// handler may only write and exit.
char silentLine[512];
int silentLength;
int silentFd = -1;

void onSilentDisplay(int)
{
    if (write(silentFd, silentLine, static_cast<std::size_t>(silentLength)) < 0) {
        // Nothing left to tell it to.
    }
    _exit(1);
}

// Arms (or re-arms) the limit on how long the display may keep silent.
void limitSilence(const char *display, int seconds)
{
    silentLength = std::snprintf(silentLine, sizeof silentLine,
                                 "Vorlex: the X display %s does not answer: nothing came back within %d seconds "
                                 "(is the X server stopped, or the connection to it, such as an ssh tunnel, dead?)\n",
                                 display, seconds);
    silentLength = std::min(silentLength, static_cast<int>(sizeof silentLine) - 1);
    if (silentFd < 0)
        silentFd = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    struct sigaction action = {};
    action.sa_handler = onSilentDisplay;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    itimerval limit = {};
    limit.it_value.tv_sec = seconds;
    setitimer(ITIMER_REAL, &limit, nullptr);
}

void endSilenceLimit()
{
    const itimerval off = {};
    setitimer(ITIMER_REAL, &off, nullptr);
    signal(SIGALRM, SIG_DFL);
    if (silentFd >= 0)
        close(silentFd);
    silentFd = -1;
}

// The first request the X server refused while the display opened. Xlib's
// own handler would print six lines and exit; SDL's handler, installed over
// this one, passes errors on here. Only facts are kept: a handler may make
// no request.
struct {
    bool seen;
    int major, minor;
    char text[160];
} refused;
bool displayOpen;

int onXError(Display *display, XErrorEvent *error)
{
    // In another program's window, errors about that window are its end, or
    // are told from it, there.
    if (foreignWindowError(display, error))
        return 0;
    char text[sizeof refused.text];
    XGetErrorText(display, error->error_code, text, sizeof text);
    if (displayOpen) {
        // Mid-run, as Xlib's own handler would, but in one line.
        char line[320];
        const int length = std::snprintf(line, sizeof line,
                                         "Vorlex: the X display %s refused a request (major %d, minor %d): %s\n",
                                         DisplayString(display), error->request_code, error->minor_code, text);
        if (length > 0 &&
            write(STDERR_FILENO, line, std::min(static_cast<std::size_t>(length), sizeof line - 1)) < 0) {
            // Nothing left to tell it to.
        }
        _exit(1);
    }
    if (!refused.seen) {
        refused.seen = true;
        refused.major = error->request_code;
        refused.minor = error->minor_code;
        std::memcpy(refused.text, text, sizeof text);
    }
    return 0;
}

// The refused request by name, e.g. "GLX's X_GLXCreateContext", asked of the
// display's error database and its list of extensions.
std::string refusedRequest(Display *display)
{
    char number[32];
    std::string extension;
    if (display && refused.major >= 128) {
        int count = 0;
        char **names = XListExtensions(display, &count);
        for (int i = 0; i < count && extension.empty(); ++i) {
            int major, event, error;
            if (XQueryExtension(display, names[i], &major, &event, &error) && major == refused.major)
                extension = names[i];
        }
        if (names)
            XFreeExtensionList(names);
    }
    if (refused.major >= 128)
        std::snprintf(number, sizeof number, "%s.%d", extension.c_str(), refused.minor);
    else
        std::snprintf(number, sizeof number, "%d", refused.major);
    char name[128] = "";
    if (display && (refused.major < 128 || !extension.empty()))
        XGetErrorDatabaseText(display, "XRequest", number, "", name, sizeof name);
    char described[192];
    if (!*name)
        std::snprintf(described, sizeof described, "the request %d.%d", refused.major, refused.minor);
    else if (!extension.empty())
        std::snprintf(described, sizeof described, "%s's %s", extension.c_str(), name);
    else
        std::snprintf(described, sizeof described, "%s", name);
    return described;
}

// The connection SDL's X11 driver is about to make, made first: under the
// time limit, with the server's reason for a refusal in hand, and left open
// until the window exists (see screen.cpp on a server's reset).
Display *probe;

// The X server's words on refusing a connection, as libxcb writes them, when
// they are about authorisation.
bool refusedAuthorisation(const std::string &said)
{
    for (const char *word : {"MIT-MAGIC-COOKIE", "uthoriz", "uthoris", "No protocol specified"})
        if (said.find(word) != std::string::npos)
            return true;
    return false;
}

void probeDisplay(const char *name)
{
    probe = XOpenDisplay(nullptr);
    if (probe)
        return;
    const std::string said = heldStderr.said();
    if (said.empty())
        return; // no server answered: SDL tries again and says why
    if (!refusedAuthorisation(said)) {
        heldStderr.release();
        startFail(("cannot open the display " + std::string(name)).c_str(),
                  ("the X server refused the connection: " + said).c_str());
    }
    const char *authority = std::getenv("XAUTHORITY");
    const char *home = std::getenv("HOME");
    const std::string file = authority && *authority ? authority : std::string(home ? home : "") + "/.Xauthority";
    struct stat info;
    const std::string where = stat(file.c_str(), &info) == 0
                                  ? "the authority file " + file + " holds no key it accepts"
                                  : "there is no authority file " + file;
    heldStderr.release();
    startFail(("cannot open the display " + std::string(name)).c_str(),
              ("the X server refused authorisation (" + said + "): " + where +
               "; set XAUTHORITY to the X session's authority file, or, within the session, allow this "
               "user with xhost +si:localuser:$USER")
                  .c_str());
}

// SDL places a window by its position among the displays RandR reports, and
// every X screen's begin at 0,0: on a server of several screens its window
// lands on screen 0 whichever one DISPLAY names. Without RandR, SDL knows
// only the screen DISPLAY names, and places its window there.
void keepToNamedScreen()
{
    if (probe && ScreenCount(probe) > 1 && DefaultScreen(probe) != 0)
        setenv("SDL_VIDEO_X11_XRANDR", "0", 0);
}

// Whether SDL's window is on the screen DISPLAY names: X moves no window
// from one screen to another.
void checkScreen()
{
    if (!probe || ScreenCount(probe) < 2)
        return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    XWindowAttributes attributes;
    if (SDL_GetWMInfo(&info) != 1 || !XGetWindowAttributes(probe, info.info.x11.window, &attributes))
        return;
    const int screen = XScreenNumberOfScreen(attributes.screen);
    if (screen == DefaultScreen(probe))
        return;
    char reason[256];
    const char *xrandr = std::getenv("SDL_VIDEO_X11_XRANDR");
    std::snprintf(reason, sizeof reason, "SDL put its window on screen %d, and X moves no window between screens%s",
                  screen, xrandr && std::strcmp(xrandr, "0") != 0 ? " (SDL_VIDEO_X11_XRANDR is set: unset it)" : "");
    openFail("cannot show the picture on the X screen " + std::string(DisplayString(probe)), reason);
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
            openFail("cannot open the display", reason);
        }
        char reason[160];
        std::snprintf(reason, sizeof reason,
                      "no display to show it on (DISPLAY is %s; SDL chose its \"%s\" driver)",
                      display && *display ? "not reachable" : "not set", name);
        openFail("cannot open the display", reason);
    }
}

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
    const DisplayMode mode = displayRequest().mode;
    const bool windowed = mode == DisplayMode::window;
    const bool foreign = mode == DisplayMode::root || mode == DisplayMode::windowId;
    // Before any connection, so that SDL's handler, installed over it,
    // passes errors on to it.
    XSetErrorHandler(onXError);
    const char *name = std::getenv("DISPLAY");
    const bool x11 = name && *name && x11DriverChosen();
    // Armed first: its line goes to the standard error held next.
    if (x11)
        limitSilence(name, kProbeSeconds);
    heldStderr.hold();
    if (x11) {
        probeDisplay(name);
        keepToNamedScreen();
        // SDL's and GL's own conversation with the server, once it answers,
        // has longer: a busy machine starts slowly.
        limitSilence(name, kOpenSeconds);
    }
    if (foreign) {
        std::string action, why;
        if (!chooseForeignWindow(displayRequest(), &action, &why))
            openFail(action, why);
    } else {
        chooseScreenFit(windowed);
    }
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        openFail("cannot start SDL's video subsystem", SDL_GetError());
    queueOnlyQuitTestEvents();
    requireVisibleDriver();

    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    mWIN = SDL_SetVideoMode(640, 480, 32, windowed || foreign ? SDL_OPENGL : SDL_OPENGL | SDL_FULLSCREEN);
    const std::string action = foreign    ? foreignWindowAction()
                               : windowed ? "cannot open the 640x480 OpenGL window"
                                          : "cannot open the 640x480 full-screen OpenGL display";
    // A window its owner destroyed meanwhile explains any failure: a daemon
    // closing a preview at once.
    if (foreign && (!mWIN || refused.seen))
        endIfForeignWindowGone();
    if (refused.seen) {
        std::string reason = "the X server refused " + refusedRequest(probe) + ": " + refused.text;
        const char *indirect = std::getenv("LIBGL_ALWAYS_INDIRECT");
        if (indirect && *indirect && std::strcmp(indirect, "0") != 0)
            reason += "; LIBGL_ALWAYS_INDIRECT asks for indirect GLX, which X servers refuse unless started "
                      "with +iglx: unset it";
        openFail(action, reason);
    }
    if (!mWIN)
        openFail(action, SDL_GetError());
    if (mode == DisplayMode::fullScreen || windowed)
        checkScreen();
    if (foreign && !watchForeignWindow()) {
        endIfForeignWindowGone();
        openFail(action, "SDL does not say which X connection draws into it");
    }
    if (const char *reason = applyScreenFit())
        openFail("cannot cover the screen", reason);
    if (!hasExtension(reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)),
                      "GL_ARB_texture_rectangle")) {
        const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
        char reason[256];
        std::snprintf(reason, sizeof reason,
                      "the OpenGL renderer \"%s\" lacks the GL_ARB_texture_rectangle extension",
                      renderer ? renderer : "unknown");
        openFail("cannot draw rectangle textures", reason);
    }
    // After the display is open: SDL may set a handler of its own.
    XSetIOErrorHandler(onLostDisplay);
    // Another program's window keeps its title and its pointer.
    if (!foreign) {
        SDL_WM_SetCaption("OpenGL Test Window", NULL);
        SDL_ShowCursor(SDL_DISABLE);
    }
    if (probe)
        XSync(probe, False);
    endSilenceLimit();
    heldStderr.release();
    if (probe)
        XCloseDisplay(probe);
    probe = nullptr;
    displayOpen = true;
    takeQuitRequestsFromNowOn();
}

void presentFrame()
{
    // A window its owner destroyed takes no more frames; the next quit test
    // ends the loop, status 0, as the owner meant.
    if (foreignWindowGone()) {
        postQuitEvent();
        return;
    }
    SDL_GL_SwapBuffers();
}
