// The command line, GNU style, on top of the program's own start: with no
// options it shows the full-screen demo, as it always has. Parsing only: no
// SDL, no X; main() acts on the result before anything else starts.
#pragma once

#include <string>

#include "desktop/display_request.h"

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

// A first argument that begins "-psn" is a launch from the desktop, which
// passes no options: the rest is not read.
CommandLine parseCommandLine(int argc, const char *const argv[]);

// What --help prints.
std::string usage();

// What --version prints: the name and the version the build was made as.
std::string versionLine();
