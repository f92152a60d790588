// What the benchmark's baselines share with the program, and no more of it.
#pragma once

// Starts SDL's video and opens the 640x480 full-screen double-buffered
// OpenGL display the program asks for; on failure ends the process with a
// line naming `tool` and the reason.
void openBareDisplay(const char *tool);

// The program's start-up GL work with none of its checks: the render state,
// then the ten textures of the texture table, decoded by the platform from
// the same files and uploaded with the same calls, their names in the slots.
// On failure ends the process with a line naming `tool`, the file and the
// reason.
void replayStartup(const char *tool);
