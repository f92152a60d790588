// Holding standard error in a memory file, and sifting what it holds.
#include "desktop/held_stderr.h"

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "app/fail.h"  // VORLEX_SANITIZED
#ifdef VORLEX_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

bool isChatter(const std::string &line)
{
    return line.find("XDG_RUNTIME_DIR") != std::string::npos ||
           (line.find("Xlib:  extension \"") != std::string::npos &&
            line.find("\" missing on display") != std::string::npos);
}

} // namespace

bool HeldStderr::hold()
{
    std::fflush(stderr);
    saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    kept_ = memfd_create("stderr", MFD_CLOEXEC);
    if (saved_ < 0 || kept_ < 0) {
        release();
        return false;
    }
#ifdef VORLEX_SANITIZED
    __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(saved_)));
#endif
    dup2(kept_, STDERR_FILENO);
    return true;
}

std::string HeldStderr::said() const
{
    if (kept_ < 0)
        return "";
    std::fflush(stderr);
    std::string text;
    char chunk[4096];
    ssize_t n;
    for (off_t at = 0; (n = pread(kept_, chunk, sizeof chunk, at)) > 0; at += n)
        text.append(chunk, static_cast<std::size_t>(n));
    std::string lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(at, end - at);
        at = end + 1;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || isChatter(line))
            continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
        lines += (lines.empty() ? "" : "; ") + line;
    }
    return lines;
}

std::string HeldStderr::release()
{
    const std::string text = said();
    std::fflush(stderr);
    if (saved_ >= 0) {
        dup2(saved_, STDERR_FILENO);
#ifdef VORLEX_SANITIZED
        __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(STDERR_FILENO)));
#endif
        close(saved_);
    }
    if (kept_ >= 0)
        close(kept_);
    saved_ = kept_ = -1;
    return text;
}
