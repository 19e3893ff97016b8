#pragma once
// Every subsystem's forms, dialogs and templates are made known to the shell here,
// once at start-up, before the main frame builds its workspace.

namespace quorin {

void RegisterSubsystems();

} // namespace quorin
