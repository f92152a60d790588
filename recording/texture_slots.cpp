#include "recording/texture_slots.h"

#include <stdexcept>
#include <string>

namespace {

const TextureSlot &slotAt(int slot)
{
    if (slot < 0 || slot >= kSlotCount)
        throw std::out_of_range("no texture slot " + std::to_string(slot));
    return textureTable[slot];
}

} // namespace

int textureSlot(GLuint name)
{
    for (int i = 0; i < kSlotCount; ++i)
        if (*textureTable[i].name == name)
            return i;
    return -1;
}

GLuint slotTexture(int slot)
{
    return *slotAt(slot).name;
}

void setSlotTexture(int slot, GLuint name)
{
    *slotAt(slot).name = name;
}
