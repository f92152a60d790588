// What the parts of the page's GL layer share: the matrices (matrix.cpp),
// the primitives as they are drawn (immediate.cpp) and the state and batch
// they go into (gl_state.cpp).
#pragma once

#include <GL/gl.h>

// A vertex as the batch uploads it: see webglDraw (device.h).
struct LayerVertex {
    float x, y, z, w, s, t, red, green, blue, alpha;
};
static_assert(sizeof(LayerVertex) == 10 * sizeof(float), "the device reads ten packed floats a vertex");

// What one draw call needs; a primitive with other needs than the pending
// batch's ends that batch.
struct DrawKey {
    bool lines;
    GLuint texture;  // the layer's name, 0 untextured
    bool blend;
    GLenum blendSrc, blendDst;
    bool operator==(const DrawKey &other) const
    {
        return lines == other.lines && texture == other.texture && blend == other.blend &&
               blendSrc == other.blendSrc && blendDst == other.blendDst;
    }
};

// The projection times the model-view, column-major as GL keeps it.
const double *layerPosition();

// The key of a primitive drawn now, and the divisors that turn its texture
// coordinates into 0..1 (a rectangle texture's size, 1 x 1 otherwise).
DrawKey layerKey(bool lines, double *scaleS, double *scaleT);
bool layerFlat();
// Adds vertices to the pending batch, first drawing the batch when its key differs.
void layerAdd(const DrawKey &key, const LayerVertex *vertices, int count);
// Notes the first error since glGetError last read one, as GL does.
void layerError(GLenum error);

// What the display asks of the layer: the pending batch drawn at the end of
// a frame; and after a lost context came back, the batch dropped and the
// device's WebGL objects made again (the program then reloads its textures).
void layerFinishFrame();
void layerRebuild();
