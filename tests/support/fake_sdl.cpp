#include "fakes.h"

#include <SDL_image.h>
#include <SDL_syswm.h>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "app/platform.h"
#include "scenes/slots.h"

FakeSdl fakeSdl;

namespace {

const char *lastError = "";

void record(const std::string &call)
{
    callLog.push_back(call);
}

SDL_Surface *newSurface(int w, int h, Uint32 flags, bool pixels)
{
    auto *surface = static_cast<SDL_Surface *>(std::calloc(1, sizeof(SDL_Surface)));
    surface->w = w;
    surface->h = h;
    surface->flags = flags;
    surface->pitch = static_cast<Uint16>(w * 4);
    if (pixels)
        surface->pixels = std::calloc(static_cast<std::size_t>(w) * h, 4);
    ++fakeSdl.surfacesLive;
    return surface;
}

} // namespace

void resetFakes()
{
    // The stand-in SDL opens no display, so the screen fit must not meet a
    // real one that the test's environment happens to name.
    unsetenv("DISPLAY");
    resetFakeGl();
    fakeSdl = FakeSdl{};
    for (const TextureSlot &slot : textureTable)
        fakeSdl.images[std::string(VORLEX_RESOURCES) + slot.file] = FakeImage{};
}

SDL_Event keyDown(SDLKey key, SDLMod mod)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event keyUp(SDLKey key)
{
    SDL_Event event = keyDown(key);
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    return event;
}

SDL_Event quitEvent()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    return event;
}

extern "C" {

int SDL_Init(Uint32 flags)
{
    record("SDL_Init(" + std::to_string(flags) + ")");
    if (fakeSdl.initResult != 0)
        lastError = "no video for you";
    return fakeSdl.initResult;
}

void SDL_Quit() { record("SDL_Quit()"); }

// No window-system facts: the display's checks on its window are skipped.
int SDL_GetWMInfo(SDL_SysWMinfo *) { return 0; }

char *SDL_GetError() { return const_cast<char *>(lastError); }

char *SDL_VideoDriverName(char *buffer, int length)
{
    std::strncpy(buffer, fakeSdl.driver, static_cast<std::size_t>(length) - 1);
    buffer[length - 1] = '\0';
    return buffer;
}

int SDL_GL_SetAttribute(SDL_GLattr attribute, int value)
{
    record("SDL_GL_SetAttribute(" + std::to_string(attribute) + ", " + std::to_string(value) + ")");
    return 0;
}

SDL_Surface *SDL_SetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    char text[96];
    std::snprintf(text, sizeof text, "SDL_SetVideoMode(%d, %d, %d, 0x%08X)", w, h, bpp, flags);
    record(text);
    if (fakeSdl.videoModeFails) {
        lastError = "no mode for you";
        return nullptr;
    }
    static SDL_Surface screen{};
    return &screen;
}

void SDL_WM_SetCaption(const char *title, const char *icon)
{
    record(std::string("SDL_WM_SetCaption(\"") + title + "\", " + (icon ? icon : "NULL") + ")");
}

int SDL_ShowCursor(int toggle)
{
    record("SDL_ShowCursor(" + std::to_string(toggle) + ")");
    return 0;
}

int SDL_PollEvent(SDL_Event *event)
{
    record("SDL_PollEvent()");
    fakeSdl.ticks += fakeSdl.drawCost;
    if (fakeSdl.polls.empty())
        return 0;
    const std::optional<SDL_Event> next = fakeSdl.polls.front();
    fakeSdl.polls.pop_front();
    if (!next)
        return 0;
    *event = *next;
    return 1;
}

int SDL_PushEvent(SDL_Event *event)
{
    record("SDL_PushEvent(" + std::to_string(event->type) + ")");
    if (fakeSdl.queueFull) {
        lastError = "Event queue is full";
        return -1;
    }
    fakeSdl.polls.push_back(*event);
    return 0;
}

