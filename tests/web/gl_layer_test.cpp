// The page's GL layer (src/web) on the host, its WebGL calls (device.h)
// recorded: where batching can go wrong.
#include <gtest/gtest.h>

#include <vector>

#include "web/gl_layer.h"
#include "web/webgl.h"

namespace {

struct Draw {
    bool lines;
    unsigned texture;
    bool blend;
    std::vector<float> vertices;  // ten floats each, as device.h lays them out
    float at(int vertex, int field) const { return vertices[vertex * 10 + field]; }
    int count() const { return static_cast<int>(vertices.size() / 10); }
};
std::vector<Draw> draws;
int rebuilds = 0;

} // namespace

extern "C" {
void webglDraw(int lines, unsigned texture, int blend, unsigned, unsigned, const float *vertices, int count)
{
    draws.push_back({lines != 0, texture, blend != 0, {vertices, vertices + count * 10}});
}
void webglClear(unsigned, float, float, float, float) {}
void webglTexImage(unsigned, int, int, unsigned, unsigned, const void *) {}
void webglTexParameter(unsigned, unsigned, int) {}
int webglMaxTextureSize(void) { return 4096; }
unsigned webglError(void) { return GL_NO_ERROR; }
void webglRebuild(void) { ++rebuilds; }
}

namespace {

// Clip space is the model-view's space here: the projection stays the identity.
class GlLayer : public testing::Test {
protected:
    void SetUp() override
    {
        layerFinishFrame();
        draws.clear();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_RECTANGLE_ARB);
        glEnable(GL_BLEND);
        glShadeModel(GL_SMOOTH);
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

TEST_F(GlLayer, QuadsBecomeTrianglesAndMatrixChangesStayInOneBatch)
{
    glPushMatrix();
    glTranslated(10, 20, 0);
    quad(2);
    glPopMatrix();
    quad(2);  // the stack gave back the untranslated matrix
    layerFinishFrame();
    ASSERT_EQ(draws.size(), 1u);
    const Draw &d = draws[0];
    ASSERT_EQ(d.count(), 12);
    EXPECT_FALSE(d.lines);
    const int corners[6][2] = {{0, 0}, {2, 0}, {2, 2}, {0, 0}, {2, 2}, {0, 2}};
    for (int v = 0; v < 12; ++v) {
        const int shift = v < 6 ? 1 : 0;
        EXPECT_EQ(d.at(v, 0), corners[v % 6][0] + 10 * shift) << "vertex " << v;
        EXPECT_EQ(d.at(v, 1), corners[v % 6][1] + 20 * shift) << "vertex " << v;
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
    ASSERT_EQ(draws.size(), 1u);
    const float expected[2][4] = {{100 / 320.0f - 1, 1 - 51 / 240.0f, -1, 1},
                                  {100 / 320.0f - 1, 1 - 71 / 240.0f, -1, 1}};
    for (int v = 0; v < 2; ++v)
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(draws[0].at(v, i), expected[v][i], 1e-6) << "vertex " << v << " field " << i;
}

// Each mode's vertices as the independent triangles or lines they make.
TEST_F(GlLayer, EveryModeBecomesTrianglesOrLines)
{
    const struct {
        GLenum mode;
        int given, drawn;
        bool lines;
    } cases[] = {
        {GL_LINES, 5, 4, true},          {GL_LINE_STRIP, 4, 6, true},      {GL_LINE_LOOP, 4, 8, true},
        {GL_TRIANGLES, 7, 6, false},     {GL_TRIANGLE_STRIP, 5, 9, false}, {GL_TRIANGLE_FAN, 5, 9, false},
        {GL_QUADS, 9, 12, false},        {GL_QUAD_STRIP, 6, 12, false},    {GL_POLYGON, 5, 9, false},
    };
    for (const auto &c : cases) {
        draws.clear();
        glBegin(c.mode);
        for (int v = 0; v < c.given; ++v)
            glVertex2i(v, v * v);
        glEnd();
        layerFinishFrame();
        ASSERT_EQ(draws.size(), 1u) << "mode " << c.mode;
        EXPECT_EQ(draws[0].count(), c.drawn) << "mode " << c.mode;
        EXPECT_EQ(draws[0].lines, c.lines) << "mode " << c.mode;
    }
}

TEST_F(GlLayer, StateChangesAndTextureSwitchesEndABatch)
{
    GLuint names[2];
    glGenTextures(2, names);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, names[1]);
    glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, 4, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, names[0]);
    quad(1);
    glEnable(GL_TEXTURE_RECTANGLE_ARB);  // takes precedence over the 2D target
    quad(2);
    glDisable(GL_BLEND);
    quad(2);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINE_LOOP);
    glVertex2i(0, 0), glVertex2i(1, 0), glVertex2i(1, 1);
    glEnd();
    layerFinishFrame();

    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].texture, names[0]);
    EXPECT_EQ(draws[1].texture, names[1]);
    EXPECT_TRUE(draws[1].blend);
    EXPECT_FALSE(draws[2].blend);
    EXPECT_EQ(draws[3].texture, 0u);
    EXPECT_TRUE(draws[3].lines);
    EXPECT_EQ(draws[3].count(), 6);  // the loop closed by a third line
    // A rectangle texture's texel coordinates come out divided by its size.
    EXPECT_FLOAT_EQ(draws[1].at(2, 4), 2.0f / 4);
    EXPECT_FLOAT_EQ(draws[1].at(2, 5), 2.0f / 8);
    EXPECT_FLOAT_EQ(draws[0].at(2, 4), 1.0f);
}

// The crosshair sets its colour after glBegin; flat shading takes each
// primitive's last vertex's colour for a quad.
TEST_F(GlLayer, ColoursAsGlGivesThem)
{
    glShadeModel(GL_FLAT);
    glBegin(GL_QUADS);
    glColor3d(0, 0, 1);
    glVertex2i(0, 0), glVertex2i(1, 0), glVertex2i(1, 1);
    glColor4d(1, 0, 0, 2);  // clamped to 1
    glVertex2i(0, 1);
    glEnd();
    layerFinishFrame();
    ASSERT_EQ(draws.size(), 1u);
    for (int v = 0; v < 6; ++v)
        EXPECT_EQ(std::vector<float>(draws[0].vertices.begin() + v * 10 + 6, draws[0].vertices.begin() + v * 10 + 10),
                  std::vector<float>({1, 0, 0, 1}));
}

TEST_F(GlLayer, ALostContextDropsThePendingBatchAndKeepsTheMatrices)
{
    glTranslated(5, 0, 0);
    quad(1);
    const int before = rebuilds;
    layerRebuild();
    EXPECT_EQ(rebuilds, before + 1);
    quad(1);
    layerFinishFrame();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].count(), 6);
    EXPECT_EQ(draws[0].at(0, 0), 5.0f);
}

TEST_F(GlLayer, MisuseIsAGlError)
{
    glPopMatrix();
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_UNDERFLOW));
    glBegin(GL_POINTS);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
    GLuint name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));  // the device uploads RGBA bytes alone
}

} // namespace
