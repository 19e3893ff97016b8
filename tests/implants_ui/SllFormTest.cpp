// The S/L/L tab: the therapy answers, the list of tests with Add, Edit and Delete, what
// reaches the registry, and the tab following the subject that is open.

#include "SllFixture.h"

#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CSpeechTestDlg.h"
#include "implants/ui/SllTemplates.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

using namespace res::sll;
namespace dlg = res::speechtest;

namespace quorin::test {
namespace {

TEST_F(SllTest, TheTabIsLaidOutWithItsColumnsAndAnswers)
{
    EXPECT_EQ(doc->SllLoaded, 1);
    const QStringList sorted = {"No", "Unknown", "Yes"};
    for (int id : {IDC_PAST_SPEECH, IDC_CURRENT_SPEECH}) {
        QStringList items;
        for (int i = 0; i < Combo(id)->count(); ++i)
            items << Combo(id)->itemText(i);
        EXPECT_EQ(items, sorted);
    }
    CReportListCtrl* list = form->List();
    ASSERT_EQ(list->GetColumnCount(), 13);
    const QStringList titles = {"Speech Test Name", "", "Date", "Age at Test", "Tested by", "Lab", "Screening",
                                "Raw Score", "Standard Score", "Age-Equivalent", "Percentile", "SD", "Other"};
    for (int c = 0; c < 13; ++c)
        EXPECT_EQ(list->headerItem()->text(c), titles[c]) << c;
    EXPECT_EQ(list->GetColumnWidth(0), 120);
    EXPECT_EQ(list->GetColumnWidth(2), 80);
    EXPECT_TRUE(list->isColumnHidden(1));
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(SllTest, BothTherapyAnswersRoundTripAndMarkTheSubjectModified)
{
    EXPECT_EQ(doc->m_subject.Modified, 0);
    ChooseFromList(Combo(IDC_PAST_SPEECH), Combo(IDC_PAST_SPEECH)->findText("Yes"));
    EXPECT_EQ(doc->m_subject.Modified, 1);
    doc->m_subject.Modified = 0;
    TypeInto(Combo(IDC_CURRENT_SPEECH), QStringLiteral("Unknown"));
    EXPECT_EQ(doc->m_subject.Modified, 1);

    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select PastSpeech from subjects where SubjectId = %1").arg(subjectId),
                     "PastSpeech"),
              "Yes");
    EXPECT_EQ(Scalar("Quorin",
                     QStringLiteral("select CurrentSpeech from subjects where SubjectId = %1").arg(subjectId),
                     "CurrentSpeech"),
              "Unknown");

    // Opened again, the tab shows what was stored.
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    EXPECT_EQ(Combo(IDC_PAST_SPEECH)->currentText(), "Yes");
    EXPECT_EQ(Combo(IDC_CURRENT_SPEECH)->currentText(), "Unknown");
}

TEST_F(SllTest, ATestIsAddedSavedEditedAndDeletedWithoutLeavingTheTab)
{
    ClickWithDialog(IDC_ADD, [](CSpeechTestDlg* d) {
        TypeInto(DialogCombo(d, dlg::IDC_TEST_NAME), QStringLiteral("CELF"));
        TypeInto(Edit(d, dlg::IDC_TEST_DATE), QStringLiteral("3/15/2008"));
        // Leaving the date filled the age from the birth date.
        EXPECT_EQ(Edit(d, dlg::IDC_AGE_AT_TEST)->text(), "5yrs 0mos");
        TypeInto(DialogCombo(d, dlg::IDC_TESTED_BY), QStringLiteral("Dana O'Reyes"));
        ChooseFromList(DialogCombo(d, dlg::IDC_LAB), DialogCombo(d, dlg::IDC_LAB)->findText("CCD"));
        ChooseFromList(DialogCombo(d, dlg::IDC_SCREENING), DialogCombo(d, dlg::IDC_SCREENING)->findText("Pass"));
        TypeInto(Edit(d, dlg::IDC_RAW_SCORE), QStringLiteral("41"));
        TypeInto(Edit(d, dlg::IDC_STANDARD_SCORE), QStringLiteral("102"));
        TypeInto(Edit(d, dlg::IDC_AE_YEARS), QStringLiteral("4"));
        TypeInto(Edit(d, dlg::IDC_AE_MONTHS), QStringLiteral("7"));
        TypeInto(Edit(d, dlg::IDC_PERCENTILE), QStringLiteral("55th"));
        TypeInto(Edit(d, dlg::IDC_SD), QStringLiteral("0.3"));
        TypeInto(Edit(d, dlg::IDC_OTHER), QStringLiteral("quiet room"));
        TypeInto(Edit(d, dlg::IDC_COMMENTS), QStringLiteral("cooperative"));
        Click(framework::FindControl(d, 1));
    });
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0), (QStringList{"CELF", "-100", "3/15/2008", "5yrs 0mos", "Dana O'Reyes", "CCD", "Pass", "41",
                                   "102", "4,7", "55th", "0.3", "quiet room"}));
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(StoredTests(), 0); // only the save stores it

    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_EQ(StoredTests(QStringLiteral("SubjectId = %1 and AgeEquivalent = 55 and TestedBy = 'Dana O''Reyes' "
                                         "and Comments = 'cooperative'")
                              .arg(subjectId)),
              1);
    // The row now carries the stored id, so Edit and Delete find the test.
    const QString stored = Scalar("Quorin", "select TestId from speech", "TestId");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0)[1], stored);

    ClickRow(0);
    ClickWithDialog(IDC_EDIT, [](CSpeechTestDlg* d) {
        EXPECT_EQ(Edit(d, dlg::IDC_AE_YEARS)->text(), "4");
        EXPECT_EQ(Edit(d, dlg::IDC_AE_MONTHS)->text(), "7");
        EXPECT_EQ(DialogCombo(d, dlg::IDC_TESTED_BY)->currentText(), "Dana O'Reyes");
        TypeInto(Edit(d, dlg::IDC_RAW_SCORE), QStringLiteral("44"));
        Click(framework::FindControl(d, 1));
    });
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0)[7], "44");
    EXPECT_EQ(Row(0)[1], stored);
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Scalar("Quorin", "select RawScore from speech", "RawScore"), "44");
    EXPECT_EQ(StoredTests(), 1);

    ClickRow(0);
    Click(Button(IDC_DELETE));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(StoredTests(), 0); // at once, before any save
    EXPECT_TRUE(ui.Messages().empty()) << ui.Texts().join(" | ").toStdString();
}

