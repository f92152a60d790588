// Recording stand-ins for the GL and SDL entry points the program calls.
// A test binary that links the GL stand-in (recording/recording_gl.cpp) and
// fake_sdl.cpp instead of the real libraries sees every call as one line of
// callLog, e.g. "glVertex2i(64, 0)", and drives the frame loop with a
// scripted clock and event queue.
#pragma once

#include <SDL.h>
#include <SDL_opengl.h>

#include "recording/recording_gl.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

// An image IMG_Load hands out for a path.
struct FakeImage {
    int w = 64;
    int h = 64;
    Uint32 flags = 0;
};

// The name the stand-in gives the image the program decodes from memory.
inline const char kFakeIconName[] = "(the window icon)";

// The script the SDL stand-in plays.
struct FakeSdl {
    std::uint32_t ticks = 0;                    // SDL_GetTicks; SDL_Delay adds to it
    std::uint32_t drawCost = 0;                 // ms added at every poll: the frame's work
    std::deque<std::optional<SDL_Event>> polls; // one per SDL_PollEvent; empty: none pending.
                                                // SDL_PushEvent appends to it.
    int initResult = 0;
    const char *driver = "x11";
    bool videoModeFails = false;
    std::map<std::string, FakeImage> images;    // IMG_Load fails for any other path
    int surfacesLive = 0;                       // created or loaded, not yet freed
    bool stagingFails = false;
    bool queueFull = false;                     // SDL_PushEvent fails
    SDL_EventFilter filter = nullptr;           // the last SDL_SetEventFilter
};
extern FakeSdl fakeSdl;

// Back to a fresh GL and SDL with an empty log; every resource loads as 64x64.
void resetFakes();

SDL_Event keyDown(SDLKey key, SDLMod mod = KMOD_NONE);
SDL_Event keyUp(SDLKey key);
SDL_Event quitEvent();
