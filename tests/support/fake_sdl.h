// What the SDL stand-in's files share: its one log and error text, and the
// surfaces it makes.
#pragma once

#include <SDL.h>

#include <string>

// Writes an SDL call into the log the GL stand-in keeps, in call order.
void recordSdl(const std::string &call);
// What SDL_GetError answers: the last failure's text.
extern const char *sdlError;
// A surface of w x h, with zeroed 32-bit pixels if `pixels`; counted live.
SDL_Surface *newFakeSurface(int w, int h, Uint32 flags, bool pixels);
