// The frame loop against the recording GL and SDL: a scripted clock and event
// queue drive SDL_main frame by frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/loop.h"
#include "support/fakes.h"

namespace {

using Calls = std::vector<std::string>;

// The frame loop's own calls from the first poll on: polls, clears, tick
// reads, waits, swaps and the shut-down. The drawing between is left out.
Calls skeleton()
{
    Calls kept;
    bool started = false;
    for (const auto &call : callLog) {
        started = started || call == "SDL_PollEvent()";
        if (!started)
            continue;
        for (const char *prefix : {"SDL_PollEvent", "glClear", "SDL_GetTicks", "SDL_Delay",
                                   "SDL_GL_SwapBuffers", "SDL_Quit"})
            if (call.rfind(prefix, 0) == 0)
                kept.push_back(call);
    }
    return kept;
}

class Loop : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetFakes();
        loopClock = FrameClock{};
    }

    // Runs SDL_main with `frames` polls that find nothing, then a quit event.
    std::string run(int frames)
    {
        for (int i = 0; i < frames; ++i)
            fakeSdl.polls.push_back(std::nullopt);
        fakeSdl.polls.push_back(quitEvent());
        testing::internal::CaptureStdout();
        const int result = SDL_main(0, nullptr);
        EXPECT_EQ(result, 0);
        return testing::internal::GetCapturedStdout();
    }
};

} // namespace

TEST_F(Loop, EachFrameDrawsWaitsCountsAndSwapsInThatOrder)
{
    fakeSdl.ticks = 300;  // start-up took 300 ms
    fakeSdl.drawCost = 5;
    run(2);
    const Calls expected = {
        "SDL_PollEvent()",
        "glClear(GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT)",
        "SDL_GetTicks() = 305",  // loopClock.waitEnd is 0: the first frame does not wait
        "SDL_GetTicks() = 305",
        "SDL_GL_SwapBuffers()",
        "SDL_PollEvent()",
        "glClear(GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT)",
        "SDL_GetTicks() = 310",
        "SDL_Delay(11)",
        "SDL_GetTicks() = 321",
        "SDL_GL_SwapBuffers()",
        "SDL_PollEvent()",
        "SDL_Quit()",
    };
    EXPECT_EQ(skeleton(), expected);
    EXPECT_EQ(loopClock.windowFrames, 2u);
    EXPECT_EQ(loopClock.waitEnd, 321u);
    EXPECT_EQ(loopClock.busy, 5u);
}

TEST_F(Loop, DrawsTheBackgroundThenTheSquareBeforeReadingTheClock)
{
    run(1);
    const auto clear = std::find(callLog.begin(), callLog.end(),
                                 "glClear(GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT)");
    const auto square = std::find(clear, callLog.end(), "glBegin(GL_LINE_LOOP)");
    const auto tick = std::find_if(clear, callLog.end(),
                                   [](const std::string &c) { return c.rfind("SDL_GetTicks", 0) == 0; });
    ASSERT_NE(clear, callLog.end());
    EXPECT_EQ(*(clear + 1), "glLoadIdentity()");
    EXPECT_EQ(*(clear + 2), "glBegin(GL_LINES)");
    EXPECT_LT(square, tick) << "the outline square is drawn before the frame is timed";
}

TEST_F(Loop, WaitsOnlyWhileTheFrameTookLessThanSixteenMilliseconds)
{
    fakeSdl.ticks = 300;
    fakeSdl.drawCost = 15;
    run(3);
    EXPECT_EQ(callsFrom(0, "SDL_Delay"), (Calls{"SDL_Delay(1)", "SDL_Delay(1)"}));

    SetUp();
    fakeSdl.drawCost = 16;
    run(3);
    EXPECT_TRUE(callsFrom(0, "SDL_Delay").empty());
}

