// The text that lies over every frame.
#pragma once

#include <cstdint>

// Draws the title, the credit line and its underline, the quit hint, the fixed
// text at the top left and the measured frame rate `rate`, last of all in each frame. Starts from
// identityAndTexturesOn() and leaves texturing off and the identity matrix behind.
void drawOverlay(std::uint32_t rate);
