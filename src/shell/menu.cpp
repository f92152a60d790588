#include "shell/menu.h"

#include <utility>

namespace {

MenuItem item(std::string title, std::string action, std::string keyEquivalent = "",
              unsigned modifierMask = 0)
{
    MenuItem made;
    made.title = std::move(title);
    made.action = std::move(action);
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
    MenuItem made = item(std::move(title), "");
    made.submenu = std::make_shared<Menu>(std::move(menu));
    return made;
}

Menu applicationMenu(const std::string &name)
{
    return Menu{"",
                {item("About " + name, "orderFrontStandardAboutPanel:"),
                 separatorItem(),
                 item("Hide " + name, "hide:", "h", commandKeyMask),
                 item("Hide Others", "hideOtherApplications:", "h", alternateKeyMask | commandKeyMask),
                 item("Show All", "unhideAllApplications:"),
                 separatorItem(),
                 item("Quit " + name, "terminate:", "q", commandKeyMask)}};
}

Menu windowMenu()
{
    return Menu{"Window", {item("Minimize", "performMiniaturize:", "m", commandKeyMask)}};
}

} // namespace

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
