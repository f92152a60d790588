#include "recording/replay.h"

#include <GL/gl.h>

#include "recording/texture_slots.h"

void replayFrame(const Recording &recording, std::size_t index)
{
    const Mark from = recording.frames.at(index), to = recording.frames.at(index + 1);
    const std::int32_t *i = recording.ints.data() + from.ints;
    const double *d = recording.reals.data() + from.reals;
    for (std::size_t k = from.op; k < to.op; ++k) {
        switch (recording.ops[k]) {
        case Op::clear: glClear(static_cast<GLbitfield>(i[0])); i += 1; break;
        case Op::loadIdentity: glLoadIdentity(); break;
        case Op::pushMatrix: glPushMatrix(); break;
        case Op::popMatrix: glPopMatrix(); break;
        case Op::translated: glTranslated(d[0], d[1], d[2]); d += 3; break;
        case Op::scaled: glScaled(d[0], d[1], d[2]); d += 3; break;
        case Op::rotated: glRotated(d[0], d[1], d[2], d[3]); d += 4; break;
        case Op::begin: glBegin(static_cast<GLenum>(i[0])); i += 1; break;
        case Op::end: glEnd(); break;
        case Op::color3d: glColor3d(d[0], d[1], d[2]); d += 3; break;
        case Op::color4d: glColor4d(d[0], d[1], d[2], d[3]); d += 4; break;
        case Op::vertex2i: glVertex2i(i[0], i[1]); i += 2; break;
        case Op::texCoord2i: glTexCoord2i(i[0], i[1]); i += 2; break;
        case Op::enable: glEnable(static_cast<GLenum>(i[0])); i += 1; break;
        case Op::disable: glDisable(static_cast<GLenum>(i[0])); i += 1; break;
        case Op::bindTexture:
            glBindTexture(static_cast<GLenum>(i[0]), static_cast<GLuint>(slotTexture(i[1])));
            i += 2;
            break;
        // Start-up's calls: the reader refuses a frame that holds one.
        case Op::clearColor: case Op::blendFunc: case Op::shadeModel: case Op::matrixMode: case Op::ortho:
        case Op::genTextures: case Op::texParameteri: case Op::texImage2D: case Op::getString:
        case Op::getIntegerv:
            break;
        }
    }
}
