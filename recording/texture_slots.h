// A frame's records name a texture by the slot that holds it, 0 to
// kSlotCount - 1 in the order startUp() fills them, not by the name GL gave:
// a recording made against stand-in names replays against the names the
// real GL gave.
#pragma once

#include "draw/scenes/slots.h"  // kSlotCount, textureTable

int textureSlot(GLuint name);           // -1 when no slot holds it
GLuint slotTexture(int slot);           // the name the slot holds now
void setSlotTexture(int slot, GLuint name);
