#include "reports/ui/ReportWindows.h"

#include "registration/DialogRegistry.h"
#include "reports/ui/CConsentReportDlg.h"
#include "reports/ui/ChangeHistoryWindow.h"
#include "reports/ui/CContactReportDlg.h"
#include "reports/ui/CDatasetReportDlg.h"
#include "reports/ui/CLettersDlg.h"
#include "reports/ui/ParticipationWindows.h"
#include "reports/ui/ConsentReportTemplates.h"
#include "reports/ui/CDatabaseNumbersDlg.h"
#include "reports/ui/CDemographicsDlg.h"
#include "reports/ui/CMonthlyNumbersDlg.h"
#include "reports/ui/NumbersReportTemplates.h"

namespace quorin {

void RegisterReportWindows()
{
    // Each report adds its lines here. A Reports command whose window is not registered
    // stays disabled.
    res::RegisterConsentReportTemplates();
    RegisterDialogWindow<CConsentReportDlg>(UserInterface::Dialog::ReportConsent, WindowShown::Modeless);
    RegisterDialogWindow<CContactReportDlg>(UserInterface::Dialog::ReportContact, WindowShown::Modeless);
    RegisterDialogWindow<CLettersDlg>(UserInterface::Dialog::ReportLetters, WindowShown::Modal);
    RegisterDatasetReport();
    RegisterParticipationReports();
    res::RegisterNumbersReportTemplates();
    RegisterDialogWindow<CDatabaseNumbersDlg>(UserInterface::Dialog::ReportNumbers, WindowShown::Modal);
    RegisterDialogWindow<CMonthlyNumbersDlg>(UserInterface::Dialog::ReportMonthlyNumbers, WindowShown::Modal);
    RegisterDialogWindow<CDemographicsDlg>(UserInterface::Dialog::ReportDemographics, WindowShown::Modal);
    RegisterChangeHistoryWindow();
}

} // namespace quorin
