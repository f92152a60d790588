// Start-up: the display, the render state every drawing relies on, and the
// ten textures.
#pragma once

// Opens the display, fixes the render state and the projection, and loads the
// ten textures. Any failure ends the process through startFail().
void inits();
