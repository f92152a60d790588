// The command line, GNU style, on top of the program's own start: with no
// options it shows the full-screen demo, as it always has. Parsing only: no
// SDL, no X; main() acts on the result before anything else starts.
#pragma once

#include <string>

#include "app/display_request.h"

struct CommandLine {
    enum class Action {
        run,     // start the demo as `display` asks
        help,    // print usage() on standard output, status 0
        version, // print versionLine() on standard output, status 0
        misuse,  // print `problem` on standard error, status 2
    };
    Action action = Action::run;
    DisplayRequest display;
    std::string problem; // the whole line, with Action::misuse
};

// Which build reads the command line: the X screensaver options, --root and
// --window-id, are the X desktop's alone.
enum class OptionSet { x11, windows };

// Whether the first argument begins "-psn" (a process serial number, exactly
// those four characters): a launch from the desktop, which passes no options.
bool isDesktopLaunch(int argc, const char *const argv[]);

// At a launch from the desktop the rest is not read.
CommandLine parseCommandLine(int argc, const char *const argv[], OptionSet options);

// What --help prints.
std::string usage(OptionSet options);

// What --version prints: the name and the version the build was made as.
std::string versionLine();

// Acts on a command line that only asks for an answer, and exits: the usage
// or the version on standard output, status 0 (1, with a line on standard
// error, when standard output cannot take it), or the mistake's line on
// standard error, status 2. Returns only when the demo is to run.
void answerUnlessRun(const CommandLine &line, OptionSet options);
