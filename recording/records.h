// GL calls as compact records: an opcode per call and its arguments in two
// flat streams, integers and doubles, with no text, and the binary stream of
// frames they are written to. Whoever makes them or issues them again uses
// this format; it knows neither.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// Every GL call the program makes: first those a frame makes, then those
// only start-up makes, which a frame's recording never holds.
enum class Op : std::uint8_t {
    clear,          // ints: mask
    loadIdentity,
    pushMatrix,
    popMatrix,
    translated,     // reals: x, y, z
    scaled,         // reals: x, y, z
    rotated,        // reals: angle, x, y, z
    begin,          // ints: mode
    end,
    color3d,        // reals: r, g, b
    color4d,        // reals: r, g, b, a
    vertex2i,       // ints: x, y
    texCoord2i,     // ints: s, t
    enable,         // ints: capability
    disable,        // ints: capability
    bindTexture,    // ints: target, texture (in a frame's records: its slot, see texture_slots.h)
    clearColor,     // reals: r, g, b, a
    blendFunc,      // ints: source, destination
    shadeModel,     // ints: mode
    matrixMode,     // ints: mode
    ortho,          // reals: left, right, bottom, top, near, far
    genTextures,    // ints: count
    texParameteri,  // ints: target, parameter, value
    texImage2D,     // ints: target, level, internal format, width, height, border, format, type
    getString,      // ints: what
    getIntegerv,    // ints: what
};
constexpr int kFrameOpCount = static_cast<int>(Op::bindTexture) + 1;
constexpr int kOpCount = static_cast<int>(Op::getIntegerv) + 1;

// What one op is: the GL function's name, how many ints and reals its
// arguments take, and which of the ints are GL enums (bit i for int i), for
// the text the tests read.
struct OpInfo {
    const char *name;
    int ints;
    int reals;
    unsigned enums;
};
const OpInfo &infoOf(Op op);
constexpr int kMostInts = 8, kMostReals = 6;  // glTexImage2D's, glOrtho's

// Where a frame's records begin in each stream.
struct Mark {
    std::size_t op, ints, reals;
};

struct Recording {
    std::vector<Op> ops;
    std::vector<std::int32_t> ints;
    std::vector<double> reals;
    // frames[k] is where frame k + 1 begins; frames.back() is the end of the
    // last frame, so there are frameCount() + 1 marks.
    std::vector<Mark> frames;

    std::size_t frameCount() const { return frames.empty() ? 0 : frames.size() - 1; }
    // Closes the frame being recorded, if any, and starts the next one at
    // the current end of the streams.
    void markFrame() { frames.push_back({ops.size(), ints.size(), reals.size()}); }
    // Empty again, keeping the storage: a stream of frames read one at a
    // time into the same recording allocates only while it grows.
    void clear();
};

// The binary stream: a header, then one block per frame, written as each
// frame is drawn, so that neither side needs to hold them all. Writers
// return false on a write error.
bool writeHeader(std::FILE *out);
bool writeFrame(const Recording &recording, std::size_t index, std::FILE *out);

// Reads a stream that writeHeader and writeFrame wrote, checking that every
// frame's ops take exactly that frame's arguments and bind only existing
// slots. Throws std::runtime_error with the reason on anything else.
class RecordingReader {
public:
    explicit RecordingReader(std::FILE *in);  // reads the header
    // Appends the next frame to `into`; false at the end of the stream.
    bool next(Recording &into);

private:
    std::FILE *in_;
    std::size_t read_ = 0;
};

// Every frame of the stream.
Recording readRecording(std::FILE *in);
