// The display the benchmark's baselines open: the program's, with none of
// its checks.
#pragma once

// Starts SDL's video and opens the 640x480 full-screen double-buffered
// OpenGL display the program asks for; on failure ends the process with a
// line naming `tool` and the reason.
void openBareDisplay(const char *tool);
