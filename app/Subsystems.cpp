#include "app/Subsystems.h"

#include "audiograms/AudiogramViews.h"
#include "subjects/SubjectForms.h"
#include "reports/ReportWindows.h"

namespace quorin {

void RegisterSubsystems()
{
    RegisterSubjectForms();
    RegisterReportWindows();
    RegisterAudiogramViews();
}

} // namespace quorin
