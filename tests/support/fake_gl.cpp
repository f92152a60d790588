#include "fakes.h"

#include <charconv>
#include <cstdio>

std::vector<std::string> callLog;
FakeGl fakeGl;

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

namespace {

std::string name(GLenum value)
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

std::string args(std::initializer_list<std::string> parts)
{
    std::string text = "(";
    for (const auto &part : parts) {
        if (text.size() > 1)
            text += ", ";
        text += part;
    }
    return text + ")";
}

void record(const char *call, std::initializer_list<std::string> parts = {})
{
    callLog.push_back(call + args(parts));
}

std::string str(long value) { return std::to_string(value); }

} // namespace

// Formats the call only while recording, so that a quiet stand-in allocates
// nothing of its own.
#define RECORD(...)                  \
    do {                             \
        if (fakeGl.recording)        \
            record(__VA_ARGS__);     \
    } while (0)

extern "C" {

void glClear(GLbitfield mask) { RECORD("glClear", {name(mask)}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    RECORD("glClearColor", {fmt(r), fmt(g), fmt(b), fmt(a)});
}
void glBlendFunc(GLenum s, GLenum d) { RECORD("glBlendFunc", {name(s), name(d)}); }
void glShadeModel(GLenum mode) { RECORD("glShadeModel", {name(mode)}); }
void glMatrixMode(GLenum mode) { RECORD("glMatrixMode", {name(mode)}); }
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f)
{
    RECORD("glOrtho", {fmt(l), fmt(r), fmt(b), fmt(t), fmt(n), fmt(f)});
}
void glLoadIdentity() { RECORD("glLoadIdentity"); }
void glPushMatrix()
{
    RECORD("glPushMatrix");
    if (++fakeGl.depth > fakeGl.deepest)
        fakeGl.deepest = fakeGl.depth;
}
void glPopMatrix()
{
    RECORD("glPopMatrix");
    --fakeGl.depth;
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) { RECORD("glTranslated", {fmt(x), fmt(y), fmt(z)}); }
void glScaled(GLdouble x, GLdouble y, GLdouble z) { RECORD("glScaled", {fmt(x), fmt(y), fmt(z)}); }
void glRotated(GLdouble a, GLdouble x, GLdouble y, GLdouble z)
{
    RECORD("glRotated", {fmt(a), fmt(x), fmt(y), fmt(z)});
}
void glBegin(GLenum mode) { RECORD("glBegin", {name(mode)}); }
void glEnd() { RECORD("glEnd"); }
void glColor3d(GLdouble r, GLdouble g, GLdouble b) { RECORD("glColor3d", {fmt(r), fmt(g), fmt(b)}); }
void glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a)
{
    RECORD("glColor4d", {fmt(r), fmt(g), fmt(b), fmt(a)});
}
void glVertex2i(GLint x, GLint y) { RECORD("glVertex2i", {str(x), str(y)}); }
void glTexCoord2i(GLint s, GLint t) { RECORD("glTexCoord2i", {str(s), str(t)}); }
void glEnable(GLenum cap)
{
    RECORD("glEnable", {name(cap)});
    fakeGl.enabled.insert(cap);
}
void glDisable(GLenum cap)
{
    RECORD("glDisable", {name(cap)});
    fakeGl.enabled.erase(cap);
}
void glGenTextures(GLsizei n, GLuint *names)
{
    RECORD("glGenTextures", {str(n)});
    for (GLsizei i = 0; i < n; ++i)
        names[i] = fakeGl.nextName ? fakeGl.nextName++ : 0;
}
void glBindTexture(GLenum target, GLuint texture)
{
    RECORD("glBindTexture", {name(target), str(texture)});
    fakeGl.bound[target] = texture;
}
void glTexParameteri(GLenum target, GLenum pname, GLint param)
{
    RECORD("glTexParameteri", {name(target), name(pname), name(static_cast<GLenum>(param))});
}
void glTexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
                  GLenum format, GLenum type, const GLvoid *)
{
    RECORD("glTexImage2D", {name(target), str(level), name(static_cast<GLenum>(internal)), str(w),
                            str(h), str(border), name(format), name(type)});
}
const GLubyte *glGetString(GLenum what)
{
    RECORD("glGetString", {name(what)});
    static const char renderer[] = "recording stand-in";
    const char *text = what == GL_EXTENSIONS ? fakeGl.extensions.c_str() : renderer;
    return reinterpret_cast<const GLubyte *>(text);
}
void glGetIntegerv(GLenum what, GLint *value)
{
    RECORD("glGetIntegerv", {name(what)});
    *value = fakeGl.largestTexture;
}

} // extern "C"
