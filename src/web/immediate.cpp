// The page's GL layer: glBegin/glEnd in the three modes the drawing uses
// (GL_LINES, GL_LINE_LOOP, GL_QUADS; any other is GL_INVALID_ENUM). Each
// vertex is transformed as it comes; at glEnd the primitive becomes
// independent triangles or lines (quads split, loops opened) and joins the
// pending batch.
#include <cstddef>
#include <initializer_list>
#include <vector>

#include "gl_layer.h"
#include "webgl.h"

namespace {

bool inside = false;
GLenum mode;
DrawKey key;
double scaleS = 1, scaleT = 1;
double colour[4] = {1, 1, 1, 1};
double coordinate[2] = {0, 0};
std::vector<LayerVertex> given, drawn;  // this primitive's vertices; what they become


// One triangle or line of the given vertices; with flat shading it takes the
// colour of the vertex GL names for it.
void emit(std::initializer_list<std::size_t> corners, std::size_t coloured)
{
    for (const std::size_t corner : corners) {
        drawn.push_back(given[corner]);
        if (layerFlat()) {
            LayerVertex &last = drawn.back();
            last.red = given[coloured].red, last.green = given[coloured].green;
            last.blue = given[coloured].blue, last.alpha = given[coloured].alpha;
        }
    }
}

void assemble()
{
    const std::size_t n = given.size();
    switch (mode) {
    case GL_LINES:
        for (std::size_t i = 0; i + 1 < n; i += 2) emit({i, i + 1}, i + 1);
        break;
    case GL_LINE_LOOP:
        for (std::size_t i = 0; i + 1 < n; ++i) emit({i, i + 1}, i + 1);
        if (n > 2) emit({n - 1, 0}, 0);
        break;
    case GL_QUADS:
        for (std::size_t i = 0; i + 3 < n; i += 4) {
            emit({i, i + 1, i + 2}, i + 3);
            emit({i, i + 2, i + 3}, i + 3);
        }
        break;
    }
}

} // namespace

void webBegin(GLenum wanted)
{
    if (inside)
        return layerError(GL_INVALID_OPERATION);
    if (wanted != GL_LINES && wanted != GL_LINE_LOOP && wanted != GL_QUADS)
        return layerError(GL_INVALID_ENUM);
    inside = true;
    mode = wanted;
    key = layerKey(wanted != GL_QUADS, &scaleS, &scaleT);
    given.clear();
}

void webEnd(void)
{
    if (!inside)
        return layerError(GL_INVALID_OPERATION);
    inside = false;
    drawn.clear();
    assemble();
    if (!drawn.empty())
        layerAdd(key, drawn.data(), static_cast<int>(drawn.size()));
}

// Outside glBegin/glEnd a vertex draws nothing, as in GL.
void webVertex2i(GLint x, GLint y)
{
    if (!inside)
        return;
    const double *p = layerPosition();
    const LayerVertex vertex = {
        float(p[0] * x + p[4] * y + p[12]), float(p[1] * x + p[5] * y + p[13]),
        float(p[2] * x + p[6] * y + p[14]), float(p[3] * x + p[7] * y + p[15]),
        float(coordinate[0] / scaleS), float(coordinate[1] / scaleT),
        float(colour[0]), float(colour[1]), float(colour[2]), float(colour[3])};
    given.push_back(vertex);
}

void webTexCoord2i(GLint s, GLint t)
{
    coordinate[0] = s, coordinate[1] = t;
}

// GL clamps a colour given in double to 0..1 as it stores it.
void webColor4d(GLdouble red, GLdouble green, GLdouble blue, GLdouble alpha)
{
    const double given[4] = {red, green, blue, alpha};
    for (int i = 0; i < 4; ++i)
        colour[i] = given[i] < 0 ? 0 : given[i] > 1 ? 1 : given[i];
}

void webColor3d(GLdouble red, GLdouble green, GLdouble blue)
{
    webColor4d(red, green, blue, 1.0);
}
