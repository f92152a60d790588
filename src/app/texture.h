// Image files to OpenGL textures.
#pragma once

#include <GL/gl.h>

// The smallest power of two that is at least n, counting from 1.
int nextPowerOfTwo(int n);

// Loads the image at path into a new GL_TEXTURE_2D texture padded to
// power-of-two sides with transparent black, the image at its top left with
// its top row first, and stores the texture's name in *texture.
void createPotTexture(const char *path, GLuint *texture);

// The same for a GL_TEXTURE_RECTANGLE_ARB texture of the image's exact size,
// addressed in texels. Leaves the rectangle target disabled.
void createRectTexture(const char *path, GLuint *texture);