TEST_F(Loop, AQuitStopsTheLoopBeforeAnythingIsDrawnCountedOrSwapped)
{
    const std::string printed = run(0);
    EXPECT_EQ(skeleton(), (Calls{"SDL_PollEvent()", "SDL_Quit()"}));
    EXPECT_EQ(callLog.back(), "SDL_Quit()");
    EXPECT_EQ(loopClock.windowFrames, 0u);
    EXPECT_EQ(printed, "");
}

TEST_F(Loop, PrintsTheRateOnTheFrameThatClosesTheWindow)
{
    // 16 ms a frame from tick 0: frame k reads now = 16 k, so frame 313
    // (now 5008) closes the first window over the 312 frames before it.
    fakeSdl.drawCost = 16;
    EXPECT_EQ(run(312), "");
    EXPECT_EQ(loopClock.lastRate, 0u);

    SetUp();
    fakeSdl.drawCost = 16;
    EXPECT_EQ(run(313), "62\n");
    EXPECT_EQ(loopClock.lastRate, 62u);
    EXPECT_EQ(loopClock.windowFrames, 1u);
    EXPECT_EQ(loopClock.windowStart, 5008u);

    // The next window counts frames 313 to 625, closed by frame 626 at now
    // 10016: 313 frames in 5008 ms is 62.5, which reads 62: frames paced
    // to 16 ms never read above.
    SetUp();
    fakeSdl.drawCost = 16;
    EXPECT_EQ(run(626), "62\n62\n");
}

TEST_F(Loop, TimesFramesAcrossAWrapOfTheTickCounter)
{
    fakeSdl.ticks = 0xFFFFFFF8u;
    loopClock.waitEnd = 0xFFFFFFF8u;
    loopClock.windowStart = 0xFFFFFFF8u;
    fakeSdl.drawCost = 10;
    run(2);
    // now wraps to 2 on the first frame: 10 ms have passed, not 2^32 - 6.
    EXPECT_EQ(callsFrom(0, "SDL_Delay"), (Calls{"SDL_Delay(6)", "SDL_Delay(6)"}));
    EXPECT_EQ(loopClock.windowFrames, 2u);
}

class EndKeys : public ::testing::Test {
protected:
    void SetUp() override { resetFakes(); }

    int answer(const SDL_Event &event)
    {
        fakeSdl.polls.push_back(event);
        const int result = endKeys();
        EXPECT_TRUE(fakeSdl.polls.empty()) << "exactly one event is taken";
        return result;
    }
};

TEST_F(EndKeys, QuitsOnEscapeWhateverTheModifiers)
{
    EXPECT_EQ(answer(keyDown(SDLK_ESCAPE)), 0);
    EXPECT_EQ(answer(keyDown(SDLK_ESCAPE, static_cast<SDLMod>(KMOD_LSHIFT | KMOD_LCTRL | KMOD_LALT))), 0);
    EXPECT_EQ(answer(keyDown(SDLK_ESCAPE, KMOD_CAPS)), 0);
}

TEST_F(EndKeys, QuitsOnAQuitRequest)
{
    EXPECT_EQ(answer(quitEvent()), 0);
}

TEST_F(EndKeys, GoesOnForEverythingElse)
{
    EXPECT_EQ(answer(keyUp(SDLK_ESCAPE)), 1);
    EXPECT_EQ(answer(keyDown(SDLK_q)), 1);
    EXPECT_EQ(answer(keyDown(SDLK_SPACE)), 1);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    EXPECT_EQ(answer(motion), 1);
    SDL_Event button{};
    button.type = SDL_MOUSEBUTTONDOWN;
    EXPECT_EQ(answer(button), 1);
    SDL_Event active{};
    active.type = SDL_ACTIVEEVENT;
    EXPECT_EQ(answer(active), 1);
}

TEST_F(EndKeys, GoesOnWhenNothingIsPending)
{
    EXPECT_EQ(endKeys(), 1);
    EXPECT_EQ(callLog, (Calls{"SDL_PollEvent()"}));
}
