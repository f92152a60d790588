// The page's GL layer (src/web) on the host, every WebGL call it makes
// (device.h) recorded in order: what a frame sends, and where batching can
// go wrong.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "web/gl_layer.h"
#include "web/webgl.h"

namespace {

std::string said(const char *format, ...)
{
    char line[160];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    return line;
}

// Each device call as one line; the test's expectations are made by the same words.
std::string draw(bool lines, unsigned texture, bool blend, unsigned src, unsigned dst, int count)
{
    return said("draw %s texture %u blend %d %#x %#x, %d vertices", lines ? "lines" : "triangles", texture,
                blend, src, dst, count);
}
std::string clear(unsigned mask, float red, float green, float blue, float alpha)
{
    return said("clear %#x %g %g %g %g", mask, red, green, blue, alpha);
}
std::string texImage(unsigned texture, int width, int height, unsigned format, unsigned type)
{
    return said("texImage %u %dx%d %#x %#x", texture, width, height, format, type);
}
std::string texParameter(unsigned texture, unsigned name, int value)
{
    return said("texParameter %u %#x %#x", texture, name, value);
}

std::vector<std::string> calls;
std::vector<std::vector<float>> drawn;  // each draw's vertices, ten floats each, as device.h lays them out

float at(int draw, int vertex, int field)
{
    return drawn.at(draw).at(vertex * 10 + field);
}

} // namespace

extern "C" {
void webglDraw(int lines, unsigned texture, int blend, unsigned src, unsigned dst, const float *vertices, int count)
{
    calls.push_back(draw(lines, texture, blend, src, dst, count));
    drawn.emplace_back(vertices, vertices + count * 10);
}
void webglClear(unsigned mask, float red, float green, float blue, float alpha)
{
    calls.push_back(clear(mask, red, green, blue, alpha));
}
void webglTexImage(unsigned texture, int width, int height, unsigned format, unsigned type, const void *)
{
    calls.push_back(texImage(texture, width, height, format, type));
}
void webglTexParameter(unsigned texture, unsigned name, int value)
{
    calls.push_back(texParameter(texture, name, value));
}
int webglMaxTextureSize(void) { return 4096; }
unsigned webglError(void) { return GL_NO_ERROR; }
void webglRebuild(void) { calls.push_back("rebuild"); }
}

namespace {

const GLenum src = GL_SRC_ALPHA, dst = GL_ONE_MINUS_SRC_ALPHA;

// Clip space is the model-view's space here: the projection stays the
// identity. The render state is the program's.
class GlLayer : public testing::Test {
protected:
    void SetUp() override
    {
        layerFinishFrame();
        calls.clear(), drawn.clear();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_RECTANGLE_ARB);
        glClearColor(0, 0, 0, 1);
        glBlendFunc(src, dst);
        glEnable(GL_BLEND);
        glShadeModel(GL_FLAT);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }
};

void quad(int size)
{
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0), glVertex2i(0, 0);
    glTexCoord2i(size, 0), glVertex2i(size, 0);
    glTexCoord2i(size, size), glVertex2i(size, size);
    glTexCoord2i(0, size), glVertex2i(0, size);
    glEnd();
}

