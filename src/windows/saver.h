// What vorlex.scr asks of the Windows display beyond what vorlex.exe does:
// the full-screen picture, which any key, click or real move of the mouse
// ends; or the preview, drawn inside another program's window (the little
// screen of Windows's screensaver settings).
#pragma once

#include <SDL.h>
#include <windows.h>

enum class SaverMode {
    none,       // vorlex.exe: the display the command line asks for
    fullScreen, // /s
    preview,    // /p HANDLE
};

struct SaverRequest {
    SaverMode mode = SaverMode::none;
    HWND host = nullptr; // with SaverMode::preview: the window to draw inside
};

// Kept for openDisplay(), which acts on it before the display request; the
// shell decides it before SDL_main.
void requestSaver(const SaverRequest &request);
const SaverRequest &saverRequest();

// How far, in pixels along either axis, the mouse may stray from where the
// saver first saw it: Windows reports moves of a mouse no one touched, as
// when the screen's mode changes.
constexpr int kSaverSlack = 8;

// For SaverMode::fullScreen, from SDL's event filter: true when `event` is a
// key press, a button press or a mouse move, which the saver takes itself
// rather than queue. A key, a click, or the mouse gone past kSaverSlack ends
// the saver through the quit channel.
bool takeSaverInput(const SDL_Event &event);
