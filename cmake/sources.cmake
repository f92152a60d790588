# The program's files by layer, as paths from the top of the tree: the
# desktop build (CMakeLists.txt) and the web page's (web/CMakeLists.txt) both
# take them from here.

# The drawing: the frame's GL calls (back, modelDraw, the scenes, the text and
# the texture slots). GL alone: no SDL header, no loop, no shell.
set(VORLEX_DRAW_SOURCES
  src/app/frame.cpp
  src/scenes/animators.cpp
  src/scenes/primitives.cpp
  src/scenes/slots.cpp
  src/scenes/squares.cpp
  src/scenes/textured.cpp
  src/scenes/translucency.cpp
  src/text/font.cpp
  src/text/overlay.cpp
)

# The app on SDL that every platform shares: start-up, the image header check,
# the pixel budget, the staging surface, texture upload, the frame loop, the
# quit channel. A platform adds its own files for the display, image decoding
# and presenting a frame (src/app/platform.h).
set(VORLEX_APP_SOURCES
  src/app/budget.cpp
  src/app/fail.cpp
  src/app/header.cpp
  src/app/loop.cpp
  src/app/quit.cpp
  src/app/rate.cpp
  src/app/staging.cpp
  src/app/startup.cpp
  src/app/texture.cpp
)

# The ten images, in resources/, which every build copies into its bundle's
# Contents/Resources.
set(VORLEX_RESOURCES
  image.bmp image.gif image.png
  img72.bmp img48.gif img24.png
  fontA06.gif fontA12.gif fontB06.gif fontB12.gif)
