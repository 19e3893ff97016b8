// The Comments tab's limit, and both tabs following the document: a loaded subject, a
// new audiogram, File New while a tab is in front, and a save with a tab never opened.

#include "AudTabsFixture.h"

#include "app/CMainFrame.h"
#include "audiograms/ui/CFormAudData.h"
#include "audiograms/ui/CFormAudOther.h"
#include "audiograms/ui/CViewAud.h"
#include "framework/ControlId.h"
#include "audiograms/ui/AudTemplates.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>

namespace quorin::test {
namespace {

using namespace res::auddata;
using res::audother::IDC_COMMENTS;
using res::audother::IDC_RECOMMEND;
using AudComments = AudTabsTest;
using AudTabsFollowTheDocument = AudTabsTest;

const QString kTooLong = QStringLiteral("Please enter no more than 499 characters.");

TEST_F(AudComments, TypingAndPastingStopAtTheLimit)
{
    const int id = LoadSubjectWithFullTest();
    ShowComments();
    QPlainTextEdit* edit = CommentsEdit(IDC_COMMENTS);
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(QString(600, QLatin1Char('p')));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(edit->toPlainText(), QString(499, QLatin1Char('p'))) << "a 600-character paste keeps 499";
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);
    QTest::keyClicks(edit, QStringLiteral("more"));
    EXPECT_EQ(edit->toPlainText().size(), 499) << "nothing more is typed";
    // Typed in the middle, the insertion is cut, not the text after it.
    QTextCursor caret = edit->textCursor();
    caret.setPosition(10);
    caret.setPosition(20, QTextCursor::KeepAnchor);
    edit->setTextCursor(caret);
    QTest::keyClicks(edit, QStringLiteral("0123456789ABC"));
    EXPECT_EQ(edit->toPlainText(), QString(10, QLatin1Char('p')) + QStringLiteral("0123456789")
                                       + QString(479, QLatin1Char('p')));

    // Multi-line: Enter is a line break, and it counts.
    QPlainTextEdit* recommend = CommentsEdit(IDC_RECOMMEND);
    recommend->setFocus(Qt::TabFocusReason);
    QTest::keyClick(recommend, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(recommend, Qt::Key_Return);
    QTest::keyClicks(recommend, QStringLiteral("Call the parents."));
    ClearAllMessages();
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(Stored(id, "Comments").size(), 499);
    EXPECT_EQ(Stored(id, "Recommend"), QStringLiteral("Retest in six months.\nCall the parents."));
}

// A clinic test with a negative SRT and percentage and a comment longer than the
// registry's typing limit: imported, paged over and saved, nothing is refused and every
// value is stored as the clinic has it.
TEST_F(AudComments, AClinicsStoredValuesPassPagingAndSavingUnchanged)
{
    const int id = LoadSubjectWithFullTest();
    const std::string comment(700, 'c');
    registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date, Testedby) values (9, 4711, "
                            "'2025-06-01 09:30:00.000', 'Kate');insert into Other (PatientIndex, Method, Comment) "
                            "values (9, 2, '" + comment + "');insert into Speech (Patientindex, srta, pc1a) "
                            "values (9, -5, -5);insert into info (PatientIndex, PatientNum, Date, Testedby) "
                            "values (8, 4711, '2020-01-01 09:30:00.000', 'Kate');insert into Other "
                            "(PatientIndex, Method) values (8, 2);");
    ui.AnswerNext(UserInterface::Answer::Yes); // the newer clinic test
    ShowChart();
    ASSERT_EQ(doc->m_audCurrent.Info.TestDate, "06/01/2025");
    ShowData();
    EXPECT_EQ(DataEdit(IDC_SRT_R)->text(), QStringLiteral("-5"));
    ShowComments();
    QPlainTextEdit* edit = CommentsEdit(IDC_COMMENTS);
    EXPECT_EQ(edit->toPlainText().size(), 700) << "shown whole";
    EXPECT_FALSE(edit->isReadOnly());

