#pragma once
// The framework's own accessible interfaces, handed to Qt by one factory: the tab
// window's band as a page-tab list, toolbar buttons named after their command, and
// self-drawn views (AccessibleCanvas.h). Installed once; the template builder does it
// before the first form exists, so nothing needs to remember to.

namespace framework {

void InstallAccessibleFactories();

} // namespace framework
