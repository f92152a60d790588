#include "recording/recording_gl.h"

#include <GL/glext.h>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "recording/texture_slots.h"

FakeGl fakeGl;
std::vector<std::string> callLog;
Recording *glRecording;

void resetFakeGl()
{
    callLog.clear();
    fakeGl = FakeGl{};
}

std::string fmt(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::vector<std::string> callsFrom(std::size_t from, const std::string &prefix)
{
    std::vector<std::string> found;
    for (std::size_t i = from; i < callLog.size(); ++i)
        if (callLog[i].compare(0, prefix.size(), prefix) == 0)
            found.push_back(callLog[i]);
    return found;
}

void standInTextures()
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        setSlotTexture(slot, static_cast<GLuint>(slot + 1));
}

namespace {

using Ints = std::initializer_list<std::int32_t>;
using Reals = std::initializer_list<double>;

std::string enumName(GLenum value)
{
    switch (value) {
    case GL_LINES: return "GL_LINES";
    case GL_LINE_LOOP: return "GL_LINE_LOOP";
    case GL_QUADS: return "GL_QUADS";
    case GL_TEXTURE_2D: return "GL_TEXTURE_2D";
    case GL_TEXTURE_RECTANGLE_ARB: return "GL_TEXTURE_RECTANGLE_ARB";
    case GL_BLEND: return "GL_BLEND";
    case GL_SRC_ALPHA: return "GL_SRC_ALPHA";
    case GL_ONE_MINUS_SRC_ALPHA: return "GL_ONE_MINUS_SRC_ALPHA";
    case GL_FLAT: return "GL_FLAT";
    case GL_PROJECTION: return "GL_PROJECTION";
    case GL_MODELVIEW: return "GL_MODELVIEW";
    case GL_TEXTURE_MAG_FILTER: return "GL_TEXTURE_MAG_FILTER";
    case GL_TEXTURE_MIN_FILTER: return "GL_TEXTURE_MIN_FILTER";
    case GL_NEAREST: return "GL_NEAREST";
    case GL_RGBA: return "GL_RGBA";
    case GL_UNSIGNED_BYTE: return "GL_UNSIGNED_BYTE";
    case GL_EXTENSIONS: return "GL_EXTENSIONS";
    case GL_RENDERER: return "GL_RENDERER";
    case GL_MAX_TEXTURE_SIZE: return "GL_MAX_TEXTURE_SIZE";
    case GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB: return "GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB";
    case GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT: return "GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT";
    default: {
        char text[16];
        std::snprintf(text, sizeof text, "0x%04X", value);
        return text;
    }
    }
}

void logCall(const OpInfo &info, Ints ints, Reals reals)
{
    std::string text = info.name;
    text += '(';
    int i = 0;
    for (const std::int32_t value : ints) {
        text += i ? ", " : "";
        text += info.enums >> i & 1 ? enumName(static_cast<GLenum>(value)) : std::to_string(value);
        ++i;
    }
    for (const double value : reals) {
        text += i++ ? ", " : "";
        text += fmt(value);
    }
    callLog.push_back(text + ")");
}

void keepRecord(Op op, const OpInfo &info, Ints ints, Reals reals)
{
    if (static_cast<int>(op) >= kFrameOpCount) {
        std::fprintf(stderr, "%s: the frame called %s, which only start-up may call; "
                             "its recording could not be replayed\n", program_invocation_short_name, info.name);
        std::exit(1);
    }
    glRecording->ops.push_back(op);
    glRecording->ints.insert(glRecording->ints.end(), ints);
    glRecording->reals.insert(glRecording->reals.end(), reals);
    if (op == Op::bindTexture) {
        const auto name = static_cast<GLuint>(glRecording->ints.back());
        const int slot = textureSlot(name);
        if (slot < 0) {
            std::fprintf(stderr, "%s: the frame bound texture %u, which no texture slot holds\n",
                         program_invocation_short_name, name);
            std::exit(1);
        }
        glRecording->ints.back() = slot;
    }
}

// The one path of every call: its record to the sinks that are on.
void take(Op op, Ints ints = {}, Reals reals = {})
{
    const OpInfo &info = infoOf(op);
    if (fakeGl.recording)
        logCall(info, ints, reals);
    if (glRecording)
        keepRecord(op, info, ints, reals);
}

std::int32_t arg(GLenum value) { return static_cast<std::int32_t>(value); }

} // namespace

extern "C" {

void glClear(GLbitfield mask) { take(Op::clear, {arg(mask)}); }
void glLoadIdentity() { take(Op::loadIdentity); }
void glPushMatrix()
{
    take(Op::pushMatrix);
    fakeGl.deepest = std::max(fakeGl.deepest, ++fakeGl.depth);
}
void glPopMatrix()
{
    take(Op::popMatrix);
    --fakeGl.depth;
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) { take(Op::translated, {}, {x, y, z}); }
void glScaled(GLdouble x, GLdouble y, GLdouble z) { take(Op::scaled, {}, {x, y, z}); }
void glRotated(GLdouble a, GLdouble x, GLdouble y, GLdouble z) { take(Op::rotated, {}, {a, x, y, z}); }
void glBegin(GLenum mode) { take(Op::begin, {arg(mode)}); }
void glEnd() { take(Op::end); }
void glColor3d(GLdouble r, GLdouble g, GLdouble b) { take(Op::color3d, {}, {r, g, b}); }
void glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a) { take(Op::color4d, {}, {r, g, b, a}); }
void glVertex2i(GLint x, GLint y) { take(Op::vertex2i, {x, y}); }
void glTexCoord2i(GLint s, GLint t) { take(Op::texCoord2i, {s, t}); }
void glEnable(GLenum cap)
{
    take(Op::enable, {arg(cap)});
    fakeGl.enabled.insert(cap);
}
void glDisable(GLenum cap)
{
    take(Op::disable, {arg(cap)});
    fakeGl.enabled.erase(cap);
}
void glBindTexture(GLenum target, GLuint texture)
{
    take(Op::bindTexture, {arg(target), static_cast<std::int32_t>(texture)});
    fakeGl.bound[target] = texture;
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { take(Op::clearColor, {}, {r, g, b, a}); }
void glBlendFunc(GLenum s, GLenum d) { take(Op::blendFunc, {arg(s), arg(d)}); }
void glShadeModel(GLenum mode) { take(Op::shadeModel, {arg(mode)}); }
void glMatrixMode(GLenum mode) { take(Op::matrixMode, {arg(mode)}); }
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f)
{
    take(Op::ortho, {}, {l, r, b, t, n, f});
}
void glGenTextures(GLsizei n, GLuint *names)
{
    take(Op::genTextures, {n});
    for (GLsizei i = 0; i < n; ++i)
        names[i] = fakeGl.nextName ? fakeGl.nextName++ : 0;
}
void glTexParameteri(GLenum target, GLenum pname, GLint param)
{
    take(Op::texParameteri, {arg(target), arg(pname), param});
}
void glTexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
                  GLenum format, GLenum type, const GLvoid *)
{
    take(Op::texImage2D, {arg(target), level, internal, w, h, border, arg(format), arg(type)});
}
const GLubyte *glGetString(GLenum what)
{
    take(Op::getString, {arg(what)});
    static const char renderer[] = "recording stand-in";
    const char *text = what == GL_EXTENSIONS ? fakeGl.extensions.c_str() : renderer;
    return reinterpret_cast<const GLubyte *>(text);
}
void glGetIntegerv(GLenum what, GLint *value)
{
    take(Op::getIntegerv, {arg(what)});
    *value = fakeGl.largestTexture;
}

} // extern "C"
