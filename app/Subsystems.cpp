#include "app/Subsystems.h"

#include "audiograms/AudiogramViews.h"
#include "audiograms/CAmSearchDlg.h"
#include "subjects/SubjectForms.h"
#include "implants/SllForms.h"
#include "reports/ReportWindows.h"
#include "implants/CiDataForms.h"
#include "admin/AdminDialogs.h"
#include "implants/CidImportUi.h"
#include "audiograms/ToolsUpdateUi.h"

namespace quorin {

void RegisterSubsystems()
{
    RegisterSubjectForms();
    RegisterSllForms();
    RegisterReportWindows();
    RegisterAudiogramViews();
    RegisterCiDataForms();
    RegisterAdminDialogs();
    RegisterAmSearchDialog();
    RegisterCidImport();
    RegisterToolsUpdate();
}

} // namespace quorin
