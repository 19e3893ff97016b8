// Paging the chart tab back by the toolbar and the View menu to a clinic test: the
// header names it an imported record with its place in the history, its own symbols
// are drawn, and the image is kept for a reviewer.

#include "ChartFixture.h"

#include "app/CMainFrame.h"
#include "document/CQuorinDoc.h"
#include "audiograms/ui/CViewAud.h"
#include "audiograms/record/ChartGeometry.h"
#include "audiograms/ui/ChartPainter.h"
#include "resources/Resource.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolBar>

#include <array>
#include <string>

namespace quorin::test {
namespace {

class ChartPaging : public ChartTest {
protected:
    // A registry test with one red circle of its own.
    void AddRegistryTest(int subjectId, const std::string& date, const std::string& testedBy)
    {
        registry.ExecRaw("Quorin", "insert into aud (SubjectId, TestDate, TestedBy) values (" + std::to_string(subjectId)
                                       + ", '" + date + " 00:00:00.000', '" + testedBy
                                       + "');insert into audpoints (TestId, symbol, xy, recent, type) "
                                         "select max(TestId), 1, 514, 1, 1 from aud;");
    }

    // A clinic test of unit 4711 with the clinic's symbol codes at (x, y) given.
    void AddClinicTest(int index, const std::string& date, const std::string& testedBy,
                       std::initializer_list<std::array<int, 3>> points)
    {
        const std::string i = std::to_string(index);
        std::string sql = "insert into info (PatientIndex, PatientNum, Date, Testedby) values (" + i + ", 4711, '"
                          + date + " 00:00:00.000', '" + testedBy + "');insert into Other (PatientIndex, Method) values ("
                          + i + ", 2);";
        for (const auto& p : points)
            sql += "insert into newpoints values (" + i + ", " + std::to_string(p[0]) + ", " + std::to_string(p[1])
                   + ", " + std::to_string(p[2]) + ", 0);";
        registry.ExecRaw("Aud", sql);
    }

    QWidget* ToolbarButton(unsigned id) const
    {
        return frame->m_wndToolBar->widgetForAction(frame->CommandAction(id));
    }

    QImage Grab() const { return chart->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // What the screen shows of the chart: grab() paints afresh, this shows whether the
    // chart repainted itself after the move.
    QImage OnScreen() const
    {
        const QPoint at = chart->mapTo(frame.get(), QPoint(0, 0));
        return frame->screen()
            ->grabWindow(frame->winId(), at.x(), at.y(), chart->width(), chart->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // The chart as the painting routine draws the shown test with the given counter.
    QImage Painted(int pos, int total) const
    {
        QImage image(chart->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        quorin::ChartContent content;
        content.record = &doc->m_audCurrent;
        content.historyLoaded = 1;
        content.historyPos = pos;
        content.historyTotal = total;
        quorin::PaintAudiogramChart(p, chart->size(), content);
        p.end();
        return image;
    }

    // Pixels of the colour within the rectangle.
    static int Count(const QImage& image, const QRect& area, const QColor& colour)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }

    // Pixels of red text, its smoothed edges included.
    static int Reddish(const QImage& image, const QRect& area)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += c.red() > 200 && c.green() < 160 && c.blue() < 160;
            }
        return n;
    }
};

TEST_F(ChartPaging, ToolbarAndViewMenuPageBackToAClinicTestShownAsImported)
{
    // The subject (unit 4711) is stored without a test; the newest stored test, added
    // last, is the current one.
    doc->m_subject = DistinctSubject();
    doc->Interactive = 0;
    ASSERT_EQ(doc->SaveSubject(), 1);
    doc->Interactive = 1;
    const int id = doc->m_subject.SubjectID;
    // Six earlier tests, newest first: registry, clinic, registry, clinic, registry, clinic.
    AddRegistryTest(id, "2024-06-01", "reg 2024");
    AddClinicTest(1, "2023-03-01", "clinic 2023", {{4, 10, 2}});
    AddRegistryTest(id, "2022-01-01", "reg 2022");
    // The clinic test paged to: right ear circles falling, left ear crosses flat.
    AddClinicTest(2, "2021-05-05", "clinic 2021",
                  {{2, 4, 1}, {3, 5, 1}, {4, 6, 1}, {5, 8, 1}, {6, 10, 1}, {2, 6, 2}, {3, 6, 2}, {4, 6, 2}, {5, 6, 2}});
    AddRegistryTest(id, "2020-02-02", "reg 2020");
    AddClinicTest(3, "2019-09-09", "clinic 2019", {{3, 3, 1}});
    AddRegistryTest(id, "2025-03-04", "current");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    ui.ClearMessages();
    ShowChart();
    ASSERT_TRUE(chart->isVisible());
    ASSERT_EQ(doc->m_audCurrent.Info.TestDate, QStringLiteral("03/04/2025"));
    const QRect banner(150, 0, 150, 14); // where "IMPORTED RECORD" goes
    EXPECT_EQ(Reddish(Grab(), banner), 0) << "the current test is not imported";

    // Two back by the toolbar.
    QWidget* prev = ToolbarButton(res::ID_PAGE_PREV);
    ASSERT_NE(prev, nullptr);
    Click(prev);
    Settle();
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    ASSERT_EQ(doc->m_bHistoryLoaded, 1);
    ASSERT_EQ(doc->m_nHistoryCount, 6);
    EXPECT_EQ(doc->m_nHistoryPos, 6);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, QStringLiteral("reg 2024"));
    Click(prev);
    Settle();
    EXPECT_EQ(doc->m_nHistoryPos, 5);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, QStringLiteral("clinic 2023"));
    EXPECT_EQ(doc->m_audCurrent.Info.Imported, 1);

