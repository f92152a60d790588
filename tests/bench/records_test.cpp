// The record stream: what is written reads back call for call, and a damaged
// stream is refused with a reason that names the frame, never replayed.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

#include "recording/records.h"
#include "recording/texture_slots.h"

namespace {

// Two frames that between them use every opcode.
Recording sample()
{
    Recording r;
    r.markFrame();
    r.ops = {Op::clear, Op::loadIdentity, Op::pushMatrix, Op::translated, Op::scaled, Op::rotated,
             Op::popMatrix, Op::enable, Op::bindTexture, Op::begin, Op::color3d, Op::texCoord2i,
             Op::vertex2i, Op::end};
    r.ints = {GL_COLOR_BUFFER_BIT, GL_TEXTURE_2D, GL_TEXTURE_2D, 9, GL_QUADS, 1, 2, 64, -3};
    r.reals = {1.5, -2.25, 0.0, 0.1, 0.2, 0.0, 359.0, 0.0, 0.0, 1.0, 0.0, 0.0, 1.0};
    r.markFrame();
    r.ops.insert(r.ops.end(), {Op::color4d, Op::disable});
    r.ints.push_back(GL_TEXTURE_2D);
    r.reals.insert(r.reals.end(), {1.0, 1.0, 1.0, 0.3333333333333333});
    r.markFrame();
    return r;
}

// The bytes of a stream, and a stream made of bytes.
std::string bytesOf(const std::function<void(std::FILE *)> &write)
{
    std::FILE *f = std::tmpfile();
    write(f);
    std::string bytes(static_cast<std::size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
    return bytes;
}

std::string streamOf(const Recording &r)
{
    return bytesOf([&](std::FILE *f) {
        ASSERT_TRUE(writeHeader(f));
        for (std::size_t k = 0; k < r.frameCount(); ++k)
            ASSERT_TRUE(writeFrame(r, k, f));
    });
}

Recording read(const std::string &bytes)
{
    std::FILE *f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    try {
        Recording r = readRecording(f);
        std::fclose(f);
        return r;
    } catch (...) {
        std::fclose(f);
        throw;
    }
}

// The reason a stream is refused with; empty when it is read.
std::string refusal(const std::string &bytes)
{
    try {
        read(bytes);
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return "";
}

// Offsets into the stream of sample(): the header, then per frame three
// 32-bit lengths, the ops, the ints, the reals.
const std::size_t kHeader = streamOf(Recording{}).size();
const std::size_t kFrame1Ops = kHeader + 12;
const std::size_t kFrame1Ints = kFrame1Ops + 14;

TEST(Records, ReadBackCallForCall)
{
    const Recording written = sample();
    const Recording back = read(streamOf(written));
    ASSERT_EQ(back.frameCount(), 2u);
    EXPECT_EQ(back.ops, written.ops);
    EXPECT_EQ(back.ints, written.ints);
    EXPECT_EQ(back.reals, written.reals);  // bit for bit: no text in between
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(back.frames[k].op, written.frames[k].op) << "mark " << k;
        EXPECT_EQ(back.frames[k].ints, written.frames[k].ints) << "mark " << k;
        EXPECT_EQ(back.frames[k].reals, written.frames[k].reals) << "mark " << k;
    }
}

TEST(Records, StreamReadOneFrameAtATime)
{
    const std::string bytes = streamOf(sample());
    std::FILE *f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    RecordingReader reader(f);
    Recording frame;
    ASSERT_TRUE(reader.next(frame));
    EXPECT_EQ(frame.ops.size(), 14u);
    frame.clear();
    ASSERT_TRUE(reader.next(frame));
    EXPECT_EQ(frame.frameCount(), 1u);
    EXPECT_EQ(frame.ops, (std::vector<Op>{Op::color4d, Op::disable}));
    EXPECT_EQ(frame.reals.back(), 0.3333333333333333);
    EXPECT_FALSE(reader.next(frame));
    std::fclose(f);
}

TEST(Records, RefusesAnotherFile)
{
    std::string bytes = streamOf(sample());
    bytes[0] = 'X';
    EXPECT_EQ(refusal(bytes), "not a recording of GL calls (wrong header)");
    EXPECT_EQ(refusal(""), "not a recording of GL calls (wrong header)");
}

TEST(Records, RefusesAStreamCutShort)
{
    const std::string bytes = streamOf(sample());
    EXPECT_EQ(refusal(bytes.substr(0, bytes.size() - 1)), "the recording ends inside frame 2");
    EXPECT_EQ(refusal(bytes.substr(0, kHeader + 5)), "the recording ends inside the lengths of frame 1");
    EXPECT_EQ(refusal(bytes.substr(0, kHeader)), "");  // a whole stream of no frames
}

TEST(Records, RefusesAnUnknownOpcode)
{
    std::string bytes = streamOf(sample());
    bytes[kFrame1Ops + 1] = static_cast<char>(kOpCount);
    EXPECT_EQ(refusal(bytes), "frame 1: unknown opcode " + std::to_string(kOpCount));
    // The loadIdentity becomes a call only start-up makes.
    bytes[kFrame1Ops + 1] = static_cast<char>(Op::shadeModel);
    EXPECT_EQ(refusal(bytes), "frame 1 calls glShadeModel, which only start-up makes");
}

TEST(Records, RefusesATextureSlotThatDoesNotExist)
{
    std::string bytes = streamOf(sample());
    // The bind's slot is the fourth int of frame 1.
    const std::int32_t slot = kSlotCount;
    std::memcpy(&bytes[kFrame1Ints + 3 * 4], &slot, sizeof slot);
    EXPECT_EQ(refusal(bytes), "frame 1 binds texture slot 10, which does not exist");
}

TEST(Records, RefusesCallsThatDoNotTakeTheirArguments)
{
    Recording r = sample();
    r.ints.insert(r.ints.begin() + 9, 7);  // one int too many at the end of frame 1
    r.frames[1].ints += 1;
    r.frames[2].ints += 1;
    EXPECT_EQ(refusal(streamOf(r)), "frame 1: its calls do not take exactly its arguments");
}

TEST(Records, RefusesALengthNoFrameHas)
{
    std::string bytes = streamOf(sample());
    const std::uint32_t huge = 0xFFFFFFF0u;
    std::memcpy(&bytes[kHeader], &huge, sizeof huge);
    EXPECT_EQ(refusal(bytes), "frame 1 claims 4294967280 items, more than a frame holds");
}

TEST(Records, TexturesAreNamedByTheirSlot)
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        setSlotTexture(slot, static_cast<unsigned long>(200 + slot));
    EXPECT_EQ(textureSlot(200), 0);
    EXPECT_EQ(textureSlot(209), 9);
    EXPECT_EQ(textureSlot(5), -1);
    EXPECT_EQ(slotTexture(6), 206u);
}

} // namespace
