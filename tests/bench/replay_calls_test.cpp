// The replay against the GL stand-in: every replayed frame makes exactly the
// GL calls the program makes, every argument and texture
// name included, so the benchmark's replay does the same GL work as the
// program.
#include <gtest/gtest.h>

#include <stdexcept>

#include "draw/frame.h"
#include "process.h"
#include "recording/replay.h"
#include "recording/texture_slots.h"
#include "support/fakes.h"

namespace {

// Through the fade turns of the overlay (frames 100 and 200) and beyond.
constexpr long kFrames = 250;

TEST(Replay, EveryFrameMakesTheProgramsCalls)
{
    // Names other than the 1 to 10 the capture tool uses, so that only a
    // replay that maps slots to this process's names can match.
    for (int slot = 0; slot < kSlotCount; ++slot)
        setSlotTexture(slot, static_cast<unsigned long>(101 + 3 * slot));
    const Recording recording = captureFrames(VORLEX_CAPTURE_TOOL, kFrames);
    ASSERT_EQ(recording.frameCount(), static_cast<std::size_t>(kFrames));

    for (long n = 1; n <= kFrames; ++n) {
        resetFakeGl();
        drawFrame(0);
        const std::vector<std::string> program = callLog;
        ASSERT_GT(program.size(), 1000u) << "frame " << n;

        resetFakeGl();
        replayFrame(recording, static_cast<std::size_t>(n - 1));
        ASSERT_EQ(callLog.size(), program.size()) << "frame " << n;
        for (std::size_t i = 0; i < program.size(); ++i)
            ASSERT_EQ(callLog[i], program[i]) << "frame " << n << ", call " << i;
    }
}

TEST(Replay, ACaptureThatFailsIsAnError)
{
    try {
        captureFrames(VORLEX_CAPTURE_TOOL, 0);
        FAIL() << "a capture of no frames was accepted";
    } catch (const std::runtime_error &e) {
        EXPECT_EQ(std::string(e.what()), std::string(VORLEX_CAPTURE_TOOL) + " exited with status 2");
    }
}

} // namespace
