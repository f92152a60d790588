#include "draw/scenes/slots.h"

GLuint texFixedSquare, texDriftingSquare, texPartnerSquare;
GLuint texFixedRect, texDriftingRect, texPartnerRect;
GLuint fontAtlasA[2];
GLuint fontAtlasB[2];

const TextureSlot textureTable[kSlotCount] = {
    {"image.bmp", &texFixedSquare, true},
    {"image.gif", &texDriftingSquare, true},
    {"image.png", &texPartnerSquare, true},
    {"img72.bmp", &texFixedRect, false},
    {"img48.gif", &texDriftingRect, false},
    {"img24.png", &texPartnerRect, false},
    {"fontA06.gif", &fontAtlasA[0], false},
    {"fontA12.gif", &fontAtlasA[1], false},
    {"fontB06.gif", &fontAtlasB[0], false},
    {"fontB12.gif", &fontAtlasB[1], false},
};
