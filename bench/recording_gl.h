// A GL stand-in for the capture and allocation tools, linked in place of the
// real GL: each call a frame makes goes into `glRecording` as records, or
// nowhere at all while it is null. The calls only start-up makes end the
// process with a message instead: a frame that made one could not be
// replayed.
#pragma once

#include "records.h"

extern Recording *glRecording;

// Fills the texture slots with 1 to 10, stand-ins for the names a real GL
// gives; the records name slots, not these numbers.
void standInTextures();
