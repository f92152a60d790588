#include "windows/preview.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/fail.h"
#include "draw/picture.h"
#include "windows/error.h"

namespace {

HWND host;
HWND child;
RECT fitted; // the host's client area the viewport was last fitted to

std::string handleText(HWND window)
{
    return std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

} // namespace

void openPreviewWindow(HWND window)
{
    host = window;
    const std::string action = "cannot show the preview in window " + handleText(host);
    if (!IsWindow(host))
        startFail(action.c_str(), "no window has that handle");
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW type = {};
    // A device context of its own, which keeps the pixel format OpenGL
    // is given.
    type.style = CS_OWNDC;
    type.lpfnWndProc = DefWindowProcW;
    type.hInstance = instance;
    type.lpszClassName = L"VorlexPreview";
    if (!RegisterClassW(&type))
        startFail(action.c_str(), windowsError(GetLastError()).c_str());
    GetClientRect(host, &fitted);
    // Disabled, so that a click goes to the host, as on a picture, and
    // gives the preview no focus.
    child = CreateWindowExW(0, type.lpszClassName, L"",
                            WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                            fitted.right, fitted.bottom, host, nullptr, instance, nullptr);
    if (!child) {
        const DWORD error = GetLastError();
        // Closed before the preview could start: nothing is wrong.
        if (!IsWindow(host))
            std::exit(0);
        startFail(action.c_str(), windowsError(error).c_str());
    }
    // SDL reads the handle with strtoull.
    static char variable[64];
    std::snprintf(variable, sizeof variable, "SDL_WINDOWID=%s", handleText(child).c_str());
    SDL_putenv(variable);
}

bool previewGone()
{
    return !IsWindow(host) || !IsWindow(child);
}

void fitPreview()
{
    RECT area;
    GetClientRect(host, &area);
    static bool first = true;
    if (!first && EqualRect(&area, &fitted))
        return;
    if (!first)
        MoveWindow(child, 0, 0, area.right, area.bottom, FALSE);
    first = false;
    fitted = area;
    const double width = area.right, height = area.bottom;
    const double scale = width / kPictureWidth < height / kPictureHeight ? width / kPictureWidth : height / kPictureHeight;
    const GLsizei shownWidth = static_cast<GLsizei>(kPictureWidth * scale + 0.5);
    const GLsizei shownHeight = static_cast<GLsizei>(kPictureHeight * scale + 0.5);
    // The frame's clear covers the whole window, bands included.
    glViewport((area.right - shownWidth) / 2, (area.bottom - shownHeight) / 2, shownWidth, shownHeight);
}
