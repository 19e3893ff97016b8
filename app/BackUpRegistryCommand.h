#pragma once
// Tools > Back Up Registry...: an administrator of an embedded registry chooses a folder
// (the one chosen last time is offered first) and the whole registry is copied into one
// backup file there while everybody keeps working, with progress and Cancel. A SQL Server
// registry is backed up with SQL Server's own backup, so there the command is disabled.

namespace quorin {

// Binds the command to the document's commands. Called once at start-up.
void RegisterBackUpRegistryCommand();

} // namespace quorin
