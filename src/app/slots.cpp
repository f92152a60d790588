#include "app/slots.h"

unsigned long texA, texB, texC;
unsigned long texD, texE, texF;
unsigned long imgFontA[2];
unsigned long imgFontB[2];
