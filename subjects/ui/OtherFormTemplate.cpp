// The Other tab (template 139): the subject's availability for studies and the
// participation rows, one per study and dataset, with the fields a row is edited in.

#include "subjects/ui/SubjectTemplates.h"

namespace res {

using namespace framework;
using namespace other;

namespace {

ControlTemplate Label(const char* text, int x, int y, int cx)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), x, y, cx, 8, StyleNone, {}};
}

} // namespace

DialogTemplate OtherFormTemplate()
{
    const QStringList yesNoBlank = {QStringLiteral("Yes"), QStringLiteral("No"), QString()};
    DialogTemplate form;
    form.id = IDD_FORM_OTHER;
    form.cx = 512;
    form.cy = 282;
    form.controls = {
        {-1, ControlKind::GroupBox, QStringLiteral("Availability"), 7, 7, 150, 44, StyleNone, {}},
        {IDC_LONGTERM, ControlKind::CheckBox, QStringLiteral("Longterm"), 15, 18, 45, 10, StyleNone, {}},
        {IDC_SHORTTERM, ControlKind::CheckBox, QStringLiteral("Shortterm"), 63, 18, 46, 10, StyleNone, {}},
        {IDC_WORKDAY, ControlKind::CheckBox, QStringLiteral("Workday"), 113, 18, 41, 10, StyleNone, {}},
        {IDC_EVENINGS, ControlKind::CheckBox, QStringLiteral("Evenings"), 15, 30, 45, 10, StyleNone, {}},
        {IDC_WEEKENDS, ControlKind::CheckBox, QStringLiteral("Weekends"), 63, 30, 48, 10, StyleNone, {}},
        {IDC_OTHER, ControlKind::CheckBox, QStringLiteral("Other?"), 113, 30, 37, 10, StyleNone, {}},
        {-1, ControlKind::GroupBox, QStringLiteral("Study Participation"), 7, 54, 430, 113, StyleNone, {}},
        Label("Project:", 14, 67, 40),
        {IDC_PROJECT, ControlKind::ComboDropDown, {}, 56, 65, 138, 76, StyleNone, {QString()}},
        Label("Grant:", 14, 83, 40),
        {IDC_GRANT, ControlKind::ComboDropDown, {}, 56, 81, 138, 76, StyleNone, {}},
        Label("Start Date:", 198, 67, 42),
        {IDC_DATE1, ControlKind::Edit, {}, 241, 65, 51, 12, StyleAutoHScroll, {}},
        Label("Finish Date:", 198, 83, 42),
        {IDC_DATE2, ControlKind::Edit, {}, 241, 81, 51, 12, StyleAutoHScroll, {}},
        Label("Sessions", 296, 69, 30),
        {IDC_SESSIONS, ControlKind::Edit, {}, 299, 79, 22, 12, StyleAutoHScroll | StyleNumber, {}},
        Label("Contacted:", 14, 99, 41),
        {IDC_CONTACTED, ControlKind::ComboDropList, {}, 56, 97, 99, 76, StyleNone,
         {QStringLiteral("Contacted"), QStringLiteral("Could Not Contact"), QStringLiteral("Did Not Contact"),
          QStringLiteral("Could Not Contact - Checked")}},
        {IDC_EXCONTACT, ControlKind::Edit, {}, 160, 97, 153, 12, StyleAutoHScroll, {}, QStringLiteral("Contact remark")},
        Label("Participated:", 10, 115, 45),
        {IDC_PARTICIPATED, ControlKind::ComboDropList, {}, 55, 113, 99, 76, StyleNone, yesNoBlank},
        {IDC_EXPARTIC, ControlKind::Edit, {}, 160, 113, 153, 12, StyleAutoHScroll, {},
         QStringLiteral("Participation remark")},
        Label("Completed:", 10, 131, 45),
        {IDC_COMPLETED, ControlKind::ComboDropList, {}, 55, 129, 99, 76, StyleNone, yesNoBlank},
        {IDC_COMMENTS, ControlKind::Edit, {}, 160, 130, 153, 12, StyleAutoHScroll, {}, QStringLiteral("Comments")},
        Label("Appts:", 330, 67, 32),
        {IDC_APPTS, ControlKind::ComboDropList, {}, 363, 65, 72, 76, StyleNone,
         {QStringLiteral("All"), QStringLiteral("Most"), QStringLiteral("Some"), QStringLiteral("None")}},
        Label("Show:", 330, 83, 32),
        {IDC_SHOW, ControlKind::ComboDropList, {}, 363, 81, 72, 76, StyleNone,
         {QStringLiteral("On Time"), QStringLiteral("Late")}},
        Label("Call Again:", 322, 99, 40),
        {IDC_CALLAGAIN, ControlKind::ComboDropList, {}, 363, 97, 72, 76, StyleNone,
         {QStringLiteral("Yes"), QStringLiteral("No")}},
        Label("Date:", 330, 113, 32),
        {IDC_FDATE, ControlKind::Edit, {}, 363, 111, 72, 12, StyleAutoHScroll | StyleReadOnly, {},
         QStringLiteral("Feedback Date")},
        Label("Lab:", 14, 150, 40),
        {IDC_LAB, ControlKind::ComboDropDown, {}, 55, 148, 258, 76, StyleSorted,
         {QStringLiteral("Hearing Aid Research Lab"), QStringLiteral("Psychoacoustics Lab"),
          QStringLiteral("Clinical Sensory Physiology Lab"), QStringLiteral("Physical Acoustics"),
          QStringLiteral("Speech Physiology"), QStringLiteral("CCD"), QStringLiteral("Cochlear Implant Research Lab"),
          QStringLiteral("Auditory Physiology"), QStringLiteral("Genetics, Usher Syndrome"),
          QStringLiteral("Infant Development Lab"), QStringLiteral("Balance Disorders")}},
        {IDC_UPDATE, ControlKind::PushButton, QStringLiteral("Update"), 378, 148, 44, 13, StyleNone, {}},
        {IDC_LIST, ControlKind::ReportList, {}, 7, 171, 498, 104, StyleNone, {}, QStringLiteral("Study participation")},
    };
    return form;
}

} // namespace res