// A texture as the program loads one.
GLuint load(GLenum target, int width, int height)
{
    GLuint name;
    glGenTextures(1, &name);
    glBindTexture(target, name);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(target, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    return name;
}

// Start-up's uploads, then a frame as the program draws one: the clear, the
// crosshair and an outline in one batch of lines, a plain, a textured and a
// rectangle-textured square, and one drawn with other blend factors. Each
// state change is one draw; a clear draws the pending batch before it.
TEST_F(GlLayer, AFrameSendsItsUploadsClearsAndBatchesInOrder)
{
    const GLuint rect = load(GL_TEXTURE_RECTANGLE_ARB, 4, 8), pot = load(GL_TEXTURE_2D, 2, 2);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_LINES);
    glVertex2i(0, 1), glVertex2i(2, 1), glVertex2i(1, 0), glVertex2i(1, 2);
    glEnd();
    glBegin(GL_LINE_LOOP);
    glVertex2i(0, 0), glVertex2i(1, 0), glVertex2i(1, 1), glVertex2i(0, 1);
    glEnd();
    quad(1);
    glEnable(GL_TEXTURE_2D);
    quad(1);
    glEnable(GL_TEXTURE_RECTANGLE_ARB);
    quad(2);
    glBlendFunc(GL_ONE, GL_ZERO);
    quad(2);
    glClear(GL_COLOR_BUFFER_BIT);

    EXPECT_EQ(calls, std::vector<std::string>({
        texParameter(rect, GL_TEXTURE_MAG_FILTER, GL_NEAREST), texParameter(rect, GL_TEXTURE_MIN_FILTER, GL_NEAREST),
        texImage(rect, 4, 8, GL_RGBA, GL_UNSIGNED_BYTE),
        texParameter(pot, GL_TEXTURE_MAG_FILTER, GL_NEAREST), texParameter(pot, GL_TEXTURE_MIN_FILTER, GL_NEAREST),
        texImage(pot, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE),
        clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, 0, 0, 0, 1),
        draw(true, 0, true, src, dst, 12), draw(false, 0, true, src, dst, 6), draw(false, pot, true, src, dst, 6),
        draw(false, rect, true, src, dst, 6), draw(false, rect, true, GL_ONE, GL_ZERO, 6),
        clear(GL_COLOR_BUFFER_BIT, 0, 0, 0, 1)}));
    // A rectangle texture's texel coordinates come out divided by its size.
    EXPECT_FLOAT_EQ(at(3, 2, 4), 2.0f / 4);
    EXPECT_FLOAT_EQ(at(3, 2, 5), 2.0f / 8);
    EXPECT_FLOAT_EQ(at(2, 2, 4), 1.0f);
}

