// The audiogram Data tab inside the main frame, typed into, chosen from and clicked as a
// user does, and read back from the registry after File Save: what is shown is the
// loaded test, what is typed is stored, showing alone stores nothing, and a field that
// fails its check stops the save before anything is written.

#include "AudTabsFixture.h"

#include "app/CMainFrame.h"
#include "audiograms/ui/CFormAudData.h"
#include "audiograms/ui/CFormAudOther.h"
#include "framework/ControlId.h"
#include "audiograms/ui/AudTemplates.h"
#include "resources/Resource.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace quorin::test {
namespace {

using namespace res::auddata;
using AudDataTab = AudTabsTest;

const QString kInvalidDate = QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY.");

TEST_F(AudDataTab, ShowsEveryFieldOfTheLoadedTest)
{
    LoadSubjectWithFullTest();
    ShowData();
    ASSERT_TRUE(data->isVisible());
    EXPECT_EQ(doc->m_bAudDataFilled, 1);

    const std::pair<int, const char*> edits[] = {
        {IDC_TEST_DATE, "03/04/2025"}, {IDC_AGE, "37"},          {IDC_TESTED_BY, "A. Tester"},
        {IDC_PEAKY_L, "1.25"},         {IDC_PEAKY_R, "0.50"},    {IDC_PEAKPRESS_L, "-150.00"},
        {IDC_PEAKPRESS_R, "25.00"},    {IDC_ETFVOL_L, "0.75"},   {IDC_ETFVOL_R, "1.50"},
        {IDC_ETFREL_L, "-50.00"},      {IDC_ETFREL_R, "10.00"},  {IDC_SRT_R, "15"},
        {IDC_SAT_R, "10"},             {IDC_LEV1_R, "20"},       {IDC_PC1_R, "96"},
        {IDC_LEV2_R, "25"},            {IDC_PC2_R, "92"},        {IDC_LEV3_R, "30"},
        {IDC_PC3_R, "88"},             {IDC_LEV4_R, "35"},       {IDC_PC4_R, "84"},
        {IDC_LEV5_R, "40"},            {IDC_PC5_R, "80"},        {IDC_SRT_L, "20"},
        {IDC_SAT_L, "15"},             {IDC_LEV1_L, "45"},       {IDC_PC1_L, "76"},
        {IDC_LEV2_L, "50"},            {IDC_PC2_L, "72"},        {IDC_LEV3_L, "55"},
        {IDC_PC3_L, "68"},             {IDC_LEV4_L, "60"},       {IDC_PC4_L, "64"},
        {IDC_LEV5_L, "65"},            {IDC_PC5_L, "60"},        {IDC_SRT_SF, "30"},
        {IDC_SAT_SF, "25"}};
    for (const auto& [id, text] : edits)
        EXPECT_EQ(DataEdit(id)->text(), QString::fromLatin1(text)) << id;
    EXPECT_TRUE(DataEdit(IDC_AGE)->isReadOnly());

    // Lists by index and by the text the user reads; ReflexR holds the empty item.
    const std::tuple<int, int, const char*> lists[] = {
        {IDC_RELIABILITY, 3, "Fair - Poor"}, {IDC_METHOD, 2, "CPA - Computer"}, {IDC_IMPRESS_L, 1, "Conductive"},
        {IDC_IMPRESS_R, 2, "Sensorineural"}, {IDC_IMPRESS_SF, 1, "Undetermined"}, {IDC_TYMP_L, 2, "Pat. Tube/ Perf"},
        {IDC_TYMP_R, 4, "CNT"},              {IDC_REFLEX_L, 0, "Tested"},       {IDC_REFLEX_R, 1, ""},
        {IDC_OAE_L, 0, "Pass"},              {IDC_OAE_R, 1, "Fail"},            {IDC_ABR_L, 1, "Fail"},
        {IDC_ABR_R, 0, "Pass"}};
    for (const auto& [id, index, text] : lists) {
        EXPECT_EQ(DataCombo(id)->currentIndex(), index) << id;
        EXPECT_EQ(DataCombo(id)->currentText(), QString::fromLatin1(text)) << id;
    }
    EXPECT_EQ(DataCombo(IDC_MAT_R)->currentText(), QStringLiteral("NU-6"));
    EXPECT_EQ(DataCombo(IDC_MAT_L)->currentText(), QStringLiteral("WIPI"));

    const std::pair<int, bool> checks[] = {
        {IDC_TINNITUS_L, true}, {IDC_TINNITUS_R, false}, {IDC_FULLNESS_L, false}, {IDC_FULLNESS_R, true},
        {IDC_HAIDS_L, true},    {IDC_HAIDS_R, false},    {IDC_COCHIMP_L, false},  {IDC_COCHIMP_R, true},
        {IDC_DIZZINESS, true},  {IDC_OM, false},         {IDC_NOISE_EXP, false},  {IDC_HX_HEARING_LOSS, true},
        {IDC_SPED, false},      {IDC_SPCH_LANG, true}};
    for (const auto& [id, checked] : checks)
        EXPECT_EQ(DataCheck(id)->isChecked(), checked) << id;

    auto label = [this](int id) { return framework::FindControlAs<QLabel>(data, id)->text(); };
    EXPECT_EQ(label(IDC_PATIENT_NAME), QStringLiteral("Lee, Morgan"));
    EXPECT_EQ(label(IDC_PATIENT_BIRTH), QStringLiteral("04/09/1987"));

    ShowComments();
    EXPECT_EQ(CommentsEdit(res::audother::IDC_COMMENTS)->toPlainText(), QStringLiteral("Wears aids at school."));
    EXPECT_EQ(CommentsEdit(res::audother::IDC_RECOMMEND)->toPlainText(), QStringLiteral("Retest in six months."));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0) << "showing marks nothing";
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
}

