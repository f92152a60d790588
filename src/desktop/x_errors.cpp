// The X error and IO error handlers, and naming a refused request.
#include "desktop/x_errors.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "desktop/foreign_window.h"

namespace {

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

} // namespace

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

bool requestRefused()
{
    return refused.seen;
}

std::string refusedReason(Display *display)
{
    return "the X server refused " + refusedRequest(display) + ": " + refused.text;
}

void markDisplayOpen()
{
    displayOpen = true;
}

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
