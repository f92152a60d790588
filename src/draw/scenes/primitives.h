// The shapes every scene draws, in local coordinates with the top-left corner
// at the origin. The caller sets the model-view matrix; only texSwitch touches
// the matrix or the enable state.
#pragma once

#include <GL/gl.h>

// Opaque red outline of the 64x64 square.
void modelA();

// Filled 64x64 square in any colour and opacity.
void modelB(double red, double green, double blue, double alpha);

// Red outline circle of diameter 64 through `count` points.
void modelC(int count, double alpha);

// 64x64 square showing the whole of a power-of-two texture.
void modelD(double alpha, GLuint texture);

// n x n square showing the n x n texel block at the origin of a rectangle
// texture, one texel per unit.
void modelE(double alpha, GLuint texture, int n);

// On: the identity matrix, and both texture targets on. Off: both off.
void texSwitch(bool on);
