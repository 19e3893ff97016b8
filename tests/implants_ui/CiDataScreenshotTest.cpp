// Renders the CI Data tab of a demo implant subject with its devices and both speech
// lists, and the CI Speech and CI Device dialogs filled with its rows, next to the test
// binary, so that a reviewer can see them as a user does.

#include "FormFixture.h"

#include "database/demo/DemoRegistry.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CCiDeviceDlg.h"
#include "implants/ui/CCiSpeechDlg.h"
#include "implants/ui/CFormCIDataView.h"
#include "implants/store/CiDataEditing.h"
#include "implants/ui/CiDataTemplates.h"

#include "dalport/Clock.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <unistd.h>

#include <algorithm>
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

bool HasBothSpeechKinds(const CQuorinDoc& doc)
{
    const auto& rows = doc.m_ciSpeechList;
    return std::any_of(rows.begin(), rows.end(), [](const CCiSpeech& r) { return IsPreImplant(r); })
        && std::any_of(rows.begin(), rows.end(), [](const CCiSpeech& r) { return !IsPreImplant(r); });
}

TEST(CiDataScreenshot, ADemoImplantSubjectAndBothFilledDialogsAreRenderedToImageFiles)
{
    dalport::SetFixedClock(kTestNow);
    const fs::path folder = fs::temp_directory_path() / ("quorin-ci-shot-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const demo::DemoSummary summary = demo::CreateDemoRegistry(folder.string(), 120, demo::kDefaultDemoSeed);
    ASSERT_GT(summary.ciSubjects, 0);
    const demo::DemoStaffLogin& admin = demo::demoStaffLogins().front();

    ScriptedUserInterface ui;
    {
        CQuorinDoc doc(ui);
        doc.m_strServer = QString::fromStdString(folder.string());
        doc.m_strUserName = QString::fromLatin1(admin.login);
        doc.m_strPassword = QString::fromLatin1(admin.password);
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.m_db.IsConnected());

        std::vector<int> ids;
        if (doc.m_db.RunTextQuery("SELECT DISTINCT SubjectId FROM CiDevice ORDER BY SubjectId"))
            for (; !doc.m_db.IsEOF(); doc.m_db.MoveNext())
                ids.push_back(doc.m_db.GetIntField("SubjectId"));
        ASSERT_FALSE(ids.empty());

        CCreateContext context;
        context.m_pCurrentDoc = &doc;
        CFormCIDataView form(nullptr, &context);
        form.resize(form.minimumWidth() + 20, form.minimumHeight() + 20);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

        // A subject with two devices and speech rows before and after implantation shows
        // every part of the tab; failing that, one with both kinds of speech rows.
        int chosen = -1;
        for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
            for (int id : ids) {
                ASSERT_NE(doc.LoadSubjectById(id), 0);
                if (HasBothSpeechKinds(doc) && (pass == 1 || doc.m_ciData.Devices.size() > 1)) {
                    chosen = id;
                    break;
                }
            }
        }
        ASSERT_GT(chosen, 0);
        QCoreApplication::processEvents();
        ASSERT_EQ(form.DeviceList()->GetItemCount(), static_cast<int>(doc.m_ciData.Devices.size()));
        ASSERT_GT(form.PreList()->GetItemCount(), 0);
        ASSERT_GT(form.PostList()->GetItemCount(), 0);
        EXPECT_EQ(form.PreList()->GetItemCount() + form.PostList()->GetItemCount(),
                  static_cast<int>(doc.m_ciSpeechList.size()));
        form.DeviceList()->SelectItem(0);
        Save(&form, "ci-data-tab.png");

        const auto post = std::find_if(doc.m_ciSpeechList.begin(), doc.m_ciSpeechList.end(),
                                       [](const CCiSpeech& r) { return !IsPreImplant(r); });
        CCiSpeechDlg speech(doc, *post, true, nullptr);
        speech.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&speech));
        QCoreApplication::processEvents();
        EXPECT_EQ(framework::FindControlAs<QComboBox>(&speech, res::cispeech::IDC_TEST_NAME)->currentText(),
                  post->TestName);
        Save(&speech, "ci-speech-dialog.png");
        speech.hide();

        const CCiDevice& device = doc.m_ciData.Devices.back();
        CCiDeviceDlg deviceDialog(doc, device, nullptr);
        deviceDialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&deviceDialog));
        QCoreApplication::processEvents();
        EXPECT_EQ(framework::FindControlAs<QLineEdit>(&deviceDialog, res::cidevice::IDC_SURGEON)->text(),
                  device.Surgeon);
        Save(&deviceDialog, "ci-device-dialog.png");
        deviceDialog.hide();
    }
    dalport::ResetClock();
    fs::remove_all(folder);
}

} // namespace
} // namespace quorin::test
