// Child processes: their output, their status, and failures that name the
// program and the reason.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include "process.h"

namespace {

std::string failureOf(const std::vector<std::string> &argv)
{
    try {
        runChild(argv);
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return "";
}

TEST(Process, TakesTheWholeOutput)
{
    EXPECT_EQ(runChild({"/bin/sh", "-c", "echo one; echo two"}), "one\ntwo\n");
}

TEST(Process, AFailedChildIsAnError)
{
    EXPECT_EQ(failureOf({"/bin/sh", "-c", "exit 3"}), "/bin/sh exited with status 3");
    EXPECT_EQ(failureOf({"/bin/sh", "-c", "kill -TERM $$"}), "/bin/sh exited with status 143");
}

TEST(Process, AProgramThatIsNotThereIsAnError)
{
    EXPECT_EQ(failureOf({"/nonexistent/vorlex_tool"}),
              "cannot start /nonexistent/vorlex_tool: No such file or directory");
}

// Whatever the machine's speed: reads in short spells until the line is
// there, each returning at its deadline with what came, the child running on.
TEST(Process, ReadsUntilTheDeadlineWhileTheChildRuns)
{
    Child child = startChild({"/bin/sh", "-c", "echo early; exec sleep 600"});
    std::string got;
    while (got.find('\n') == std::string::npos && !child.closed)
        got += readFor(child, 0.05);
    EXPECT_EQ(got, "early\n");
    EXPECT_EQ(readFor(child, 0.05), "");
    EXPECT_FALSE(child.closed);
    kill(child.pid, SIGTERM);
    EXPECT_EQ(readFor(child, 10.0), "");
    EXPECT_TRUE(child.closed);
    EXPECT_EQ(waitChild(child), 128 + SIGTERM);
}

TEST(Process, TheChildsEnvironmentTakesTheGivenSettings)
{
    setenv("VORLEX_TEST_KEPT", "kept", 1);
    setenv("VORLEX_TEST_SET", "old", 1);
    Child child = startChild({"/bin/sh", "-c", "echo $VORLEX_TEST_KEPT $VORLEX_TEST_SET $VORLEX_TEST_NEW"},
                             {"VORLEX_TEST_SET=new", "VORLEX_TEST_NEW=added"});
    EXPECT_EQ(readFor(child, -1), "kept new added\n");
    EXPECT_EQ(waitChild(child), 0);
}

TEST(Process, ReadsTheCpuTimeOfARunningProcess)
{
    Child child = startChild({"/bin/sh", "-c", "while :; do :; done"});
    double used = 0;
    while (used == 0)
        used = cpuSeconds(child.pid);
    EXPECT_GE(cpuSeconds(child.pid), used);
    kill(child.pid, SIGKILL);
    waitChild(child);
    EXPECT_THROW(cpuSeconds(child.pid), std::runtime_error);  // reaped: gone
}

} // namespace
