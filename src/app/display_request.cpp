// The display mode the command line asked for, and the window IDs it names.
#include "app/display_request.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

DisplayRequest requested;

} // namespace

void requestDisplay(const DisplayRequest &request)
{
    requested = request;
}

const DisplayRequest &displayRequest()
{
    return requested;
}

bool runsAsScreensaver()
{
    return requested.mode == DisplayMode::root || requested.mode == DisplayMode::windowId;
}

bool parseWindowId(const char *text, unsigned long *id)
{
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char *digits = hex ? text + 2 : text;
    // strtoul would take a sign or leading blanks; an ID has neither.
    if (!*digits || std::strspn(digits, hex ? "0123456789abcdefABCDEF" : "0123456789") != std::strlen(digits))
        return false;
    errno = 0;
    char *end = nullptr;
    const unsigned long value = std::strtoul(digits, &end, hex ? 16 : 10);
    // X resource IDs are 29 bits; anything wider names no window.
    if (errno != 0 || *end != '\0' || value == 0 || value > 0x1FFFFFFFul)
        return false;
    *id = value;
    return true;
}