    // Two more by the View menu's Page Prev.
    QMenu* view = frame->MenuByTitle(QStringLiteral("&View"));
    ASSERT_NE(view, nullptr);
    const int at = view->actions().indexOf(frame->CommandAction(res::ID_PAGE_PREV));
    ASSERT_GE(at, 0) << "Page Prev is on the View menu";
    QAction* menuPrev = view->actions().at(at);
    frame->UpdateCommandUI();
    ASSERT_TRUE(menuPrev->isEnabled());
    menuPrev->trigger();
    Settle();
    EXPECT_EQ(doc->m_nHistoryPos, 4);
    ASSERT_EQ(doc->m_audCurrent.Info.Imported, 0);
    const QImage registryTest = Grab();
    EXPECT_EQ(Reddish(registryTest, banner), 0) << "a registry test is not imported";
    EXPECT_TRUE(registryTest == Painted(4, 7)) << "the registry test as the painting routine draws it";
    EXPECT_TRUE(OnScreen() == registryTest) << "the chart repainted for the registry test";

    frame->UpdateCommandUI();
    ASSERT_TRUE(menuPrev->isEnabled());
    menuPrev->trigger();
    Settle();
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(doc->m_nHistoryPos, 3);
    EXPECT_EQ(doc->m_nPageDir, 1);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, QStringLiteral("clinic 2021"));
    EXPECT_EQ(doc->m_audCurrent.Info.TestDate, QStringLiteral("05/05/2021"));
    ASSERT_EQ(doc->m_audCurrent.Info.Imported, 1);
    EXPECT_EQ(doc->m_audCurrent.Info.Composite, 0);
    EXPECT_EQ(doc->m_audCurrent.Points.size(), 9u);
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->CommandAction(res::ID_PAGE_PREV)->isEnabled());
    EXPECT_TRUE(frame->CommandAction(res::ID_PAGE_NEXT)->isEnabled());

    const QImage image = Grab();
    ASSERT_TRUE(image.save(OutputPath(QStringLiteral("paged-clinic-test.png"))));
    // The banner in red, and the chart is the painting routine's own for "3 of 7",
    // not the counter of the test before.
    EXPECT_GT(Reddish(image, banner), 60) << "\"IMPORTED RECORD\" is drawn in red";
    EXPECT_TRUE(image == Painted(3, 7)) << "the clinic test as the painting routine draws it";
    EXPECT_TRUE(OnScreen() == image) << "the chart repainted for the clinic test";
    const QRect counter(10, 12, 140, 14);
    EXPECT_TRUE(image.copy(counter) != Painted(4, 7).copy(counter)) << "the counter moved on";
    EXPECT_TRUE(image.copy(counter) != registryTest.copy(counter));
    // The clinic test's own symbols: red circles and blue crosses in the grid.
    const quorin::ChartGeometry g(chart->width(), chart->height());
    const QRect grid(quorin::ChartGeometry::kLeft, g.RowLineY(1) - 20, g.GridRight() - quorin::ChartGeometry::kLeft,
                     g.GridBottom() - g.RowLineY(1) + 20);
    EXPECT_GT(Count(image, grid, quorin::ChartColour(0)), 5 * Count(registryTest, grid, quorin::ChartColour(0)) / 2);
    EXPECT_GT(Count(image, grid, quorin::ChartColour(2)), 40);
}

} // namespace
} // namespace quorin::test