TEST_F(SllTest, IdsStayUniqueAfterADeleteAndAnUnsavedDeleteTouchesNothing)
{
    // A stored test of the subject that must survive.
    registry.ExecRaw("Quorin", QStringLiteral("insert into speech (SubjectId, TestName) values (%1, 'MLU')")
                                   .arg(subjectId)
                                   .toStdString());
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    ASSERT_EQ(Rows(), 1);

    AddNamed(QStringLiteral("CASL"));
    AddNamed(QStringLiteral("GFTA"));
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Row(1)[1], "-99");
    EXPECT_EQ(Row(2)[1], "-98");

    ClickRow(1);
    Click(Button(IDC_DELETE));
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(StoredTests(), 1);
    AddNamed(QStringLiteral("PSL-4"));
    ASSERT_EQ(Rows(), 3);
    QStringList ids = {Row(0)[1], Row(1)[1], Row(2)[1]};
    ids.removeDuplicates();
    EXPECT_EQ(ids.size(), 3);
    EXPECT_EQ(Row(2)[0], "PSL-4");

    // Edit reaches the test of its row, not one sharing an id.
    ClickRow(1);
    ClickWithDialog(IDC_EDIT, [](CSpeechTestDlg* d) {
        EXPECT_EQ(DialogCombo(d, dlg::IDC_TEST_NAME)->currentText(), "GFTA");
        TypeInto(Edit(d, dlg::IDC_OTHER), QStringLiteral("edited"));
        Click(framework::FindControl(d, 1));
    });
    EXPECT_EQ(Row(1)[12], "edited");
    EXPECT_EQ(Row(2)[12], "");
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(SllTest, EditAndDeleteWithoutASelectionSayWhy)
{
    AddNamed(QStringLiteral("CASL"));
    form->List()->clearSelection();
    form->List()->setCurrentItem(nullptr);
    ui.ClearMessages();
    Click(Button(IDC_EDIT));
    Click(Button(IDC_DELETE));
    ASSERT_EQ(ui.Messages().size(), 2u);
    for (const auto& m : ui.Messages()) {
        EXPECT_EQ(m.text, "Please make a selection!");
        EXPECT_EQ(m.icon, UserInterface::Icon::Stop);
    }
    EXPECT_EQ(Rows(), 1);
    // A double-click on a row does nothing: no dialog, no change.
    const QRect rect = form->List()->visualItemRect(form->List()->topLevelItem(0));
    QTest::mouseDClick(form->List()->viewport(), Qt::LeftButton, {}, rect.center());
    Settle();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Rows(), 1);
}

TEST_F(SllTest, FileNewAfterAnAddAsksToSaveAndEmptiesTheTab)
{
    AddNamed(QStringLiteral("CASL"));
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::No);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(ui.Texts(), QStringList{"Save Current Subject?"});
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(StoredTests(), 0);
}

TEST_F(SllTest, ASubjectOpenedWhileTheTabIsInFrontShowsItsOwnTests)
{
    const int other = AddSubject(QStringLiteral("HOLT"), QStringLiteral("ARI"), 5522, QStringLiteral("2001-06-01"));
    registry.ExecRaw("Quorin", QStringLiteral("insert into speech (SubjectId, TestName) values (%1, 'MLU'), "
                                              "(%2, 'Rosetti'), (%2, 'BBQSPS')")
                                   .arg(subjectId)
                                   .arg(other)
                                   .toStdString());
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0)[0], "MLU");

    ASSERT_NE(doc->LoadSubjectById(other), 0);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Row(0)[0], "Rosetti");
    EXPECT_EQ(Row(1)[0], "BBQSPS");
}

TEST_F(SllTest, ASaveFailedByTheRegistryKeepsEveryRowAndTheQuestion)
{
    AddNamed(QStringLiteral("CASL"));
    AddNamed(QStringLiteral("GFTA"));
    registry.ExecRaw("Quorin", "create trigger refuse_test before insert on speech "
                               "when new.TestName = 'GFTA' begin select raise(abort, 'refused'); end");
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Row(0)[0], "CASL");
    EXPECT_EQ(Row(1)[0], "GFTA");
    EXPECT_EQ(StoredTests(), 0);

    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::No);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(ui.Texts(), QStringList{"Save Current Subject?"});
}

TEST_F(SllTest, AHiddenTabFillsItselfWhenShownAgain)
{
    form->hide();
    const int other = AddSubject(QStringLiteral("HOLT"), QStringLiteral("ARI"), 5522, QStringLiteral("2001-06-01"));
    registry.ExecRaw("Quorin",
                     QStringLiteral("insert into speech (SubjectId, TestName) values (%1, 'CELF')").arg(other).toStdString());
    ASSERT_NE(doc->LoadSubjectById(other), 0);
    EXPECT_EQ(doc->SllLoaded, 0);
    ShowActive(form.get());
    EXPECT_EQ(doc->SllLoaded, 1);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0)[0], "CELF");
}

} // namespace
} // namespace quorin::test
