// The page's GL layer: the state a draw depends on (enables, blending, the
// two texture targets), the textures, clearing, errors and the two size
// queries, and the pending batch: consecutive primitives with the same key
// are one draw.
// Rectangle textures are 2D textures here, their texel coordinates divided
// by their size as each vertex is made.
#include <map>
#include <vector>

#include "device.h"
#include "gl_layer.h"
#include "webgl.h"

namespace {

bool blend = false, on2D = false, onRect = false, flat = false;
GLenum blendSrc = GL_ONE, blendDst = GL_ZERO;
GLuint bound2D = 0, boundRect = 0;
float clearColour[4] = {0, 0, 0, 0};
GLenum error = GL_NO_ERROR;
GLuint named = 0;  // the last texture name handed out
struct Size {
    GLsizei width, height;
};
std::map<GLuint, Size> sizes;

DrawKey pendingKey;
std::vector<LayerVertex> pending;

void flush()
{
    if (pending.empty())
        return;
    webglDraw(pendingKey.lines, pendingKey.texture, pendingKey.blend, pendingKey.blendSrc,
              pendingKey.blendDst, reinterpret_cast<const float *>(pending.data()),
              static_cast<int>(pending.size()));
    pending.clear();
}

GLuint *binding(GLenum target)
{
    if (target == GL_TEXTURE_2D)
        return &bound2D;
    if (target == GL_TEXTURE_RECTANGLE_ARB)
        return &boundRect;
    layerError(GL_INVALID_ENUM);
    return nullptr;
}

bool *switched(GLenum cap)
{
    switch (cap) {
    case GL_BLEND: return &blend;
    case GL_TEXTURE_2D: return &on2D;
    case GL_TEXTURE_RECTANGLE_ARB: return &onRect;
    }
    layerError(GL_INVALID_ENUM);
    return nullptr;
}

} // namespace

void layerError(GLenum what)
{
    if (error == GL_NO_ERROR)
        error = what;
}

// With both targets on, the rectangle target takes precedence, as in GL.
DrawKey layerKey(bool lines, double *scaleS, double *scaleT)
{
    const GLuint texture = onRect ? boundRect : on2D ? bound2D : 0;
    *scaleS = *scaleT = 1;
    if (onRect) {
        const auto size = sizes.find(texture);
        if (size != sizes.end())
            *scaleS = size->second.width, *scaleT = size->second.height;
    }
    return {lines, texture, blend, blendSrc, blendDst};
}

bool layerFlat()
{
    return flat;
}

void layerAdd(const DrawKey &key, const LayerVertex *vertices, int count)
{
    if (!(key == pendingKey))
        flush();
    pendingKey = key;
    pending.insert(pending.end(), vertices, vertices + count);
}

void layerFinishFrame()
{
    flush();
}

void layerRebuild()
{
    pending.clear();
    sizes.clear();
    webglRebuild();
}

void webEnable(GLenum cap)
{
    if (bool *on = switched(cap))
        *on = true;
}

void webDisable(GLenum cap)
{
    if (bool *on = switched(cap))
        *on = false;
}

void webBlendFunc(GLenum source, GLenum destination)
{
    blendSrc = source, blendDst = destination;
}

void webShadeModel(GLenum mode)
{
    if (mode != GL_FLAT && mode != GL_SMOOTH)
        return layerError(GL_INVALID_ENUM);
    flat = mode == GL_FLAT;
}

void webClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    clearColour[0] = red, clearColour[1] = green, clearColour[2] = blue, clearColour[3] = alpha;
}

void webClear(GLbitfield mask)
{
    flush();
    webglClear(mask, clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
}

void webGenTextures(GLsizei count, GLuint *names)
{
    for (GLsizei i = 0; i < count; ++i)
        names[i] = ++named;
}

void webBindTexture(GLenum target, GLuint texture)
{
    if (GLuint *bound = binding(target))
        *bound = texture;
}

// A pending batch may sample the texture as it was: it is drawn first.
void webTexParameteri(GLenum target, GLenum name, GLint value)
{
    const GLuint *bound = binding(target);
    if (!bound || !*bound)
        return layerError(GL_INVALID_OPERATION);
    flush();
    webglTexParameter(*bound, name, value);
}

void webTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void *pixels)
{
    const GLuint *bound = binding(target);
    if (!bound || !*bound)
        return layerError(GL_INVALID_OPERATION);
    // RGBA bytes alike on both sides, as the program uploads, one level, no border.
    if (static_cast<GLenum>(internalFormat) != GL_RGBA || format != GL_RGBA || type != GL_UNSIGNED_BYTE)
        return layerError(GL_INVALID_ENUM);
    if (level != 0 || border != 0)
        return layerError(GL_INVALID_VALUE);
    flush();
    sizes[*bound] = {width, height};
    webglTexImage(*bound, width, height, format, type, pixels);
}

// A rectangle texture is a 2D texture here, so it may be as large as one.
void webGetIntegerv(GLenum name, GLint *value)
{
    if (name == GL_MAX_TEXTURE_SIZE || name == GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB)
        *value = webglMaxTextureSize();
    else
        layerError(GL_INVALID_ENUM);
}

GLenum webGetError(void)
{
    const GLenum own = error;
    error = GL_NO_ERROR;
    return own != GL_NO_ERROR ? own : webglError();
}