// A pending batch may sample a texture as it was: a new image or parameter
// of any texture comes after it.
TEST_F(GlLayer, UploadsAndParametersDrawThePendingBatchFirst)
{
    glEnable(GL_TEXTURE_2D);
    const GLuint name = load(GL_TEXTURE_2D, 1, 1);
    calls.clear();
    quad(1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    quad(1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    EXPECT_EQ(calls, std::vector<std::string>({draw(false, name, true, src, dst, 6),
                                               texParameter(name, GL_TEXTURE_MIN_FILTER, GL_LINEAR),
                                               draw(false, name, true, src, dst, 6),
                                               texImage(name, 2, 1, GL_RGBA, GL_UNSIGNED_BYTE)}));
}

TEST_F(GlLayer, QuadsBecomeTrianglesAndMatrixChangesStayInOneBatch)
{
    glPushMatrix();
    glTranslated(10, 20, 0);
    quad(2);
    glPopMatrix();
    quad(2);  // the stack gave back the untranslated matrix
    layerFinishFrame();
    ASSERT_EQ(calls, std::vector<std::string>({draw(false, 0, true, src, dst, 12)}));
    const int corners[6][2] = {{0, 0}, {2, 0}, {2, 2}, {0, 0}, {2, 2}, {0, 2}};
    for (int v = 0; v < 12; ++v) {
        const int shift = v < 6 ? 1 : 0;
        EXPECT_EQ(at(0, v, 0), corners[v % 6][0] + 10 * shift) << "vertex " << v;
        EXPECT_EQ(at(0, v, 1), corners[v % 6][1] + 20 * shift) << "vertex " << v;
    }
}

// The program's projection and a rotation, scale and translation as its scenes make them.
TEST_F(GlLayer, VerticesTakeTheMatricesAsGlAppliesThem)
{
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, 640.0, 479.0, -1.0, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glTranslated(100, 50, 0);
    glRotated(90, 0, 0, 1);  // y grows downwards: a quarter turn clockwise on screen
    glScaled(2, 2, 0);
    glBegin(GL_LINES);
    glVertex2i(0, 0), glVertex2i(10, 0);
    glEnd();
    layerFinishFrame();
    ASSERT_EQ(drawn.size(), 1u);
    const float expected[2][4] = {{100 / 320.0f - 1, 1 - 51 / 240.0f, -1, 1},
                                  {100 / 320.0f - 1, 1 - 71 / 240.0f, -1, 1}};
    for (int v = 0; v < 2; ++v)
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(at(0, v, i), expected[v][i], 1e-6) << "vertex " << v << " field " << i;
}

// Flat shading: each line or triangle takes the colour of the vertex GL
// names for it, the second of a line, the first for a loop's closing line,
// the last of a quad. The crosshair sets its colour after glBegin.
TEST_F(GlLayer, EachPrimitiveTakesItsProvokingVertexsColour)
{
    const struct {
        GLenum mode;
        std::vector<int> colourOf;  // of each vertex drawn, the vertex given
    } cases[] = {
        {GL_LINES, {1, 1, 3, 3}},
        {GL_LINE_LOOP, {1, 1, 2, 2, 3, 3, 0, 0}},
        {GL_QUADS, {3, 3, 3, 3, 3, 3}},
    };
    for (const auto &c : cases) {
        drawn.clear();
        glBegin(c.mode);
        for (int v = 0; v < 4; ++v) {
            glColor4d(v / 4.0, 0, 1, v == 3 ? 2 : 1);  // 2 is clamped to 1
            glVertex2i(v, v * v);
        }
        glEnd();
        layerFinishFrame();
        ASSERT_EQ(drawn.size(), 1u) << "mode " << c.mode;
        ASSERT_EQ(drawn[0].size(), c.colourOf.size() * 10) << "mode " << c.mode;
        for (size_t v = 0; v < c.colourOf.size(); ++v)
            EXPECT_EQ(std::vector<float>(drawn[0].begin() + v * 10 + 6, drawn[0].begin() + v * 10 + 10),
                      std::vector<float>({c.colourOf[v] / 4.0f, 0, 1, 1}))
                << "mode " << c.mode << " vertex " << v;
    }
}

// The stacks are as deep as GL's smallest: 32 model-view and 2 projection matrices.
TEST_F(GlLayer, AFullStackRefusesOneMorePush)
{
    for (const auto &stack : {std::make_pair(GL_MODELVIEW, 32), std::make_pair(GL_PROJECTION, 2)}) {
        glMatrixMode(stack.first);
        for (int held = 1; held < stack.second; ++held)
            glPushMatrix();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "matrix mode " << stack.first;
        glPushMatrix();
        EXPECT_EQ(glGetError(), GLenum(GL_STACK_OVERFLOW)) << "matrix mode " << stack.first;
        for (int held = 1; held < stack.second; ++held)
            glPopMatrix();
    }
    glMatrixMode(GL_MODELVIEW);
}

// After a lost context the pending batch is dropped and every texture
// forgotten, sizes too; the matrices go on.
TEST_F(GlLayer, ALostContextDropsTheBatchAndTexturesAndKeepsTheMatrices)
{
    const GLuint rect = load(GL_TEXTURE_RECTANGLE_ARB, 4, 8);
    glEnable(GL_TEXTURE_RECTANGLE_ARB);
    glTranslated(5, 0, 0);
    quad(1);
    calls.clear();
    layerRebuild();
    quad(2);
    layerFinishFrame();
    EXPECT_EQ(calls, std::vector<std::string>({"rebuild", draw(false, rect, true, src, dst, 6)}));
    EXPECT_EQ(at(0, 0, 0), 5.0f);
    EXPECT_EQ(at(0, 2, 4), 2.0f);  // no image, no size: the coordinate as given
}

// What the program never asks for is refused, as GL refuses what it does not know.
TEST_F(GlLayer, MisuseAndWhatTheProgramNeverUsesAreGlErrors)
{
    glPopMatrix();
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_UNDERFLOW));
    for (const GLenum mode : {GL_POINTS, GL_LINE_STRIP, GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN,
                              GL_QUAD_STRIP, GL_POLYGON}) {
        glBegin(mode);
        glVertex2i(0, 0), glVertex2i(1, 0), glVertex2i(1, 1), glVertex2i(0, 1);
        glEnd();
        EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM)) << "mode " << mode;
    }
    glMatrixMode(GL_TEXTURE);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
    GLuint name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));  // the device uploads RGBA bytes alone
    layerFinishFrame();
    EXPECT_EQ(calls, std::vector<std::string>());
}

} // namespace
