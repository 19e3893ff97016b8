// The Consent (183) and Contact (184) lists beside the main window, and the Letters
// counts (194).

#include "reports/ui/ConsentReportTemplates.h"

#include "framework/TemplateRegistry.h"
#include "reports/ui/ReportControlIds.h"

namespace res {

using namespace framework;
using namespace res::report;

DialogTemplate ConsentReportTemplate()
{
    DialogTemplate form;
    form.id = IDD_CONSENT_REPORT;
    form.caption = QStringLiteral("Consent");
    form.cx = 530;
    form.cy = 290;
    form.controls = {
        {-1, ControlKind::Static,
         QStringLiteral("These Subjects have a 'Last Date of DB Consent' that is 24 or more months past, and they have "
                        "not been contacted in the last 24 months."),
         7, 7, 455, 18, StyleNone, {}},
        {kList, ControlKind::ReportList, {}, 7, 28, 455, 255, StyleNone, {}, QStringLiteral("Consent list")},
        {consent::IDC_SHOW_NR, ControlKind::CheckBox, QStringLiteral("Show NR Only"), 467, 28, 60, 10, StyleNone, {}},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 467, 45, 56, 14, StyleNone, {}},
        {kSave, ControlKind::PushButton, QStringLiteral("Save"), 467, 63, 56, 14, StyleNone, {}},
        {kOk, ControlKind::DefPushButton, QStringLiteral("Close"), 467, 269, 56, 14, StyleNone, {}},
    };
    return form;
}

DialogTemplate ContactReportTemplate()
{
    DialogTemplate form;
    form.id = IDD_CONTACT_REPORT;
    form.caption = QStringLiteral("Contact");
    form.cx = 450;
    form.cy = 250;
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("These Subjects could not be contacted during their last release."),
         7, 7, 375, 10, StyleNone, {}},
        {kList, ControlKind::ReportList, {}, 7, 20, 375, 223, StyleNone, {}, QStringLiteral("No contact list")},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 387, 20, 56, 14, StyleNone, {}},
        {kOk, ControlKind::DefPushButton, QStringLiteral("Close"), 387, 229, 56, 14, StyleNone, {}},
    };
    return form;
}

DialogTemplate LettersTemplate()
{
    DialogTemplate form;
    form.id = IDD_LETTERS;
    form.caption = QStringLiteral("Letters");
    form.cx = 320;
    form.cy = 150;
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("From:"), 7, 9, 22, 8, StyleNone, {}},
        {kFrom, ControlKind::Edit, {}, 31, 7, 60, 12, StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("To:"), 100, 9, 14, 8, StyleNone, {}},
        {kTo, ControlKind::Edit, {}, 116, 7, 60, 12, StyleAutoHScroll, {}},
        {kList, ControlKind::ReportList, {}, 7, 25, 245, 118, StyleNone, {}, QStringLiteral("Letter counts")},
        {kQuery, ControlKind::DefPushButton, QStringLiteral("Query"), 259, 7, 54, 14, StyleNone, {}},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 259, 25, 54, 14, StyleNone, {}},
        {consent::IDC_CLOSE, ControlKind::PushButton, QStringLiteral("Close"), 259, 129, 54, 14, StyleNone, {}},
    };
    return form;
}

void RegisterConsentReportTemplates()
{
    RegisterDialogTemplate(ConsentReportTemplate());
    RegisterDialogTemplate(ContactReportTemplate());
    RegisterDialogTemplate(LettersTemplate());
}

} // namespace res
