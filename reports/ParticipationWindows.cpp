#include "reports/ParticipationWindows.h"

#include "app/DialogRegistry.h"
#include "reports/CClosedDatasetDlg.h"
#include "reports/CFeedbackDlg.h"
#include "reports/CParticipationDlg.h"
#include "resources/ParticipationReportTemplates.h"

namespace quorin {

void RegisterParticipationReports()
{
    res::RegisterParticipationReportTemplates();
    RegisterDialogWindow<CParticipationDlg>(UserInterface::Dialog::ReportParticipation, WindowShown::Modal);
    RegisterDialogWindow<CFeedbackDlg>(UserInterface::Dialog::ReportFeedback, WindowShown::Modal);
    RegisterDialogWindow<CClosedDatasetDlg>(UserInterface::Dialog::ReportOldDatasets, WindowShown::Modal);
}

} // namespace quorin
