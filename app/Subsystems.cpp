#include "app/Subsystems.h"

#include "subjects/SubjectForms.h"
#include "reports/ReportWindows.h"

namespace quorin {

void RegisterSubsystems()
{
    RegisterSubjectForms();
    RegisterReportWindows();
}

} // namespace quorin
