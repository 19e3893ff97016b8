#pragma once
// The menu bar of the main frame: popups in order, each with its items and separators.

#include <span>

namespace res {

struct MenuEntry {
    unsigned id; // 0 for a separator
};

struct MenuPopup {
    const char* title;
    std::span<const MenuEntry> entries;
};

std::span<const MenuPopup> MainMenu();

} // namespace res
