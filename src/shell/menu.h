// The main menu as data: titles, the action each item sends the application,
// key equivalents and their modifier masks. Linux shows no menu bar; the key
// equivalents are what the menus do here. No SDL here.
#pragma once

#include <memory>
#include <string>
#include <vector>

// Modifier masks, with the values the menus' tables are written in. On Linux
// Ctrl stands for Command and Alt for Option.
constexpr unsigned shiftKeyMask = 1u << 17;
constexpr unsigned alternateKeyMask = 1u << 19;
constexpr unsigned commandKeyMask = 1u << 20;

struct Menu;

// What an item asks of the application, named after the Cocoa selector whose
// role it plays.
enum class Action {
    none,
    orderFrontStandardAboutPanel,
    hide,
    hideOtherApplications,
    unhideAllApplications,
    terminate,
    performMiniaturize,
};

// The selector an action stands for, e.g. "terminate:"; "" for none.
const char *selectorName(Action action);

struct MenuItem {
    std::string title;
    Action action = Action::none; // what the item sends the application
    std::string keyEquivalent;   // one lower-case character; "" for none
    unsigned modifierMask = 0;   // the modifiers the key equivalent needs, exactly
    std::shared_ptr<Menu> submenu;
    bool separator = false;
};

struct Menu {
    std::string title;
    std::vector<MenuItem> items;

    // The item, in this menu or any submenu, whose key equivalent is `key`
    // pressed with exactly the modifiers in `modifierMask`; null if none.
    const MenuItem *itemForKeyEquivalent(char key, unsigned modifierMask) const;
};

// The main menu: the application menu, whose items carry `applicationName`,
// and the Window menu.
Menu mainMenu(const std::string &applicationName);
