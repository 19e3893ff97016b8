// Paging the chart by the toolbar and the View menu: the commands reach the document,
// and the screen shows the chart repainted for each test.

#include "ChartFixture.h"

#include "audiograms/ui/CViewAud.h"
#include "resources/Resource.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QScreen>

namespace quorin::test {
namespace {

class ChartPaging : public ChartTest {
protected:
    // What the screen shows of the chart.
    QImage OnScreen() const
    {
        const QPoint at = chart->mapTo(frame.get(), QPoint(0, 0));
        return frame->screen()
            ->grabWindow(frame->winId(), at.x(), at.y(), chart->width(), chart->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The screen shows what the chart paints for the shown test: it repainted itself.
    bool Repainted() const { return OnScreen() == chart->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(ChartPaging, ToolbarAndViewMenuPageBackAndTheChartRepaintsForEachTest)
{
    const int id = LoadStoredSubject();
    // An older registry test stored before the current one (whose id is the highest).
    registry.ExecRaw("Quorin", "insert into aud (TestId, SubjectId, TestDate, TestedBy) values ((select min(TestId) - 1 "
                               "from aud), " + std::to_string(id) + ", '2020-02-02 00:00:00.000', 'registry');");
    registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date, Testedby) values (1, 4711, "
                            "'2021-05-05 00:00:00.000', 'clinic');insert into Other (PatientIndex, Method) values "
                            "(1, 2);insert into newpoints values (1, 2, 4, 1, 0), (1, 4, 6, 2, 0);");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    Show(frame->m_pNodeChart);
    ui.ClearMessages();
    EXPECT_FALSE(frame->CommandAction(res::ID_PAGE_NEXT)->isEnabled());

    Click(ToolbarButton(res::ID_PAGE_PREV));
    Settle();
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    ASSERT_EQ(doc->m_audCurrent.Info.TestedBy, "clinic");
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported);
    EXPECT_TRUE(Repainted()) << "the chart repainted for the clinic test";

    // The View menu's Page Prev.
    QMenu* view = frame->MenuByTitle(QStringLiteral("&View"));
    ASSERT_TRUE(view && view->actions().contains(frame->CommandAction(res::ID_PAGE_PREV)));
    frame->UpdateCommandUI();
    frame->CommandAction(res::ID_PAGE_PREV)->trigger();
    Settle();
    ASSERT_EQ(doc->m_audCurrent.Info.TestedBy, "registry");
    EXPECT_TRUE(Repainted()) << "the chart repainted for the registry test";

    Click(ToolbarButton(res::ID_PAGE_HOME));
    EXPECT_EQ(doc->m_audCurrent.Info.TestDate, "03/04/2025");
    EXPECT_EQ(doc->m_nPageDir, 0);
}

} // namespace
} // namespace quorin::test
