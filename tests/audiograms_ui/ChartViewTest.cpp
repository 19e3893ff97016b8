// The chart inside the main frame: tools by menu, toolbar and Alt key with their marks,
// clicks and Shift+clicks, Edit and Eraser, and the first-draw checks once per showing.

#include "ChartFixture.h"

#include "app/CMainFrame.h"
#include "audiograms/ui/CViewAud.h"
#include "database/demo/DemoRegistry.h"
#include "resources/Resource.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace quorin::test {
namespace {

using ChartView = ChartTest;

const QString kIdentity = QStringLiteral("You must enter either a KV Number, or Last Name, First Name, and Birth Date!");

// The checked tool command among 32795..32805, 0 when none is.
unsigned CheckedTool(CMainFrame& frame)
{
    frame.UpdateCommandUI();
    unsigned checked = 0;
    for (unsigned id = res::ID_SYMBOL_FIRST; id <= res::ID_SYMBOL_ERASER; ++id) {
        QAction* action = frame.CommandAction(id);
        if (action && action->isChecked()) {
            EXPECT_EQ(checked, 0u) << "one mark at a time";
            checked = id;
        }
    }
    return checked;
}

TEST_F(ChartView, ToolsComeFromTheMenuTheToolbarAndAltKeysWithTheirMarks)
{
    LoadStoredSubject();
    ShowChart();
    ASSERT_TRUE(chart->isVisible());
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(" | ").toStdString();
    ASSERT_EQ(frame->GetActiveView(), chart) << "the chart page is the active view";
    EXPECT_EQ(CheckedTool(*frame), 0u);
    EXPECT_TRUE(frame->QueryCommand(32795).IsEnabled());

    // Symbol menu, third item, by keys.
    QMenu* symbol = frame->MenuByTitle(QStringLiteral("&Symbol"));
    ASSERT_NE(symbol, nullptr);
    symbol->popup(frame->mapToGlobal(QPoint(100, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(symbol));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(symbol, Qt::Key_Down);
    QTest::keyClick(symbol, Qt::Key_Return);
    Settle();
    EXPECT_EQ(chart->Tool(), 3);
    EXPECT_EQ(CheckedTool(*frame), 32797u);

    // Toolbar: Warble Tones.
    Click(frame->m_wndToolBar->widgetForAction(Action(32803)));
    EXPECT_EQ(chart->Tool(), 10);
    EXPECT_EQ(CheckedTool(*frame), 32803u);

    // Alt keys, typed where the focus is.
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_6, Qt::AltModifier);
    Settle();
    EXPECT_EQ(chart->Tool(), 7) << "Alt 6 is BC (masked) Left Ear";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_0, Qt::AltModifier);
    Settle();
    EXPECT_EQ(chart->Tool(), 12);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus, Qt::AltModifier);
    Settle();
    EXPECT_EQ(chart->Tool(), 13);
    EXPECT_EQ(CheckedTool(*frame), 32805u);

    // Edit toggles with its mark.
    QAction* edit = Action(res::ID_AUD_EDIT);
    Click(frame->m_wndToolBar->widgetForAction(edit));
    frame->UpdateCommandUI();
    EXPECT_EQ(chart->EditExisting(), 1);
    EXPECT_TRUE(edit->isChecked());
    Click(frame->m_wndToolBar->widgetForAction(edit));
    frame->UpdateCommandUI();
    EXPECT_EQ(chart->EditExisting(), 0);
    EXPECT_FALSE(edit->isChecked());

    // On another page the chart's commands are not there; the tool stays.
    ShowSubjectTab();
    EXPECT_FALSE(frame->QueryCommand(32795).IsEnabled());
    EXPECT_FALSE(frame->QueryCommand(res::ID_FILE_PRINT).IsEnabled());
    EXPECT_FALSE(frame->QueryCommand(res::ID_FILE_PRINT_PREVIEW).IsEnabled());
    ShowChart();
    EXPECT_EQ(chart->Tool(), 13);
}

