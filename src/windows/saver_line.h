// The command line Windows starts a screensaver with: /s, /p HANDLE, /c,
// /c:HANDLE or nothing, and /a. Windows and the programs that start savers
// as it does write the letter in either case, after "/" or "-", and the
// window's handle in decimal after a colon, right after the letter, or as
// the next argument. Parsing only: main() acts on the result.
#pragma once

#include <cstdint>
#include <string>

struct SaverLine {
    enum class Action {
        show,     // /s: the picture full screen
        preview,  // /p HANDLE: the picture inside that window
        settings, // /c or nothing: say that there is nothing to set
        password, // /a: Windows 95's password change, which has no meaning here
        misuse,   // print `problem`, status 2
    };
    Action action = Action::settings;
    std::uintptr_t window = 0; // the preview's window; the settings' owner, or 0
    std::string problem;       // the whole line, with Action::misuse
};

SaverLine parseSaverLine(int argc, const char *const argv[]);
