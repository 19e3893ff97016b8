// The CI Speech dialog keeping a pre-implant row's time, and every dialog field taking no
// more characters than the column it is saved into.

#include "ImplantTabsFixture.h"

#include "database/ColumnLength.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"
#include "admin/ui/AdminTemplates.h"
#include "audiograms/ui/AudTemplates.h"
#include "implants/ui/CiDataTemplates.h"
#include "resources/FieldLengths.h"
#include "implants/ui/SllTemplates.h"
#include "subjects/ui/SubjectTemplates.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <map>
#include <memory>
#include <set>

using namespace res::cidata;
namespace sp = res::cispeech;
namespace dv = res::cidevice;

namespace quorin::test {
namespace {

TEST_F(CiDataTest, APreImplantRowHasNoTimeAndCancelAddsNothing)
{
    ClickWithDialog(IDC_PRE_ADD, [](QWidget* d) {
        EXPECT_FALSE(Edit(d, sp::IDC_TIME_YEARS)->isEnabled());
        EXPECT_FALSE(Edit(d, sp::IDC_TIME_MONTHS)->isEnabled());
        TypeInto(Combo(d, sp::IDC_TEST_NAME), "ESP");
        // Cancel by leaving the dialog open.
    });
    EXPECT_TRUE(doc->m_ciSpeechList.empty());
    EXPECT_EQ(doc->m_subject.Modified, 0);
    AddSpeech(false, "Discrimination", "ESP", "");
    ASSERT_EQ(form->PreList()->GetItemCount(), 1);
    // No score typed: an empty cell, not -999.
    EXPECT_EQ(Row(form->PreList(), 0), (QStringList{"Discrimination", "-1", "ESP", "", ""}));
    EXPECT_EQ(doc->m_ciSpeechList[0].DataType, "Pre Implant");
    EXPECT_EQ(doc->m_ciSpeechList[0].TimeIS, 0);
    EXPECT_EQ(doc->m_subject.Modified, 1);

    // A stored pre-implant row with a time beyond the range is edited without a check
    // on the fields the user cannot type in, and keeps its time.
    StoreSpeech("Pre Implant", "Discrimination", "GASP", 30, 5000);
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    ASSERT_EQ(form->PreList()->GetItemCount(), 1);
    ClickRow(form->PreList(), 0);
    ClickWithDialog(IDC_PRE_EDIT, [](QWidget* d) {
        EXPECT_EQ(Edit(d, sp::IDC_TIME_YEARS)->text(), "416");
        TypeInto(Edit(d, sp::IDC_SCORE), "31");
        ClickOk(d);
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_TRUE(frameworkBoxes.shown.empty());
    ASSERT_EQ(doc->m_ciSpeechList.size(), 1u);
    EXPECT_EQ(doc->m_ciSpeechList[0].TimeIS, 5000);
    EXPECT_EQ(doc->m_ciSpeechList[0].Score, 31.0f);
}

// The most characters a built control takes (-1: not a single-line text field).
int BuiltMaxLength(const QWidget* control)
{
    if (auto edit = qobject_cast<const QLineEdit*>(control))
        return edit->maxLength();
    if (auto combo = qobject_cast<const QComboBox*>(control); combo && combo->lineEdit())
        return combo->lineEdit()->maxLength();
    return -1;
}

TEST(FieldLengths, EveryFieldTakesNoMoreThanItsColumnAndTheCiAndSpeechDialogsLeaveNoTextFieldOpen)
{
    res::RegisterSubjectTemplates();
    res::RegisterAudTemplates();
    res::RegisterCiDataTemplates();
    res::RegisterSllTemplates();
    res::RegisterAdminTemplates();
    // Each template built as its dialog shows it.
    std::map<int, std::unique_ptr<QWidget>> built;
    const auto control = [&](int templateId, int controlId) -> QWidget* {
        auto& parent = built[templateId];
        if (!parent) {
            const framework::DialogTemplate* t = framework::FindDialogTemplate(templateId);
            if (!t)
                return nullptr;
            parent = std::make_unique<QWidget>();
            framework::TemplateBuilder(framework::TemplateBuilder::DialogFont(*t)).Build(*t, parent.get());
        }
        return framework::FindControl(parent.get(), controlId);
    };

    for (const res::FieldLength& f : res::FieldLengths()) {
        const std::string where = std::to_string(f.templateId) + "/" + std::to_string(f.controlId) + " "
                                  + std::string(f.table) + "." + std::string(f.column);
        const int column = schema::FindColumnLength(f.table, f.column);
        const QWidget* w = control(f.templateId, f.controlId);
        ASSERT_NE(w, nullptr) << where;
        if (column > 0) {
            EXPECT_LE(f.length, column) << where;
        }
        // Multi-line edits limit typing in their forms; every other field in the widget.
        if (BuiltMaxLength(w) != -1) {
            EXPECT_EQ(BuiltMaxLength(w), column > 0 ? std::min(column, f.length) : f.length) << where;
        }
    }
    // The schema's own numbers, not the table's: a changed column changes the field.
    EXPECT_EQ(BuiltMaxLength(control(res::IDD_CI_DEVICE, dv::IDC_SURGEON)), 50);
    EXPECT_EQ(BuiltMaxLength(control(res::IDD_CI_DEVICE, dv::IDC_HOSPITAL)), 100);
    EXPECT_EQ(BuiltMaxLength(control(res::IDD_SPEECH_TEST, res::speechtest::IDC_SCREENING)), 20);
    EXPECT_EQ(BuiltMaxLength(control(res::IDD_USER, res::user::IDC_LAST)), 50);
    EXPECT_EQ(BuiltMaxLength(control(res::IDD_FORM_AUD_DATA, res::auddata::IDC_MAT_L)), 50);
    EXPECT_EQ(res::FieldLengthOf(res::IDD_FORM_AUD_OTHER, res::audother::IDC_RECOMMEND), 499);

    // Numbers, dates and the unlimited speech-test comments are no column-length text.
    const std::set<std::pair<int, int>> notText = {
        {res::IDD_CI_DEVICE, dv::IDC_SURGERY_DATE},     {res::IDD_CI_DEVICE, dv::IDC_AGE_AT_IMPLANT},
        {res::IDD_CI_DEVICE, dv::IDC_STIM_DATE},        {res::IDD_CI_DEVICE, dv::IDC_EXPLANT_DATE},
        {res::IDD_CI_SPEECH, sp::IDC_SCORE},            {res::IDD_CI_SPEECH, sp::IDC_TIME_YEARS},
        {res::IDD_CI_SPEECH, sp::IDC_TIME_MONTHS},      {res::IDD_SPEECH_TEST, res::speechtest::IDC_TEST_DATE},
        {res::IDD_SPEECH_TEST, res::speechtest::IDC_AE_YEARS}, {res::IDD_SPEECH_TEST, res::speechtest::IDC_AE_MONTHS},
        {res::IDD_SPEECH_TEST, res::speechtest::IDC_COMMENTS}};
    for (int templateId : {res::IDD_CI_DEVICE, res::IDD_CI_SPEECH, res::IDD_SPEECH_TEST}) {
        control(templateId, 1);
        for (const QWidget* w : built[templateId]->findChildren<QWidget*>()) {
            const int id = framework::ControlId(w);
            if (id <= 0 || BuiltMaxLength(w) == -1 || notText.count({templateId, id}))
                continue;
            EXPECT_LT(BuiltMaxLength(w), 32767) << "template " << templateId << " control " << id << " takes any length";
        }
    }

    // Typed by keys: one character more than the column stays out.
    auto* surgeon = qobject_cast<QLineEdit*>(control(res::IDD_CI_DEVICE, dv::IDC_SURGEON));
    ASSERT_NE(surgeon, nullptr);
    QTest::keyClicks(surgeon, QString(51, QLatin1Char('s')));
    EXPECT_EQ(surgeon->text(), QString(50, QLatin1Char('s')));
}

} // namespace
} // namespace quorin::test
