// The shell's key equivalents, termination signals and quit requests against
// the recording SDL: what each key press does, and that every way to quit
// reaches the frame loop's quit test, even past a full event queue.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "draw/frame.h"
#include "app/display_request.h"
#include "app/loop.h"
#include "shell/SDLMain.h"
#include "app/quit.h"
#include "shell/events.h"
#include "support/fakes.h"

namespace {

using Calls = std::vector<std::string>;

class KeyEquivalents : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetFakes();
        SDLApplication::sharedApplication()->setMainMenu(mainMenu("Vorlex"));
        installKeyEquivalents();
        ASSERT_NE(fakeSdl.filter, nullptr);
    }

    // What the filter answers for a key press: 1 queues it, 0 consumes it.
    int press(SDLKey key, int mod = KMOD_NONE)
    {
        const SDL_Event event = keyDown(key, static_cast<SDLMod>(mod));
        return fakeSdl.filter(&event);
    }
};

} // namespace

TEST_F(KeyEquivalents, CtrlQPushesOneQuitEventAndIsConsumed)
{
    EXPECT_EQ(press(SDLK_q, KMOD_LCTRL), 0);
    EXPECT_EQ(press(SDLK_q, KMOD_RCTRL | KMOD_CAPS | KMOD_NUM), 0);
    EXPECT_EQ(callLog, (Calls{"SDL_PushEvent(12)", "SDL_PushEvent(12)"}));
    // The frame loop takes the pushed event as its quit.
    EXPECT_FALSE(keepRunning());
}

TEST_F(KeyEquivalents, CtrlHAndCtrlMIconifyTheWindow)
{
    EXPECT_EQ(press(SDLK_h, KMOD_LCTRL), 0);
    EXPECT_EQ(press(SDLK_m, KMOD_RCTRL), 0);
    EXPECT_EQ(callLog, (Calls{"SDL_WM_IconifyWindow()", "SDL_WM_IconifyWindow()"}));
}

TEST_F(KeyEquivalents, HideOthersIsConsumedButDoesNothingHere)
{
    EXPECT_EQ(press(SDLK_h, KMOD_LCTRL | KMOD_LALT), 0);
    EXPECT_TRUE(callLog.empty());
}

TEST_F(KeyEquivalents, OtherPressesReachTheQueueUntouched)
{
    EXPECT_EQ(press(SDLK_q), 1) << "a plain q does not quit";
    EXPECT_EQ(press(SDLK_q, KMOD_LCTRL | KMOD_LSHIFT), 1) << "the item wants Ctrl alone";
    EXPECT_EQ(press(SDLK_q, KMOD_LALT), 1);
    EXPECT_EQ(press(SDLK_q, KMOD_LCTRL | KMOD_LMETA), 1) << "Super+Ctrl+Q is the desktop's";
    EXPECT_EQ(press(SDLK_h, KMOD_LALT), 1);
    EXPECT_EQ(press(SDLK_ESCAPE, KMOD_LCTRL), 1) << "Escape stays the frame loop's";
    EXPECT_EQ(press(SDLK_LCTRL, KMOD_LCTRL), 1);
    EXPECT_EQ(press(SDLK_a, KMOD_LCTRL), 1);

    const SDL_Event release = keyUp(SDLK_q);
    EXPECT_EQ(fakeSdl.filter(&release), 1);
    const SDL_Event quit = quitEvent();
    EXPECT_EQ(fakeSdl.filter(&quit), 1);
    EXPECT_TRUE(callLog.empty());
}

TEST_F(KeyEquivalents, AQuitTheFullQueueRefusedEndsTheNextQuitTest)
{
    fakeSdl.queueFull = true;
    EXPECT_EQ(press(SDLK_q, KMOD_LCTRL), 0);
    fakeSdl.polls.push_back(keyDown(SDLK_SPACE));  // the queue is full of other events
    callLog.clear();
    EXPECT_FALSE(keepRunning());
    EXPECT_TRUE(callLog.empty()) << "answered without taking an event";
    // Taken once: the loop has ended on it.
    EXPECT_TRUE(keepRunning());
}

namespace {

class TerminationSignals : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetFakes();
        for (const int number : {SIGINT, SIGTERM, SIGHUP})
            sigaction(number, nullptr, &saved_[number]);
        takeQuitRequestsFromNowOn();  // the display is open
    }
    void TearDown() override
    {
        for (const int number : {SIGINT, SIGTERM, SIGHUP})
            sigaction(number, &saved_[number], nullptr);
    }

    static sighandler_t handler(int number)
    {
        struct sigaction current = {};
        sigaction(number, nullptr, &current);
        return current.sa_handler;
    }

