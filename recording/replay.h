// Issues a recorded frame's GL calls again, with nothing of the program's
// logic: a switch over the opcodes in a tight loop. Texture slots are
// resolved to the names they hold in this process, so the frame binds the
// textures this process's start-up made.
#pragma once

#include "recording/records.h"

// Replays frame `index` (0 for the first recorded frame).
void replayFrame(const Recording &recording, std::size_t index);
