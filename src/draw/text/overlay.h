// The text that lies over every frame.
#pragma once

#include <cstdint>

// Draws the title, the credit line and its underline, the quit hint, the build
// facts and the measured frame rate `rate`, last of all in each frame. Starts from
// texSwitch(true) and leaves texturing off and the identity matrix behind.
void fontSet(std::uint32_t rate);
