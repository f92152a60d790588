#include "windows/saver_line.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const char kHint[] = " (a screensaver takes /s, /p HANDLE, /c or /a)";

SaverLine misuse(const std::string &what, bool hint = true)
{
    SaverLine line;
    line.action = SaverLine::Action::misuse;
    line.problem = "Vorlex: " + what + (hint ? kHint : "");
    return line;
}

// A window handle as Windows writes it for a saver: decimal, not 0.
bool parseHandle(const char *text, std::uintptr_t *handle)
{
    if (!*text || std::strspn(text, "0123456789") != std::strlen(text))
        return false;
    errno = 0;
    const unsigned long long value = std::strtoull(text, nullptr, 10);
    if (errno != 0 || value == 0 || value > UINTPTR_MAX)
        return false;
    *handle = static_cast<std::uintptr_t>(value);
    return true;
}

} // namespace

SaverLine parseSaverLine(int argc, const char *const argv[])
{
    SaverLine line;
    if (argc < 2)
        return line;
    const char *first = argv[1];
    const char letter = (first[0] == '/' || first[0] == '-') && first[1]
                            ? static_cast<char>(std::tolower(static_cast<unsigned char>(first[1])))
                            : '\0';
    switch (letter) {
    case 's':
        line.action = SaverLine::Action::show;
        break;
    case 'p':
        line.action = SaverLine::Action::preview;
        break;
    case 'c':
        break;
    case 'a':
        // With the settings dialog's handle, which is of no use here either.
        line.action = SaverLine::Action::password;
        break;
    default:
        return misuse("unknown argument \"" + std::string(first) + "\"");
    }
    int next = 2;
    const char *handle = first + 2;
    if (letter == 's' && *handle)
        return misuse("unknown argument \"" + std::string(first) + "\"");
    if (*handle == ':')
        ++handle;
    if (letter != 's' && !*handle && next < argc)
        handle = argv[next++];
    if (*handle && !parseHandle(handle, &line.window))
        return misuse("\"" + std::string(handle) + "\" is not a window handle: give it in decimal", false);
    if (letter == 'p' && !line.window)
        return misuse(std::string(first) + " needs the handle of the window to draw in");
    if (next < argc)
        return misuse("unexpected argument \"" + std::string(argv[next]) + "\"");
    return line;
}
