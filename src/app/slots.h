// The texture slots, kept free of SDL so that the drawing code can read them.
#pragma once

// Texture names, filled once by inits() and never deleted.
extern unsigned long texA, texB, texC;   // power-of-two textures
extern unsigned long texD, texE, texF;   // rectangle textures
extern unsigned long imgFontA[2];        // font atlases: [0] 6-pixel cells, [1] 12-pixel cells
extern unsigned long imgFontB[2];
