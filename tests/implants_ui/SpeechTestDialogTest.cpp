// The Speech Test dialog: its lists, the age filled from the dates, the range checks of
// Age-Equivalent, the refused dates, and the keys a user presses.

#include "SllFixture.h"

#include "framework/ControlId.h"
#include "implants/ui/CSpeechTestDlg.h"
#include "implants/ui/SllTemplates.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace res::sll;
namespace dlg = res::speechtest;

namespace quorin::test {
namespace {

QStringList Items(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

TEST_F(SllTest, TheDialogOffersItsSortedListsAndTheSubjectsTesters)
{
    registry.ExecRaw("Quorin", QStringLiteral("insert into speech (SubjectId, TestName, TestedBy) values "
                                              "(%1, 'MLU', 'Reyes'), (%1, 'CASL', 'Abbott'), (%1, 'GFTA', 'Reyes'),"
                                              "(%1 + 1000, 'CELF', 'Stranger')")
                                   .arg(subjectId)
                                   .toStdString());
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    QString caption;
    QStringList names, labs, screening, testers;
    ClickWithDialog(IDC_ADD, [&](CSpeechTestDlg* d) {
        caption = d->windowTitle();
        names = Items(DialogCombo(d, dlg::IDC_TEST_NAME));
        labs = Items(DialogCombo(d, dlg::IDC_LAB));
        screening = Items(DialogCombo(d, dlg::IDC_SCREENING));
        testers = Items(DialogCombo(d, dlg::IDC_TESTED_BY));
        // Opened empty: nothing chosen, Age-Equivalent 0 and 0.
        EXPECT_EQ(DialogCombo(d, dlg::IDC_TEST_NAME)->currentText(), "");
        EXPECT_EQ(DialogCombo(d, dlg::IDC_TESTED_BY)->currentText(), "");
        EXPECT_EQ(Edit(d, dlg::IDC_AE_YEARS)->text(), "0");
    });
    EXPECT_EQ(caption, "Speech Test");
    EXPECT_EQ(names.size(), 17);
    EXPECT_TRUE(names.contains("MacArthur Communication Development Inventory"));
    QStringList sortedNames = names;
    sortedNames.sort(Qt::CaseInsensitive);
    EXPECT_EQ(names, sortedNames);
    EXPECT_EQ(labs.size(), 11);
    EXPECT_EQ(screening, (QStringList{"Fail", "No", "Pass"}));
    EXPECT_EQ(testers, (QStringList{"Abbott", "Reyes"}));
    EXPECT_EQ(Rows(), 3); // Cancel added nothing
    EXPECT_EQ(doc->m_subject.Modified, 0);
}

TEST_F(SllTest, AgeEquivalentOutsideItsRangeIsRefusedWithTheRangeMessages)
{
    bool stayedOpen = false;
    ClickWithDialog(IDC_ADD, [&](CSpeechTestDlg* d) {
        TypeInto(DialogCombo(d, dlg::IDC_TEST_NAME), QStringLiteral("CELF"));
        TypeInto(Edit(d, dlg::IDC_AE_YEARS), QStringLiteral("121"));
        TypeInto(Edit(d, dlg::IDC_AE_MONTHS), QStringLiteral("13"));
        Click(framework::FindControl(d, 1));
        ASSERT_EQ(frameworkBoxes.shown.size(), 1u);
        EXPECT_EQ(frameworkBoxes.shown[0].text, "Please enter an integer between 0 and 120.");
        EXPECT_TRUE(Edit(d, dlg::IDC_AE_YEARS)->hasFocus());
        TypeInto(Edit(d, dlg::IDC_AE_YEARS), QStringLiteral("120"));
        Click(framework::FindControl(d, 1));
        ASSERT_EQ(frameworkBoxes.shown.size(), 2u);
        EXPECT_EQ(frameworkBoxes.shown[1].text, "Please enter an integer between 0 and 12.");
        EXPECT_TRUE(Edit(d, dlg::IDC_AE_MONTHS)->hasFocus());
        stayedOpen = d->isVisible();
        TypeInto(Edit(d, dlg::IDC_AE_MONTHS), QStringLiteral("12"));
        Click(framework::FindControl(d, 1));
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(doc->m_speechTestList[0].AgeEquivalent, 120 * 12 + 12);
    EXPECT_EQ(Row(0)[9], "121,0");
}

TEST_F(SllTest, AnUnreadableDateOfTestIsRefusedOnLeavingAndAtOk)
{
    bool refusedAtOk = false;
    ClickWithDialog(IDC_ADD, [&](CSpeechTestDlg* d) {
        TypeInto(DialogCombo(d, dlg::IDC_TEST_NAME), QStringLiteral("CELF"));
        TypeInto(Edit(d, dlg::IDC_TEST_DATE), QStringLiteral("13/45/2008"));
        Settle();
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, "Invalid Date!\rPlease use MM/DD/YYYY.");
        EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
        EXPECT_TRUE(Edit(d, dlg::IDC_TEST_DATE)->hasFocus());
        EXPECT_EQ(Edit(d, dlg::IDC_AGE_AT_TEST)->text(), "");

        // Typed again and OK clicked straight away: one message, the dialog stays.
        ui.ClearMessages();
        TypeInto(Edit(d, dlg::IDC_TEST_DATE), QStringLiteral("2/30/2008"), false);
        Click(framework::FindControl(d, 1));
        Settle();
        EXPECT_EQ(ui.Texts(), QStringList{"Invalid Date!\rPlease use MM/DD/YYYY."});
        EXPECT_TRUE(Edit(d, dlg::IDC_TEST_DATE)->hasFocus());
        refusedAtOk = d->isVisible();
        // Cancel with the bad date still typed: closed, nothing more said.
        ui.ClearMessages();
        Click(framework::FindControl(d, 2));
        Settle();
        EXPECT_TRUE(ui.Messages().empty());
    });
    EXPECT_TRUE(refusedAtOk);
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(doc->m_speechTestList.empty());
}

TEST_F(SllTest, EnterIsOkAndEscapeIsCancelFromTheFirstField)
{
    ClickWithDialog(IDC_ADD, [](CSpeechTestDlg* d) {
        // The dialog opens in its first field, and Tab walks down the fields in order.
        QWidget* first = DialogCombo(d, dlg::IDC_TEST_NAME);
        Settle();
        ASSERT_NE(d->focusWidget(), nullptr);
        EXPECT_TRUE(d->focusWidget() == first || first->isAncestorOf(d->focusWidget()))
            << d->focusWidget()->metaObject()->className() << " " << framework::ControlId(d->focusWidget());
        QTest::keyClicks(d->focusWidget(), QStringLiteral("PPVT-III"));
        QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(d->focusWidget(), Edit(d, dlg::IDC_TEST_DATE));
        QTest::keyClicks(d->focusWidget(), QStringLiteral("3/15/2008"));
        QTest::keyClick(d->focusWidget(), Qt::Key_Return);
        Settle();
    });
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0)[0], "PPVT-III");
    EXPECT_EQ(Row(0)[2], "3/15/2008");

    ClickWithDialog(IDC_ADD, [](CSpeechTestDlg* d) {
        TypeInto(DialogCombo(d, dlg::IDC_TEST_NAME), QStringLiteral("GFTA"));
        QTest::keyClick(d->focusWidget(), Qt::Key_Escape);
        Settle();
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(Rows(), 1);
}

} // namespace
} // namespace quorin::test
