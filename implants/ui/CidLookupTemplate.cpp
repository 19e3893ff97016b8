// CI Database Lookup (191): patients of the cochlear-implant database matching the open
// subject's KV Number or names.

#include "implants/ui/CidTemplates.h"

#include "framework/TemplateRegistry.h"
#include "resources/Resource.h"

namespace res {

using namespace framework;

DialogTemplate CidLookupTemplate()
{
    DialogTemplate form;
    form.id = IDD_CID_LOOKUP;
    form.caption = QStringLiteral("CI Database Lookup");
    form.cx = 244;
    form.cy = 118;
    form.controls = {
        {IDOK, ControlKind::DefPushButton, QStringLiteral("OK"), 187, 7, 50, 14, StyleNone, {}},
        {IDCANCEL, ControlKind::PushButton, QStringLiteral("Cancel"), 187, 24, 50, 14, StyleNone, {}},
        {-1, ControlKind::Static,
         QStringLiteral("Matching patients found in CI Database.  Double click the one you want to import."), 7, 7,
         175, 32, StyleNone, {}},
        {cidlookup::IDC_LIST, ControlKind::ReportList, {}, 7, 43, 230, 68, StyleNone, {}, QStringLiteral("Matching patients")},
    };
    return form;
}

void RegisterCidTemplates()
{
    RegisterDialogTemplate(CidLookupTemplate());
}

} // namespace res
