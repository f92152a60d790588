// Image decoding by stb_image, for the platforms without SDL_image: the web
// page and Windows. It reads 8- and 16-bit PNG, BMP and GIF, as the desktop
// does, and gives 16-bit channels as their high byte, as SDL_image does.
#pragma once

#include <SDL.h>
#include <cstdio>
#include <string>

// Reads the open image file, from its start, into a new staging surface as
// platform.h's stageFile() describes: the header check first (header.h),
// then stb_image's own, and the decoded picture checked again. Null with the
// reason in *why. The file stays the caller's to close.
SDL_Surface *stageStbFile(std::FILE *file, bool padded, long largest, std::string *why);
