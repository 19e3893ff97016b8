#include "reports/ui/ParticipationWindows.h"

#include "registration/DialogRegistry.h"
#include "reports/ui/CClosedDatasetDlg.h"
#include "reports/ui/CFeedbackDlg.h"
#include "reports/ui/CParticipationDlg.h"
#include "reports/ui/ParticipationReportTemplates.h"

namespace quorin {

void RegisterParticipationReports()
{
    res::RegisterParticipationReportTemplates();
    RegisterDialogWindow<CParticipationDlg>(UserInterface::Dialog::ReportParticipation, WindowShown::Modal);
    RegisterDialogWindow<CFeedbackDlg>(UserInterface::Dialog::ReportFeedback, WindowShown::Modal);
    RegisterDialogWindow<CClosedDatasetDlg>(UserInterface::Dialog::ReportOldDatasets, WindowShown::Modal);
}

} // namespace quorin
