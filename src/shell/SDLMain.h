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
    // then tells the delegate that launching has finished. The delegate ends
    // the process. (No Linux desktop hands a program files to open at launch.)
    [[noreturn]] void run();

    // Sends the action of the item whose key equivalent this is; false when
    // no item has it.
    bool performKeyEquivalent(char key, unsigned modifierMask);

    // Sends the application an item's action. Only Quit, Hide and Minimize
    // have a counterpart on X11; About, Hide Others and Show All do nothing.
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
};

// Keeps the command line for SDL_main. A first argument that begins "-psn"
// (a process serial number) marks a Finder launch, which hands SDL_main the
// program path alone. Without memory for the arguments, says so on standard
// error and exits with status 1.
void captureArguments(int argc, char *argv[]);

// The bundle's CFBundleName, or the process name when there is none.
std::string applicationName();
