#pragma once
// Makes the program's resources known to the framework: the dialog templates and the
// loader of icons and bitmaps. Called once at start-up (and by tests that build forms).

namespace res {

void InstallResources();

} // namespace res
