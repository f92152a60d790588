# The program's files by layer, as paths from the top of the tree: the
# desktop build (CMakeLists.txt), the web page's (web/CMakeLists.txt) and
# Windows's (windows/CMakeLists.txt) take them from here.

# The drawing: the frame's GL calls (drawFrame, the scenes, the text and
# the texture slots). GL alone: no SDL header, no loop, no shell.
set(VORLEX_DRAW_SOURCES
  src/draw/frame.cpp
  src/draw/scenes/animators.cpp
  src/draw/scenes/primitives.cpp
  src/draw/scenes/slots.cpp
  src/draw/scenes/squares.cpp
  src/draw/scenes/textured.cpp
  src/draw/scenes/translucency.cpp
  src/draw/text/font.cpp
  src/draw/text/overlay.cpp
)

# The app on SDL that every platform builds: start-up, the image header check,
# the pixel budget, the staging surface, texture upload, the frame loop, the
# quit channel. A platform adds its own files for the display, image decoding
# and presenting a frame (src/app/platform.h).
set(VORLEX_APP_SOURCES
  src/app/budget.cpp
  src/app/display_request.cpp
  src/app/fail.cpp
  src/app/header.cpp
  src/app/loop.cpp
  src/app/quit.cpp
  src/app/rate.cpp
  src/app/staging.cpp
  src/app/startup.cpp
  src/app/texture.cpp
)

# What only some platforms share lies in a folder named for what it stands on.
#
# src/sdl12: what the displays on SDL 1.2 itself share, the desktop's and
# Windows's: the events SDL queues and the rectangle-texture check. The web
# page's SDL is emscripten's, on SDL2's event types and WebGL.
set(VORLEX_SDL_DISPLAY_SOURCES
  src/sdl12/display_setup.cpp
)

# src/posix: the frame-rate line written without waiting, on POSIX: the
# desktop and the web page. Windows writes it its own way (src/windows/rate_line.cpp).
set(VORLEX_POSIX_SOURCES
  src/posix/rate_line.cpp
)

# src/stb: image decoding by stb_image, for the platforms without SDL_image:
# the web page and Windows.
set(VORLEX_STB_SOURCES
  src/stb/stb_decode.cpp
)

# The desktop's platform (src/desktop): the X display through sdl12-compat,
# the screen fit, another program's window and a small preview's averaging,
# what the session sees (the screensaver inhibit, window class and icon),
# image decoding by SDL_image, the heap kept between frames.
set(VORLEX_DESKTOP_SOURCES
  src/desktop/decode.cpp
  src/desktop/display.cpp
  src/desktop/display_fail.cpp
  src/desktop/display_probe.cpp
  src/desktop/display_silence.cpp
  src/desktop/foreign_window.cpp
  src/desktop/heads.cpp
  src/desktop/heap.cpp
  src/desktop/held_stderr.cpp
  src/desktop/image.cpp
  src/desktop/preview_scaling.cpp
  src/desktop/screen.cpp
  src/desktop/session.cpp
  src/desktop/x_errors.cpp
)

# The desktop's shell on top: the process entry (src/shell/main.cpp, kept
# apart for the test programs), options, bundle, menus, signals.
set(VORLEX_SHELL_SOURCES
  src/shell/SDLMain.cpp
  src/shell/events.cpp
  src/shell/menu.cpp
  src/shell/options.cpp
  src/shell/system.cpp
)

# The web page's platform (src/web), which web/CMakeLists.txt builds with
# emscripten: the canvas display, stb_image decoding, the page's entry, and
# the page's GL layer (webgl.h, forced into every shared source, routes the
# GL 1.x calls to gl_state.cpp, immediate.cpp and matrix.cpp, which batch
# them into WebGL draws made by device.js).
set(VORLEX_WEB_SOURCES
  src/web/display.cpp
  src/web/image.cpp
  src/web/gl_state.cpp
  src/web/immediate.cpp
  src/web/main.cpp
  src/web/matrix.cpp
)

# Windows (src/windows), which windows/CMakeLists.txt builds with mingw-w64
# against SDL 1.2 itself: the WGL display, with the screensaver's full screen
# and preview, stb_image decoding, the frame-rate line, Windows's reasons;
# and on top the console, the program's folder, the screensaver's command
# line, with the Linux shell's options. Each of its two programs adds its
# entry: vorlex.exe's main.cpp, vorlex.scr's saver_main.cpp.
set(VORLEX_WINDOWS_SOURCES
  src/windows/display.cpp
  src/windows/error.cpp
  src/windows/image.cpp
  src/windows/preview.cpp
  src/windows/rate_line.cpp
  src/windows/saver.cpp
  src/windows/console.cpp
  src/windows/folder.cpp
  src/windows/sdl_library.cpp
  src/windows/saver_line.cpp
  src/shell/options.cpp
)

# The ten images, in resources/, which every build copies into its bundle's
# Contents/Resources.
set(VORLEX_RESOURCES
  image.bmp image.gif image.png
  img72.bmp img48.gif img24.png
  fontA06.gif fontA12.gif fontB06.gif fontB12.gif)
