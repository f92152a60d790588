// The texture slots: OpenGL texture names, filled once at start-up and never
// deleted, and the table that says which image fills which slot.
#pragma once

#include <GL/gl.h>

// Each textured scene shows one fixed square that fades, one that drifts, and
// the drifting one's partner, whose opacity is one minus its own.
extern GLuint texFixedSquare, texDriftingSquare, texPartnerSquare;  // power-of-two textures
extern GLuint texFixedRect, texDriftingRect, texPartnerRect;        // rectangle textures
extern GLuint fontAtlasA[2];       // font atlases: [0] 6-pixel cells, [1] 12-pixel cells
extern GLuint fontAtlasB[2];

// One slot's texture: the image file under the bundle's resources, and
// whether it becomes a power-of-two texture padded with transparent black or
// a rectangle texture of the image's exact size.
struct TextureSlot {
    const char *file;
    GLuint *name;
    bool padded;
};

// The ten slots in the order start-up fills them.
constexpr int kSlotCount = 10;
extern const TextureSlot textureTable[kSlotCount];
