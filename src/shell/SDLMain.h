// The application shell: captures the command line, starts the application
// with its menus and delegate, and hands over to SDL_main, whose result ends
// the process. Method names follow the Cocoa selectors whose roles they play.
#pragma once

#include <string>
#include <vector>

#include "shell/menu.h"

class SDLMain;

class SDLApplication {
public:
    // The one application object, made on first use.
    static SDLApplication *sharedApplication();

    void setMainMenu(Menu menu);
    void setDelegate(SDLMain *delegate);

    // Stands in for the application's event loop: routes the menus' key
    // equivalents and the system's termination requests to the application,
    // hands the delegate the files to open, then tells it that launching has
    // finished. The delegate ends the process.
    [[noreturn]] void run(const std::vector<std::string> &filesToOpen = {});

    // Sends the action of the item whose key equivalent this is; false when
    // no item has it.
    bool performKeyEquivalent(char key, unsigned modifierMask);

    // Sends the application an item's action. Only Quit, Hide and Minimize
    // have something to do on Linux.
    void sendAction(Action action);

    // The Quit item and every termination request: one SDL_QUIT event, which
    // ends the frame loop. The application itself does not end here.
    void terminate();

private:
    SDLApplication() = default;

    Menu mainMenu_;
    SDLMain *delegate_ = nullptr;
};

class SDLMain {
public:
    // Sets the working directory for a Finder launch, calls SDL_main with the
    // captured arguments and exits with its result.
    [[noreturn]] void applicationDidFinishLaunching();

    // With shouldChdir, makes the folder that holds the bundle the working
    // directory, where the program's relative resource paths resolve. A path
    // of 1024 bytes or more ends start-up with one line and status 1; a
    // failed chdir aborts.
    void setupWorkingDirectory(bool shouldChdir);

    // Adds a file to open to the arguments, only for a Finder launch and only
    // before SDL_main runs; false, leaving the arguments as they were, when
    // it does not or there is no memory for it.
    bool applicationOpenFile(SDLApplication *application, const char *filename);
};

// Keeps the command line for SDL_main. A first argument that begins "-psn"
// (a process serial number) marks a Finder launch, which hands SDL_main the
// program path alone. Without memory for the arguments, says so on standard
// error and exits with status 1.
void captureArguments(int argc, char *argv[]);

// The bundle's CFBundleName, or the process name when there is none.
std::string applicationName();
