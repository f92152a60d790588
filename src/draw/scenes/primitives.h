// The shapes every scene draws, in local coordinates with the top-left corner
// at the origin. The caller sets the model-view matrix; only the two texturing
// switches touch the matrix or the enable state.
#pragma once

#include <GL/gl.h>

// Opaque red outline of the 64x64 square.
void redOutlineSquare();

// Filled 64x64 square in any colour and opacity.
void filledSquare(double red, double green, double blue, double alpha);

// Red outline circle of diameter 64 through `count` points.
void redOutlineCircle(int count, double alpha);

// 64x64 square showing the whole of a power-of-two texture.
void texturedSquare(double alpha, GLuint texture);

// n x n square showing the n x n texel block at the origin of a rectangle
// texture, one texel per unit.
void rectTexturedSquare(double alpha, GLuint texture, int n);

// Loads the identity model-view matrix and turns both texture targets on.
void identityAndTexturesOn();

// Turns both texture targets off.
void texturesOff();
