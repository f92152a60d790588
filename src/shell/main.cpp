// Process entry: the application shell's start-up, in order. run() hands over
// to SDL_main and ends the process with its result.
#include "shell/SDLMain.h"
#include "shell/platform.h"

int main(int argc, char *argv[])
{
    guardStandardStreams();
    captureArguments(argc, argv);
    SDLApplication *application = SDLApplication::sharedApplication();
    makeFrontProcess();

    application->setMainMenu(mainMenu(applicationName()));
    SDLMain delegate;
    application->setDelegate(&delegate);

    application->run();
}
