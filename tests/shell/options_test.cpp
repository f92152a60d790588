// The command line: what each way of calling the program asks for.
#include <gtest/gtest.h>

#include <vector>

#include "shell/options.h"

namespace {

CommandLine parse(std::vector<const char *> arguments, OptionSet options = OptionSet::x11)
{
    arguments.insert(arguments.begin(), "vorlex");
    return parseCommandLine(static_cast<int>(arguments.size()), arguments.data(), options);
}

using Action = CommandLine::Action;

TEST(Options, AskForADisplayOrAnAnswer)
{
    struct Case {
        std::vector<const char *> arguments;
        Action action;
        DisplayMode mode;
        unsigned long windowId;
    } cases[] = {
        {{}, Action::run, DisplayMode::fullScreen, 0},
        {{"--window"}, Action::run, DisplayMode::window, 0},
        {{"--root"}, Action::run, DisplayMode::root, 0},
        {{"-root"}, Action::run, DisplayMode::root, 0},
        {{"--window-id", "4194311"}, Action::run, DisplayMode::windowId, 4194311},
        {{"-window-id", "0x400007"}, Action::run, DisplayMode::windowId, 0x400007},
        {{"--window-id=0X1fFfFfFf"}, Action::run, DisplayMode::windowId, 0x1FFFFFFF},
        {{"--root", "-root"}, Action::run, DisplayMode::root, 0},
        {{"--window-id", "7", "--window-id=0x7"}, Action::run, DisplayMode::windowId, 7},
        // A settings dialog's preview: the command line with the preview's window.
        {{"--root", "--window-id", "0x7"}, Action::run, DisplayMode::windowId, 7},
        {{"-window-id", "7", "-root"}, Action::run, DisplayMode::windowId, 7},
        {{"--help"}, Action::help, DisplayMode::fullScreen, 0},
        {{"-h"}, Action::help, DisplayMode::fullScreen, 0},
        {{"--version"}, Action::version, DisplayMode::fullScreen, 0},
        // Any unambiguous beginning of a long option, as GNU programs take it.
        {{"--vers"}, Action::version, DisplayMode::fullScreen, 0},
        {{"--window", "--"}, Action::run, DisplayMode::window, 0},
        {{"--h"}, Action::help, DisplayMode::fullScreen, 0},
        {{"--ro"}, Action::run, DisplayMode::root, 0},
        {{"--window-i=0x10"}, Action::run, DisplayMode::windowId, 16},
        // --help wins over whatever else is asked, a mistake aside.
        {{"--window", "--version", "--help"}, Action::help, DisplayMode::window, 0},
        // A launch from the desktop passes its own arguments, never options.
        {{"-psn_0_1234", "--bogus"}, Action::run, DisplayMode::fullScreen, 0},
    };
    for (const Case &c : cases) {
        const CommandLine line = parse(c.arguments);
        const std::string called = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.action, c.action) << called;
        EXPECT_EQ(line.display.mode, c.mode) << called;
        EXPECT_EQ(line.display.windowId, c.windowId) << called;
        EXPECT_EQ(line.problem, "") << called;
    }
}

TEST(Options, MistakesAreOneLineThatNamesThem)
{
    struct Case {
        std::vector<const char *> arguments;
        const char *problem;
    } cases[] = {
        {{"--fullscreen"}, "Vorlex: unknown option \"--fullscreen\" (--help lists the options)"},
        {{"-x", "--help"}, "Vorlex: unknown option \"-x\" (--help lists the options)"},
        {{"image.png"}, "Vorlex: unexpected argument \"image.png\" (--help lists the options)"},
        {{"--", "--help"}, "Vorlex: unexpected argument \"--help\" (--help lists the options)"},
        {{"--window-id"}, "Vorlex: --window-id needs a window ID (--help lists the options)"},
        {{"--w"}, "Vorlex: option \"--w\" is ambiguous: --window, --window-id (--help lists the options)"},
        {{"--wind=5"}, "Vorlex: option \"--wind=5\" is ambiguous: --window, --window-id (--help lists the options)"},
        // Five candidates, an odd number, are as ambiguous as two.
        {{"--=0x7"}, "Vorlex: option \"--=0x7\" is ambiguous: --help, --version, --window, --root, --window-id "
                     "(--help lists the options)"},
        {{"--window-id", "5", "--win"},
         "Vorlex: option \"--win\" is ambiguous: --window, --window-id (--help lists the options)"},
        {{"--window-id", "5", "--window"},
         "Vorlex: --window-id and --window ask for different displays (--help lists the options)"},
        {{"--window", "--root"},
         "Vorlex: --window and --root ask for different displays (--help lists the options)"},
        {{"--window-id", "7", "--window"},
         "Vorlex: --window-id and --window ask for different displays (--help lists the options)"},
        {{"--window-id", "7", "--window-id=8"},
         "Vorlex: --window-id is given twice, with different windows: 7 and 8 (--help lists the options)"},
        {{"-window-id", "1", "--root", "--window-id", "0x2"},
         "Vorlex: --window-id is given twice, with different windows: 1 and 0x2 (--help lists the options)"},
        {{"-window-id", "7", "--root", "--window"},
         "Vorlex: -window-id and --window ask for different displays (--help lists the options)"},
    };
    for (const Case &c : cases) {
        const CommandLine line = parse(c.arguments);
        EXPECT_EQ(line.action, Action::misuse);
        EXPECT_EQ(line.problem, c.problem);
    }
}

TEST(Options, AWindowIdIsDecimalOrHexadecimalAndNamesAWindow)
{
    for (const char *bad : {"", "0", "0x", "0x0", "-5", "+5", " 5", "5 ", "12abc", "0xg1", "0x20000000",
                            "99999999999999999999999"}) {
        const CommandLine line = parse({"--window-id", bad});
        EXPECT_EQ(line.action, Action::misuse) << '"' << bad << '"';
        EXPECT_NE(line.problem.find(std::string("\"") + bad + "\" is not a window ID"), std::string::npos)
            << line.problem;
    }
}

TEST(Options, HelpListsEveryOptionAndVersionNamesTheBuild)
{
    for (const char *option : {"--window", "--root", "--window-id ID", "--help", "--version"})
        EXPECT_NE(usage(OptionSet::x11).find(option), std::string::npos) << option;
    EXPECT_EQ(versionLine(), "Vorlex " VORLEX_VERSION "\n");
}

// Windows has no X windows to draw into: the screensaver options are unknown
// there, so "--win" stands for --window alone, and the help names neither.
TEST(Options, WindowsTakesNoXWindowOptions)
{
    EXPECT_EQ(parse({"--win"}, OptionSet::windows).display.mode, DisplayMode::window);
    EXPECT_EQ(parse({"--win"}, OptionSet::x11).action, Action::misuse);
    for (const char *x11Only : {"--root", "-root", "--window-id=5", "--window-id"}) {
        const CommandLine line = parse({x11Only}, OptionSet::windows);
        EXPECT_EQ(line.action, Action::misuse) << x11Only;
        EXPECT_NE(line.problem.find("unknown option"), std::string::npos) << line.problem;
    }
    const std::string help = usage(OptionSet::windows);
    EXPECT_EQ(help.find("--root"), std::string::npos);
    EXPECT_EQ(help.find("SIGTERM"), std::string::npos);
    EXPECT_NE(help.find("Alt+F4"), std::string::npos);
}

} // namespace
