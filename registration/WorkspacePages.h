#pragma once
// The window classes of the workspace pages by node id (3 chart, 4 audiogram data,
// 5 subject, 6 other, 7 comments, 8 CI data, 9 S/L/L). A subsystem registers its form
// here before the main frame is built; a page nobody registered is an empty form page
// carrying the form's class name.

#include "framework/CreateContext.h"

namespace quorin {

void RegisterWorkspacePage(unsigned nodeId, TWindowClass windowClass);

// The registered class, or the empty form page named after the node's form class.
TWindowClass WorkspacePageClass(unsigned nodeId);

// The form class name of a view node ("CFormSubject" for 5 ...), "" for other ids.
QString WorkspacePageClassName(unsigned nodeId);

} // namespace quorin
