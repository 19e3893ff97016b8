// The audiogram Data tab (template 132): the test's information, type of loss,
// screening, immittance, special history and speech audiometry, in three columns of
// groups. Twin fields of the two ears sit under "Left" and "Right" column heads and are
// named for a screen reader by their row and ear.

#include "audiograms/ui/AudTemplates.h"

namespace res {

using namespace framework;
using namespace auddata;

namespace {

constexpr int kRowHeight = 12;
constexpr int kListDrop = 90; // the dropped-down list of a drop-down list

ControlTemplate Group(const char* title, int x, int y, int cx, int cy)
{
    return {-1, ControlKind::GroupBox, QString::fromUtf8(title), x, y, cx, cy, StyleNone, {}};
}

// A text on a field row, set two units down so that it sits on the field's baseline.
ControlTemplate Label(const char* text, int x, int rowY, int cx, unsigned style = StyleNone)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), x, rowY + 2, cx, 8, style, {}};
}

ControlTemplate ColumnHead(const char* text, int x, int y, int cx)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), x, y, cx, 8, StyleCenter, {}};
}

ControlTemplate Edit(int id, int x, int y, int cx, const char* name = "", unsigned style = StyleAutoHScroll)
{
    return {id, ControlKind::Edit, {}, x, y, cx, kRowHeight, style, {}, QString::fromUtf8(name)};
}

ControlTemplate List(int id, int x, int y, int cx, QStringList items, const char* name = "")
{
    return {id, ControlKind::ComboDropList, {}, x, y, cx, kListDrop, StyleNone, std::move(items),
            QString::fromUtf8(name)};
}

ControlTemplate Check(int id, const char* text, int x, int y, int cx, const char* name = "")
{
    return {id, ControlKind::CheckBox, QString::fromUtf8(text), x, y, cx, 10, StyleNone, {}, QString::fromUtf8(name)};
}

// The three columns of groups.
constexpr int kColA = 7, kColAWidth = 170;
constexpr int kColB = 183, kColBWidth = 216;
constexpr int kColC = 405, kColCWidth = 146;

void AddTestInformation(std::vector<ControlTemplate>& c)
{
    const int x = kColA + 7, field = kColA + 63;
    auto row = [](int r) { return 19 + 15 * r; };
    c.push_back(Group("Test Information", kColA, 7, kColAWidth, 90));
    c.push_back(Label("Test Date:", x, row(0), 54));
    c.push_back(Edit(IDC_TEST_DATE, field, row(0), 60));
    c.push_back(Label("Age at Test:", x, row(1), 54));
    c.push_back(Edit(IDC_AGE, field, row(1), 30, "", StyleAutoHScroll | StyleReadOnly));
    c.push_back(Label("Tested by:", x, row(2), 54));
    c.push_back(Edit(IDC_TESTED_BY, field, row(2), 100));
    c.push_back(Label("Reliability:", x, row(3), 54));
    c.push_back(List(IDC_RELIABILITY, field, row(3), 100, ReliabilityItems()));
    c.push_back(Label("Method:", x, row(4), 54));
    c.push_back(List(IDC_METHOD, field, row(4), 100, MethodItems()));
}

void AddTypeOfLoss(std::vector<ControlTemplate>& c)
{
    const int x = kColA + 7, field = kColA + 63;
    auto row = [](int r) { return 113 + 15 * r; };
    c.push_back(Group("Type of Loss", kColA, 101, kColAWidth, 60));
    c.push_back(Label("Left Ear:", x, row(0), 54));
    c.push_back(List(IDC_IMPRESS_L, field, row(0), 100, EarLossItems()));
    c.push_back(Label("Right Ear:", x, row(1), 54));
    c.push_back(List(IDC_IMPRESS_R, field, row(1), 100, EarLossItems()));
    c.push_back(Label("Sound Field:", x, row(2), 54));
    c.push_back(List(IDC_IMPRESS_SF, field, row(2), 100, SoundFieldLossItems()));
}

