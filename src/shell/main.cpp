// Process entry: the application shell's start-up, in order. Options that
// only answer (--help, --version, a mistake) are answered before anything
// starts; run() hands over to SDL_main and ends the process with its result.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "shell/SDLMain.h"
#include "shell/options.h"
#include "shell/system.h"

namespace {

// Standard output may be a full disk or a closed pipe: say so, as GNU
// programs do, rather than claim success.
[[noreturn]] void answer(const std::string &text)
{
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "Vorlex: cannot write to standard output: %s\n", std::strerror(errno));
        std::exit(1);
    }
    std::exit(0);
}

} // namespace

int main(int argc, char *argv[])
{
    guardStandardStreams();
    const CommandLine commandLine = parseCommandLine(argc, argv);
    switch (commandLine.action) {
    case CommandLine::Action::help:
        answer(usage());
    case CommandLine::Action::version:
        answer(versionLine());
    case CommandLine::Action::misuse:
        std::fprintf(stderr, "%s\n", commandLine.problem.c_str());
        return 2;
    case CommandLine::Action::run:
        break;
    }
    requestDisplay(commandLine.display);

    captureArguments(argc, argv);
    SDLApplication *application = SDLApplication::sharedApplication();
    makeFrontProcess();

    application->setMainMenu(mainMenu(applicationName()));
    SDLMain delegate;
    application->setDelegate(&delegate);

    application->run();
}