TEST_F(AudDataTab, EveryKindOfChangeIsStoredByFileSave)
{
    const int id = LoadSubjectWithFullTest();
    ShowData();
    TypeInto(DataEdit(IDC_TESTED_BY), QStringLiteral("B. Tester"));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1) << "typing marks the test";
    EXPECT_EQ(doc->m_subject.AudiogramClean, 0);
    TypeInto(DataEdit(IDC_SRT_R), QStringLiteral("35"));
    TypeInto(DataEdit(IDC_PEAKY_L), QStringLiteral("0.8"));
    ChooseFromList(DataCombo(IDC_RELIABILITY), 0);
    ChooseFromList(DataCombo(IDC_METHOD), 6); // the empty item is an item too
    Click(DataCheck(IDC_TINNITUS_R));
    TypeInto(DataCombo(IDC_MAT_L), QStringLiteral("w-22"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Settle();
    EXPECT_EQ(DataCombo(IDC_MAT_L)->currentText(), QStringLiteral("w-22")) << "leaving keeps the typed case";
    ChooseFromList(DataCombo(IDC_MAT_R), DataCombo(IDC_MAT_R)->findText(QStringLiteral("HAVE")));
    ClearAllMessages();

    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(StoredTests(id), 1) << "the loaded test is updated, not added";
    EXPECT_EQ(Stored(id, "TestedBy"), QStringLiteral("B. Tester"));
    EXPECT_EQ(Stored(id, "SRTR").toInt(), 35);
    EXPECT_NEAR(Stored(id, "PeakYL").toDouble(), 0.8, 1e-6);
    EXPECT_EQ(Stored(id, "Reliability").toInt(), 0);
    EXPECT_EQ(Stored(id, "Method").toInt(), 6);
    EXPECT_EQ(Stored(id, "TinnitusR").toInt(), 1);
    EXPECT_EQ(StoredRaw(id, "MatL"), "w-22");
    EXPECT_EQ(Stored(id, "MatR"), QStringLiteral("HAVE"));
    // What nobody touched is stored as it was.
    EXPECT_EQ(Stored(id, "SATR").toInt(), 10);
    EXPECT_EQ(Stored(id, "ReflexR").toInt(), 1);
    EXPECT_NEAR(Stored(id, "PeakPressL").toDouble(), -150.0, 1e-6);
    EXPECT_EQ(Stored(id, "TestDate"), QStringLiteral("03/04/2025"));
    EXPECT_EQ(Stored(id, "Comments"), QStringLiteral("Wears aids at school."));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
}

TEST_F(AudDataTab, ShowingAndTabbingThroughMarkNothing)
{
    // A subject without a test still has none after a save.
    const int bare = LoadSubjectWithoutTest();
    ShowData();
    ShowComments();
    ShowData();
    QWidget* first = QApplication::focusWidget();
    for (int i = 0; i < 80; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Settle();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(StoredTests(bare), 0);

    // A stored test shown and passed through is not written again.
    const int id = bare;
    AddFullTest(id, "2025-03-04");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    const std::string before = StoredAudiograms();
    ShowData();
    for (int i = 0; i < 80; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Settle();
    ShowComments();
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(StoredAudiograms(), before);
    EXPECT_EQ(StoredTests(id), 1);
}

TEST_F(AudDataTab, APagedTestIsShownButNeverMarked)
{
    // An older registry test and the current one (the last stored).
    const int id = LoadSubjectWithoutTest();
    const int older = AddFullTest(id, "2020-06-01");
    registry.ExecRaw("Quorin", "update aud set TestedBy = 'Old Tester', Comments = 'Old comment' where TestId = "
                                   + std::to_string(older));
    AddFullTest(id, "2025-03-04");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    ui.ClearMessages();
    ShowData();
    ASSERT_EQ(DataEdit(IDC_TESTED_BY)->text(), QStringLiteral("A. Tester"));
    const int clean = doc->m_subject.AudiogramClean;
    const std::string before = StoredAudiograms();

    ASSERT_TRUE(frame->ExecuteCommand(res::ID_PAGE_PREV));
    Settle();
    ASSERT_NE(doc->m_nPageDir, 0);
    EXPECT_EQ(DataEdit(IDC_TEST_DATE)->text(), QStringLiteral("06/01/2020")) << "hint 2 shows the paged test";
    EXPECT_EQ(DataEdit(IDC_TESTED_BY)->text(), QStringLiteral("Old Tester"));
    ShowComments();
    EXPECT_EQ(CommentsEdit(res::audother::IDC_COMMENTS)->toPlainText(), QStringLiteral("Old comment"));
    ShowData();
    TypeInto(DataEdit(IDC_TESTED_BY), QStringLiteral("Someone Else"));
    Click(DataCheck(IDC_OM));
    ChooseFromList(DataCombo(IDC_RELIABILITY), 4);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
    EXPECT_EQ(doc->m_subject.AudiogramClean, clean);

    ASSERT_TRUE(frame->ExecuteCommand(res::ID_PAGE_HOME));
    Settle();
    EXPECT_EQ(doc->m_nPageDir, 0);
    EXPECT_EQ(DataEdit(IDC_TESTED_BY)->text(), QStringLiteral("A. Tester"));
    EXPECT_FALSE(DataCheck(IDC_OM)->isChecked());
    SaveByKeys();
    EXPECT_EQ(StoredAudiograms(), before) << "neither test was written";
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
}

TEST_F(AudDataTab, TheAgeAtTestFollowsTheTestDate)
{
    LoadSubjectWithoutTest(QStringLiteral("05/20/1990"));
    ShowData();
    EXPECT_EQ(DataEdit(IDC_TEST_DATE)->text(), QString());
    EXPECT_EQ(DataEdit(IDC_AGE)->text(), QStringLiteral("0")) << "an empty date is age 0";
    TypeInto(DataEdit(IDC_TEST_DATE), QStringLiteral("05/20/2000"));
    EXPECT_EQ(DataEdit(IDC_AGE)->text(), QStringLiteral("9")) << "3652 days are 9.9986 years";
    TypeInto(DataEdit(IDC_TEST_DATE), QStringLiteral("05/21/2000"));
    EXPECT_EQ(DataEdit(IDC_AGE)->text(), QStringLiteral("10"));
    TypeInto(DataEdit(IDC_TEST_DATE), QStringLiteral("5/21/2000"));
    EXPECT_EQ(DataEdit(IDC_AGE)->text(), QStringLiteral("10")) << "the form the program writes reads alike";
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
}

TEST_F(AudDataTab, ABadTestDateIsRefusedOnLeavingOnceAndKeepsTheFocusAndTheTab)
{
    LoadSubjectWithFullTest();
    ShowData();
    QLineEdit* date = DataEdit(IDC_TEST_DATE);
    TypeInto(date, QStringLiteral("13/01/2000"));
    ASSERT_EQ(ui.Texts(), QStringList{kInvalidDate});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(date->text(), QStringLiteral("13/01/2000")) << "the text stays for correcting";
    EXPECT_EQ(date->selectedText(), QStringLiteral("13/01/2000"));
    EXPECT_EQ(DataEdit(IDC_AGE)->text(), QStringLiteral("37"));

    // Another tab is refused while the field holds the bad date.
    ui.ClearMessages();
    frame->m_wndFramework.BringForward(frame->m_pNodeComments);
    Settle();
    EXPECT_TRUE(data->isVisible()) << "the Data tab stays in front";
    EXPECT_EQ(ui.Texts(), QStringList{kInvalidDate});
    EXPECT_EQ(QApplication::focusWidget(), date);
}

TEST_F(AudDataTab, ABadTestDateStopsFileSaveBeforeAnyWrite)
{
    const int id = LoadSubjectWithFullTest();
    ShowData();
    TypeInto(DataEdit(IDC_TESTED_BY), QStringLiteral("B. Tester"));
    QLineEdit* date = DataEdit(IDC_TEST_DATE);
    TypeInto(date, QStringLiteral("13/01/2000"), false);
    const std::string before = StoredAudiograms();
    ClearAllMessages();
    TakeErrors();
    SaveByKeys();
    EXPECT_EQ(AllMessages(), QStringList{kInvalidDate});
    EXPECT_TRUE(TakeErrors().empty()) << "no statement reached the registry";
    EXPECT_EQ(StoredAudiograms(), before);
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1) << "the edits are still to be saved";

    // Corrected, the same save goes through.
    QTest::keyClicks(date, QStringLiteral("01/13/2000"));
    ClearAllMessages();
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(Stored(id, "TestDate"), QStringLiteral("01/13/2000"));
    EXPECT_EQ(Stored(id, "TestedBy"), QStringLiteral("B. Tester"));
}

TEST_F(AudDataTab, LettersInANumberStopFileSaveWithOneMessage)
{
    const int id = LoadSubjectWithFullTest();
    ShowData();
    TypeInto(DataEdit(IDC_TESTED_BY), QStringLiteral("B. Tester"));
    TypeInto(DataEdit(IDC_SRT_R), QStringLiteral("12a"));
    EXPECT_EQ(DataEdit(IDC_SRT_R)->text(), QStringLiteral("12a")) << "typed as the user typed it";
    const std::string before = StoredAudiograms();
    ClearAllMessages();
    TakeErrors();
    SaveByKeys();
    EXPECT_EQ(AllMessages(), QStringList{QStringLiteral("Invalid characters in numeric field.")});
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(StoredAudiograms(), before);
    EXPECT_EQ(QApplication::focusWidget(), DataEdit(IDC_SRT_R));

    // A sign is no digit in a percentage; a hearing level may be below 0 dB HL.
    TypeInto(DataEdit(IDC_SRT_R), QStringLiteral("-5"), false);
    TypeInto(DataEdit(IDC_PC1_R), QStringLiteral("-5"), false);
    ClearAllMessages();
    SaveByKeys();
    EXPECT_EQ(AllMessages(), QStringList{QStringLiteral("Invalid characters in numeric field.")});
    EXPECT_EQ(StoredAudiograms(), before);

    TypeInto(DataEdit(IDC_PC1_R), QStringLiteral("96"), false);
    ClearAllMessages();
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(Stored(id, "SRTR").toInt(), -5);
    EXPECT_EQ(Stored(id, "TestedBy"), QStringLiteral("B. Tester"));
}

TEST_F(AudDataTab, AClinicCodeTheListLacksIsKeptUnlessTheUserPicksAnItem)
{
    const int id = LoadSubjectWithFullTest();
    registry.ExecRaw("Quorin", "update aud set Reliability = 7, TympL = 9 where SubjectId = " + std::to_string(id));
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    ShowData();
    EXPECT_EQ(DataCombo(IDC_RELIABILITY)->currentIndex(), -1) << "no item for the clinic's code";
    TypeInto(DataEdit(IDC_TESTED_BY), QStringLiteral("B. Tester"));
    ClearAllMessages();
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(Stored(id, "TestedBy"), QStringLiteral("B. Tester"));
    EXPECT_EQ(Stored(id, "Reliability").toInt(), 7);
    EXPECT_EQ(Stored(id, "TympL").toInt(), 9);

    ChooseFromList(DataCombo(IDC_RELIABILITY), 1);
    SaveByKeys();
    EXPECT_EQ(Stored(id, "Reliability").toInt(), 1);
    EXPECT_EQ(Stored(id, "TympL").toInt(), 9);
}

TEST_F(AudDataTab, TheKeyboardWalksTheTabInReadingOrder)
{
    LoadSubjectWithFullTest();
    ShowData();
    ASSERT_EQ(QApplication::focusWidget(), DataEdit(IDC_TEST_DATE)) << "the tab starts in Test Date";
    const int order[] = {IDC_AGE,         IDC_TESTED_BY,  IDC_RELIABILITY, IDC_METHOD, IDC_IMPRESS_L,
                         IDC_IMPRESS_R,   IDC_IMPRESS_SF, IDC_OAE_L,       IDC_OAE_R,  IDC_ABR_L,
                         IDC_ABR_R,       IDC_TYMP_L,     IDC_TYMP_R,      IDC_PEAKY_L};
    for (int id : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        Settle();
        EXPECT_EQ(framework::ControlId(QApplication::focusWidget()), id);
    }
    // The speech column follows the Special group.
    DataCheck(IDC_SPCH_LANG)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Settle();
    EXPECT_EQ(framework::ControlId(QApplication::focusWidget()), IDC_SRT_R);

    // Enter in a field opens nothing and changes nothing; the arrow key chooses in a
    // list and the space bar ticks a box, and both count as the user's changes.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
    DataCombo(IDC_RELIABILITY)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(DataCombo(IDC_RELIABILITY), Qt::Key_Down);
    Settle();
    EXPECT_EQ(DataCombo(IDC_RELIABILITY)->currentIndex(), 4);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);
    doc->m_audCurrent.Dirty = 0;
    DataCheck(IDC_OM)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(DataCheck(IDC_OM), Qt::Key_Space);
    Settle();
    EXPECT_TRUE(DataCheck(IDC_OM)->isChecked());
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
}

} // namespace
} // namespace quorin::test
