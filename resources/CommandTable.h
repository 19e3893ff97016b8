#pragma once
// One row per command: its menu text (with the accelerator after a tab), its shortcut
// keys, the status-bar text and the tool tip.

#include <QString>

#include <span>

namespace res {

struct CommandInfo {
    unsigned id;
    const char* menuText;   // "" for commands that are not in the menu
    const char* shortcuts;  // key sequences separated by "; " (portable text form)
    const char* statusText;
    const char* toolTip;
};

std::span<const CommandInfo> Commands();

// Null when the id has no row.
const CommandInfo* FindCommand(unsigned id);

} // namespace res
