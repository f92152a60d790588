// The probe connection to the X display, and the checks on where SDL's
// window landed and which video driver SDL chose.
#include "desktop/display_probe.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

#include "desktop/display_fail.h"
#include "app/fail.h"

namespace {

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

} // namespace

void probeDisplay(const char *name)
{
    probe = XOpenDisplay(nullptr);
    if (probe)
        return;
    const std::string said = displayStderr.said();
    if (said.empty())
        return; // no server answered: SDL tries again and says why
    if (!refusedAuthorisation(said)) {
        displayStderr.release();
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
    displayStderr.release();
    startFail(("cannot open the display " + std::string(name)).c_str(),
              ("the X server refused authorisation (" + said + "): " + where +
               "; set XAUTHORITY to the X session's authority file, or, within the session, allow this "
               "user with xhost +si:localuser:$USER")
                  .c_str());
}

Display *probeConnection()
{
    return probe;
}

void syncProbe()
{
    if (probe)
        XSync(probe, False);
}

void closeProbe()
{
    if (probe)
        XCloseDisplay(probe);
    probe = nullptr;
}

void keepToNamedScreen()
{
    if (probe && ScreenCount(probe) > 1 && DefaultScreen(probe) != 0)
        setenv("SDL_VIDEO_X11_XRANDR", "0", 0);
}

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
    displayFail("cannot show the picture on the X screen " + std::string(DisplayString(probe)), reason);
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
        if (const std::string shortage = descriptorShortage(); display && *display && !shortage.empty())
            displayFail("cannot open the display", shortage);
        char reason[160];
        std::snprintf(reason, sizeof reason,
                      "no display to show it on (DISPLAY is %s; SDL chose its \"%s\" driver)",
                      display && *display ? "not reachable" : "not set", name);
        displayFail("cannot open the display", reason);
    }
}

std::string descriptorShortage()
{
    rlimit files = {};
    if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur >= 32)
        return "";
    return "at most " + std::to_string(files.rlim_cur) + " open files (ulimit -n) are too few for the display: " +
           std::strerror(EMFILE);
}

std::string unreachableReason()
{
    const std::string shortage = descriptorShortage();
    return shortage.empty() ? "no display to show it on (DISPLAY is not reachable)" : shortage;
}
