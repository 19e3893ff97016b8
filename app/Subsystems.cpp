#include "app/Subsystems.h"

#include "audiograms/AudiogramViews.h"
#include "subjects/SubjectForms.h"
#include "implants/SllForms.h"
#include "reports/ReportWindows.h"
#include "admin/AdminDialogs.h"

namespace quorin {

void RegisterSubsystems()
{
    RegisterSubjectForms();
    RegisterSllForms();
    RegisterReportWindows();
    RegisterAudiogramViews();
    RegisterAdminDialogs();
}

} // namespace quorin