void AddScreening(std::vector<ControlTemplate>& c)
{
    const int x = kColA + 7, left = kColA + 101, right = kColA + 135, width = 32;
    c.push_back(Group("Screening", kColA, 165, kColAWidth, 62));
    c.push_back(ColumnHead("Left", left, 176, width));
    c.push_back(ColumnHead("Right", right, 176, width));
    // The OAE criterion takes two lines beside its lists.
    c.push_back({-1, ControlKind::Static, QStringLiteral("OAE: 3/4 freq (2,3,4,6 kHz) w/SNR > 6dB"), x, 186, 92, 16,
                 StyleNone, {}});
    c.push_back(List(IDC_OAE_L, left, 188, width, ScreeningItems(), "OAE left"));
    c.push_back(List(IDC_OAE_R, right, 188, width, ScreeningItems(), "OAE right"));
    c.push_back(Label("ABR: Click <= 30dB", x, 207, 92));
    c.push_back(List(IDC_ABR_L, left, 207, width, ScreeningItems(), "ABR left"));
    c.push_back(List(IDC_ABR_R, right, 207, width, ScreeningItems(), "ABR right"));
}

// Immitance and Special share the column heads' places.
constexpr int kLeftField = kColB + 77, kRightField = kColB + 147, kTwinWidth = 64;

void AddImmittance(std::vector<ControlTemplate>& c)
{
    const int x = kColB + 7;
    auto row = [](int r) { return 28 + 15 * r; };
    c.push_back(Group("Immitance", kColB, 7, kColBWidth, 114));
    c.push_back(ColumnHead("Left", kLeftField, 18, kTwinWidth));
    c.push_back(ColumnHead("Right", kRightField, 18, kTwinWidth));
    struct Twin {
        const char* label;
        int left, right;
        const char* nameLeft;
        const char* nameRight;
        bool list;
    };
    const Twin rows[] = {
        {"Tymp:", IDC_TYMP_L, IDC_TYMP_R, "Tymp left", "Tymp right", true},
        {"Peak Y (mmhos):", IDC_PEAKY_L, IDC_PEAKY_R, "Peak Y left", "Peak Y right", false},
        {"Peak Press. (daPa):", IDC_PEAKPRESS_L, IDC_PEAKPRESS_R, "Peak pressure left", "Peak pressure right", false},
        {"Vol (CC):", IDC_ETFVOL_L, IDC_ETFVOL_R, "Volume left", "Volume right", false},
        {"Reflexes:", IDC_REFLEX_L, IDC_REFLEX_R, "Reflexes left", "Reflexes right", true},
        {"ETF Release (daPa):", IDC_ETFREL_L, IDC_ETFREL_R, "ETF release left", "ETF release right", false},
    };
    int r = 0;
    for (const Twin& t : rows) {
        c.push_back(Label(t.label, x, row(r), 68));
        if (t.list) {
            const QStringList items = t.left == IDC_TYMP_L ? TympItems() : ReflexItems();
            c.push_back(List(t.left, kLeftField, row(r), kTwinWidth, items, t.nameLeft));
            c.push_back(List(t.right, kRightField, row(r), kTwinWidth, items, t.nameRight));
        } else {
            c.push_back(Edit(t.left, kLeftField, row(r), kTwinWidth, t.nameLeft));
            c.push_back(Edit(t.right, kRightField, row(r), kTwinWidth, t.nameRight));
        }
        ++r;
    }
}

