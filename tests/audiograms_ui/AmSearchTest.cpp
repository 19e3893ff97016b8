// A new subject typed in on the Subject tab, found in the Audiogram Manager from the
// chart, and the chart's offer of a newer clinic test: as a user meets them, offscreen.

#include "ChartFixture.h"

#include "app/CMainFrame.h"
#include "registration/DialogRegistry.h"
#include "audiograms/ui/CAmSearchDlg.h"
#include "audiograms/ui/CViewAud.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormSubject.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <string>
#include <tuple>
#include <vector>

namespace quorin::test {
namespace {

const QString kNewSubject = QStringLiteral(
    "This is a new Subject.\rWould you like to search the Audiogram\rManager Database for patient records?");
const QString kNewerTest = QStringLiteral(
    "This Subject has a new audiogram\rin the Audiogram Manager Database.\r Would you like to import it?");

class AmSearch : public ChartTest {
protected:
    void SetUp() override
    {
        ChartTest::SetUp();
        ui.SetDialogRunner([this](UserInterface::Dialog kind) { return RunRegisteredDialog(kind, frame.get(), *doc); });
    }
    void TearDown() override
    {
        ui.SetDialogRunner(nullptr);
        ChartTest::TearDown();
    }

    void AddClinicTest(int index, int unit, const std::string& when, const std::string& first,
                       const std::vector<std::tuple<int, int, int>>& points)
    {
        const std::string i = std::to_string(index);
        std::string sql = "insert into info (PatientIndex, PatientNum, Date, Birthdate, LastName, FirstName, Testedby) "
                          "values (" + i + ", " + std::to_string(unit) + ", '" + when
                          + "', '1990-05-20 00:00:00.000', 'O''Brien', '" + first + "', 'clinic " + i + "');"
                          "insert into Other (PatientIndex, Method) values (" + i + ", 2);";
        for (const auto& [x, y, symbol] : points)
            sql += "insert into newpoints values (" + i + ", " + std::to_string(x) + ", " + std::to_string(y) + ", "
                   + std::to_string(symbol) + ", 0);";
        registry.ExecRaw("Aud", sql);
    }

    CFormSubject* SubjectForm() const { return qobject_cast<CFormSubject*>(frame->m_pNodeSubject->GetWnd()); }
    QLineEdit* Field(int id) const { return framework::FindControlAs<QLineEdit>(SubjectForm(), id); }

    // A subject typed in without a KV Number.
    void TypeNewSubject()
    {
        ShowSubjectTab();
        TypeInto(Field(res::subject::IDC_LAST), QStringLiteral("O'Brien"));
        TypeInto(Field(res::subject::IDC_FIRST), QStringLiteral("Kate"));
        TypeInto(Field(res::subject::IDC_BIRTH), QStringLiteral("05/20/1990"));
        TypeInto(Field(res::subject::IDC_DATE_INITIAL), QStringLiteral("01/02/2020"));
    }

    // Runs handler on the search dialog once it is up.
    void OnSearchDialog(std::function<void(CAmSearchDlg*)> handler)
    {
        auto* poll = new QTimer(frame.get());
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, handler] {
            if (auto* dialog = qobject_cast<CAmSearchDlg*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
                handler(dialog);
            }
        });
        poll->start();
    }

    static int Row(CReportListCtrl* list, const QString& unit)
    {
        for (int row = 0; row < list->GetItemCount(); ++row)
            if (list->GetItemText(row, 1) == unit)
                return row;
        return -1;
    }

