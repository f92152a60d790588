#include "fakes.h"
#include "fake_sdl.h"

#include <SDL_image.h>
#include <SDL_syswm.h>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "app/platform.h"
#include "draw/scenes/slots.h"

FakeSdl fakeSdl;

const char *sdlError = "";

void recordSdl(const std::string &call)
{
    callLog.push_back(call);
}

SDL_Surface *newFakeSurface(int w, int h, Uint32 flags, bool pixels)
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

void resetFakes()
{
    // The stand-in SDL opens no display, so the screen fit must not meet a
    // real one that the test's environment happens to name.
    unsetenv("DISPLAY");
    resetFakeGl();
    fakeSdl = FakeSdl{};
    for (const TextureSlot &slot : textureTable)
        fakeSdl.images[std::string(VORLEX_RESOURCES) + slot.file] = FakeImage{};
    fakeSdl.images[kFakeIconName] = FakeImage{128, 128, SDL_SRCALPHA};
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
    recordSdl("SDL_Init(" + std::to_string(flags) + ")");
    if (fakeSdl.initResult != 0)
        sdlError = "no video for you";
    return fakeSdl.initResult;
}

void SDL_Quit() { recordSdl("SDL_Quit()"); }

char *SDL_GetError() { return const_cast<char *>(sdlError); }

char *SDL_VideoDriverName(char *buffer, int length)
{
    std::strncpy(buffer, fakeSdl.driver, static_cast<std::size_t>(length) - 1);
    buffer[length - 1] = '\0';
    return buffer;
}

int SDL_GL_SetAttribute(SDL_GLattr attribute, int value)
{
    recordSdl("SDL_GL_SetAttribute(" + std::to_string(attribute) + ", " + std::to_string(value) + ")");
    return 0;
}

SDL_Surface *SDL_SetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    char text[96];
    std::snprintf(text, sizeof text, "SDL_SetVideoMode(%d, %d, %d, 0x%08X)", w, h, bpp, flags);
    recordSdl(text);
    if (fakeSdl.videoModeFails) {
        sdlError = "no mode for you";
        return nullptr;
    }
    static SDL_Surface screen{};
    return &screen;
}

// No X window behind the stand-in's display: SDL's answer where it has none.
int SDL_GetWMInfo(SDL_SysWMinfo *)
{
    recordSdl("SDL_GetWMInfo()");
    return 0;
}

void SDL_WM_SetIcon(SDL_Surface *icon, Uint8 *mask)
{
    recordSdl("SDL_WM_SetIcon(" + std::to_string(icon->w) + "x" + std::to_string(icon->h) + ", " +
              (mask ? "mask" : "NULL") + ")");
}

void SDL_WM_SetCaption(const char *title, const char *icon)
{
    recordSdl(std::string("SDL_WM_SetCaption(\"") + title + "\", " + (icon ? icon : "NULL") + ")");
}

int SDL_ShowCursor(int toggle)
{
    recordSdl("SDL_ShowCursor(" + std::to_string(toggle) + ")");
    return 0;
}

int SDL_PollEvent(SDL_Event *event)
{
    recordSdl("SDL_PollEvent()");
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
    recordSdl("SDL_PushEvent(" + std::to_string(event->type) + ")");
    if (fakeSdl.queueFull) {
        sdlError = "Event queue is full";
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
    recordSdl("SDL_EventState(" + std::to_string(type) + ", " + std::to_string(state) + ")");
    return SDL_ENABLE;
}

int SDL_WM_IconifyWindow()
{
    recordSdl("SDL_WM_IconifyWindow()");
    return 1;
}

Uint32 SDL_GetTicks()
{
    recordSdl("SDL_GetTicks() = " + std::to_string(fakeSdl.ticks));
    return fakeSdl.ticks;
}

void SDL_Delay(Uint32 ms)
{
    recordSdl("SDL_Delay(" + std::to_string(ms) + ")");
    fakeSdl.ticks += ms;
}

void SDL_GL_SwapBuffers() { recordSdl("SDL_GL_SwapBuffers()"); }

// The recording GL has the frame's calls alone: no other is to be found.
void *SDL_GL_GetProcAddress(const char *) { return nullptr; }

} // extern "C"
