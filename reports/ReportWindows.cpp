#include "reports/ReportWindows.h"

#include "app/DialogRegistry.h"

namespace quorin {

void RegisterReportWindows()
{
    // Each report adds its line here, e.g.
    //   RegisterDialogWindow<CConsentReportDlg>(UserInterface::Dialog::ReportConsent, WindowShown::Modeless);
    // A Reports command whose window is not registered stays disabled.
}

} // namespace quorin
