// The screensaver's preview on Windows: the whole picture, scaled, inside
// another program's window. SDL 1.2 draws into a window it is given
// (SDL_WINDOWID) by replacing that window's procedure, which Windows allows
// only within one process; so the preview is a child window of this
// program's own, covering the given one, and SDL is given the child. The
// picture meets the child's size through the viewport alone: the frame's GL
// calls stay in 640x480 units, and its lines, drawn as lines, stay a pixel
// wide at any size.
#pragma once

#include <windows.h>

// Before SDL_Init: makes the child window over all of `host` and points SDL
// at it. A handle that names no window ends start-up through startFail(); a
// host that goes meanwhile ends the program at once, status 0, as its owner
// meant.
void openPreviewWindow(HWND host);

// True once the host or the child has gone: the preview is over.
bool previewGone();

// Once the GL context is current, and before each frame: fits the 4:3
// picture, letterboxed, to the host's size, and the child to the host when
// that changes.
void fitPreview();
