// The CI Data tab (template 189): the hearing history of each ear in the "Left Ear" and
// "Right Ear" boxes with the row labels in front of them, the two processors, the device
// list and the pre- and post-implant speech lists with their buttons.

#include "implants/ui/CiDataTemplates.h"

namespace res {

using namespace framework;
using namespace cidata;

namespace {

constexpr int kLabelX = 7;
constexpr int kLabelWidth = 122;
constexpr int kLeftBoxX = 133;
constexpr int kRightBoxX = 259;
constexpr int kBoxY = 10;
constexpr int kBoxWidth = 120;
constexpr int kBoxHeight = 112;
constexpr int kFirstRowY = 22;
constexpr int kRowHeight = 16;

int RowY(int row)
{
    return kFirstRowY + row * kRowHeight;
}

// A row label in front of the left box, level with the field's text. It is two lines
// high, so that a wider font wraps a long label instead of cutting it.
ControlTemplate RowLabel(const char* text, int row)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), kLabelX, RowY(row) + 2, kLabelWidth, 14, StyleNone, {}};
}

QString EarName(bool left, const char* what)
{
    return QStringLiteral("%1 ear %2").arg(left ? QStringLiteral("Left") : QStringLiteral("Right"),
                                           QString::fromUtf8(what));
}

// Years and months of one duration, with their units, inside an ear's box.
void AddDuration(std::vector<ControlTemplate>& controls, bool left, int row, int yearsId, int monthsId,
                 const char* yearsName, const char* monthsName)
{
    const int x = (left ? kLeftBoxX : kRightBoxX) + 6;
    const int y = RowY(row);
    controls.push_back({yearsId, ControlKind::Edit, {}, x, y, 22, 12, StyleAutoHScroll | StyleNumber, {},
                        EarName(left, yearsName)});
    controls.push_back({-1, ControlKind::Static, QStringLiteral("yrs"), x + 24, y + 2, 14, 8, StyleNone, {}});
    controls.push_back({monthsId, ControlKind::Edit, {}, x + 40, y, 22, 12, StyleAutoHScroll | StyleNumber, {},
                        EarName(left, monthsName)});
    controls.push_back({-1, ControlKind::Static, QStringLiteral("mos"), x + 64, y + 2, 16, 8, StyleNone, {}});
}

void AddChoice(std::vector<ControlTemplate>& controls, bool left, int row, int id, QStringList items, unsigned style,
               const char* name)
{
    const int x = (left ? kLeftBoxX : kRightBoxX) + 6;
    controls.push_back({id, ControlKind::ComboDropDown, {}, x, RowY(row), 108, 120, style | StyleVScroll,
                        std::move(items), EarName(left, name)});
}

// The fields of one ear; the left ear's carry the row labels in front of them.
void AddEar(std::vector<ControlTemplate>& controls, bool left)
{
    controls.push_back({-1, ControlKind::GroupBox, left ? QStringLiteral("Left Ear") : QStringLiteral("Right Ear"),
                        left ? kLeftBoxX : kRightBoxX, kBoxY, kBoxWidth, kBoxHeight, StyleNone, {}});
    const auto label = [&](const char* text, int row) {
        if (left)
            controls.push_back(RowLabel(text, row));
    };
    label("Duration of Deafness Prior to Implant:", 0);
    AddDuration(controls, left, 0, left ? IDC_DURATION_YEARS_L : IDC_DURATION_YEARS_R,
                left ? IDC_DURATION_MONTHS_L : IDC_DURATION_MONTHS_R, "years of deafness before implant",
                "months of deafness before implant");
    label("Degree of HL prior to implant:", 1);
    AddChoice(controls, left, 1, left ? IDC_DEGREE_L : IDC_DEGREE_R, DegreeItems(), StyleNone,
              "degree of hearing loss before implant");
    label("Nature of onset of deafness:", 2);
    AddChoice(controls, left, 2, left ? IDC_ONSET_L : IDC_ONSET_R, OnsetItems(), StyleNone,
              "nature of onset of deafness");
    label("Etiology of Deafness:", 3);
    AddChoice(controls, left, 3, left ? IDC_ETIOLOGY_L : IDC_ETIOLOGY_R, EtiologyItems(), StyleSorted,
              "etiology of deafness");
    label("Hearing Aid Use:", 4);
    AddDuration(controls, left, 4, left ? IDC_HA_YEARS_L : IDC_HA_YEARS_R, left ? IDC_HA_MONTHS_L : IDC_HA_MONTHS_R,
                "years of hearing aid use", "months of hearing aid use");
    label("Duration unaided prior to implant:", 5);
    AddDuration(controls, left, 5, left ? IDC_UNAIDED_YEARS_L : IDC_UNAIDED_YEARS_R,
                left ? IDC_UNAIDED_MONTHS_L : IDC_UNAIDED_MONTHS_R, "years unaided before implant",
                "months unaided before implant");
}