void SDL_SetEventFilter(SDL_EventFilter filter)
{
    fakeSdl.filter = filter;
}

Uint8 SDL_EventState(Uint8 type, int state)
{
    record("SDL_EventState(" + std::to_string(type) + ", " + std::to_string(state) + ")");
    return SDL_ENABLE;
}

int SDL_WM_IconifyWindow()
{
    record("SDL_WM_IconifyWindow()");
    return 1;
}

Uint32 SDL_GetTicks()
{
    record("SDL_GetTicks() = " + std::to_string(fakeSdl.ticks));
    return fakeSdl.ticks;
}

void SDL_Delay(Uint32 ms)
{
    record("SDL_Delay(" + std::to_string(ms) + ")");
    fakeSdl.ticks += ms;
}

void SDL_GL_SwapBuffers() { record("SDL_GL_SwapBuffers()"); }

// The program hands SDL_image the file it opened and checked. The stand-in
// keeps the file's path, relative to the working directory as the program
// named it, to look the image up by.
SDL_RWops *SDL_RWFromFP(FILE *file, int autoclose)
{
    char link[64], path[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fileno(file));
    const ssize_t length = readlink(link, path, sizeof path - 1);
    std::string name(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) && name.compare(0, std::strlen(cwd) + 1, std::string(cwd) + "/") == 0)
        name.erase(0, std::strlen(cwd) + 1);
    auto *source = static_cast<SDL_RWops *>(std::calloc(1, sizeof(SDL_RWops)));
    source->hidden.unknown.data1 = new std::string(name);
    if (autoclose)
        std::fclose(file);
    return source;
}

SDL_Surface *IMG_Load_RW(SDL_RWops *source, int freesrc)
{
    auto *path = static_cast<std::string *>(source->hidden.unknown.data1);
    record("IMG_Load_RW(\"" + *path + "\")");
    const auto found = fakeSdl.images.find(*path);
    if (freesrc) {
        delete path;
        std::free(source);
    }
    if (found == fakeSdl.images.end()) {
        lastError = "Unsupported image format";
        return nullptr;
    }
    return newSurface(found->second.w, found->second.h, found->second.flags, false);
}

SDL_Surface *SDL_CreateRGBSurface(Uint32 flags, int w, int h, int depth, Uint32 r, Uint32 g,
                                  Uint32 b, Uint32 a)
{
    char text[128];
    std::snprintf(text, sizeof text, "SDL_CreateRGBSurface(%u, %d, %d, %d, 0x%08X, 0x%08X, 0x%08X, 0x%08X)",
                  flags, w, h, depth, r, g, b, a);
    record(text);
    if (fakeSdl.stagingFails) {
        lastError = "Out of memory";
        return nullptr;
    }
    return newSurface(w, h, flags, true);
}

int SDL_SetAlpha(SDL_Surface *surface, Uint32 flags, Uint8 alpha)
{
    record("SDL_SetAlpha(" + std::to_string(flags) + ", " + std::to_string(alpha) + ")");
    if (!(flags & SDL_SRCALPHA))
        surface->flags &= ~SDL_SRCALPHA;
    return 0;
}

int SDL_UpperBlit(SDL_Surface *, SDL_Rect *source, SDL_Surface *, SDL_Rect *target)
{
    char text[128];
    std::snprintf(text, sizeof text, "SDL_UpperBlit({%d, %d, %u, %u}, {%d, %d, %u, %u})", source->x,
                  source->y, source->w, source->h, target->x, target->y, target->w, target->h);
    record(text);
    return 0;
}

void SDL_FreeSurface(SDL_Surface *surface)
{
    record("SDL_FreeSurface(" + std::to_string(surface->w) + "x" + std::to_string(surface->h) + ")");
    std::free(surface->pixels);
    std::free(surface);
    --fakeSdl.surfacesLive;
}

} // extern "C"
