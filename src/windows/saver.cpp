#include "windows/saver.h"

#include <cstdlib>

#include "app/quit.h"

namespace {

SaverRequest requested;

} // namespace

void requestSaver(const SaverRequest &request)
{
    requested = request;
}

const SaverRequest &saverRequest()
{
    return requested;
}

bool takeSaverInput(const SDL_Event &event)
{
    // Where the mouse was first seen; SDL reports it once it has focus.
    static bool seen = false;
    static int startX, startY;
    bool ends = false;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_MOUSEBUTTONDOWN:
        ends = true;
        break;
    case SDL_MOUSEMOTION:
        if (!seen) {
            seen = true;
            startX = event.motion.x;
            startY = event.motion.y;
        }
        ends = std::abs(event.motion.x - startX) > kSaverSlack || std::abs(event.motion.y - startY) > kSaverSlack;
        break;
    default:
        return false;
    }
    if (ends)
        postQuitEvent();
    return true;
}
