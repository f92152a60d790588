// Argument capture and the hand-over to SDL_main, against a
// recording stand-in for SDL_main. The shell ends the process with SDL_main's
// result, so every launch runs in a child process. The binary is linked with
// malloc wrapped, so that a test can make it fail.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "shell/SDLMain.h"

namespace {

bool failMalloc = false;

int mainResult = 0;
SDLMain delegate;

// Starts the shell as main does, with this command line.
[[noreturn]] void launch(const std::vector<std::string> &arguments)
{
    // Never freed: the shell keeps pointers into them, as into a real argv.
    auto *strings = new std::vector<std::string>(arguments);
    auto *argv = new std::vector<char *>;
    for (std::string &text : *strings)
        argv->push_back(text.data());
    argv->push_back(nullptr);
    captureArguments(static_cast<int>(strings->size()), argv->data());
    SDLApplication *application = SDLApplication::sharedApplication();
    application->setDelegate(&delegate);
    application->run();
}

// The text as a regular expression that matches it literally.
std::string literally(const std::string &text)
{
    std::string pattern;
    for (const char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
            pattern += '\\';
        pattern += c;
    }
    return pattern;
}

std::string workingDirectory()
{
    char path[PATH_MAX];
    return getcwd(path, sizeof path) ? path : "?";
}

} // namespace

extern "C" {

void *__real_malloc(std::size_t size);

void *__wrap_malloc(std::size_t size)
{
    return failMalloc ? nullptr : __real_malloc(size);
}

// Writes what it was handed and where it runs as one line on standard error:
// "SDL_main(2) [/opt/vorlex] [-x] [null] in /home".
int SDL_main(int argc, char *argv[])
{
    std::string line = "SDL_main(" + std::to_string(argc) + ")";
    for (int i = 0; i <= argc; ++i)
        line += std::string(" [") + (argv[i] ? argv[i] : "null") + "]";
    line += " in " + workingDirectory();
    std::fprintf(stderr, "%s\n", line.c_str());
    return mainResult;
}

} // extern "C"

TEST(Launch, FromAShellHandsOverEveryArgumentAndKeepsTheDirectory)
{
    // "-ps" is three characters of "-psn": no Finder launch.
    EXPECT_EXIT(launch({"/opt/vorlex", "-ps", "two words", ""}), testing::ExitedWithCode(0),
                literally("SDL_main(4) [/opt/vorlex] [-ps] [two words] [] [null] in " +
                          workingDirectory() + "\n"));
}

TEST(Launch, FromTheFinderHandsOverTheProgramPathAloneInTheBundlesFolder)
{
    // The test binary is no bundle: its folder stands for one, and the
    // folder above is where the Finder launch runs.
    char bundleParent[PATH_MAX];
    ASSERT_NE(realpath(SHELL_TEST_BUNDLE_PARENT, bundleParent), nullptr);
    const std::string expected = "SDL_main(1) [/opt/vorlex] [null] in " + std::string(bundleParent) + "\n";
    EXPECT_EXIT((chdir("/"), launch({"/opt/vorlex", "-psn_0_1234", "--extra"})),
                testing::ExitedWithCode(0), literally(expected));
    EXPECT_EXIT((chdir("/"), launch({"/opt/vorlex", "-psn"})), testing::ExitedWithCode(0),
                literally(expected));
}

TEST(Launch, EndsTheProcessWithSDLMainsResult)
{
    mainResult = 7;
    EXPECT_EXIT(launch({"/opt/vorlex"}), testing::ExitedWithCode(7), "SDL_main\\(1\\)");
    mainResult = 0;
}

TEST(Launch, WithoutMemoryForTheArgumentsSaysSoAndExitsWithOne)
{
    EXPECT_EXIT((failMalloc = true, captureArguments(0, nullptr)), testing::ExitedWithCode(1),
                literally("Vorlex: cannot keep the 0 command-line arguments: Cannot allocate memory\n"));
}
