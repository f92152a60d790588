// The page's GL layer: the model-view and projection stacks of GL 1.x, kept
// in double as the desktop's GL keeps them; the texture matrix, which the
// drawing never changes, is not kept (GL_TEXTURE is GL_INVALID_ENUM).
// Vertices are transformed here on the CPU, so a matrix change between
// primitives never ends a batch.
#include <cmath>
#include <vector>

#include "gl_layer.h"
#include "webgl.h"

namespace {

struct Matrix {
    double m[16];
};

const Matrix identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

// GL's smallest stack depths: what a program can count on.
struct Stack {
    std::vector<Matrix> held;
    size_t most;
};
Stack modelView{{identity}, 32}, projection{{identity}, 2};
Stack *current = &modelView;

Matrix position = identity;  // projection x model-view
bool positionStale = false;

Matrix product(const Matrix &a, const Matrix &b)
{
    Matrix r;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            r.m[column * 4 + row] = sum;
        }
    return r;
}

void multiply(const Matrix &by)
{
    current->held.back() = product(current->held.back(), by);
    positionStale = true;
}

} // namespace

const double *layerPosition()
{
    if (positionStale) {
        position = product(projection.held.back(), modelView.held.back());
        positionStale = false;
    }
    return position.m;
}

void webMatrixMode(GLenum mode)
{
    switch (mode) {
    case GL_MODELVIEW: current = &modelView; break;
    case GL_PROJECTION: current = &projection; break;
    default: layerError(GL_INVALID_ENUM);
    }
}

void webLoadIdentity(void)
{
    current->held.back() = identity;
    positionStale = true;
}

void webPushMatrix(void)
{
    if (current->held.size() == current->most)
        return layerError(GL_STACK_OVERFLOW);
    current->held.push_back(current->held.back());
}

void webPopMatrix(void)
{
    if (current->held.size() == 1)
        return layerError(GL_STACK_UNDERFLOW);
    current->held.pop_back();
    positionStale = true;
}

void webTranslated(GLdouble x, GLdouble y, GLdouble z)
{
    multiply({{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}});
}

void webScaled(GLdouble x, GLdouble y, GLdouble z)
{
    multiply({{x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}});
}

// Degrees about the axis (x, y, z), as glRotate defines it.
void webRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0)
        return;
    x /= length, y /= length, z /= length;
    const double radians = angle * M_PI / 180.0;
    const double c = std::cos(radians), s = std::sin(radians), d = 1 - c;
    multiply({{x * x * d + c, y * x * d + z * s, x * z * d - y * s, 0,
               x * y * d - z * s, y * y * d + c, y * z * d + x * s, 0,
               x * z * d + y * s, y * z * d - x * s, z * z * d + c, 0,
               0, 0, 0, 1}});
}

void webOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near, GLdouble far)
{
    if (left == right || bottom == top || near == far)
        return layerError(GL_INVALID_VALUE);
    multiply({{2 / (right - left), 0, 0, 0, 0, 2 / (top - bottom), 0, 0, 0, 0, -2 / (far - near), 0,
               -(right + left) / (right - left), -(top + bottom) / (top - bottom),
               -(far + near) / (far - near), 1}});
}
