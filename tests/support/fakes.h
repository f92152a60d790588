// Recording stand-ins for the GL and SDL entry points the program calls.
// A test binary that links fake_gl.cpp (and fake_sdl.cpp) instead of the real
// libraries sees every call as one line of callLog, e.g. "glVertex2i(64, 0)",
// and drives the frame loop with a scripted clock and event queue.
#pragma once

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

extern std::vector<std::string> callLog;

// The enabled capabilities, in a fixed array: toggling them every frame
// allocates nothing, which the allocation test relies on.
class Capabilities {
public:
    void insert(GLenum cap)
    {
        if (!count(cap) && size_ < caps_.size())
            caps_[size_++] = cap;
    }
    void erase(GLenum cap)
    {
        for (std::size_t i = 0; i < size_; ++i)
            if (caps_[i] == cap)
                caps_[i] = caps_[--size_];
    }
    bool count(GLenum cap) const { return std::find(caps_.begin(), caps_.begin() + size_, cap) != caps_.begin() + size_; }
    bool empty() const { return size_ == 0; }
    bool operator==(const std::set<GLenum> &other) const
    {
        return other.size() == size_ && std::all_of(other.begin(), other.end(), [this](GLenum c) { return count(c); });
    }
    bool operator==(const Capabilities &other) const { return *this == std::set<GLenum>(other.caps_.begin(), other.caps_.begin() + other.size_); }
    friend std::ostream &operator<<(std::ostream &out, const Capabilities &c)
    {
        out << "{";
        for (std::size_t i = 0; i < c.size_; ++i)
            out << (i ? ", 0x" : "0x") << std::hex << c.caps_[i] << std::dec;
        return out << "}";
    }

private:
    std::array<GLenum, 16> caps_{};
    std::size_t size_ = 0;
};

// What the GL stand-in keeps of the state the calls change.
struct FakeGl {
    int depth = 0;                    // model-view stack depth above the base
    int deepest = 0;                  // largest depth seen
    Capabilities enabled;             // enabled capabilities
    std::map<GLenum, GLuint> bound;   // texture bound to each target
    GLuint nextName = 1;              // name the next glGenTextures gives; 0 to fail
    std::string extensions = "GL_ARB_texture_non_power_of_two GL_ARB_texture_rectangle";
    GLint largestTexture = 16384;
    bool recording = true;            // false: keep the state, log nothing
};
extern FakeGl fakeGl;

// An image IMG_Load hands out for a path.
struct FakeImage {
    int w = 64;
    int h = 64;
    Uint32 flags = 0;
};

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

// Back to a fresh GL with an empty log.
void resetFakeGl();

// Back to a fresh GL and SDL with an empty log; every resource loads as 64x64.
void resetFakes();

// Shortest text that reads back as the same double, as the log writes it.
std::string fmt(double value);

// The log lines from `from` on that start with `prefix`.
std::vector<std::string> callsFrom(std::size_t from, const std::string &prefix = "");

SDL_Event keyDown(SDLKey key, SDLMod mod = KMOD_NONE);
SDL_Event keyUp(SDLKey key);
SDL_Event quitEvent();
