#include "shell/menu.h"

#include <utility>

namespace {

MenuItem item(std::string title, Action action, std::string keyEquivalent = "",
              unsigned modifierMask = 0)
{
    MenuItem made;
    made.title = std::move(title);
    made.action = action;
    made.keyEquivalent = std::move(keyEquivalent);
    made.modifierMask = modifierMask;
    return made;
}

MenuItem separatorItem()
{
    MenuItem made;
    made.separator = true;
    return made;
}

// An item with no action of its own that opens `menu`.
MenuItem submenuItem(std::string title, Menu menu)
{
    MenuItem made = item(std::move(title), Action::none);
    made.submenu = std::make_shared<Menu>(std::move(menu));
    return made;
}

Menu applicationMenu(const std::string &name)
{
    return Menu{"",
                {item("About " + name, Action::orderFrontStandardAboutPanel),
                 separatorItem(),
                 item("Hide " + name, Action::hide, "h", commandKeyMask),
                 item("Hide Others", Action::hideOtherApplications, "h", alternateKeyMask | commandKeyMask),
                 item("Show All", Action::unhideAllApplications),
                 separatorItem(),
                 item("Quit " + name, Action::terminate, "q", commandKeyMask)}};
}

Menu windowMenu()
{
    return Menu{"Window", {item("Minimize", Action::performMiniaturize, "m", commandKeyMask)}};
}

} // namespace

const char *selectorName(Action action)
{
    switch (action) {
    case Action::none: return "";
    case Action::orderFrontStandardAboutPanel: return "orderFrontStandardAboutPanel:";
    case Action::hide: return "hide:";
    case Action::hideOtherApplications: return "hideOtherApplications:";
    case Action::unhideAllApplications: return "unhideAllApplications:";
    case Action::terminate: return "terminate:";
    case Action::performMiniaturize: return "performMiniaturize:";
    }
    return "";
}

const MenuItem *Menu::itemForKeyEquivalent(char key, unsigned modifierMask) const
{
    for (const MenuItem &entry : items) {
        if (entry.submenu) {
            if (const MenuItem *found = entry.submenu->itemForKeyEquivalent(key, modifierMask))
                return found;
        } else if (entry.keyEquivalent.size() == 1 && entry.keyEquivalent[0] == key &&
                   entry.modifierMask == modifierMask) {
            return &entry;
        }
    }
    return nullptr;
}

Menu mainMenu(const std::string &applicationName)
{
    return Menu{"", {submenuItem("", applicationMenu(applicationName)),
                     submenuItem("Window", windowMenu())}};
}
