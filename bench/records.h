// Frames of GL calls as compact records: an opcode per call and its
// arguments in two flat streams, integers and doubles, with no text. The
// recording GL stand-in (recording_gl.cpp) writes them; replay.cpp issues them
// again against whatever GL it is linked with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "scenes/slots.h"  // kSlotCount, textureTable

// Every call a frame makes. Start-up calls have no opcode: a recording that
// met one would not be a frame.
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
    bindTexture,    // ints: target, texture slot (see textureSlot)
};
constexpr int kOpCount = static_cast<int>(Op::bindTexture) + 1;

// How many ints and reals the arguments of one op take.
struct Operands {
    int ints;
    int reals;
};
Operands operandsOf(Op op);

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

// Texture names are recorded as the index of the slot that held them, 0 to
// kSlotCount - 1 in the order inits() fills them, so that a recording made
// against stand-in names replays against the names the real GL gave.
int textureSlot(unsigned long name);           // -1 when no slot holds it
unsigned long slotTexture(int slot);           // the name the slot holds now
void setSlotTexture(int slot, unsigned long name);

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