void AddSpecial(std::vector<ControlTemplate>& c)
{
    const int x = kColB + 7;
    c.push_back(Group("Special", kColB, 125, kColBWidth, 112));
    c.push_back(ColumnHead("Left", kLeftField, 136, kTwinWidth));
    c.push_back(ColumnHead("Right", kRightField, 136, kTwinWidth));
    struct Twin {
        const char* label;
        int left, right;
        const char* nameLeft;
        const char* nameRight;
    };
    const Twin rows[] = {
        {"Tinnitus:", IDC_TINNITUS_L, IDC_TINNITUS_R, "Tinnitus left", "Tinnitus right"},
        {"Fullness:", IDC_FULLNESS_L, IDC_FULLNESS_R, "Fullness left", "Fullness right"},
        {"H. Aids:", IDC_HAIDS_L, IDC_HAIDS_R, "Hearing aids left", "Hearing aids right"},
        {"Coch.Imp:", IDC_COCHIMP_L, IDC_COCHIMP_R, "Cochlear implant left", "Cochlear implant right"},
    };
    // A box without text, centred under its column head.
    const int boxOffset = (kTwinWidth - 10) / 2;
    int y = 146;
    for (const Twin& t : rows) {
        c.push_back(Label(t.label, x, y - 1, 68));
        c.push_back(Check(t.left, "", kLeftField + boxOffset, y, 10, t.nameLeft));
        c.push_back(Check(t.right, "", kRightField + boxOffset, y, 10, t.nameRight));
        y += 12;
    }
    // The history questions, two columns of three, the longer texts on the right.
    const int first = x, second = kColB + 87;
    c.push_back(Check(IDC_DIZZINESS, "Dizziness", first, 198, 76));
    c.push_back(Check(IDC_OM, "Hx of OM", first, 210, 76));
    c.push_back(Check(IDC_NOISE_EXP, "Hx of Noise Exp.", first, 222, 76));
    c.push_back(Check(IDC_HX_HEARING_LOSS, "Family Hx of hearing loss", second, 198, 118));
    c.push_back(Check(IDC_SPED, "Enrolled in SPED", second, 210, 118));
    c.push_back(Check(IDC_SPCH_LANG, "Enrolled in speech/lang tx", second, 222, 118));
}

void AddSubjectLine(std::vector<ControlTemplate>& c)
{
    // Whose test this is; shown only.
    c.push_back({-1, ControlKind::Static, QStringLiteral("Subject:"), kColB + 7, 245, 34, 8, StyleNone, {}});
    c.push_back({IDC_PATIENT_NAME, ControlKind::Static, {}, kColB + 43, 245, 160, 8, StyleNone, {}});
    c.push_back({-1, ControlKind::Static, QStringLiteral("Born:"), kColB + 7, 257, 34, 8, StyleNone, {}});
    c.push_back({IDC_PATIENT_BIRTH, ControlKind::Static, {}, kColB + 43, 257, 80, 8, StyleNone, {}});
}

struct SpeechIds {
    int srt, sat;
    int level[5];
    int percent[5];
    int materials;
};

void AddSpeech(std::vector<ControlTemplate>& c, const char* title, int top, const SpeechIds& ids)
{
    const int x = kColC + 7, first = kColC + 31, unit = kColC + 64, second = kColC + 79, percent = kColC + 112;
    const int width = 30;
    c.push_back(Group(title, kColC, top, kColCWidth, 116));
    c.push_back(Label("SRT", x, top + 12, 22));
    c.push_back(Edit(ids.srt, first, top + 12, width, "SRT"));
    c.push_back(Label("SAT", unit, top + 12, 14));
    c.push_back(Edit(ids.sat, second, top + 12, width, "SAT"));
    static const char* const levelNames[] = {"Level 1", "Level 2", "Level 3", "Level 4", "Level 5"};
    static const char* const percentNames[] = {"Percent 1", "Percent 2", "Percent 3", "Percent 4", "Percent 5"};
    for (int r = 0; r < 5; ++r) {
        const int y = top + 27 + 14 * r;
        c.push_back(Label("Level", x, y, 22));
        c.push_back(Edit(ids.level[r], first, y, width, levelNames[r]));
        c.push_back(Label("dB", unit, y, 12));
        c.push_back(Edit(ids.percent[r], second, y, width, percentNames[r]));
        c.push_back(Label("%", percent, y, 10));
    }
    c.push_back(Label("Speech Materials:", x, top + 97, 64));
    c.push_back({ids.materials, ControlKind::ComboDropDown, {}, kColC + 73, top + 97, 66, kListDrop, StyleSorted,
                 SpeechMaterialItems()});
}

