// Pictures of the Data and Comments tabs for a reviewer: a demo subject's test on each
// tab alone, and the Data tab inside the main window with the fixture's full test.

#include "AudTabsFixture.h"

#include "app/CMainFrame.h"
#include "audiograms/ui/CFormAudData.h"
#include "audiograms/ui/CFormAudOther.h"
#include "database/demo/DemoRegistry.h"
#include "framework/ControlId.h"
#include "audiograms/ui/AudTemplates.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace quorin::test {
namespace {

using namespace res::auddata;
using AudTabsImages = AudTabsTest;

// How many of the test's fields hold something: the demo subject to show is the one
// whose current test fills the tab best.
int FilledFields(const CAudRecord& r)
{
    int n = 0;
    for (int code : {r.Info.Reliability, r.Info.Method, r.Findings.ImpressL, r.Findings.ImpressR,
                     r.Immittance.TympL, r.Immittance.TympR, r.Findings.OAEL, r.Findings.ABRR, r.Speech.SRTR,
                     r.Speech.SRTL, r.Speech.SRTSF})
        n += code >= 0;
    for (float real : {r.Immittance.PeakYL, r.Immittance.PeakPressR, r.Immittance.ETFVolL, r.Immittance.ETFRelL})
        n += real != -999.0f;
    for (const QString& text : {r.Speech.MatR, r.Speech.MatL, r.Info.Comments, r.Info.Recommend, r.Info.TestedBy})
        n += !text.trimmed().isEmpty();
    return n;
}

// The widget's outline inside the picture must hold every control: none cut off.
void ExpectEveryControlInside(QWidget* form)
{
    const QRect area = form->rect();
    for (QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible()) {
            EXPECT_TRUE(area.contains(child->geometry())) << framework::ControlId(child);
        }
    }
}

TEST_F(AudTabsImages, ADemoSubjectsTestOnBothTabs)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string server = folder.filePath(QStringLiteral("demo")).toStdString();
    quorin::demo::CreateDemoRegistry(server, 30);

    ScriptedUserInterface demoUi;
    CQuorinDoc demo(demoUi);
    const auto& admin = quorin::demo::demoStaffLogins().front();
    demo.m_strServer = QString::fromStdString(server);
    demo.m_strUserName = QString::fromUtf8(admin.login);
    demo.m_strPassword = QString::fromUtf8(admin.password);
    ASSERT_TRUE(demo.OnNewDocument());
    ASSERT_TRUE(demo.m_db.IsConnected());
    int best = -1;
    int most = 0;
    for (int id = 1; id <= 30; ++id) {
        if (!demo.LoadSubjectById(id) || demo.m_audCurrent.TestId == -1)
            continue;
        const int filled = FilledFields(demo.m_audCurrent);
        if (filled > most) {
            most = filled;
            best = id;
        }
    }
    ASSERT_GT(best, 0);
    ASSERT_NE(demo.LoadSubjectById(best), 0);
    demoUi.ClearMessages();
    const CAudRecord shown = demo.m_audCurrent;

    CCreateContext demoContext;
    demoContext.m_pCurrentDoc = &demo;
    {
        CFormAudData tab(nullptr, &demoContext);
        tab.resize(tab.minimumSize());
        tab.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
        Settle();
        EXPECT_EQ(demo.m_bAudDataFilled, 1);
        EXPECT_EQ(framework::FindControlAs<QLineEdit>(&tab, IDC_TEST_DATE)->text(), shown.Info.TestDate);
        EXPECT_EQ(framework::FindControlAs<QComboBox>(&tab, IDC_MAT_R)->currentText(), shown.Speech.MatR);
        ExpectEveryControlInside(&tab);
        const QImage image = tab.grab().toImage();
        ASSERT_TRUE(image.save(OutputPath(QStringLiteral("demo-aud-data-tab.png"))));
    }
    {
        CFormAudOther tab(nullptr, &demoContext);
        tab.resize(tab.minimumSize());
        tab.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
        Settle();
        EXPECT_EQ(demo.m_bAudOtherFilled, 1);
        EXPECT_EQ(framework::FindControlAs<QPlainTextEdit>(&tab, res::audother::IDC_COMMENTS)->toPlainText(),
                  shown.Info.Comments);
        ExpectEveryControlInside(&tab);
        const QImage image = tab.grab().toImage();
        ASSERT_TRUE(image.save(OutputPath(QStringLiteral("demo-aud-comments-tab.png"))));
    }
    EXPECT_TRUE(demoUi.Texts().isEmpty()) << demoUi.Texts().join(" | ").toStdString();
    EXPECT_EQ(demo.m_audCurrent.Dirty, 0) << "showing marks nothing";
}

TEST_F(AudTabsImages, TheDataTabInTheMainWindow)
{
    LoadSubjectWithFullTest();
    ShowData();
    ASSERT_TRUE(data->isVisible());
    ExpectEveryControlInside(data);
    ASSERT_TRUE(frame->grab().toImage().save(OutputPath(QStringLiteral("main-window-aud-data-tab.png"))));
    ShowComments();
    ASSERT_TRUE(comments->isVisible());
    ASSERT_TRUE(frame->grab().toImage().save(OutputPath(QStringLiteral("main-window-aud-comments-tab.png"))));
    EXPECT_TRUE(AllMessages().isEmpty()) << AllMessages().join(" | ").toStdString();
}

} // namespace
} // namespace quorin::test
