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
        "SDL_GetTicks() = 305",  // no wait has ended yet: the first frame does not wait
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
    EXPECT_EQ(printed, "");
}

TEST_F(Loop, PrintsTheRateOnTheFrameThatClosesTheWindow)
{
    // 16 ms a frame from tick 0: frame k reads now = 16 k, so frame 313
    // (now 5008) closes the first window over the 312 frames before it.
    fakeSdl.drawCost = 16;
    EXPECT_EQ(run(312), "");

    SetUp();
    fakeSdl.drawCost = 16;
    EXPECT_EQ(run(313), "62\n");

    // The next window counts frames 313 to 625, closed by frame 626 at now
    // 10016: 313 frames in 5008 ms is 62.5, which reads 62: frames paced
    // to 16 ms never read above.
    SetUp();
    fakeSdl.drawCost = 16;
    EXPECT_EQ(run(626), "62\n62\n");
}

TEST_F(Loop, TimesFramesAcrossAWrapOfTheTickCounter)
{
    // The first frame ends at 0xFFFFFFFA and does not wait; the second's
    // drawing ends at 4, past the wrap: 10 ms have passed, not 2^32 - 6.
    fakeSdl.ticks = 0xFFFFFFF0u;
    fakeSdl.drawCost = 10;
    run(3);
    EXPECT_EQ(callsFrom(0, "SDL_Delay"), (Calls{"SDL_Delay(6)", "SDL_Delay(6)"}));
}

class KeepRunning : public ::testing::Test {
protected:
    void SetUp() override { resetFakes(); }

    bool answer(const SDL_Event &event)
    {
        fakeSdl.polls.push_back(event);
        const bool result = keepRunning();
        EXPECT_TRUE(fakeSdl.polls.empty()) << "exactly one event is taken";
        return result;
    }
};

TEST_F(KeepRunning, QuitsOnEscapeWhateverTheModifiers)
{
    EXPECT_FALSE(answer(keyDown(SDLK_ESCAPE)));
    EXPECT_FALSE(answer(keyDown(SDLK_ESCAPE, static_cast<SDLMod>(KMOD_LSHIFT | KMOD_LCTRL | KMOD_LALT))));
    EXPECT_FALSE(answer(keyDown(SDLK_ESCAPE, KMOD_CAPS)));
}

TEST_F(KeepRunning, QuitsOnAQuitRequest)
{
    EXPECT_FALSE(answer(quitEvent()));
}

TEST_F(KeepRunning, GoesOnForEverythingElse)
{
    EXPECT_TRUE(answer(keyUp(SDLK_ESCAPE)));
    EXPECT_TRUE(answer(keyDown(SDLK_q)));
    EXPECT_TRUE(answer(keyDown(SDLK_SPACE)));
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    EXPECT_TRUE(answer(motion));
    SDL_Event button{};
    button.type = SDL_MOUSEBUTTONDOWN;
    EXPECT_TRUE(answer(button));
    SDL_Event active{};
    active.type = SDL_ACTIVEEVENT;
    EXPECT_TRUE(answer(active));
}

TEST_F(KeepRunning, GoesOnWhenNothingIsPending)
{
    EXPECT_TRUE(keepRunning());
    EXPECT_EQ(callLog, (Calls{"SDL_PollEvent()"}));
}
