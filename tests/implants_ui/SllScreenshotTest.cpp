// Renders the S/L/L tab of a demo subject with its tests, and the Speech Test dialog
// filled with one of them, next to the test binary, so that a reviewer can see both as
// a user does.

#include "FormFixture.h"

#include "database/demo/DemoRegistry.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CFormSLL.h"
#include "implants/ui/CSpeechTestDlg.h"
#include "implants/ui/SllTemplates.h"

#include "dalport/Clock.h"

#include <QComboBox>
#include <QImage>
#include <QTest>

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace quorin::test {
namespace {

void Save(QWidget* widget, const char* name)
{
    const QImage image = widget->grab().toImage();
    const QString file = QStringLiteral(QUORIN_SCREENSHOT_DIR "/") + QString::fromLatin1(name);
    ASSERT_TRUE(image.save(file));
    EXPECT_EQ(QImage(file).size(), widget->size());
}

TEST(SllScreenshot, ADemoSubjectsTestsAndTheFilledDialogAreRenderedToImageFiles)
{
    dalport::SetFixedClock(kTestNow);
    const fs::path folder = fs::temp_directory_path() / ("quorin-sll-shot-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const demo::DemoSummary summary = demo::CreateDemoRegistry(folder.string(), 40, demo::kDefaultDemoSeed);
    ASSERT_EQ(summary.subjects, 40);
    const demo::DemoStaffLogin& admin = demo::demoStaffLogins().front();

    ScriptedUserInterface ui;
    {
        CQuorinDoc doc(ui);
        doc.m_strServer = QString::fromStdString(folder.string());
        doc.m_strUserName = QString::fromLatin1(admin.login);
        doc.m_strPassword = QString::fromLatin1(admin.password);
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.m_db.IsConnected());

        // A subject of the demo data with speech tests.
        int id = -1;
        if (doc.m_db.RunTextQuery("SELECT TOP 1 SubjectId FROM speech ORDER BY SubjectId") && !doc.m_db.IsEOF())
            id = doc.m_db.GetIntField("SubjectId");
        ASSERT_GT(id, 0);

        CCreateContext context;
        context.m_pCurrentDoc = &doc;
        CFormSLL form(nullptr, &context);
        form.resize(form.minimumWidth() + 20, form.minimumHeight() + 20);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_NE(doc.LoadSubjectById(id), 0);
        QCoreApplication::processEvents();
        ASSERT_FALSE(doc.m_speechTestList.empty());
        ASSERT_EQ(form.List()->GetItemCount(), static_cast<int>(doc.m_speechTestList.size()));
        const CSpeechTest& first = doc.m_speechTestList[0];
        EXPECT_EQ(form.List()->GetItemText(0, 0), first.TestName);
        EXPECT_EQ(form.List()->GetItemText(0, 9),
                  QString::asprintf("%d,%d", first.AgeEquivalent / 12, first.AgeEquivalent % 12));
        form.List()->SelectItem(0);
        Save(&form, "sll-tab.png");

        CSpeechTestDlg dialog(doc, doc.m_speechTestList[0], nullptr);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QCoreApplication::processEvents();
        EXPECT_EQ(framework::FindControlAs<QComboBox>(&dialog, res::speechtest::IDC_TEST_NAME)->currentText(),
                  first.TestName);
        Save(&dialog, "speech-test-dialog.png");
        dialog.hide();
    }
    dalport::ResetClock();
    fs::remove_all(folder);
}

} // namespace
} // namespace quorin::test
