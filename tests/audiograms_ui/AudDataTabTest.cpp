// The audiogram Data and Comments tabs inside the main frame: they show the loaded test,
// the Data tab starts in Test Date, what is typed, chosen, clicked and pasted reaches the
// document and Ctrl+S stores it, with what nobody touched as it was.

#include "ChartFixture.h"

#include "audiograms/ui/AudTemplates.h"
#include "audiograms/ui/CFormAudData.h"
#include "audiograms/ui/CFormAudOther.h"
#include "framework/ControlId.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace quorin::test {
namespace {

using namespace res::auddata;

using AudTabsFollowTheDocument = ChartTest;
using AudComments = ChartTest;

// Shown, started in Test Date, typed, chosen and clicked, then Ctrl+S: the edits are
// stored, and the comments of the Comments tab, never opened, are kept.
TEST_F(AudTabsFollowTheDocument, ASaveAfterADataEditKeepsTheCommentsOfATabNeverOpened)
{
    const int id = LoadStoredSubject();
    Show(frame->m_pNodeAudData);
    auto edit = [this](int control) { return framework::FindControlAs<QLineEdit>(data, control); };
    EXPECT_EQ(edit(IDC_TEST_DATE)->text(), "03/04/2025");
    EXPECT_EQ(edit(IDC_TESTED_BY)->text(), "A. Tester");
    EXPECT_EQ(edit(IDC_AGE)->text(), "37");
    EXPECT_EQ(QApplication::focusWidget(), edit(IDC_TEST_DATE)) << "the tab starts in Test Date";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), edit(IDC_AGE));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0) << "showing marks nothing";

    TypeInto(edit(IDC_SRT_L), QStringLiteral("40"));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1) << "typing marks the test";
    ChooseFromList(framework::FindControlAs<QComboBox>(data, IDC_RELIABILITY), 2);
    Click(framework::FindControlAs<QCheckBox>(data, IDC_TINNITUS_R));
    SaveByKeys();
    EXPECT_TRUE(ui.Texts().isEmpty() && boxes.shown.empty()) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from aud where SubjectId = %1").arg(id)), 1)
        << "the loaded test is updated, not added";
    EXPECT_EQ(QStringList({Stored(id, "SRTL"), Stored(id, "Reliability"), Stored(id, "TinnitusR")}),
              QStringList({"40", "2", "1"}));
    EXPECT_EQ(QStringList({Stored(id, "SRTR"), Stored(id, "Comments"), Stored(id, "Recommend")}),
              QStringList({"15", "Wears aids at school.", "Retest in six months."}))
        << "what nobody touched is stored as it was";
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
}

TEST_F(AudComments, TypingAndPastingStopAtTheLimit)
{
    const int id = LoadStoredSubject();
    Show(frame->m_pNodeComments);
    auto* edit = framework::FindControlAs<QPlainTextEdit>(comments, res::audother::IDC_COMMENTS);
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

} // namespace
} // namespace quorin::test