private:
    struct sigaction saved_[NSIG] = {};
};

} // namespace

TEST_F(TerminationSignals, EachEndsTheFrameLoopThroughAQuitEvent)
{
    for (const int number : {SIGINT, SIGTERM, SIGHUP})
        signal(number, SIG_DFL);
    catchTerminationSignals();
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(number));
        callLog.clear();
        fakeSdl.polls.clear();
        ASSERT_EQ(raise(number), 0);
        EXPECT_FALSE(keepRunning());
        EXPECT_EQ(callLog, (Calls{"SDL_PushEvent(12)", "SDL_PollEvent()"}));
        callLog.clear();
        EXPECT_TRUE(keepRunning()) << "one signal, one quit event";
    }
}

TEST_F(TerminationSignals, AreNotForgottenWhenTheQueueIsFull)
{
    signal(SIGTERM, SIG_DFL);
    catchTerminationSignals();
    fakeSdl.queueFull = true;
    ASSERT_EQ(raise(SIGTERM), 0);
    EXPECT_FALSE(keepRunning());
    EXPECT_EQ(callLog, (Calls{"SDL_PushEvent(12)"}));
}

TEST_F(TerminationSignals, OnesIgnoredAtStartStayIgnored)
{
    signal(SIGHUP, SIG_IGN);
    signal(SIGINT, SIG_DFL);
    catchTerminationSignals();
    EXPECT_EQ(handler(SIGHUP), SIG_IGN);
    EXPECT_NE(handler(SIGINT), SIG_DFL) << "SIGINT is caught";
    ASSERT_EQ(raise(SIGHUP), 0);
    EXPECT_TRUE(keepRunning());
}

TEST_F(TerminationSignals, ARepeatedOneEndsTheProcessOnlyWhenTheFirstWaitedSeconds)
{
    // ms on the monotonic clock of each request, and whether it ends the
    // process; "take" is the frame loop's quit test taking the request.
    const struct {
        const char *what;
        std::vector<long> at;
        bool takenAfterFirst;
        bool ends;
    } cases[] = {
        {"TERM then HUP, as systemd stops a session", {1000, 1000}, false, false},
        {"two TERMs 5 ms apart", {1000, 1005}, false, false},
        {"INT, then TERM a second later", {1000, 2000}, false, false},
        {"a repeat when the first waited just under the limit", {1000, 1000 + kStuckQuitMs - 1}, false, false},
        {"a repeat when the first waited the limit", {1000, 1000 + kStuckQuitMs}, false, true},
        {"a third after the limit", {1000, 2000, 1000 + kStuckQuitMs}, false, true},
        {"a repeat long after the loop took the first", {1000, 1000 + 10 * kStuckQuitMs}, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        resetFakes();
        takeUnqueuedQuit();  // no request left over from the case before
        bool ended = false;
        for (std::size_t i = 0; i < c.at.size(); ++i) {
            ended = signalQuit(c.at[i]) == QuitNow::byDefault;
            if (i == 0 && c.takenAfterFirst)
                takeUnqueuedQuit();
        }
        EXPECT_EQ(ended, c.ends);
    }
    takeUnqueuedQuit();
}

TEST_F(TerminationSignals, ARepeatedOneStillEndsAStuckProcess)
{
    signal(SIGINT, SIG_DFL);
    catchTerminationSignals();
    // A program stuck after the display opened still yields to Ctrl+C pressed
    // again once the first has waited.
    EXPECT_EXIT((raise(SIGINT), sleep(kStuckQuitMs / 1000 + 1), raise(SIGINT)),
                testing::KilledBySignal(SIGINT), "");
}

// In a process of its own, where the display has not opened: start-up may be
// waiting on an X server that never answers.
TEST(StartUpSignals, EndTheProcessAtOnceWithStatus0)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(number));
        EXPECT_EXIT((signal(number, SIG_DFL), catchTerminationSignals(), raise(number)),
                    testing::ExitedWithCode(0), "");
    }
}

// A screensaver daemon logs a program that SIGTERM does not kill as ending
// abnormally; its other signals still end it with status 0.
TEST(StartUpSignals, EndAScreensaverBySIGTERM)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto signalScreensaver = [](int number) {
        requestDisplay({DisplayMode::root, 0});
        signal(number, SIG_DFL);
        catchTerminationSignals();
        raise(number);
    };
    EXPECT_EXIT(signalScreensaver(SIGTERM), testing::KilledBySignal(SIGTERM), "");
    EXPECT_EXIT(signalScreensaver(SIGHUP), testing::ExitedWithCode(0), "");
}