void AddSoundField(std::vector<ControlTemplate>& c)
{
    const int x = kColC + 7, first = kColC + 31, unit = kColC + 64, second = kColC + 79;
    c.push_back(Group("Speech - Sound Field", kColC, 247, kColCWidth, 30));
    c.push_back(Label("SRT", x, 259, 22));
    c.push_back(Edit(IDC_SRT_SF, first, 259, 30, "SRT"));
    c.push_back(Label("SAT", unit, 259, 14));
    c.push_back(Edit(IDC_SAT_SF, second, 259, 30, "SAT"));
}

} // namespace

QStringList ReliabilityItems()
{
    return {QStringLiteral("Good"), QStringLiteral("Good - Fair"), QStringLiteral("Fair"),
            QStringLiteral("Fair - Poor"), QStringLiteral("Poor"), QString()};
}

QStringList MethodItems()
{
    return {QStringLiteral("VRA"),          QStringLiteral("CPA - Traditional"), QStringLiteral("CPA - Computer"),
            QStringLiteral("Conventional"), QStringLiteral("ABR"),               QStringLiteral("OAE"),
            QString()};
}

QStringList EarLossItems()
{
    return {QStringLiteral("Normal"), QStringLiteral("Conductive"), QStringLiteral("Sensorineural"),
            QStringLiteral("Mixed"), QStringLiteral("Undetermined"), QString()};
}

QStringList SoundFieldLossItems()
{
    return {QStringLiteral("Normal"), QStringLiteral("Undetermined"), QString()};
}

QStringList TympItems()
{
    return {QStringLiteral("Normal"), QStringLiteral("Abnormal"), QStringLiteral("Pat. Tube/ Perf"),
            QStringLiteral("DNT"), QStringLiteral("CNT"), QString()};
}

QStringList ReflexItems()
{
    return {QStringLiteral("Tested"), QString()};
}

QStringList ScreeningItems()
{
    return {QStringLiteral("Pass"), QStringLiteral("Fail"), QString()};
}

QStringList SpeechMaterialItems()
{
    return {QStringLiteral("A/B Words"),  QStringLiteral("CCT"),        QStringLiteral("GASP"),
            QStringLiteral("HAVE"),       QStringLiteral("MTS"),        QStringLiteral("NU-6"),
            QStringLiteral("NU-6 (1/2)"), QStringLiteral("NU-6 (S)"),   QStringLiteral("NU-6 Chips"),
            QStringLiteral("PBK - 50"),   QStringLiteral("SERT"),       QStringLiteral("SIN"),
            QStringLiteral("W-22"),       QStringLiteral("WIPI"),       QStringLiteral("Other"),
            QStringLiteral("DNT"),        QStringLiteral("CNT"),        QString()};
}

DialogTemplate AudDataFormTemplate()
{
    DialogTemplate form;
    form.id = IDD_FORM_AUD_DATA;
    form.cx = kColC + kColCWidth + 7;
    form.cy = 284;
    std::vector<ControlTemplate>& c = form.controls;
    // Template order is the tab order: down the first column, then the second, then the
    // speech column.
    AddTestInformation(c);
    AddTypeOfLoss(c);
    AddScreening(c);
    AddImmittance(c);
    AddSpecial(c);
    AddSubjectLine(c);
    AddSpeech(c, "Speech - Right Ear", 7,
              {IDC_SRT_R, IDC_SAT_R, {IDC_LEV1_R, IDC_LEV2_R, IDC_LEV3_R, IDC_LEV4_R, IDC_LEV5_R},
               {IDC_PC1_R, IDC_PC2_R, IDC_PC3_R, IDC_PC4_R, IDC_PC5_R}, IDC_MAT_R});
    AddSpeech(c, "Speech - Left Ear", 127,
              {IDC_SRT_L, IDC_SAT_L, {IDC_LEV1_L, IDC_LEV2_L, IDC_LEV3_L, IDC_LEV4_L, IDC_LEV5_L},
               {IDC_PC1_L, IDC_PC2_L, IDC_PC3_L, IDC_PC4_L, IDC_PC5_L}, IDC_MAT_L});
    AddSoundField(c);
    return form;
}

} // namespace res
