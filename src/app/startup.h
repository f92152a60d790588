// Start-up: the display, the render state every drawing relies on, and the
// ten textures.
#pragma once

// Opens the display, fixes the render state and the projection, and loads the
// ten textures. Any failure ends the process through startFail().
void startUp();

// The two halves after the display, which a platform whose GL context can be
// taken away (the web page's) runs again once it is given back: the render
// state, multiplying the projection onto the current projection matrix; and
// the ten textures, each slot taking a new texture name.
void renderState();
void loadTextures();
