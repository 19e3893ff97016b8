// The two lookups: Subject Lookup (159) searches the registry by name, Medical Manager
// Lookup (161) the practice database; 160 is the Medical Manager twin nothing opens.

#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"

namespace res {

using namespace framework;

namespace {

DialogTemplate LookupTemplate(int id, const char* caption, const char* prompt, const char* listName)
{
    DialogTemplate form;
    form.id = id;
    form.caption = QString::fromUtf8(caption);
    form.cx = 244;
    form.cy = 121;
    form.controls = {
        {IDOK, ControlKind::DefPushButton, QStringLiteral("OK"), 187, 7, 50, 14, StyleNone, {}},
        {IDCANCEL, ControlKind::PushButton, QStringLiteral("Cancel"), 187, 24, 50, 14, StyleNone, {}},
        {-1, ControlKind::Static, QString::fromUtf8(prompt), 7, 23, 175, 16, StyleNone, {}},
        {lookup::IDC_LIST, ControlKind::ReportList, {}, 7, 42, 230, 72, StyleNone, {}, QString::fromUtf8(listName)},
    };
    return form;
}

} // namespace

DialogTemplate SubjectLookupTemplate()
{
    return LookupTemplate(IDD_SUBJECT_LOOKUP, "Subject Lookup", "Matching subjects found in the Quorin Database.",
                          "Matching subjects");
}

DialogTemplate MedicalManagerLookupTemplate(int id)
{
    return LookupTemplate(id, "Medical Manager Lookup", "Matching Patients found in the Medical Manager Database.",
                          "Matching patients");
}

} // namespace res
