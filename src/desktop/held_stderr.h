// Standard error held in a memory file while libraries that print on it run:
// SDL, Xlib and Mesa while the display opens, the image decoders while they
// read. A sanitizer's report still goes straight to the real standard error,
// so that a fault inside a library cannot vanish with its chatter.
#pragma once

#include <string>

class HeldStderr {
public:
    HeldStderr() = default;
    HeldStderr(const HeldStderr &) = delete;
    HeldStderr &operator=(const HeldStderr &) = delete;

    // From now on standard error goes to the memory file. Where the file
    // cannot be made, standard error is left as it is, and the answer is
    // false.
    bool hold();

    // What was said so far, line by line, joined by "; ": blank lines and
    // chatter (the Wayland library's "XDG_RUNTIME_DIR is invalid or not set"
    // whenever no X display answers, Xlib's note that an extension such as
    // RandR is missing) left out.
    std::string said() const;

    // Gives standard error back; returns what said() would.
    std::string release();

private:
    int saved_ = -1;
    int kept_ = -1;
};