    QImage Grab() const { return chart->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    static int Pixels(const QImage& image, const QColor& colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }
};

TEST_F(AmSearch, ANewSubjectIsFoundListedChosenByDoubleClickAndStoredWithItsComposite)
{
    AddClinicTest(1, 4711, "2023-02-01 10:00:00.000", "Kate", {{6, 8, 2}, {2, 5, 2}});
    AddClinicTest(2, 4711, "2024-03-05 14:30:00.000", "Kate", {{4, 9, 1}, {6, 9, 2}, {2, 7, 1}});
    AddClinicTest(3, 4712, "2024-01-01 10:00:00.000", "Kate", {{4, 1, 1}});
    TypeNewSubject();

    ui.AnswerNext(UserInterface::Answer::Yes);
    QStringList listed;
    bool shown = false;
    OnSearchDialog([&](CAmSearchDlg* dialog) {
        shown = true;
        EXPECT_EQ(dialog->windowTitle(), "Audiogram Manager Database Search Results");
        CReportListCtrl* list = dialog->List();
        EXPECT_EQ(list->GetColumnHeading(0), "Name");
        EXPECT_EQ(list->GetColumnHeading(1), "Unit");
        EXPECT_EQ(list->GetColumnHeading(2), "Birth Date");
        for (int row = 0; row < list->GetItemCount(); ++row)
            listed << list->GetItemText(row, 0) + " | " + list->GetItemText(row, 1) + " | " + list->GetItemText(row, 2);
        EXPECT_TRUE(dialog->grab().save(OutputPath(QStringLiteral("am-search-dialog.png"))));
        const int row = Row(list, QStringLiteral("4711"));
        ASSERT_GE(row, 0);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
    });
    ShowChart();
    ASSERT_TRUE(shown);
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("O'Brien, Kate | 4711 | 05/20/1990"),
                                   QStringLiteral("O'Brien, Kate | 4712 | 05/20/1990")}));
    EXPECT_EQ(ui.Texts(), QStringList{kNewSubject});

    // The composite: the newest test in colour; of the older test's crosses the one at
    // 2000 Hz is replaced, the one at 500 Hz stays grey.
    const CAudRecord& r = doc->m_audCurrent;
    EXPECT_TRUE(r.Info.Composite);
    EXPECT_EQ(r.Info.TestedBy, "clinic 2");
    chart->resize(800, 600);
    Settle();
    const QImage image = Grab();
    ASSERT_TRUE(image.save(OutputPath(QStringLiteral("am-composite-chart.png"))));
    EXPECT_GT(Pixels(image, QColor(150, 150, 150)), 20) << "older symbols are grey";
    EXPECT_GT(Pixels(image, QColor(255, 0, 0)), 20) << "the newest test's circles are red";

    // The Subject tab shows the clinic's unit; File Save stores it with the test.
    ShowSubjectTab();
    EXPECT_EQ(Field(res::subject::IDC_UNIT)->text(), "4711");
    EXPECT_EQ(Field(res::subject::IDC_LAST)->text(), "O'BRIEN"); // the tab writes names in capitals
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_FILE_SAVE));
    Settle();
    const QString where = QStringLiteral(" from subjects where Lastname = 'O''Brien'"); // any case
    EXPECT_EQ(Scalar("Quorin", "select Unit" + where, "Unit"), "4711");
    EXPECT_EQ(Scalar("Quorin", "select convert(char, Birthdate, 101) as b" + where, "b").trimmed(), "05/20/1990");
    const QString id = Scalar("Quorin", "select SubjectId" + where, "SubjectId");
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud where SubjectId = " + id), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from audpoints p join aud a on a.TestId = p.TestId "
                              "where a.SubjectId = " + id + " and p.recent = 0"), 1);
}

