#include "recording/records.h"

#include <array>
#include <cstring>
#include <stdexcept>
#include <string>

#include "draw/scenes/slots.h"  // kSlotCount: the slots a frame may bind

namespace {

constexpr char kMagic[] = "VORLEX GL RECORDING 2\n";

// A frame block's lengths: calls, integer arguments, real arguments.
using Counts = std::array<std::uint32_t, 3>;
// Far beyond a real frame (a few thousand calls), small enough to allocate:
// a damaged length must not turn into a huge allocation.
constexpr std::uint32_t kMostPerFrame = 1u << 24;

template <typename T>
bool writeItems(const T *items, std::size_t n, std::FILE *out)
{
    return std::fwrite(items, sizeof(T), n, out) == n;
}

template <typename T>
void readItems(std::vector<T> &into, std::size_t n, std::FILE *in, const std::string &where)
{
    const std::size_t at = into.size();
    into.resize(at + n);
    if (std::fread(into.data() + at, sizeof(T), n, in) != n)
        throw std::runtime_error("the recording ends inside " + where);
}

// Checks the frame that r's last two marks enclose.
void checkFrame(const Recording &r, const std::string &frame)
{
    const Mark from = r.frames[r.frames.size() - 2], to = r.frames.back();
    std::size_t ints = from.ints, reals = from.reals;
    for (std::size_t i = from.op; i < to.op; ++i) {
        const int code = static_cast<int>(r.ops[i]);
        if (code >= kOpCount)
            throw std::runtime_error(frame + ": unknown opcode " + std::to_string(code));
        const OpInfo &takes = infoOf(r.ops[i]);
        if (code >= kFrameOpCount)
            throw std::runtime_error(frame + " calls " + takes.name + ", which only start-up makes");
        if (r.ops[i] == Op::bindTexture && ints + 1 < to.ints) {
            const std::int32_t slot = r.ints[ints + 1];
            if (slot < 0 || slot >= kSlotCount)
                throw std::runtime_error(frame + " binds texture slot " + std::to_string(slot) +
                                         ", which does not exist");
        }
        ints += static_cast<std::size_t>(takes.ints);
        reals += static_cast<std::size_t>(takes.reals);
    }
    if (ints != to.ints || reals != to.reals)
        throw std::runtime_error(frame + ": its calls do not take exactly its arguments");
}

} // namespace

void Recording::clear()
{
    ops.clear();
    ints.clear();
    reals.clear();
    frames.clear();
}

const OpInfo &infoOf(Op op)
{
    static constexpr OpInfo kInfo[kOpCount] = {
        {"glClear", 1, 0, 1},
        {"glLoadIdentity", 0, 0, 0},
        {"glPushMatrix", 0, 0, 0},
        {"glPopMatrix", 0, 0, 0},
        {"glTranslated", 0, 3, 0},
        {"glScaled", 0, 3, 0},
        {"glRotated", 0, 4, 0},
        {"glBegin", 1, 0, 1},
        {"glEnd", 0, 0, 0},
        {"glColor3d", 0, 3, 0},
        {"glColor4d", 0, 4, 0},
        {"glVertex2i", 2, 0, 0},
        {"glTexCoord2i", 2, 0, 0},
        {"glEnable", 1, 0, 1},
        {"glDisable", 1, 0, 1},
        {"glBindTexture", 2, 0, 1},
        {"glClearColor", 0, 4, 0},
        {"glBlendFunc", 2, 0, 3},
        {"glShadeModel", 1, 0, 1},
        {"glMatrixMode", 1, 0, 1},
        {"glOrtho", 0, 6, 0},
        {"glGenTextures", 1, 0, 0},
        {"glTexParameteri", 3, 0, 7},
        {"glTexImage2D", 8, 0, 0b11000101},
        {"glGetString", 1, 0, 1},
        {"glGetIntegerv", 1, 0, 1},
    };
    return kInfo[static_cast<int>(op)];
}

bool writeHeader(std::FILE *out)
{
    return writeItems(kMagic, sizeof kMagic - 1, out);
}

bool writeFrame(const Recording &recording, std::size_t index, std::FILE *out)
{
    const Mark from = recording.frames.at(index), to = recording.frames.at(index + 1);
    const Counts counts = {static_cast<std::uint32_t>(to.op - from.op), static_cast<std::uint32_t>(to.ints - from.ints),
                           static_cast<std::uint32_t>(to.reals - from.reals)};
    return writeItems(counts.data(), counts.size(), out) &&
           writeItems(recording.ops.data() + from.op, counts[0], out) &&
           writeItems(recording.ints.data() + from.ints, counts[1], out) &&
           writeItems(recording.reals.data() + from.reals, counts[2], out);
}

RecordingReader::RecordingReader(std::FILE *in) : in_(in)
{
    char magic[sizeof kMagic - 1];
    if (std::fread(magic, 1, sizeof magic, in) != sizeof magic || std::memcmp(magic, kMagic, sizeof magic) != 0)
        throw std::runtime_error("not a recording of GL calls (wrong header)");
}

bool RecordingReader::next(Recording &into)
{
    Counts counts;
    const std::size_t got = std::fread(counts.data(), sizeof counts[0], counts.size(), in_);
    if (got == 0 && std::feof(in_))
        return false;
    const std::string frame = "frame " + std::to_string(read_ + 1);
    if (got != counts.size())
        throw std::runtime_error("the recording ends inside the lengths of " + frame);
    for (const std::uint32_t n : counts)
        if (n > kMostPerFrame)
            throw std::runtime_error(frame + " claims " + std::to_string(n) + " items, more than a frame holds");

    if (into.frames.empty())
        into.markFrame();
    readItems(into.ops, counts[0], in_, frame);
    readItems(into.ints, counts[1], in_, frame);
    readItems(into.reals, counts[2], in_, frame);
    into.markFrame();
    checkFrame(into, frame);
    ++read_;
    return true;
}

Recording readRecording(std::FILE *in)
{
    RecordingReader reader(in);
    Recording recording;
    while (reader.next(recording)) {
    }
    return recording;
}
