// Paging through a demo subject's tests from the main window: the toolbar buttons and
// the View menu move the document, and the buttons follow the enable rules.

#include "subjects_ui/FormFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "database/demo/DemoRegistry.h"
#include "resources/Resource.h"
#include "support/MainFrameHarness.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace quorin::test {
namespace {

class PagingFrameTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        demo::FillDemoRegistry(registry.Folder(), 300, demo::kDefaultDemoSeed);
        ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
        ASSERT_TRUE(ShowMainFrame(*frame));
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        FormTest::TearDown();
    }

    // A demo subject with earlier registry tests and clinic tests of a date of their own.
    int SubjectWithBothHistories()
    {
        return Scalar("Quorin",
                      QStringLiteral(
                          "select min(s.SubjectId) as id from subjects s where s.Unit > 0 and "
                          "(select count(*) from aud a where a.SubjectId = s.SubjectId) >= 3 and "
                          "(select count(*) from Aud.dbo.info i where i.PatientNum = s.Unit and not exists "
                          "(select 1 from aud a where a.SubjectId = s.SubjectId and "
                          "convert(char(10), a.TestDate, 101) = convert(char(10), i.[Date], 101))) >= 2"),
                      "id")
            .toInt();
    }

    QWidget* ToolbarButton(unsigned id) const
    {
        return frame->m_wndToolBar->widgetForAction(frame->CommandAction(id));
    }
    bool Enabled(unsigned id) const
    {
        frame->UpdateCommandUI();
        return frame->CommandAction(id)->isEnabled();
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
};

TEST_F(PagingFrameTest, ToolbarAndViewMenuPageADemoSubjectsTests)
{
    const int id = SubjectWithBothHistories();
    ASSERT_GT(id, 0) << "the demo has a subject with registry and clinic history";
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    const QString current = doc->m_audCurrent.Info.TestDate;
    ui.ClearMessages();

    QMenu* view = frame->MenuByTitle(QStringLiteral("&View"));
    ASSERT_NE(view, nullptr);
    for (unsigned command : {res::ID_PAGE_PREV, res::ID_PAGE_NEXT, res::ID_PAGE_HOME})
        EXPECT_TRUE(view->actions().contains(frame->CommandAction(command)));

    EXPECT_TRUE(Enabled(res::ID_PAGE_PREV));
    EXPECT_FALSE(Enabled(res::ID_PAGE_NEXT));
    EXPECT_TRUE(Enabled(res::ID_PAGE_HOME));

    Click(ToolbarButton(res::ID_PAGE_PREV));
    Settle();
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    ASSERT_EQ(doc->m_bHistoryLoaded, 1);
    const int count = doc->m_nHistoryCount;
    ASSERT_GE(count, 4);
    EXPECT_EQ(doc->m_nHistoryPos, count);
    EXPECT_TRUE(Enabled(res::ID_PAGE_NEXT));

    // Down to the oldest by the toolbar, seeing clinic and registry tests, newest first.
    bool sawClinic = false, sawRegistry = false;
    QString previous = current;
    while (Enabled(res::ID_PAGE_PREV)) {
        Click(ToolbarButton(res::ID_PAGE_PREV));
        EXPECT_LE(CQuorinDoc::CompareDates(doc->m_audCurrent.Info.TestDate, previous), 0);
        previous = doc->m_audCurrent.Info.TestDate;
        (doc->m_audCurrent.Info.Imported ? sawClinic : sawRegistry) = true;
    }
    EXPECT_EQ(doc->m_nHistoryPos, 1);
    EXPECT_TRUE(sawClinic);
    EXPECT_TRUE(sawRegistry);

    // Up two by the View menu, home by the toolbar.
    view->actions().at(view->actions().indexOf(frame->CommandAction(res::ID_PAGE_NEXT)))->trigger();
    frame->CommandAction(res::ID_PAGE_NEXT)->trigger();
    EXPECT_EQ(doc->m_nHistoryPos, 3);
    EXPECT_EQ(doc->m_nPageDir, 2);
    EXPECT_TRUE(Enabled(res::ID_PAGE_PREV));
    Click(ToolbarButton(res::ID_PAGE_HOME));
    EXPECT_EQ(doc->m_nPageDir, 0);
    EXPECT_EQ(doc->m_nHistoryPos, count + 1);
    EXPECT_EQ(doc->m_audCurrent.Info.TestDate, current);
    EXPECT_FALSE(Enabled(res::ID_PAGE_NEXT));
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(PagingFrameTest, ANewSubjectIsToldToSaveFirst)
{
    Click(ToolbarButton(res::ID_PAGE_PREV));
    Settle();
    EXPECT_EQ(ui.Texts(),
              QStringList{QStringLiteral("Please Save New Patients before paging through their audiograms!")});
    EXPECT_EQ(doc->m_bHistoryLoaded, 0);
}

} // namespace
} // namespace quorin::test
