#pragma once
// Makes the report windows known to the program: each report registers its template and
// its window class (modal or modeless) here, and the Reports menu enables its command.
// Called once at start-up.

namespace quorin {

void RegisterReportWindows();

} // namespace quorin
