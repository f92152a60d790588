// How the desktop's display fails to open: what SDL, Xlib and Mesa print
// meanwhile is held, and joins the one line when it fails.
#pragma once

#include <string>

#include "desktop/held_stderr.h"

// Standard error while the display opens: held by openDisplay(), given back
// when the display is open or by displayFail().
extern HeldStderr displayStderr;

// Every start-up failure of the display goes this way, so that standard error
// is back before the one line, with what the libraries said in it.
[[noreturn]] void displayFail(const std::string &action, std::string reason);
