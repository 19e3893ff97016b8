// The Audiogram Manager search dialog, opened from the chart for a subject typed in on
// the Subject tab: its list, a double click choosing a row, and its keys.

#include "ChartFixture.h"

#include "audiograms/ui/CAmSearchDlg.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "registration/DialogRegistry.h"
#include "subjects/ui/SubjectTemplates.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace quorin::test {
namespace {

class AmSearch : public ChartTest {
protected:
    void SetUp() override
    {
        ChartTest::SetUp();
        ui.SetDialogRunner([this](UserInterface::Dialog kind) { return RunRegisteredDialog(kind, frame.get(), *doc); });
        for (const char* unit : {"4711", "4712"})
            registry.ExecRaw("Aud", std::string("insert into info (PatientIndex, PatientNum, Date, Birthdate, LastName, "
                                                "FirstName) values (") + unit + ", " + unit
                                        + ", '2024-03-05 14:30:00.000', '1990-05-20 00:00:00.000', 'O''Brien', 'Kate');"
                                          "insert into Other (PatientIndex, Method) values (" + unit + ", 2);");
        // A subject typed in without a KV Number, and the chart shown: the search is offered.
        Show(frame->m_pNodeSubject);
        for (const auto& [id, text] : {std::pair{res::subject::IDC_LAST, "O'Brien"}, {res::subject::IDC_FIRST, "Kate"},
                                       {res::subject::IDC_BIRTH, "05/20/1990"}, {res::subject::IDC_DATE_INITIAL, "01/02/2020"}})
            TypeInto(Field(id), QString::fromUtf8(text));
        ui.AnswerNext(UserInterface::Answer::Yes);
    }
    void TearDown() override
    {
        ui.SetDialogRunner(nullptr);
        ChartTest::TearDown();
    }

    QLineEdit* Field(int id) const
    {
        return framework::FindControlAs<QLineEdit>(frame->m_pNodeSubject->GetWnd(), id);
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
};

TEST_F(AmSearch, TheMatchesAreListedAndADoubleClickChoosesOne)
{
    QStringList listed;
    OnSearchDialog([&](CAmSearchDlg* dialog) {
        CReportListCtrl* list = dialog->List();
        int chosen = -1;
        for (int row = 0; row < list->GetItemCount(); ++row) {
            listed << list->GetItemText(row, 0) + " | " + list->GetItemText(row, 1) + " | " + list->GetItemText(row, 2);
            if (list->GetItemText(row, 1) == "4712")
                chosen = row;
        }
        ASSERT_GE(chosen, 0);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(chosen)).center());
    });
    Show(frame->m_pNodeChart);
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"O'Brien, Kate | 4711 | 05/20/1990", "O'Brien, Kate | 4712 | 05/20/1990"}));
    EXPECT_EQ(doc->m_subject.Unit, "4712");
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported);
    Show(frame->m_pNodeSubject);
    EXPECT_EQ(Field(res::subject::IDC_UNIT)->text(), "4712") << "the Subject tab shows the chosen unit";
}

TEST_F(AmSearch, EnterIsOkAndWithoutASelectionSaysSoThenEscapeCancels)
{
    bool stayed = false;
    OnSearchDialog([&](CAmSearchDlg* dialog) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_TRUE(dialog->isAncestorOf(QApplication::focusWidget())) << "the dialog takes the keys";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        stayed = dialog->isVisible();
        EXPECT_EQ(ui.Texts().last(), "Please Make Selection From First Column");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    Show(frame->m_pNodeChart);
    EXPECT_TRUE(stayed);
    EXPECT_FALSE(doc->m_audCurrent.Info.Imported);
    EXPECT_EQ(doc->m_subject.Unit, "0");
}

} // namespace
} // namespace quorin::test
