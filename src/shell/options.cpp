#include "shell/options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#ifndef VORLEX_VERSION
#error "the build names the version: -DVORLEX_VERSION=\"...\""
#endif

namespace {

const char kHint[] = " (--help lists the options)";

CommandLine misuse(const std::string &what)
{
    CommandLine line;
    line.action = CommandLine::Action::misuse;
    line.problem = "Vorlex: " + what + kHint;
    return line;
}

// Screensaver daemons pass --root and --window-id; X programs of their age
// took the same options with one dash, and some configurations still do.
bool is(const char *argument, const char *longName)
{
    return std::strcmp(argument, longName) == 0 || std::strcmp(argument, longName + 1) == 0;
}

std::vector<const char *> longOptions(OptionSet options)
{
    if (options == OptionSet::x11)
        return {"--help", "--version", "--window", "--root", "--window-id"};
    return {"--help", "--version", "--window"};
}

// As GNU programs do, any unambiguous beginning of a long option stands for
// it: --vers, --window-i=ID. The option spelled out, the argument as it is
// when it begins no option, or "" with the candidates in *ambiguous.
std::string spellOut(const std::string &argument, OptionSet options, std::string *ambiguous)
{
    if (argument.compare(0, 2, "--") != 0 || argument.size() == 2)
        return argument;
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const std::string rest = equals == std::string::npos ? "" : argument.substr(equals);
    std::string found;
    int matches = 0;
    for (const char *option : longOptions(options)) {
        if (name == option)
            return argument;
        if (std::strncmp(option, name.c_str(), name.size()) == 0) {
            *ambiguous += (matches++ == 0 ? "" : ", ") + std::string(option);
            found = option;
        }
    }
    if (matches == 0)
        return argument;
    if (matches > 1)
        return "";
    ambiguous->clear();
    return found + rest;
}

// Standard output may be a full disk or a closed pipe: say so, as GNU
// programs do, rather than claim success.
[[noreturn]] void answer(const std::string &text)
{
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "Vorlex: cannot write to standard output: %s\n", std::strerror(errno));
        std::exit(1);
    }
    std::exit(0);
}

} // namespace

bool isDesktopLaunch(int argc, const char *const argv[])
{
    return argc >= 2 && std::strncmp(argv[1], "-psn", 4) == 0;
}

CommandLine parseCommandLine(int argc, const char *const argv[], OptionSet options)
{
    CommandLine line;
    if (isDesktopLaunch(argc, argv))
        return line;
    std::string modeOption, modeValue; // as the user wrote them
    bool help = false, version = false;
    for (int i = 1; i < argc; ++i) {
        const char *written = argv[i];
        std::string ambiguous;
        const std::string spelled = spellOut(written, options, &ambiguous);
        if (spelled.empty())
            return misuse("option \"" + std::string(written) + "\" is ambiguous: " + ambiguous);
        const char *argument = spelled.c_str();
        // Options end at "--"; what follows is no option, and none is taken.
        if (std::strcmp(argument, "--") == 0) {
            if (i + 1 < argc)
                return misuse("unexpected argument \"" + std::string(argv[i + 1]) + "\"");
            break;
        }
        DisplayRequest asked;
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            help = true;
            continue;
        }
        if (std::strcmp(argument, "--version") == 0) {
            version = true;
            continue;
        }
        const char *value = nullptr;
        const bool x11 = options == OptionSet::x11;
        if (std::strcmp(argument, "--window") == 0) {
            asked.mode = DisplayMode::window;
        } else if (x11 && is(argument, "--root")) {
            asked.mode = DisplayMode::root;
        } else if (x11 && is(argument, "--window-id")) {
            if (i + 1 >= argc)
                return misuse(std::string(argument) + " needs a window ID");
            value = argv[++i];
        } else if (x11 && std::strncmp(argument, "--window-id=", 12) == 0) {
            value = argument + 12;
        } else if (argument[0] == '-' && argument[1] != '\0') {
            return misuse("unknown option \"" + std::string(argument) + "\"");
        } else {
            return misuse("unexpected argument \"" + std::string(argument) + "\"");
        }
        if (value) {
            asked.mode = DisplayMode::windowId;
            if (!parseWindowId(value, &asked.windowId))
                return misuse("\"" + std::string(value) +
                              "\" is not a window ID: give it in decimal, or in hexadecimal after 0x");
        }
        // A daemon adds its options to the command line it was given: its
        // --root to one that has it, and a settings dialog the preview's
        // --window-id to one that says --root. The window ID is then meant.
        const DisplayRequest &before = line.display;
        const bool same = asked.mode == before.mode && asked.windowId == before.windowId;
        const bool preview = (asked.mode == DisplayMode::root && before.mode == DisplayMode::windowId) ||
                             (asked.mode == DisplayMode::windowId && before.mode == DisplayMode::root);
        if (!modeOption.empty() && !same && !preview) {
            if (asked.mode == DisplayMode::windowId && before.mode == DisplayMode::windowId)
                return misuse("--window-id is given twice, with different windows: " + modeValue + " and " +
                              value);
            return misuse(modeOption + " and " + written + " ask for different displays");
        }
        if (preview && asked.mode == DisplayMode::root)
            continue;
        modeOption = written;
        modeValue = value ? value : "";
        line.display = asked;
    }
    // As GNU programs do: --help and --version answer whatever else is asked.
    if (help)
        line.action = CommandLine::Action::help;
    else if (version)
        line.action = CommandLine::Action::version;
    return line;
}

std::string usage(OptionSet options)
{
    const bool x11 = options == OptionSet::x11;
    return std::string("Usage: vorlex [OPTION]\n"
                       "A small self-running OpenGL demo: 640x480, full screen, until you quit.\n"
                       "\n"
                       "  --window          show the picture in a 640x480 window, unscaled\n") +
           (x11 ? "  --root            draw into the screensaver's window (XSCREENSAVER_WINDOW),\n"
                  "                    or else into the screen's root window\n"
                  "  --window-id ID    draw into the X window ID (decimal, or hexadecimal after 0x)\n"
                : "") +
           "  --help            show this help and exit\n"
           "  --version         show the version and exit\n"
           "\n" +
           (x11 ? "Escape or Ctrl+Q quits, as do closing the window, Ctrl+C, SIGTERM and SIGHUP.\n"
                : "Escape, Ctrl+Q or Alt+F4 quits, as do closing the window, and Ctrl+C or\n"
                  "closing the console it was started from.\n") +
           "The frame rate goes to standard output every five seconds; a failure to start\n"
           "is one line on standard error and status 1.\n" +
           (x11 ? "With --root or --window-id no frame rate is written, and SIGTERM ends the\n"
                  "program by that signal, as screensaver daemons expect.\n"
                : "");
}

std::string versionLine()
{
    return "Vorlex " VORLEX_VERSION "\n";
}

void answerUnlessRun(const CommandLine &line, OptionSet options)
{
    switch (line.action) {
    case CommandLine::Action::help:
        answer(usage(options));
    case CommandLine::Action::version:
        answer(versionLine());
    case CommandLine::Action::misuse:
        std::fprintf(stderr, "%s\n", line.problem.c_str());
        std::exit(2);
    case CommandLine::Action::run:
        break;
    }
}