    ClearAllMessages();
    frame->UpdateCommandUI();
    Click(frame->m_wndToolBar->widgetForAction(Action(res::ID_PAGE_PREV)));
    EXPECT_EQ(doc->m_nPageDir, 1) << "paging is not refused";
    EXPECT_TRUE(edit->isReadOnly()) << "an older test is only looked at";
    frame->UpdateCommandUI();
    Click(frame->m_wndToolBar->widgetForAction(Action(res::ID_PAGE_HOME)));
    EXPECT_EQ(doc->m_nPageDir, 0);
    EXPECT_EQ(edit->toPlainText().size(), 700);
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(Stored(id, "SRTR"), QStringLiteral("-5"));
    EXPECT_EQ(Stored(id, "PC1R"), QStringLiteral("-5"));
    EXPECT_EQ(Stored(id, "Comments"), QString::fromStdString(comment));
}

TEST_F(AudTabsFollowTheDocument, ASaveAfterADataEditKeepsTheCommentsOfATabNeverOpened)
{
    const int id = LoadSubjectWithFullTest();
    ShowData();
    TypeInto(DataEdit(IDC_SRT_L), QStringLiteral("40"));
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(Stored(id, "SRTL").toInt(), 40);
    EXPECT_EQ(Stored(id, "Comments"), QStringLiteral("Wears aids at school."));
    EXPECT_EQ(Stored(id, "Recommend"), QStringLiteral("Retest in six months."));
}

TEST_F(AudTabsFollowTheDocument, ASubjectOpenedWhileATabIsInFrontShowsAtOnce)
{
    const int first = LoadSubjectWithFullTest();
    ShowData();
    ShowComments();
    ShowData();
    ASSERT_EQ(DataEdit(IDC_TESTED_BY)->text(), QStringLiteral("A. Tester"));

    // A second subject with its own test, opened by id as a report opens one.
    CSubject other = DistinctSubject();
    other.Lastname = QStringLiteral("Berg");
    other.Firstname = QStringLiteral("Ola");
    other.Unit = QStringLiteral("4712");
    other.Birth = QStringLiteral("05/20/1990");
    doc->ClearDocument();
    doc->m_subject = other;
    doc->Interactive = 0;
    ASSERT_EQ(doc->SaveSubject(), 1);
    doc->Interactive = 1;
    const int second = doc->m_subject.SubjectID;
    const int test = AddFullTest(second, "2000-05-21");
    registry.ExecRaw("Quorin", "update aud set TestedBy = 'Second Tester', Comments = 'Second comment', "
                               "SRTR = 55 where TestId = " + std::to_string(test));
    ASSERT_NE(doc->LoadSubjectById(second), 0);
    Settle();
    ASSERT_TRUE(data->isVisible());
    EXPECT_EQ(DataEdit(IDC_TESTED_BY)->text(), QStringLiteral("Second Tester"));
    EXPECT_EQ(DataEdit(IDC_SRT_R)->text(), QStringLiteral("55"));
    EXPECT_EQ(DataEdit(IDC_AGE)->text(), QStringLiteral("10"));
    EXPECT_EQ(framework::FindControlAs<QLabel>(data, IDC_PATIENT_NAME)->text(), QStringLiteral("Berg, Ola"));
    ShowComments();
    EXPECT_EQ(CommentsEdit(IDC_COMMENTS)->toPlainText(), QStringLiteral("Second comment"));

    // What is typed now belongs to the second subject's test, and to nothing else.
    CommentsEdit(IDC_COMMENTS)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(CommentsEdit(IDC_COMMENTS), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(CommentsEdit(IDC_COMMENTS), QStringLiteral(" Typed."));
    const QString firstComments = Stored(first, "Comments");
    ClearAllMessages();
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(Stored(second, "Comments"), QStringLiteral("Second comment Typed."));
    EXPECT_EQ(Stored(first, "Comments"), firstComments);
}

TEST_F(AudTabsFollowTheDocument, FileNewWithTheDataTabInFrontShowsTheEmptyTest)
{
    const int first = LoadSubjectWithFullTest();
    const std::string before = StoredAudiograms();
    ShowData();
    ASSERT_EQ(DataEdit(IDC_TESTED_BY)->text(), QStringLiteral("A. Tester"));
    // File New is the application's command; this frame has no application object, so
    // the document's new-document step runs as the command runs it.
    ASSERT_TRUE(doc->OnNewDocument());
    Settle();
    ASSERT_EQ(doc->m_subject.SubjectID, -1);
    // The scripted user interface leaves the tabs where they are: the Data tab is on
    // screen with the emptied document.
    ASSERT_TRUE(data->isVisible());
    EXPECT_EQ(DataEdit(IDC_TEST_DATE)->text(), QString());
    EXPECT_EQ(DataEdit(IDC_TESTED_BY)->text(), QString());
    EXPECT_EQ(DataEdit(IDC_SRT_R)->text(), QString());
    EXPECT_EQ(DataCombo(IDC_RELIABILITY)->currentIndex(), -1);
    EXPECT_FALSE(DataCheck(IDC_TINNITUS_L)->isChecked());
    EXPECT_EQ(framework::FindControlAs<QLabel>(data, IDC_PATIENT_NAME)->text(), QString());

    // A new subject typed in, with a test typed on the Data tab: only what was typed is
    // stored, nothing of the previous subject's test.
    TypeInto(DataEdit(IDC_TESTED_BY), QStringLiteral("New Tester"));
    TypeInto(DataEdit(IDC_TEST_DATE), QStringLiteral("06/01/2026"));
    frame->m_wndFramework.BringForward(frame->m_pNodeSubject);
    Settle();
    QWidget* subjectTab = frame->m_pNodeSubject->GetWnd();
    auto subjectEdit = [subjectTab](int id) { return framework::FindControlAs<QLineEdit>(subjectTab, id); };
    TypeInto(subjectEdit(res::subject::IDC_LAST), QStringLiteral("NEWMAN"));
    TypeInto(subjectEdit(res::subject::IDC_FIRST), QStringLiteral("NORA"));
    TypeInto(subjectEdit(res::subject::IDC_BIRTH), QStringLiteral("01/02/2010"));
    TypeInto(subjectEdit(res::subject::IDC_DATE_INITIAL), QStringLiteral("06/01/2026"));
    ClearAllMessages();
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    const int added = doc->m_subject.SubjectID;
    ASSERT_GT(added, first);
    ASSERT_EQ(StoredTests(added), 1);
    EXPECT_EQ(Stored(added, "TestedBy"), QStringLiteral("New Tester"));
    EXPECT_EQ(Stored(added, "TestDate"), QStringLiteral("06/01/2026"));
    EXPECT_EQ(Stored(added, "SRTR").toInt(), -1);
    EXPECT_EQ(Stored(added, "Reliability").toInt(), -1);
    EXPECT_EQ(Stored(added, "TinnitusL").toInt(), 0);
    EXPECT_EQ(Stored(added, "Comments"), QString());
    EXPECT_EQ(StoredRaw(added, "MatR"), " ") << "an empty test's materials are stored as shown";
    EXPECT_EQ(Stored(first, "TestedBy"), QStringLiteral("A. Tester"));
    EXPECT_EQ(StoredTests(first), 1);
    EXPECT_NE(StoredAudiograms(), before);
}

TEST_F(AudTabsFollowTheDocument, ANewAudiogramEmptiesBothTabsAndIsStoredAsTyped)
{
    const int id = LoadSubjectWithFullTest();
    ShowData();
    ShowComments();
    ShowChart();
    ASSERT_TRUE(chart->isVisible());
    ASSERT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    ASSERT_TRUE(frame->ExecuteCommand(res::ID_SYMBOL_FIRST));
    ui.AnswerNext(UserInterface::Answer::Yes);
    ClickPoint(4, 8);
    ASSERT_EQ(ui.Texts(), QStringList{QStringLiteral("Enter a New Audiogram?")});
    ui.ClearMessages();

    ShowData();
    EXPECT_EQ(DataEdit(IDC_TEST_DATE)->text(), QString());
    EXPECT_EQ(DataEdit(IDC_TESTED_BY)->text(), QString());
    EXPECT_EQ(DataEdit(IDC_PEAKY_L)->text(), QString());
    EXPECT_EQ(DataCombo(IDC_METHOD)->currentIndex(), -1);
    EXPECT_EQ(DataCombo(IDC_MAT_R)->currentText(), QStringLiteral(" "));
    ShowComments();
    EXPECT_EQ(CommentsEdit(IDC_COMMENTS)->toPlainText(), QString());
    EXPECT_EQ(CommentsEdit(IDC_RECOMMEND)->toPlainText(), QString());

    CommentsEdit(IDC_COMMENTS)->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(CommentsEdit(IDC_COMMENTS), QStringLiteral("New test."));
    ShowData();
    TypeInto(DataEdit(IDC_TEST_DATE), QStringLiteral("6/15/2026"));
    ClearAllMessages();
    SaveByKeys();
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
    EXPECT_EQ(StoredTests(id), 2) << "the new test is added beside the loaded one";
    EXPECT_EQ(Stored(id, "TestDate"), QStringLiteral("06/15/2026"));
    EXPECT_EQ(Stored(id, "Comments"), QStringLiteral("New test."));
    EXPECT_EQ(Stored(id, "TestedBy"), QString());
}

} // namespace
} // namespace quorin::test
