#include "app/Subsystems.h"

#include "audiograms/AudiogramViews.h"
#include "audiograms/CAmSearchDlg.h"
#include "subjects/SubjectForms.h"
#include "implants/SllForms.h"
#include "reports/ReportWindows.h"

namespace quorin {

void RegisterSubsystems()
{
    RegisterSubjectForms();
    RegisterSllForms();
    RegisterReportWindows();
    RegisterAudiogramViews();
    RegisterAmSearchDialog();
}

} // namespace quorin
