// The Speech Test dialog (template 198): one speech, language or literacy test, a label
// column on the left and the fields beside it, OK and Cancel below.

#include "implants/ui/SllTemplates.h"

namespace res {

using namespace framework;
using namespace speechtest;

namespace {

constexpr int kLabelX = 7;
constexpr int kLabelWidth = 80;
constexpr int kFieldX = 90;
constexpr int kFieldWidth = 155;
constexpr int kTop = 7;
constexpr int kRow = 15;

int RowY(int row)
{
    return kTop + row * kRow;
}

ControlTemplate Label(const char* text, int row)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), kLabelX, RowY(row) + 2, kLabelWidth, 8, StyleNone, {}};
}

ControlTemplate EditAt(int id, int row)
{
    return {id, ControlKind::Edit, {}, kFieldX, RowY(row), kFieldWidth, 12, StyleAutoHScroll, {}};
}

ControlTemplate ComboAt(int id, int row, QStringList items)
{
    return {id, ControlKind::ComboDropDown, {}, kFieldX, RowY(row), kFieldWidth, 120, StyleSorted, std::move(items)};
}

} // namespace

DialogTemplate SpeechTestDialogTemplate()
{
    DialogTemplate form;
    form.id = IDD_SPEECH_TEST;
    form.caption = QStringLiteral("Speech Test");
    form.cx = 252;
    form.cy = 242;
    form.controls = {
        Label("Name of Test:", 0),
        ComboAt(IDC_TEST_NAME, 0,
                {QStringLiteral("Test of Auditory Comprehension"), QStringLiteral("MLU"), QStringLiteral("PSL-4"),
                 QStringLiteral("Rosetti"), QStringLiteral("CASL"), QStringLiteral("CELF"),
                 QStringLiteral("Oral Written Language Scales"), QStringLiteral("Digit Span screen"),
                 QStringLiteral("Speech Intelligibility Measure"),
                 QStringLiteral("Preschool Language Assessment Instrument"),
                 QStringLiteral("Test of Problem Solving"),
                 QStringLiteral("MacArthur Communication Development Inventory"), QStringLiteral("PPVT-III"),
                 QStringLiteral("Expressive One Word Vocab Test"), QStringLiteral("GFTA"), QStringLiteral("GFTA-II"),
                 QStringLiteral("BBQSPS")}),
        Label("Date of Test:", 1),
        EditAt(IDC_TEST_DATE, 1),
        Label("Age at time of test:", 2),
        EditAt(IDC_AGE_AT_TEST, 2),
        Label("Tested by:", 3),
        ComboAt(IDC_TESTED_BY, 3, {}),
        Label("Research Lab:", 4),
        ComboAt(IDC_LAB, 4,
                {QStringLiteral("Hearing Aid Research Lab"), QStringLiteral("Psychoacoustics Lab"),
                 QStringLiteral("Clinical Sensory Physiology Lab"), QStringLiteral("Physical Acoustics"),
                 QStringLiteral("Speech Physiology"), QStringLiteral("CCD"),
                 QStringLiteral("Cochlear Implant Research Lab"), QStringLiteral("Auditory Physiology"),
                 QStringLiteral("Genetics, Usher Syndrome"), QStringLiteral("Infant Development Lab"),
                 QStringLiteral("Balance Disorders")}),
        Label("Screening:", 5),
        ComboAt(IDC_SCREENING, 5, {QStringLiteral("No"), QStringLiteral("Pass"), QStringLiteral("Fail")}),
        Label("Raw Score:", 6),
        EditAt(IDC_RAW_SCORE, 6),
        Label("Standard Score:", 7),
        EditAt(IDC_STANDARD_SCORE, 7),
        Label("Age-Equivalent:", 8),
        {IDC_AE_YEARS, ControlKind::Edit, {}, kFieldX, RowY(8), 30, 12, StyleAutoHScroll | StyleNumber, {},
         QStringLiteral("Age-Equivalent years")},
        {-1, ControlKind::Static, QStringLiteral("yrs"), kFieldX + 33, RowY(8) + 2, 16, 8, StyleNone, {}},
        {IDC_AE_MONTHS, ControlKind::Edit, {}, kFieldX + 52, RowY(8), 30, 12, StyleAutoHScroll | StyleNumber, {},
         QStringLiteral("Age-Equivalent months")},
        {-1, ControlKind::Static, QStringLiteral("mos"), kFieldX + 85, RowY(8) + 2, 18, 8, StyleNone, {}},
        Label("Percentile:", 9),
        EditAt(IDC_PERCENTILE, 9),
        Label("Standard Deviation:", 10),
        EditAt(IDC_SD, 10),
        Label("Other:", 11),
        EditAt(IDC_OTHER, 11),
        Label("Comments:", 12),
        EditAt(IDC_COMMENTS, 12),
        {1, ControlKind::DefPushButton, QStringLiteral("OK"), 70, 221, 50, 14, StyleNone, {}},
        {2, ControlKind::PushButton, QStringLiteral("Cancel"), 132, 221, 50, 14, StyleNone, {}},
    };
    return form;
}

} // namespace res
