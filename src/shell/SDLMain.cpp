#include "shell/SDLMain.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <utility>

#include "app/fail.h"
#include "app/loop.h"
#include "app/quit.h"
#include "shell/events.h"
#include "shell/options.h"
#include "shell/system.h"

namespace {

int gArgc;
char **gArgv;  // gArgc + 1 entries, the last null; never freed
bool gFinderLaunch;

} // namespace

void captureArguments(int argc, char *argv[])
{
    gFinderLaunch = isDesktopLaunch(argc, argv);
    gArgc = gFinderLaunch ? 1 : argc;
    gArgv = static_cast<char **>(std::malloc(sizeof(char *) * (static_cast<std::size_t>(gArgc) + 1)));
    if (!gArgv) {
        std::fprintf(stderr, "Vorlex: cannot keep the %d command-line arguments: %s\n", gArgc,
                     std::strerror(ENOMEM));
        std::exit(1);
    }
    // The strings stay the process's own; only the array is new.
    for (int i = 0; i < gArgc; ++i)
        gArgv[i] = argv[i];
    gArgv[gArgc] = nullptr;
}

std::string applicationName()
{
    const std::string bundle = mainBundlePath();
    std::string name, why;
    const std::string plist = bundle + "/Contents/Info.plist";
    if (!bundle.empty() && !bundleName(plist, &name, &why))
        startFail(("cannot read \"" + plist + "\"").c_str(), why.c_str());
    return name.empty() ? processName() : name;
}

SDLApplication *SDLApplication::sharedApplication()
{
    static SDLApplication application;
    return &application;
}

void SDLApplication::setMainMenu(Menu menu)
{
    mainMenu_ = std::move(menu);
}

void SDLApplication::setDelegate(SDLMain *delegate)
{
    delegate_ = delegate;
}

void SDLApplication::run()
{
    installKeyEquivalents();
    catchTerminationSignals();
    delegate_->applicationDidFinishLaunching();
}

bool SDLApplication::performKeyEquivalent(char key, unsigned modifierMask)
{
    const MenuItem *item = mainMenu_.itemForKeyEquivalent(key, modifierMask);
    if (!item)
        return false;
    sendAction(item->action);
    return true;
}

void SDLApplication::sendAction(Action action)
{
    switch (action) {
    case Action::terminate:
        terminate();
        break;
    // Hiding the application is iconifying its one window here.
    case Action::hide:
    case Action::performMiniaturize:
        iconifyWindow();
        break;
    // No counterpart on X11.
    case Action::none:
    case Action::orderFrontStandardAboutPanel:
    case Action::hideOtherApplications:
    case Action::unhideAllApplications:
        break;
    }
}

void SDLApplication::terminate()
{
    postQuitEvent();
}

void SDLMain::applicationDidFinishLaunching()
{
    setupWorkingDirectory(gFinderLaunch);
    const int status = SDL_main(gArgc, gArgv);
    endAsSignalled();
    std::exit(status);
}

void SDLMain::setupWorkingDirectory(bool shouldChdir)
{
    if (!shouldChdir)
        return;
    char parentdir[1024];
    const std::string parent = parentFolder(mainBundlePath());
    if (!fileSystemRepresentation(parent, parentdir, sizeof parentdir)) {
        const std::string reason = parent.empty() ? "the bundle's folder is unknown"
                                                  : "its path is " + std::to_string(parent.size()) +
                                                        " bytes, and a folder change takes fewer than " +
                                                        std::to_string(sizeof parentdir);
        startFail(("cannot make the folder that holds the bundle (" + parent + ") the working directory").c_str(),
                  reason.c_str());
    }
    if (chdir(parentdir) != 0) {
        std::fprintf(stderr, "%s:%u: failed assertion `%s'\n", "SDLMain", 93u, "chdir (parentdir) == 0");
        std::fflush(stderr);
        std::abort();
    }
}
