// The Comments tab's limit, and a clinic's stored values passing paging and saving
// unchanged on both tabs.

#include "ChartFixture.h"

#include "audiograms/ui/AudTemplates.h"
#include "audiograms/ui/CFormAudData.h"
#include "audiograms/ui/CFormAudOther.h"
#include "framework/ControlId.h"
#include "resources/Resource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace quorin::test {
namespace {

using res::audother::IDC_COMMENTS;
using AudComments = ChartTest;

QLineEdit* DataEdit(CFormAudData* data, int id)
{
    return framework::FindControlAs<QLineEdit>(data, id);
}
QPlainTextEdit* CommentsEdit(CFormAudOther* comments)
{
    return framework::FindControlAs<QPlainTextEdit>(comments, IDC_COMMENTS);
}

TEST_F(AudComments, TypingAndPastingStopAtTheLimit)
{
    const int id = LoadStoredSubject();
    Show(frame->m_pNodeComments);
    QPlainTextEdit* edit = CommentsEdit(comments);
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(QString(600, QLatin1Char('p')));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(edit->toPlainText(), QString(499, QLatin1Char('p'))) << "a 600-character paste keeps 499";
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);
    QTest::keyClicks(edit, QStringLiteral("more"));
    EXPECT_EQ(edit->toPlainText().size(), 499) << "nothing more is typed";
    SaveByKeys();
    EXPECT_TRUE(ui.Texts().isEmpty() && boxes.shown.empty()) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(Stored(id, "Comments"), QString(499, QLatin1Char('p')));
}

// A clinic test with a negative SRT and percentage and a comment longer than the
// registry's typing limit: imported, paged over and saved, nothing is refused and every
// value is stored as the clinic has it.
TEST_F(AudComments, AClinicsStoredValuesPassPagingAndSavingUnchanged)
{
    const int id = LoadStoredSubject();
    const std::string comment(700, 'c');
    registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date, Testedby) values (9, 4711, "
                            "'2025-06-01 09:30:00.000', 'Kate');insert into Other (PatientIndex, Method, Comment) "
                            "values (9, 2, '" + comment + "');insert into Speech (Patientindex, srta, pc1a) "
                            "values (9, -5, -5);insert into info (PatientIndex, PatientNum, Date, Testedby) "
                            "values (8, 4711, '2020-01-01 09:30:00.000', 'Kate');insert into Other "
                            "(PatientIndex, Method) values (8, 2);");
    ui.AnswerNext(UserInterface::Answer::Yes); // the newer clinic test
    Show(frame->m_pNodeChart);
    ASSERT_EQ(doc->m_audCurrent.Info.TestDate, "06/01/2025");
    Show(frame->m_pNodeAudData);
    EXPECT_EQ(DataEdit(data, res::auddata::IDC_SRT_R)->text(), "-5");
    Show(frame->m_pNodeComments);
    QPlainTextEdit* edit = CommentsEdit(comments);
    EXPECT_EQ(edit->toPlainText().size(), 700) << "shown whole";
    EXPECT_FALSE(edit->isReadOnly());

    ui.ClearMessages();
    frame->UpdateCommandUI();
    Click(ToolbarButton(res::ID_PAGE_PREV));
    EXPECT_EQ(doc->m_nPageDir, 1) << "paging is not refused";
    EXPECT_TRUE(edit->isReadOnly()) << "an older test is only looked at";
    frame->UpdateCommandUI();
    Click(ToolbarButton(res::ID_PAGE_HOME));
    EXPECT_EQ(doc->m_nPageDir, 0);
    EXPECT_EQ(edit->toPlainText().size(), 700);
    SaveByKeys();
    EXPECT_TRUE(ui.Texts().isEmpty() && boxes.shown.empty()) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(Stored(id, "SRTR"), "-5");
    EXPECT_EQ(Stored(id, "PC1R"), "-5");
    EXPECT_EQ(Stored(id, "Comments"), QString::fromStdString(comment));
}

} // namespace
} // namespace quorin::test
