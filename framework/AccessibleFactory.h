#pragma once
// The framework's own accessible interfaces, handed to Qt by one factory: the tab
// window's band as a page-tab list, toolbar buttons named after their command, combo
// boxes named by their labels, and self-drawn views (AccessibleCanvas.h). Qt keeps the interface it made first for a
// widget, so this runs before the first window is made: the program's resources install
// it, and the template builder again, which also keeps it ahead of Qt's own factory.

namespace framework {

void InstallAccessibleFactories();

} // namespace framework
