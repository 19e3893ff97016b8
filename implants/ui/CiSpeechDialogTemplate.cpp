// The CI Speech dialog (template 192): one speech-perception result before or after
// implantation, a label column on the left and the fields beside it, OK and Cancel below.

#include "implants/ui/CiDataTemplates.h"

namespace res {

using namespace framework;
using namespace cispeech;

namespace {

constexpr int kLabelX = 7;
constexpr int kLabelWidth = 52;
constexpr int kFieldX = 62;
constexpr int kFieldWidth = 138;
constexpr int kTop = 7;
constexpr int kRow = 16;

int RowY(int row)
{
    return kTop + row * kRow;
}

ControlTemplate Label(const char* text, int row)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), kLabelX, RowY(row) + 2, kLabelWidth, 8, StyleNone, {}};
}

ControlTemplate ComboAt(int id, int row, QStringList items, unsigned style = StyleNone)
{
    return {id, ControlKind::ComboDropDown, {}, kFieldX, RowY(row), kFieldWidth, 120, style | StyleVScroll,
            std::move(items)};
}

} // namespace

DialogTemplate CiSpeechDialogTemplate()
{
    DialogTemplate form;
    form.id = IDD_CI_SPEECH;
    form.caption = QStringLiteral("CI Speech");
    form.cx = 207;
    form.cy = 130;
    form.controls = {
        Label("Conditions:", 0),
        ComboAt(IDC_CONDITION, 0,
                {QStringLiteral("Monaural Left"), QStringLiteral("Monaural right"), QStringLiteral("Binaural CI"),
                 QStringLiteral("CI + HA"), QString()}),
        Label("Test Type:", 1),
        ComboAt(IDC_TEST_TYPE, 1,
                {QStringLiteral("Discrimination"), QStringLiteral("Parent Inventory"),
                 QStringLiteral("Phoneme Recognition"), QStringLiteral("Sentence Recognition"),
                 QStringLiteral("Word Identification"), QStringLiteral("Word Recognition")}),
        Label("Test Name:", 2),
        ComboAt(IDC_TEST_NAME, 2,
                {QStringLiteral("CID Sentences"), QStringLiteral("BKB-SIN"), QStringLiteral("CNC phonemes"),
                 QStringLiteral("CNC words"), QStringLiteral("CUNY, Noise"), QStringLiteral("CUNY, Quiet"),
                 QStringLiteral("ESP"), QStringLiteral("GASP"), QStringLiteral("HINT-C"),
                 QStringLiteral("HINT, Noise"), QStringLiteral("HINT, Quiet"), QStringLiteral("PBK"),
                 QStringLiteral("WIPI"), QStringLiteral("CNC"), QStringLiteral("CUNY"), QStringLiteral("HINT"),
                 QStringLiteral("NU-6"), QStringLiteral("W-22"), QStringLiteral("Not Specified"),
                 QStringLiteral("Could Not Test"), QStringLiteral("Did Not Test")},
                StyleSorted),
        Label("Score:", 3),
        {IDC_SCORE, ControlKind::Edit, {}, kFieldX, RowY(3), 40, 12, StyleAutoHScroll, {}},
        Label("Time  Post-IS:", 4),
        {IDC_TIME_YEARS, ControlKind::Edit, {}, kFieldX, RowY(4), 20, 12, StyleAutoHScroll | StyleNumber, {},
         QStringLiteral("Time post-IS years")},
        {-1, ControlKind::Static, QStringLiteral("yrs"), kFieldX + 22, RowY(4) + 2, 13, 8, StyleNone, {}},
        {IDC_TIME_MONTHS, ControlKind::Edit, {}, kFieldX + 37, RowY(4), 20, 12, StyleAutoHScroll | StyleNumber, {},
         QStringLiteral("Time post-IS months")},
        {-1, ControlKind::Static, QStringLiteral("mos"), kFieldX + 59, RowY(4) + 2, 15, 8, StyleNone, {}},
        {-1, ControlKind::Static, QStringLiteral("(Post CI only)"), kFieldX + 76, RowY(4) + 2, 62, 8, StyleNone, {}},
        {1, ControlKind::DefPushButton, QStringLiteral("OK"), 45, 109, 50, 14, StyleNone, {}},
        {2, ControlKind::PushButton, QStringLiteral("Cancel"), 112, 109, 50, 14, StyleNone, {}},
    };
    return form;
}

} // namespace res