TEST_F(ChartView, ClicksPlaceAndEraseSymbolsAndTheQuestionComesOnce)
{
    LoadStoredSubject();
    ShowChart();
    const auto& points = doc->m_audCurrent.Points;

    // No tool yet: nothing is asked and nothing placed.
    ClickPoint(4, 5);
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(points.size(), 2u);

    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_1, Qt::AltModifier);
    ui.AnswerNext(UserInterface::Answer::No);
    ClickPoint(8, 6); // 4000 Hz, 25 dB
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Enter a New Audiogram?")});
    frame->UpdateCommandUI();
    EXPECT_TRUE(Action(res::ID_AUD_EDIT)->isChecked()) << "No turns Edit on";
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].xy, 806);
    EXPECT_EQ(points[2].symbol, 1);

    // Shift+click: the no-response variant replaces it at the same frequency.
    ClickPoint(8, 12, Qt::ShiftModifier);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].symbol, 129);
    EXPECT_EQ(points[2].xy, 812);

    // The eraser clears a position, whatever ear; a click beside the grid does nothing.
    QTest::keyClick(chart, Qt::Key_Minus, Qt::AltModifier);
    ClickPoint(4, 9); // the stored left X at 1000 Hz / 40 dB
    ASSERT_EQ(points.size(), 2u);
    ClickPixel(20, chart->height() / 2);
    EXPECT_EQ(points.size(), 2u);
    EXPECT_EQ(ui.Texts().size(), 1);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);

    // The accessible description follows the test.
    chart->repaint();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(chart);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Description),
              QStringLiteral("Audiogram of 03/04/2025, 2 points; right ear 2, left ear 0"));
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Audiogram"));
}

TEST_F(ChartView, APagedTestRefusesClicks)
{
    LoadStoredSubject();
    ShowChart();
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_3, Qt::AltModifier);
    doc->m_nPageDir = 1;
    ClickPoint(2, 10);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("You Cannot Alter this Test!")});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(doc->m_audCurrent.Points.size(), 2u);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
}

TEST_F(ChartView, TheIdentityCheckRunsAfterThePaintOncePerShowing)
{
    // An empty subject: the chart is opened before anything was typed.
    frame->m_wndFramework.BringForward(frame->m_pNodeChart);
    chart->repaint();
    EXPECT_TRUE(ui.Texts().isEmpty()) << "never from inside a paint";
    Settle();
    QTest::qWait(20);
    EXPECT_EQ(ui.Texts(), QStringList{kIdentity});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    ASSERT_FALSE(ui.PagesBroughtForward().empty());
    EXPECT_EQ(ui.PagesBroughtForward().back(), UserInterface::Page::Subject);

    // More paints of the same showing ask nothing.
    for (int i = 0; i < 3; ++i) {
        chart->repaint();
        Settle();
    }
    EXPECT_EQ(ui.Texts().size(), 1);

    // The test is not shown, so clicks do not edit it unseen.
    frame->UpdateCommandUI();
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(chart->Tool(), 1);
    ClickPoint(4, 5);
    EXPECT_TRUE(doc->m_audCurrent.Points.empty());
    EXPECT_EQ(ui.Texts().size(), 1) << "no question either";

    // The next showing checks again; with a KV Number the consent date is missing.
    doc->m_subject.Unit = "4711";
    ShowSubjectTab();
    ShowChart();
    EXPECT_EQ(ui.Texts(), (QStringList{kIdentity, QStringLiteral("You must enter an Inital Date of Consent")}));
    EXPECT_EQ(doc->m_bChartLoaded, 0);
}

TEST_F(ChartView, AStoredTestIsDrawnAfterItsChecksAndANewSubjectShowsNone)
{
    LoadStoredSubject();
    EXPECT_EQ(doc->m_bChartLoaded, 0);
    ShowChart();
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(doc->m_bChartLoaded, 1);

    // File New while the chart shows: the empty subject fails the identity check once.
    ASSERT_TRUE(doc->OnNewDocument());
    Settle();
    QTest::qWait(20);
    Settle();
    EXPECT_EQ(ui.Texts(), QStringList{kIdentity});
}

