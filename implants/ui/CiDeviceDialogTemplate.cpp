// The CI Device dialog (template 195): one implanted device, a label column on the left
// and the fields beside it, OK and Cancel below.

#include "implants/ui/CiDataTemplates.h"

namespace res {

using namespace framework;
using namespace cidevice;

namespace {

constexpr int kLabelX = 7;
constexpr int kLabelWidth = 62;
constexpr int kFieldX = 72;
constexpr int kFieldWidth = 150;
constexpr int kDateWidth = 60;
constexpr int kTop = 7;
constexpr int kRow = 14;

int RowY(int row)
{
    return kTop + row * kRow;
}

ControlTemplate Label(const char* text, int row)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), kLabelX, RowY(row) + 2, kLabelWidth, 8, StyleNone, {}};
}

ControlTemplate ComboAt(int id, int row, QStringList items)
{
    return {id, ControlKind::ComboDropDown, {}, kFieldX, RowY(row), kFieldWidth, 120, StyleSorted | StyleVScroll,
            std::move(items)};
}

ControlTemplate EditAt(int id, int row, int width = kFieldWidth)
{
    return {id, ControlKind::Edit, {}, kFieldX, RowY(row), width, 12, StyleAutoHScroll, {}};
}

} // namespace

DialogTemplate CiDeviceDialogTemplate()
{
    DialogTemplate form;
    form.id = IDD_CI_DEVICE;
    form.caption = QStringLiteral("CI Device");
    form.cx = 230;
    form.cy = 175;
    form.controls = {
        Label("Ear:", 0),
        ComboAt(IDC_EAR, 0, {QStringLiteral("Left"), QStringLiteral("Right")}),
        Label("Device:", 1),
        ComboAt(IDC_DEVICE, 1,
                {QStringLiteral("Clarion 1.0 RBP"), QStringLiteral("Clarion 1.2 EBP (S-series)"),
                 QStringLiteral("Clarion 1.2 Hi-Focus"), QStringLiteral("Clarion 1.2 RBP"),
                 QStringLiteral("Clarion 90k"), QStringLiteral("Clarion CII"), QStringLiteral("Ineraid"),
                 QStringLiteral("Med-El Combi 40"), QStringLiteral("Med-El Combi 40+"), QStringLiteral("Nucleus 22"),
                 QStringLiteral("Nucleus 24k"), QStringLiteral("Nucleus 24M"), QStringLiteral("Nucleus 24R(CS)")}),
        Label("Postioner:", 2),
        ComboAt(IDC_POSITIONER, 2, {QStringLiteral("Yes"), QStringLiteral("No")}),
        Label("Surgery Date:", 3),
        EditAt(IDC_SURGERY_DATE, 3, kDateWidth),
        Label("Age at Implant:", 4),
        {IDC_AGE_AT_IMPLANT, ControlKind::Edit, {}, kFieldX, RowY(4), 30, 12, StyleAutoHScroll | StyleNumber, {}},
        {-1, ControlKind::Static, QStringLiteral("(months)"), kFieldX + 33, RowY(4) + 2, 40, 8, StyleNone, {}},
        Label("Surgeon:", 5),
        EditAt(IDC_SURGEON, 5),
        Label("Hospital:", 6),
        EditAt(IDC_HOSPITAL, 6),
        Label("Inital Stim Date:", 7),
        EditAt(IDC_STIM_DATE, 7, kDateWidth),
        Label("Status:", 8),
        ComboAt(IDC_STATUS, 8,
                {QStringLiteral("In Use"), QStringLiteral("In Situ/Non-Use"), QStringLiteral("Explanted")}),
        Label("Date of Explant:", 9),
        EditAt(IDC_EXPLANT_DATE, 9, kDateWidth),
        {1, ControlKind::DefPushButton, QStringLiteral("OK"), 55, 154, 50, 14, StyleNone, {}},
        {2, ControlKind::PushButton, QStringLiteral("Cancel"), 125, 154, 50, 14, StyleNone, {}},
    };
    return form;
}

} // namespace res
