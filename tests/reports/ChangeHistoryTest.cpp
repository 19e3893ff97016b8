// View > Change History on a registry with changes planted in its log: the subject's rows
// newest first in the forms' words, who is offered the command, and Enter or a double
// click on an audiogram's row paging to that test.

#include "ReportsFixture.h"
#include "admin/AdminFixture.h"

#include "framework/ReportListCtrl.h"
#include "registration/DialogRegistry.h"
#include "reports/query/ChangeHistoryQuery.h"
#include "reports/ui/ChangeHistoryWindow.h"
#include "resources/Resource.h"
#include "support/MainFrameHarness.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <memory>

namespace quorin::test {
namespace {

// Subject 7 with three audiograms (13 the current one), and its changes; subject 8's
// change is not its own.
class ChangeHistory : public AdminTest {
protected:
    void SetUp() override
    {
        AdminTest::SetUp();
        Insert(registry, "insert into subjects (SubjectId, Lastname, Firstname, Birthdate, InitialDateofConsent) values "
                         "(7, 'LEE', 'MORGAN', '1987-04-09 00:00:00.000', '2018-06-03 00:00:00.000'); "
                         "insert into aud (TestId, SubjectId, TestDate) values (11, 7, '2019-03-01'), "
                         "(12, 7, '2020-03-01'), (13, 7, '2021-03-01')");
        Insert(registry,
               "insert into changelog (ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, "
               "NewValue, ChangeKind) values "
               "('2026-06-14 09:00:00.000', 'qadmin', 'subjects', '7', 7, NULL, NULL, NULL, 'insert'), "
               "('2026-06-14 09:05:00.000', 'quser', 'subjects', '7', 7, 'Lastname', 'LEA', 'LEE', 'update'), "
               "('2026-06-14 09:05:00.000', 'quser', 'aud', '11', 7, 'TestDate', '2019-03-02T00:00:00.000', "
               "'2019-03-01T00:00:00.000', 'update'), "
               "('2026-06-14 10:00:00.000', 'quser', 'audpoints', '99:3:1005', 7, 'symbol', '3', NULL, 'delete'), "
               "('2026-06-14 10:30:00.000', 'quser', 'aud', '13', 7, 'SRTSF', '-1', '20', 'update'), "
               "('2026-06-14 11:00:00.000', 'qadmin', 'subjects', '7', 7, 'Sent', '1900-01-01T00:00:00.000', "
               "'2026-06-14T10:59:30.250', 'update'), "
               "('2026-06-14 11:30:00.000', 'qadmin', 'subjects', '7', 7, 'Zone', '10', '4', 'update'), "
               "('2026-06-14 12:00:00.000', 'qadmin', 'subjects', '8', 8, 'Lastname', 'X', 'Y', 'update')");
    }
    void TearDown() override
    {
        CloseFrame();
        ui.SetDialogRunner(nullptr);
        AdminTest::TearDown();
    }

    // The command's action in the main frame opened on the document, its state up to date.
    QAction* Command() { return mainFrame.Action(*doc, res::ID_VIEW_CHANGE_HISTORY); }
    void CloseFrame() { mainFrame.Close(); }

    CommandFrame mainFrame;
};

TEST_F(ChangeHistory, ListsTheSubjectsChangesNewestFirstInTheFormsWords)
{
    CMemoryReportList list = ListWith(kChangeHistoryColumns);
    ASSERT_TRUE(FillReport(*doc, list, [](CReportQuery& q, CReportList& l) { BuildChangeHistory(q, l, 7); }));
    EXPECT_EQ(Rows(list), (QStringList{"6/14/2026 11:30:00 AM|qadmin|subjects.Zone|10|4",
                                       "6/14/2026 11:00:00 AM|qadmin|Subject: Letter Sent||6/14/2026 10:59:30 AM",
                                       "6/14/2026 10:30:00 AM|quser|Audiogram: SRT sound field|-1|20",
                                       "6/14/2026 10:00:00 AM|quser|Audiogram Chart: Symbol removed|3",
                                       "6/14/2026 9:05:00 AM|quser|Audiogram: Test Date|3/2/2019|3/1/2019",
                                       "6/14/2026 9:05:00 AM|quser|Subject: Last Name|LEA|LEE",
                                       "6/14/2026 9:00:00 AM|qadmin|Subject: added"}));
    EXPECT_EQ(AudiogramTestOfRow(list, 3).value_or(0), 99) << "a symbol's key starts with its test";
    EXPECT_EQ(AudiogramTestOfRow(list, 4).value_or(0), 11);
    EXPECT_FALSE(AudiogramTestOfRow(list, 5).has_value()) << "a subject's row leads to no test";
    // The procedure takes 0 for every subject: no subject lists nothing.
    ASSERT_TRUE(FillReport(*doc, list, [](CReportQuery& q, CReportList& l) { BuildChangeHistory(q, l, 0); }));
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ChangeHistory, IsOfferedToAdministratorsWhileASubjectIsOpen)
{
    struct Case { const char* who; const char* login; const char* password; bool subject; bool enabled; };
    const Case cases[] = {
        {"an administrator with a subject open", kAdminLogin, kAdminPassword, true, true},
        {"an administrator without one", kAdminLogin, kAdminPassword, false, false},
        {"an active member with a subject open", kUserLogin, kUserPassword, true, false},
    };
    for (const Case& c : cases) {
        CloseFrame();
        LogInAs(c.login, c.password);
        ASSERT_NE(Command(), nullptr);
        if (c.subject) {
            ASSERT_NE(doc->LoadSubjectById(7), 0);
        }
        EXPECT_EQ(Command()->isEnabled(), c.enabled) << c.who;
    }
    EXPECT_TRUE(mainFrame.frame->MenuByTitle(QStringLiteral("&View"))->actions().contains(Command()));
}

TEST_F(ChangeHistory, EnterOrADoubleClickOnAnAudiogramRowPagesToThatTest)
{
    ASSERT_NE(Command(), nullptr);
    ASSERT_TRUE(ShowMainFrame(*mainFrame.frame));
    ASSERT_NE(doc->LoadSubjectById(7), 0);
    ui.SetDialogRunner([this](UserInterface::Dialog kind) { return RunRegisteredDialog(kind, mainFrame.frame.get(), *doc); });
    ASSERT_TRUE(Command()->isEnabled());
    Command()->trigger();
    auto* window = dynamic_cast<ChangeHistoryWindow*>(OpenModelessWindow(UserInterface::Dialog::ChangeHistory));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->windowTitle(), "Change History: LEE, MORGAN (7)");
    CReportListCtrl* list = window->List();
    ASSERT_EQ(list->GetItemCount(), 7);
    const auto doubleClick = [list](int row) {
        const QPoint centre = list->visualItemRect(list->topLevelItem(row)).center();
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    };
    ui.ClearMessages();

    list->setFocus();
    list->SelectItem(4); // test 11, two back from the current one
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(doc->m_audCurrent.TestId, 11);
    doubleClick(2); // the current test 13
    EXPECT_EQ(doc->m_audCurrent.TestId, 13);
    EXPECT_EQ(doc->m_nPageDir, 0) << "home again, not paging";
    doubleClick(3); // a symbol of test 99, which is gone
    EXPECT_EQ(doc->m_audCurrent.TestId, 13);
    EXPECT_EQ(ui.Texts(), QStringList{"Audiogram test 99 no longer exists."});
}

} // namespace
} // namespace quorin::test