// File New as the application routes it: to the document's new-document step.
class FileNewTarget : public CCmdTarget {
public:
    explicit FileNewTarget(CQuorinDoc& doc)
    {
        CommandMap().On(res::ID_FILE_NEW, [&doc] { doc.OnNewDocument(); });
    }
};

// A test drawn on the chart, then an older test paged to: File New asks to save the
// drawn test, Cancel keeps it, Yes stores it.
TEST_F(ChartView, ADrawnTestPagedAwayFromIsOfferedForSavingByFileNew)
{
    const int id = LoadStoredSubject();
    // A newer stored test: the test of 03/04/2025 becomes history.
    registry.ExecRaw("Quorin", "insert into aud (SubjectId, TestDate, TestedBy) values (" + std::to_string(id)
                                   + ", '2026-01-01 00:00:00.000', 'current');");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    FileNewTarget application(*doc);
    frame->SetApplicationTarget(&application);
    ShowChart();
    ui.ClearMessages();

    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_1, Qt::AltModifier); // right ear, air
    ui.AnswerNext(UserInterface::Answer::Yes);          // "Enter a New Audiogram?"
    ClickPoint(2, 3);
    ClickPoint(4, 4);
    ClickPoint(6, 5);
    ASSERT_EQ(ui.Texts(), QStringList{QStringLiteral("Enter a New Audiogram?")});
    ASSERT_EQ(doc->m_audCurrent.Dirty, 1);

    Click(frame->m_wndToolBar->widgetForAction(Action(res::ID_PAGE_PREV)));
    ASSERT_EQ(doc->m_audCurrent.Info.TestDate, "03/04/2025");

    const int stored = Count("Quorin", QStringLiteral("select count(*) as num from aud where SubjectId = %1").arg(id));
    ui.AnswerNext(UserInterface::Answer::Cancel);
    QTest::keyClick(chart, Qt::Key_N, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(ui.Texts().size(), 2);
    EXPECT_EQ(ui.Texts().value(1), QStringLiteral("Save Current Subject?"));
    EXPECT_EQ(doc->m_subject.SubjectID, id) << "Cancel keeps the subject";
    EXPECT_EQ(doc->m_audCurrent.Info.TestDate, "03/04/2025");
    EXPECT_EQ(doc->m_audLatest.Dirty, 1);

    ui.AnswerNext(UserInterface::Answer::Yes);
    frame->UpdateCommandUI();
    Click(frame->m_wndToolBar->widgetForAction(Action(res::ID_FILE_NEW)));
    Settle();
    ASSERT_GE(ui.Texts().size(), 3);
    EXPECT_EQ(ui.Texts().value(2), QStringLiteral("Save Current Subject?"));
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from aud where SubjectId = %1").arg(id)),
              stored + 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from audpoints where recent = 1 and xy in (203, 404, 605) "
                              "and TestId = (select max(TestId) from aud)"),
              3)
        << "the three symbols drawn";
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
    frame->SetApplicationTarget(nullptr);
}

// The chart on a demo registry, used by an ordinary staff member.
class DemoChart : public ChartTest {
protected:
    void OpenDemo()
    {
        ASSERT_TRUE(folder.isValid());
        const std::string server = folder.filePath(QStringLiteral("demo")).toStdString();
        quorin::demo::CreateDemoRegistry(server, kDemoSubjects);
        frame.reset();
        commands.reset();
        doc->RemoveView(&view);
        doc = std::make_unique<CQuorinDoc>(ui);
        const quorin::demo::DemoStaffLogin& staff = quorin::demo::demoStaffLogins().at(1);
        ASSERT_NE(staff.status, 3) << "not the administrator";
        doc->m_strServer = QString::fromStdString(server);
        doc->m_strUserName = QString::fromUtf8(staff.login);
        doc->m_strPassword = QString::fromUtf8(staff.password);
        ASSERT_TRUE(doc->OnNewDocument());
        ASSERT_TRUE(doc->m_db.IsConnected());
        doc->AddView(&view);
        context.m_pCurrentDoc = doc.get();
        BuildFrame();
    }

