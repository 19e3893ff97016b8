// The audiogram Data tab inside the main frame: it shows the loaded test, starts in Test
// Date, takes what is typed, chosen and clicked, and Ctrl+S stores it; it follows the
// document while in front; a bad date is refused on leaving and keeps the focus.

#include "ChartFixture.h"

#include "audiograms/ui/AudTemplates.h"
#include "audiograms/ui/CFormAudData.h"
#include "framework/ControlId.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace quorin::test {
namespace {

using namespace res::auddata;

class AudDataTab : public ChartTest {
protected:
    template <typename Control>
    Control* Field(int id) const
    {
        return framework::FindControlAs<Control>(data, id);
    }
    QLineEdit* Edit(int id) const { return Field<QLineEdit>(id); }
};
using AudTabsFollowTheDocument = AudDataTab;

// Shown, started in Test Date, typed, chosen and clicked, then Ctrl+S: the edits are
// stored, and the comments of the Comments tab, never opened, are kept.
TEST_F(AudTabsFollowTheDocument, ASaveAfterADataEditKeepsTheCommentsOfATabNeverOpened)
{
    const int id = LoadStoredSubject();
    Show(frame->m_pNodeAudData);
    ASSERT_TRUE(data->isVisible());
    EXPECT_EQ(Edit(IDC_TEST_DATE)->text(), "03/04/2025");
    EXPECT_EQ(Edit(IDC_TESTED_BY)->text(), "A. Tester");
    EXPECT_EQ(Edit(IDC_AGE)->text(), "37");
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_TEST_DATE)) << "the tab starts in Test Date";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_AGE));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0) << "showing marks nothing";

    TypeInto(Edit(IDC_SRT_L), QStringLiteral("40"));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1) << "typing marks the test";
    ChooseFromList(Field<QComboBox>(IDC_RELIABILITY), 2);
    Click(Field<QCheckBox>(IDC_TINNITUS_R));
    SaveByKeys();
    EXPECT_TRUE(ui.Texts().isEmpty() && boxes.shown.empty()) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from aud where SubjectId = %1").arg(id)), 1)
        << "the loaded test is updated, not added";
    EXPECT_EQ(Stored(id, "SRTL"), "40");
    EXPECT_EQ(Stored(id, "Reliability"), "2");
    EXPECT_EQ(Stored(id, "TinnitusR"), "1");
    EXPECT_EQ(Stored(id, "SRTR"), "15") << "what nobody touched is stored as it was";
    EXPECT_EQ(Stored(id, "Comments"), "Wears aids at school.");
    EXPECT_EQ(Stored(id, "Recommend"), "Retest in six months.");
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
}

TEST_F(AudDataTab, ABadTestDateIsRefusedOnLeavingAndStopsTheSaveBeforeAnyWrite)
{
    const int id = LoadStoredSubject();
    Show(frame->m_pNodeAudData);
    TypeInto(Edit(IDC_TESTED_BY), QStringLiteral("B. Tester"));
    QLineEdit* date = Edit(IDC_TEST_DATE);
    TypeInto(date, QStringLiteral("13/01/2000"));
    const QString invalid = QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY.");
    ASSERT_EQ(ui.Texts(), QStringList{invalid});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(date->selectedText(), "13/01/2000") << "the text stays for correcting";

    ui.ClearMessages();
    TakeErrors();
    SaveByKeys();
    EXPECT_EQ(ui.Texts().size() + boxes.shown.size(), 1u);
    EXPECT_TRUE(TakeErrors().empty()) << "no statement reached the registry";
    EXPECT_EQ(Stored(id, "TestedBy"), "A. Tester");
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1) << "the edits are still to be saved";
}

TEST_F(AudTabsFollowTheDocument, ASubjectClearedOrOpenedWhileTheTabIsInFrontShowsAtOnce)
{
    const int id = LoadStoredSubject();
    Show(frame->m_pNodeAudData);
    ASSERT_EQ(Edit(IDC_TESTED_BY)->text(), "A. Tester");
    ASSERT_TRUE(doc->OnNewDocument());
    Settle();
    ASSERT_TRUE(data->isVisible());
    EXPECT_EQ(Edit(IDC_TESTED_BY)->text(), "");
    EXPECT_EQ(Edit(IDC_TEST_DATE)->text(), "");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    EXPECT_EQ(Edit(IDC_TESTED_BY)->text(), "A. Tester");
}

} // namespace
} // namespace quorin::test
