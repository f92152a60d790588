#include "recording_gl.h"

#include <SDL_opengl.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

Recording *glRecording;

void standInTextures()
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        setSlotTexture(slot, static_cast<unsigned long>(slot + 1));
}

namespace {

void put(Op op, std::initializer_list<std::int32_t> ints = {}, std::initializer_list<double> reals = {})
{
    glRecording->ops.push_back(op);
    glRecording->ints.insert(glRecording->ints.end(), ints);
    glRecording->reals.insert(glRecording->reals.end(), reals);
}

[[noreturn]] void notInFrame(const char *call)
{
    std::fprintf(stderr, "%s: the frame called %s, which only start-up may call; "
                         "its recording could not be replayed\n", program_invocation_short_name, call);
    std::exit(1);
}

} // namespace

extern "C" {

void glClear(GLbitfield mask)
{
    if (glRecording)
        put(Op::clear, {static_cast<std::int32_t>(mask)});
}
void glLoadIdentity()
{
    if (glRecording)
        put(Op::loadIdentity);
}
void glPushMatrix()
{
    if (glRecording)
        put(Op::pushMatrix);
}
void glPopMatrix()
{
    if (glRecording)
        put(Op::popMatrix);
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z)
{
    if (glRecording)
        put(Op::translated, {}, {x, y, z});
}
void glScaled(GLdouble x, GLdouble y, GLdouble z)
{
    if (glRecording)
        put(Op::scaled, {}, {x, y, z});
}
void glRotated(GLdouble a, GLdouble x, GLdouble y, GLdouble z)
{
    if (glRecording)
        put(Op::rotated, {}, {a, x, y, z});
}
void glBegin(GLenum mode)
{
    if (glRecording)
        put(Op::begin, {static_cast<std::int32_t>(mode)});
}
void glEnd()
{
    if (glRecording)
        put(Op::end);
}
void glColor3d(GLdouble r, GLdouble g, GLdouble b)
{
    if (glRecording)
        put(Op::color3d, {}, {r, g, b});
}
void glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a)
{
    if (glRecording)
        put(Op::color4d, {}, {r, g, b, a});
}
void glVertex2i(GLint x, GLint y)
{
    if (glRecording)
        put(Op::vertex2i, {x, y});
}
void glTexCoord2i(GLint s, GLint t)
{
    if (glRecording)
        put(Op::texCoord2i, {s, t});
}
void glEnable(GLenum cap)
{
    if (glRecording)
        put(Op::enable, {static_cast<std::int32_t>(cap)});
}
void glDisable(GLenum cap)
{
    if (glRecording)
        put(Op::disable, {static_cast<std::int32_t>(cap)});
}
void glBindTexture(GLenum target, GLuint texture)
{
    if (!glRecording)
        return;
    const int slot = textureSlot(texture);
    if (slot < 0) {
        std::fprintf(stderr, "%s: the frame bound texture %u, which no texture slot holds\n",
                     program_invocation_short_name, texture);
        std::exit(1);
    }
    put(Op::bindTexture, {static_cast<std::int32_t>(target), slot});
}

void glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) { notInFrame("glClearColor"); }
void glBlendFunc(GLenum, GLenum) { notInFrame("glBlendFunc"); }
void glShadeModel(GLenum) { notInFrame("glShadeModel"); }
void glMatrixMode(GLenum) { notInFrame("glMatrixMode"); }
void glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) { notInFrame("glOrtho"); }
void glGenTextures(GLsizei, GLuint *) { notInFrame("glGenTextures"); }
void glTexParameteri(GLenum, GLenum, GLint) { notInFrame("glTexParameteri"); }
void glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid *)
{
    notInFrame("glTexImage2D");
}
const GLubyte *glGetString(GLenum) { notInFrame("glGetString"); }
void glGetIntegerv(GLenum, GLint *) { notInFrame("glGetIntegerv"); }

} // extern "C"