    static constexpr int kDemoSubjects = 60;

    // A stored subject with at least two tests (-1 when the demo has none); newer tells
    // whether the clinic holds a newer test, which the chart then offers.
    int SubjectWithHistory(bool& newer)
    {
        for (int id = 1; id <= kDemoSubjects; ++id) {
            if (!doc->LoadSubjectById(id) || doc->m_audCurrent.TestId == -1 || doc->m_subject.DateInitial.isEmpty())
                continue;
            doc->BuildAudHistory();
            if (doc->m_nHistoryCount >= 1) {
                newer = doc->HasNewerAmAudiogram(doc->m_subject.Unit, doc->m_audCurrent.Info.TestDate) == 1;
                return id;
            }
        }
        return -1;
    }

    QTemporaryDir folder;
};

TEST_F(DemoChart, PagingBeforeTheFirstShowingAsksNothingAndYesLeavesALiveChart)
{
    OpenDemo();
    bool newer = false;
    const int id = SubjectWithHistory(newer);
    ASSERT_GT(id, 0) << "the demo has such a subject";
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    ui.ClearMessages();

    // Page Prev on the Subject tab, then the chart: the old test, no question.
    Click(frame->m_wndToolBar->widgetForAction(Action(res::ID_PAGE_PREV)));
    ASSERT_EQ(doc->m_nPageDir, 1);
    if (newer)
        ui.AnswerNext(UserInterface::Answer::No); // the clinic's newer test, offered by the current test's date
    ShowChart();
    EXPECT_EQ(ui.Texts().size(), newer ? 1 : 0) << ui.Texts().join(" | ").toStdString();
    for (const QString& text : ui.Texts())
        EXPECT_FALSE(text.startsWith("A Subject matching"));
    EXPECT_EQ(doc->m_bChartLoaded, 1);
    EXPECT_EQ(doc->m_subject.SubjectID, id);

    // The same subject typed in anew: Yes opens the stored one, and its chart takes a click.
    const CSubject stored = doc->m_subject;
    ShowSubjectTab();
    ASSERT_TRUE(doc->OnNewDocument());
    Settle();
    doc->m_subject.Lastname = stored.Lastname;
    doc->m_subject.Firstname = stored.Firstname;
    doc->m_subject.Birth = stored.Birth;
    doc->m_subject.DateInitial = stored.DateInitial;
    doc->RefreshSubjectForm = 1;
    doc->UpdateAllViews(CDocumentView::HintRefresh);
    doc->RefreshSubjectForm = 0;
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::Yes); // modify the stored record
    if (newer)
        ui.AnswerNext(UserInterface::Answer::No);
    ShowChart();
    ASSERT_EQ(ui.Texts().size(), newer ? 2 : 1) << ui.Texts().join(" | ").toStdString();
    EXPECT_TRUE(ui.Texts()[0].startsWith("A Subject matching"));
    ASSERT_EQ(doc->m_subject.SubjectID, id);
    EXPECT_EQ(doc->m_bChartLoaded, 1);

    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_1, Qt::AltModifier);
    ui.AnswerNext(UserInterface::Answer::Yes); // "Enter a New Audiogram?"
    ClickPoint(4, 5);
    EXPECT_EQ(ui.Texts().last(), QStringLiteral("Enter a New Audiogram?"));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);

    // The main window as the screen shows it, kept for a reviewer.
    chart->repaint();
    const QImage screen = frame->screen()->grabWindow(frame->winId()).toImage();
    ASSERT_TRUE(screen.save(OutputPath(QStringLiteral("demo-chart-after-yes.png"))));
}

} // namespace
} // namespace quorin::test