ControlTemplate Button(int id, const char* text, int x, int y, const char* name)
{
    return {id, ControlKind::PushButton, QString::fromUtf8(text), x, y, 50, 14, StyleNone, {}, QString::fromUtf8(name)};
}

} // namespace

namespace cidata {

QStringList DegreeItems()
{
    return {QStringLiteral("Moderate-Profound"), QStringLiteral("Severe"), QStringLiteral("Severe-Profound"),
            QStringLiteral("Profound"), QString()};
}

QStringList OnsetItems()
{
    return {QStringLiteral("Progressive"), QStringLiteral("Sudden from NH"),
            QStringLiteral("Sudden from established SNHL"), QStringLiteral("Congenital"), QString()};
}

QStringList EtiologyItems()
{
    return {QStringLiteral("Auditory Neuropathy"), QStringLiteral("Autoimmune disease"), QStringLiteral("BOR"),
            QStringLiteral("CHARGE"), QStringLiteral("CMV"), QStringLiteral("Connexin 26"), QStringLiteral("EVA"),
            QStringLiteral("Genetic-unspecified"), QStringLiteral("Menieres"), QStringLiteral("Meningitis"),
            QStringLiteral("Mondini"), QStringLiteral("Otosclerosis"), QStringLiteral("Ototoxicity"),
            QStringLiteral("Rubella"), QStringLiteral("T-bone fx"), QStringLiteral("Trauma-other"),
            QStringLiteral("Unknown"), QStringLiteral("Ushers")};
}

QStringList ProcessorItems()
{
    return {QStringLiteral("Clarion 1.0"), QStringLiteral("Clarion 1.2"), QStringLiteral("Clarion Auria"),
            QStringLiteral("Clarion CII BTE"), QStringLiteral("Clarion Platinum BTE"), QStringLiteral("Clarion PSP"),
            QStringLiteral("Clarion S-series"), QStringLiteral("Med-El CIS-Pro+"), QStringLiteral("Med-El Tempo+"),
            QStringLiteral("Nucleus 22 3G"), QStringLiteral("Nucleus 24 3G"), QStringLiteral("Nucleus Esprit 22"),
            QStringLiteral("Nucleus Esprit 24"), QStringLiteral("Nucleus MSP"), QStringLiteral("Nucleus Spectra"),
            QStringLiteral("Nucleus SPrint"), QStringLiteral("Nucleus WSP")};
}

} // namespace cidata

DialogTemplate CiDataFormTemplate()
{
    DialogTemplate form;
    form.id = IDD_FORM_CI_DATA;
    form.cx = 504;
    form.cy = 287;
    AddEar(form.controls, true);
    AddEar(form.controls, false);
    const std::vector<ControlTemplate> rest = {
        {-1, ControlKind::Static, QStringLiteral("Processors:"), kLabelX, 126, 42, 8, StyleNone, {}},
        {IDC_PROCESSOR1, ControlKind::ComboDropDown, {}, 51, 124, 120, 120, StyleSorted | StyleVScroll,
         cidata::ProcessorItems(), QStringLiteral("First processor")},
        {IDC_PROCESSOR2, ControlKind::ComboDropDown, {}, 175, 124, 120, 120, StyleSorted | StyleVScroll,
         cidata::ProcessorItems(), QStringLiteral("Second processor")},
        {IDC_DEVICE_LIST, ControlKind::ReportList, {}, 7, 141, 432, 60, StyleNone, {}, QStringLiteral("CI devices")},
        Button(IDC_DEVICE_ADD, "Add", 445, 141, "Add device"),
        Button(IDC_DEVICE_EDIT, "Edit", 445, 158, "Edit device"),
        Button(IDC_DEVICE_DELETE, "Delete", 445, 175, "Delete device"),
        {IDC_PRE_LIST, ControlKind::ReportList, {}, 7, 207, 190, 73, StyleNone, {},
         QStringLiteral("Pre-implant speech tests")},
        Button(IDC_PRE_ADD, "Add", 200, 207, "Add pre-implant speech test"),
        Button(IDC_PRE_EDIT, "Edit", 200, 224, "Edit pre-implant speech test"),
        Button(IDC_PRE_DELETE, "Delete", 200, 241, "Delete pre-implant speech test"),
        {IDC_POST_LIST, ControlKind::ReportList, {}, 256, 207, 183, 73, StyleNone, {},
         QStringLiteral("Post-implant speech tests")},
        Button(IDC_POST_ADD, "Add", 445, 207, "Add post-implant speech test"),
        Button(IDC_POST_EDIT, "Edit", 445, 224, "Edit post-implant speech test"),
        Button(IDC_POST_DELETE, "Delete", 445, 241, "Delete post-implant speech test"),
        // Wired to the CI Database lookup by the form once that lookup is available.
        {IDC_CHECK_CID, ControlKind::PushButton, QStringLiteral("Check CID DB"), 445, 15, 52, 14, StyleDisabled, {}},
    };
    form.controls.insert(form.controls.end(), rest.begin(), rest.end());
    return form;
}

} // namespace res
