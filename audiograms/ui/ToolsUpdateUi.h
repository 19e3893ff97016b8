#pragma once
// Makes Tools > Update (32813) known to the program. Called once at start-up, before the
// main frame is made.

namespace quorin {

void RegisterToolsUpdate();

} // namespace quorin
