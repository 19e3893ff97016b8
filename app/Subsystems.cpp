#include "app/Subsystems.h"

#include "audiograms/ui/AudiogramViews.h"
#include "audiograms/ui/CAmSearchDlg.h"
#include "subjects/ui/SubjectForms.h"
#include "implants/ui/SllForms.h"
#include "reports/ui/ReportWindows.h"
#include "implants/ui/CiDataForms.h"
#include "admin/ui/AdminDialogs.h"
#include "implants/ui/CidImportUi.h"
#include "audiograms/ui/ToolsUpdateUi.h"
#include "app/BackUpRegistryCommand.h"
#include "app/CQuorinApp.h"
#include "document/CQuorinDoc.h"

namespace quorin {

void RegisterSubsystems()
{
    RegisterSubjectForms();
    RegisterSllForms();
    RegisterReportWindows();
    RegisterAudiogramViews();
    RegisterCiDataForms();
    RegisterAdminDialogs([](const CQuorinDoc& document) {
        CQuorinApp* app = CQuorinApp::Instance();
        if (app && app->GetDocument() == &document)
            app->m_strPassword = document.m_strPassword;
    });
    RegisterAmSearchDialog();
    RegisterCidImport();
    RegisterToolsUpdate();
    RegisterBackUpRegistryCommand();
}

} // namespace quorin
