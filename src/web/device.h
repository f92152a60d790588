// The WebGL calls behind the page's GL layer (device.js): the layer hands
// over whole batches and uploads, and nothing else touches WebGL. A host
// test links a recording of its own in their place.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif
// One draw of `count` vertices of ten floats each (clip-space x y z w, the
// normalised texture coordinate s t, the colour r g b a) as triangles, or as
// lines when `lines`; texture 0 draws untextured.
void webglDraw(int lines, unsigned texture, int blend, unsigned blendSrc, unsigned blendDst,
               const float *vertices, int count);
void webglClear(unsigned mask, float red, float green, float blue, float alpha);
// Uploads (RGBA bytes) and parameters of the layer's texture names; the first makes the texture.
void webglTexImage(unsigned texture, int width, int height, unsigned format, unsigned type,
                   const void *pixels);
void webglTexParameter(unsigned texture, unsigned name, int value);
int webglMaxTextureSize(void);
unsigned webglError(void);
// Makes the shader program, the buffer and the white texture on a live
// context (else later); 0, with WebGL's reason in `reason`, when it will not
// compile or link the shaders: the device then draws nothing.
int webglMake(char *reason, int size);
// After the context came back: the shaders, the buffer and the white texture
// made again, every earlier texture forgotten.
void webglRebuild(void);
#ifdef __cplusplus
}
#endif
