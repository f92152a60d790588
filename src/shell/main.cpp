// Process entry: the application shell's start-up, in order. Options that
// only answer (--help, --version, a mistake) are answered before anything
// starts; run() hands over to SDL_main and ends the process with its result.
#include "shell/SDLMain.h"
#include "shell/options.h"
#include "shell/system.h"

int main(int argc, char *argv[])
{
    guardStandardStreams();
    const CommandLine commandLine = parseCommandLine(argc, argv, OptionSet::x11);
    answerUnlessRun(commandLine, OptionSet::x11);
    requestDisplay(commandLine.display);

    captureArguments(argc, argv);
    // X11's window manager raises and focuses a new window itself: the
    // process needs no making it the front one.
    SDLApplication *application = SDLApplication::sharedApplication();

    application->setMainMenu(mainMenu(applicationName()));
    SDLMain delegate;
    application->setDelegate(&delegate);

    application->run();
}
