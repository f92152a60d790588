#include "draw/scenes/slots.h"

unsigned long texA, texB, texC;
unsigned long texD, texE, texF;
unsigned long imgFontA[2];
unsigned long imgFontB[2];

const TextureSlot textureTable[kSlotCount] = {
    {"image.bmp", &texA, true},
    {"image.gif", &texB, true},
    {"image.png", &texC, true},
    {"img72.bmp", &texD, false},
    {"img48.gif", &texE, false},
    {"img24.png", &texF, false},
    {"fontA06.gif", &imgFontA[0], false},
    {"fontA12.gif", &imgFontA[1], false},
    {"fontB06.gif", &imgFontB[0], false},
    {"fontB12.gif", &imgFontB[1], false},
};
