// Renders the Subject tab of a loaded demo subject to subject-tab.png next to the test
// binary, so that a reviewer can see the form as a user does.

#include "FormFixture.h"

#include "database/demo/DemoRegistry.h"
#include "framework/ControlId.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormSubject.h"

#include "dalport/Clock.h"

#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace quorin::test {
namespace {

TEST(SubjectTabScreenshot, LoadedDemoSubjectIsRenderedToAnImageFile)
{
    dalport::SetFixedClock(kTestNow);
    const fs::path folder = fs::temp_directory_path() / ("quorin-subject-shot-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const demo::DemoSummary summary = demo::CreateDemoRegistry(folder.string(), 60, demo::kDefaultDemoSeed);
    ASSERT_EQ(summary.subjects, 60);
    const demo::DemoStaffLogin& admin = demo::demoStaffLogins().front();

    ScriptedUserInterface ui;
    {
        CQuorinDoc doc(ui);
        doc.m_strServer = QString::fromStdString(folder.string());
        doc.m_strUserName = QString::fromLatin1(admin.login);
        doc.m_strPassword = QString::fromLatin1(admin.password);
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.m_db.IsConnected());

        // A subject with much to show: hearing impaired with an implant, if there is one.
        int id = -1;
        if (doc.m_db.RunTextQuery("SELECT TOP 1 SubjectId FROM subjects WHERE CochlearImplant = 'Yes' AND "
                                  "Notes <> '' ORDER BY SubjectId")
            && !doc.m_db.IsEOF())
            id = doc.m_db.GetIntField("SubjectId");
        if (id < 0 && doc.m_db.RunTextQuery("SELECT min(SubjectId) AS SubjectId FROM subjects"))
            id = doc.m_db.GetIntField("SubjectId");
        ASSERT_GT(id, 0);

        CCreateContext context;
        context.m_pCurrentDoc = &doc;
        CFormSubject form(nullptr, &context);
        // Room below the form for the logo, as the workspace page has.
        form.resize(form.minimumWidth() + 20, form.minimumHeight() + 170);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_NE(doc.LoadSubjectById(id), 0);
        QCoreApplication::processEvents();
        const auto last = framework::FindControlAs<QLineEdit>(&form, res::subject::IDC_LAST);
        EXPECT_EQ(last->text(), doc.m_subject.Lastname);
        EXPECT_FALSE(last->text().isEmpty());

        const QImage image = form.grab().toImage();
        const QString file = QStringLiteral(QUORIN_SCREENSHOT_DIR "/subject-tab.png");
        ASSERT_TRUE(image.save(file));
        const QImage reread(file);
        EXPECT_EQ(reread.size(), form.size());
    }
    dalport::ResetClock();
    fs::remove_all(folder);
}

} // namespace
} // namespace quorin::test
