// The Subject tab (template 130): every field of the open subject except the implant
// history and the speech-therapy texts. Each label stands right before its control, so
// the template order is also the tab order.

#include "subjects/ui/SubjectTemplates.h"

#include "subjects/record/SubjectFormLists.h"

namespace res {

using framework::ControlKind;
using namespace framework;
using namespace subject;

namespace {

// The lists' items come from the one source the demo generator reads too.
template <std::size_t N>
QStringList Items(const std::array<std::string_view, N>& items)
{
    QStringList list;
    for (std::string_view item : items)
        list << QString::fromUtf8(item.data(), qsizetype(item.size()));
    return list;
}

constexpr unsigned kEdit = StyleAutoHScroll;
constexpr unsigned kUpper = StyleAutoHScroll | StyleUpperCase;

// Labels of the left column sit at the form's edge, those of the right column end just
// before their control.
ControlTemplate LeftLabel(const char* text, int y)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), 4, y + 2, 44, 8, StyleNone, {}};
}

ControlTemplate RightLabel(const char* text, int y)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), 216, y + 2, 96, 8, StyleRight, {}};
}

} // namespace

DialogTemplate SubjectFormTemplate()
{
    DialogTemplate form;
    form.id = IDD_FORM_SUBJECT;
    form.cx = 432;
    form.cy = 282;
    form.controls = {
        LeftLabel("SubjectId:", 7),
        {IDC_SUBJECTID, ControlKind::Edit, {}, 49, 7, 111, 12, kUpper | StyleNumber, {}},
        {IDC_LOAD_BY_ID, ControlKind::PushButton, QStringLiteral("?"), 163, 7, 13, 12, StyleNone, {},
         QStringLiteral("Load subject by id")},
        {IDC_LOOKUP, ControlKind::DefPushButton, QStringLiteral("Lookup"), 183, 10, 50, 14, StyleNone, {}},
        {IDC_MM, ControlKind::PushButton, QStringLiteral("MM"), 183, 28, 50, 14, StyleNone, {},
         QStringLiteral("Medical Manager lookup")},
        LeftLabel("Last Name:", 20),
        {IDC_LAST, ControlKind::Edit, {}, 49, 20, 111, 12, kUpper, {}},
        LeftLabel("First Name:", 33),
        {IDC_FIRST, ControlKind::Edit, {}, 49, 33, 111, 12, kUpper, {}},
        LeftLabel("Parent:", 46),
        {IDC_PARENT, ControlKind::Edit, {}, 49, 46, 111, 12, kUpper, {}},
        LeftLabel("KV Number:", 59),
        {IDC_UNIT, ControlKind::Edit, {}, 49, 59, 111, 12, kEdit, {}},
        LeftLabel("Gender:", 72),
        {IDC_GENDER, ControlKind::ComboDropDown, {}, 49, 72, 111, 47, StyleSorted, Items(lists::kGenders)},
        LeftLabel("Ethnicity:", 85),
        {IDC_ETHNICITY, ControlKind::ComboDropDown, {}, 49, 85, 111, 85, StyleNone, Items(lists::kEthnicities)},
        LeftLabel("Race:", 99),
        {IDC_RACE, ControlKind::ComboDropDown, {}, 50, 99, 111, 85, StyleNone, Items(lists::kRaces)},
        LeftLabel("Birth Date:", 112),
        {IDC_BIRTH, ControlKind::Edit, {}, 50, 112, 111, 12, kEdit, {}},
        LeftLabel("Address:", 125),
        {IDC_ADDRESS, ControlKind::Edit, {}, 50, 125, 111, 12, kEdit, {}},
        {IDC_LAST_ADDRESS, ControlKind::PushButton, QStringLiteral("L"), 163, 125, 13, 12, StyleNone, {},
         QStringLiteral("Recall last saved address")},
        LeftLabel("City:", 138),
        {IDC_CITY, ControlKind::Edit, {}, 50, 138, 111, 12, kEdit, {}},
        LeftLabel("State:", 151),
        {IDC_STATE, ControlKind::Edit, {}, 50, 151, 111, 12, kUpper, {}},
        LeftLabel("Zip Code:", 164),
        {IDC_ZIP, ControlKind::Edit, {}, 50, 164, 111, 12, kEdit, {}},
        LeftLabel("Email:", 177),
        {IDC_EMAIL, ControlKind::Edit, {}, 49, 177, 111, 12, kEdit, {}},
        LeftLabel("Phone:", 190),
        {IDC_PHONE1, ControlKind::Edit, QStringLiteral("xxx-xxx-xxxx"), 49, 190, 111, 12, kEdit, {}},
        {-1, ControlKind::Static, QStringLiteral("Type:"), 164, 192, 20, 8, StyleNone, {}},
        {IDC_PHONE1_TYPE, ControlKind::ComboDropDown, {}, 185, 190, 42, 87, StyleSorted, Items(lists::kPhoneTypes),
         QStringLiteral("Phone type")},
        LeftLabel("Alt Phone:", 203),
        {IDC_PHONE2, ControlKind::Edit, QStringLiteral("xxx-xxx-xxxx"), 49, 203, 111, 12, kEdit, {}},
        {-1, ControlKind::Static, QStringLiteral("Type:"), 164, 205, 20, 8, StyleNone, {}},
        {IDC_PHONE2_TYPE, ControlKind::ComboDropDown, {}, 185, 203, 42, 82, StyleSorted, Items(lists::kPhoneTypes),
         QStringLiteral("Alt Phone type")},
        LeftLabel("Pref. Cont.:", 216),
        {IDC_CONTACT, ControlKind::ComboDropDown, {}, 49, 216, 111, 85, StyleNone, Items(lists::kContacts)},
        {-1, ControlKind::Static, QStringLiteral("Notes:"), 7, 226, 40, 8, StyleNone, {}},
        {IDC_NOTES, ControlKind::MultiEdit, {}, 7, 235, 194, 37, StyleVScroll | StyleWantReturn, {}},
        {IDC_NOTICE, ControlKind::Icon, QString::number(IDI_NOTICE), 203, 170, 20, 20, StyleHidden, {},
         QStringLiteral("Consent notice")},
        RightLabel("School District:", 7),
        {IDC_SCHOOL, ControlKind::ComboDropDown, {}, 315, 7, 111, 120, StyleSorted, Items(lists::kSchools)},
        RightLabel("Primary Language:", 21),
        {IDC_LANGUAGE, ControlKind::ComboDropDown, {}, 315, 21, 111, 120, StyleSorted, Items(lists::kLanguages)},
        RightLabel("Bilingual:", 34),
        {IDC_BILINGUAL, ControlKind::ComboDropDown, {}, 315, 34, 111, 120, StyleSorted, Items(lists::kBilingual)},
        RightLabel("Hearing Status:", 47),
        {IDC_HEARING, ControlKind::ComboDropDown, {}, 315, 47, 111, 120, StyleNone, Items(lists::kImpressions)},
        RightLabel("Loss Type:", 60),
        {IDC_LOSSTYPE, ControlKind::ComboDropDown, {}, 315, 60, 111, 120, StyleSorted, Items(lists::kLossTypes)},
        RightLabel("Cochlear Implant :", 73),
        {IDC_IMPLANT, ControlKind::ComboDropDown, {}, 315, 73, 111, 120, StyleSorted, Items(lists::kCochlearImplant)},
        RightLabel("Bilateral Cochlear Implant:", 87),
        {IDC_BILATERAL, ControlKind::ComboDropDown, {}, 315, 87, 111, 77, StyleSorted, Items(lists::kBilateral)},
        RightLabel("Screening Impression:", 99),
        {IDC_SCREENING, ControlKind::ComboDropDown, {}, 315, 99, 111, 120, StyleSorted, Items(lists::kImpressions)},
        RightLabel("Date of Entry:", 112),
        {IDC_DATE_ENTRY, ControlKind::Edit, {}, 315, 112, 111, 12, kEdit, {}},
        RightLabel("Last Update:", 126),
        {IDC_DATE_UPDATE, ControlKind::Edit, {}, 315, 126, 111, 12, kEdit | StyleReadOnly, {}},
        RightLabel("Entered by:", 139),
        {IDC_ENTERED_BY, ControlKind::Edit, {}, 315, 139, 111, 12, kEdit, {}},
        RightLabel("Status:", 152),
        {IDC_STATUS, ControlKind::ComboDropList, {}, 315, 152, 111, 47, StyleNone, Items(lists::kStatus)},
        RightLabel("Recruitment Method:", 165),
        {IDC_RECRUITMENT, ControlKind::ComboDropDown, {}, 315, 165, 111, 115, StyleNone, {}},
        RightLabel("Date of Initial Consent:", 178),
        {IDC_DATE_INITIAL, ControlKind::Edit, {}, 315, 178, 111, 12, kEdit, {}},
        RightLabel("Date of Last DB Consent:", 191),
        {IDC_DATE_LAST, ControlKind::Edit, {}, 315, 191, 111, 12, kEdit, {}},
        RightLabel("Current Study:", 204),
        {IDC_STUDY, ControlKind::Edit, {}, 315, 204, 111, 12, kEdit | StyleReadOnly, {}},
        RightLabel("Last Participation:", 217),
        {IDC_PARTICIPATION, ControlKind::Edit, {}, 315, 217, 111, 12, kEdit | StyleReadOnly, {}},
        RightLabel("Letter Sent:", 230),
        {IDC_LETTER_SENT, ControlKind::Edit, {}, 315, 230, 111, 12, kEdit, {}},
        RightLabel("Letter Returned:", 243),
        {IDC_LETTER_RETURNED, ControlKind::Edit, {}, 315, 243, 111, 12, kEdit, {}},
    };
    return form;
}

} // namespace res