TEST_F(AmSearch, OkWithoutASelectionSaysSoThenEscapeCancelsAndNoMatchNeverOpens)
{
    AddClinicTest(1, 4711, "2024-03-05 14:30:00.000", "Kate", {{4, 9, 1}});
    TypeNewSubject();
    ui.AnswerNext(UserInterface::Answer::Yes);
    bool stayed = false;
    OnSearchDialog([&](CAmSearchDlg* dialog) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_TRUE(dialog->isAncestorOf(QApplication::focusWidget())) << "the dialog takes the keys";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // OK is the default button
        stayed = dialog->isVisible();
        EXPECT_EQ(ui.Texts().last(), "Please Make Selection From First Column");
        EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    ShowChart();
    EXPECT_TRUE(stayed);
    EXPECT_FALSE(doc->m_audCurrent.Info.Imported);
    EXPECT_EQ(doc->m_subject.Unit, "0");
    EXPECT_EQ(ui.Texts().size(), 2) << ui.Texts().join(" | ").toStdString();

    // Another subject nobody in the clinic matches: no dialog, "Subject not found!".
    ui.AnswerNext(UserInterface::Answer::No); // do not save the first one
    ASSERT_TRUE(doc->OnNewDocument());
    Settle();
    ui.ClearMessages();
    TypeNewSubject();
    TypeInto(Field(res::subject::IDC_LAST), QStringLiteral("Nobody"));
    ui.AnswerNext(UserInterface::Answer::Yes);
    ShowChart();
    EXPECT_EQ(ui.Texts(), (QStringList{kNewSubject, QStringLiteral("Subject not found!")}));
    EXPECT_FALSE(doc->m_audCurrent.Info.Imported);
}

TEST_F(AmSearch, AnExistingSubjectIsOpenedOnYesAndOnNoTheSearchIsOffered)
{
    const int id = AddSubject(QStringLiteral("O''Brien"), QStringLiteral("Kate"), 4711, QStringLiteral("1990-05-20"));
    const QString matching = QStringLiteral("A Subject matching O'Brien, Kate\rBirthdate: 05/20/1990  KVID#: 4711 "
                                            "already exists in the database.\rDo you want to modify this record?");
    TypeNewSubject();
    ui.AnswerNext(UserInterface::Answer::No);
    ui.AnswerNext(UserInterface::Answer::No);
    ShowChart();
    EXPECT_EQ(ui.Texts(), (QStringList{matching, kNewSubject}));
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
    ShowSubjectTab();
    EXPECT_EQ(Field(res::subject::IDC_UNIT)->text(), "");

    ui.AnswerNext(UserInterface::Answer::No); // do not save the one being entered
    ASSERT_TRUE(doc->OnNewDocument());
    Settle();
    ui.ClearMessages();
    TypeNewSubject();
    ui.AnswerNext(UserInterface::Answer::Yes);
    ShowChart();
    // The stored subject's own checks follow at once: it has no test.
    EXPECT_EQ(ui.Texts(), (QStringList{matching, QStringLiteral("No Audiogram Found for this subject.")}));
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    EXPECT_EQ(doc->m_bChartLoaded, 1);
    ShowSubjectTab();
    EXPECT_EQ(Field(res::subject::IDC_UNIT)->text(), "4711");
}

TEST_F(AmSearch, TheNewerTestIsOfferedOncePerShowingAndImportedOnYes)
{
    const int id = LoadStoredSubject(); // 4711, current test of 03/04/2025
    AddClinicTest(1, 4711, "2025-03-04 15:00:00.000", "Kate", {{4, 1, 1}}); // the same day: not newer
    AddClinicTest(2, 4711, "2025-06-01 09:30:00.000", "Kate", {{4, 3, 1}});

    ui.AnswerNext(UserInterface::Answer::No);
    ShowChart();
    EXPECT_EQ(ui.Texts(), QStringList{kNewerTest});
    chart->resize(chart->width() - 10, chart->height());
    chart->repaint();
    ShowSubjectTab();
    ShowChart();
    EXPECT_EQ(ui.Texts(), QStringList{kNewerTest}) << "asked once for the subject";
    EXPECT_EQ(doc->m_audCurrent.Info.TestDate, "03/04/2025");

    ShowSubjectTab();
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::Yes);
    ShowChart();
    EXPECT_EQ(ui.Texts(), QStringList{kNewerTest});
    EXPECT_EQ(doc->m_audCurrent.Info.TestDate, "06/01/2025");
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported);
    EXPECT_TRUE(doc->m_audCurrent.Info.Composite);
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_FILE_SAVE));
    Settle();
    EXPECT_EQ(doc->HasNewerAmAudiogram(QStringLiteral("4711"), doc->m_audCurrent.Info.TestDate), 0);
}

} // namespace
} // namespace quorin::test
