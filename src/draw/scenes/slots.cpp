#include "draw/scenes/slots.h"

unsigned long texFixedSquare, texDriftingSquare, texPartnerSquare;
unsigned long texFixedRect, texDriftingRect, texPartnerRect;
unsigned long imgFontA[2];
unsigned long imgFontB[2];

const TextureSlot textureTable[kSlotCount] = {
    {"image.bmp", &texFixedSquare, true},
    {"image.gif", &texDriftingSquare, true},
    {"image.png", &texPartnerSquare, true},
    {"img72.bmp", &texFixedRect, false},
    {"img48.gif", &texDriftingRect, false},
    {"img24.png", &texPartnerRect, false},
    {"fontA06.gif", &imgFontA[0], false},
    {"fontA12.gif", &imgFontA[1], false},
    {"fontB06.gif", &imgFontB[0], false},
    {"fontB12.gif", &imgFontB[1], false},
};
