#include "reports/ReportWindows.h"

#include "app/DialogRegistry.h"
#include "reports/CConsentReportDlg.h"
#include "reports/CContactReportDlg.h"
#include "reports/CDatasetReportDlg.h"
#include "reports/CLettersDlg.h"
#include "reports/ParticipationWindows.h"
#include "resources/ConsentReportTemplates.h"
#include "reports/CDatabaseNumbersDlg.h"
#include "reports/CDemographicsDlg.h"
#include "reports/CMonthlyNumbersDlg.h"
#include "resources/NumbersReportTemplates.h"

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
}

} // namespace quorin
