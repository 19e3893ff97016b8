// The CI Speech and CI Device dialogs as the CI Data tab opens them: their labels and
// choices, the checks of OK in order (the dialog stays open), and Age at Implant filled
// from the birth date only when both dates can give an age.

#include "CiDataFixture.h"

#include "database/ColumnLength.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "framework/TemplateAccessibility.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"
#include "admin/ui/AdminTemplates.h"
#include "audiograms/ui/AudTemplates.h"
#include "implants/ui/CiDataTemplates.h"
#include "resources/FieldLengths.h"
#include "implants/ui/SllTemplates.h"
#include "subjects/ui/SubjectTemplates.h"

#include <QComboBox>
#include <QLabel>
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

QStringList LabelNames(const QWidget* dialog)
{
    QStringList names;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        names << framework::NameFromLabel(label->text());
    return names;
}

TEST_F(CiDataTest, CiSpeechChecksNameThenTypeThenScoreAndStaysOpen)
{
    bool checked = false;
    ClickWithDialog(IDC_POST_ADD, [&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "CI Speech");
        const QStringList labels = LabelNames(d);
        for (const char* text : {"Conditions", "Test Type", "Test Name", "Score", "Time  Post-IS", "(Post CI only)"})
            EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
        EXPECT_EQ(Combo(d, sp::IDC_TEST_NAME)->itemText(0), "BKB-SIN"); // sorted
        EXPECT_EQ(Combo(d, sp::IDC_CONDITION)->itemText(1), "Monaural right");
        EXPECT_TRUE(Edit(d, sp::IDC_TIME_YEARS)->isEnabled());

        ClickOk(d);
        EXPECT_EQ(ui.Texts(), QStringList{"Please Enter a Test Name!"});
        EXPECT_TRUE(d->isVisible());
        EXPECT_TRUE(Combo(d, sp::IDC_TEST_NAME)->hasFocus());
        TypeInto(Combo(d, sp::IDC_TEST_NAME), "HINT, Noise");
        ClickOk(d);
        EXPECT_EQ(ui.Texts(), (QStringList{"Please Enter a Test Name!", "Please Enter a Test Type!"}));
        for (const auto& m : ui.Messages())
            EXPECT_EQ(m.icon, UserInterface::Icon::Stop);
        EXPECT_TRUE(d->isVisible());
        ChooseFromList(Combo(d, sp::IDC_TEST_TYPE), Combo(d, sp::IDC_TEST_TYPE)->findText("Sentence Recognition"));
        TypeInto(Edit(d, sp::IDC_SCORE), "100.5");
        ClickOk(d);
        ASSERT_EQ(frameworkBoxes.shown.size(), 1u);
        EXPECT_EQ(frameworkBoxes.shown[0].text, "Please enter a number between 0 and 100.");
        EXPECT_TRUE(d->isVisible());
        TypeInto(Edit(d, sp::IDC_SCORE), "100");
        TypeInto(Edit(d, sp::IDC_TIME_MONTHS), "14");
        ClickOk(d);
        ASSERT_EQ(frameworkBoxes.shown.size(), 2u);
        EXPECT_EQ(frameworkBoxes.shown[1].text, "Please enter an integer between 0 and 13.");
        TypeInto(Edit(d, sp::IDC_TIME_YEARS), "1");
        TypeInto(Edit(d, sp::IDC_TIME_MONTHS), "13");
        ClickOk(d);
        EXPECT_FALSE(d->isVisible());
        checked = true;
    });
    ASSERT_TRUE(checked);
    ASSERT_EQ(doc->m_ciSpeechList.size(), 1u);
    const CCiSpeech& row = doc->m_ciSpeechList[0];
    EXPECT_EQ(row.DataType, "Post Implant");
    EXPECT_EQ(row.Index, -1);
    EXPECT_EQ(row.TimeIS, 25);
    EXPECT_EQ(row.Score, 100.0f);
    EXPECT_EQ(Row(form->PostList(), 0), (QStringList{"Sentence Recognition", "-1", "HINT, Noise", "", "100.00",
                                                     "2yrs 1mos"}));
}

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

TEST_F(CiDataTest, CiDeviceChecksEarThenDeviceThenItsDates)
{
    bool checked = false;
    ClickWithDialog(IDC_DEVICE_ADD, [&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "CI Device");
        const QStringList labels = LabelNames(d);
        for (const char* text : {"Ear", "Device", "Postioner", "Surgery Date", "Age at Implant", "(months)", "Surgeon",
                                 "Hospital", "Inital Stim Date", "Status", "Date of Explant"})
            EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
        EXPECT_EQ(Combo(d, dv::IDC_POSITIONER)->itemText(0), "No"); // sorted
        EXPECT_EQ(Combo(d, dv::IDC_DEVICE)->count(), 13);

        ClickOk(d);
        EXPECT_EQ(ui.Texts(), QStringList{"Please Enter the Ear!"});
        EXPECT_TRUE(d->isVisible());
        ChooseFromList(Combo(d, dv::IDC_EAR), Combo(d, dv::IDC_EAR)->findText("Right"));
        ClickOk(d);
        EXPECT_EQ(ui.Texts(), (QStringList{"Please Enter the Ear!", "Please the Device!"}));
        for (const auto& m : ui.Messages())
            EXPECT_EQ(m.icon, UserInterface::Icon::Stop);
        EXPECT_TRUE(Combo(d, dv::IDC_DEVICE)->hasFocus());
        TypeInto(Combo(d, dv::IDC_DEVICE), "Nucleus 24M");
        // A day the month does not have would fail the whole save later.
        TypeInto(Edit(d, dv::IDC_STIM_DATE), "2/31/2011");
        ClickOk(d);
        ASSERT_EQ(frameworkBoxes.shown.size(), 1u);
        EXPECT_EQ(frameworkBoxes.shown[0].text, "Error: Invalid Date - use MM/DD/YYYY or MM-DD-YYYY format.");
        EXPECT_TRUE(d->isVisible());
        TypeInto(Edit(d, dv::IDC_STIM_DATE), "na");
        ClickOk(d);
        EXPECT_FALSE(d->isVisible());
        checked = true;
    });
    ASSERT_TRUE(checked);
    ASSERT_EQ(doc->m_ciData.Devices.size(), 1u);
    EXPECT_EQ(doc->m_ciData.Devices[0].Device, "Nucleus 24M");
    EXPECT_EQ(doc->m_ciData.Devices[0].StimDate, "01/01/1901");
    EXPECT_EQ(doc->m_ciData.Devices[0].AgeAtImplant, -1);
}

TEST_F(CiDataTest, AgeAtImplantComesOnlyFromARealBirthBeforeARealSurgery)
{
    EXPECT_EQ(doc->m_subject.Birth, "03/07/2009");
    ClickWithDialog(IDC_DEVICE_ADD, [this](QWidget* d) {
        // Leaves Surgery Date with the text typed; returns what Age at Implant shows then.
        const auto AgeAfterSurgeryDate = [](QWidget* d, const QString& surgery) {
            TypeInto(Edit(d, dv::IDC_AGE_AT_IMPLANT), "5");
            TypeInto(Edit(d, dv::IDC_SURGERY_DATE), surgery);
            return Edit(d, dv::IDC_AGE_AT_IMPLANT)->text();
        };
        // 550 days of 30.33 days.
        EXPECT_EQ(AgeAfterSurgeryDate(d, "9/7/2010"), "18");
        EXPECT_EQ(AgeAfterSurgeryDate(d, "3/7/2009"), "0");
        // The database's empty date, "does not apply", and a surgery before the birth
        // leave the age as it was.
        EXPECT_EQ(AgeAfterSurgeryDate(d, "1/1/1900"), "5");
        EXPECT_EQ(AgeAfterSurgeryDate(d, "NA"), "5");
        EXPECT_EQ(AgeAfterSurgeryDate(d, "12/1/2008"), "5");
        EXPECT_EQ(AgeAfterSurgeryDate(d, "13/1/2010"), "5");
        doc->m_subject.Birth = "3/7/2009";
        EXPECT_EQ(AgeAfterSurgeryDate(d, "03/07/2019"), "120");
        doc->m_subject.Birth.clear();
        EXPECT_EQ(AgeAfterSurgeryDate(d, "9/7/2010"), "5");
    });
    EXPECT_TRUE(ui.Messages().empty()) << ui.Texts().join(" | ").toStdString();
    EXPECT_TRUE(doc->m_ciData.Devices.empty());
}

TEST_F(CiDataTest, AnEmptyAgeShowsAnEmptyCellAndEditKeepsEveryField)
{
    StoreDevice("Left", "Nucleus 22", "2010-09-07", -1);
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    ASSERT_EQ(form->DeviceList()->GetItemCount(), 1);
    EXPECT_EQ(Row(form->DeviceList(), 0)[5], "");
    ClickRow(form->DeviceList(), 0);
    ClickWithDialog(IDC_DEVICE_EDIT, [](QWidget* d) {
        EXPECT_EQ(Combo(d, dv::IDC_EAR)->currentText(), "Left");
        EXPECT_EQ(Edit(d, dv::IDC_SURGERY_DATE)->text(), "09/07/2010");
        EXPECT_EQ(Edit(d, dv::IDC_AGE_AT_IMPLANT)->text(), "");
        EXPECT_EQ(Edit(d, dv::IDC_SURGEON)->text(), "Dr. Park");
        TypeInto(Edit(d, dv::IDC_SURGERY_DATE), "09/07/2010");
        EXPECT_EQ(Edit(d, dv::IDC_AGE_AT_IMPLANT)->text(), "18");
        ClickOk(d);
    });
    EXPECT_EQ(Row(form->DeviceList(), 0)[5], "1yr,6mo");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(StoredRows("CiDevice", "AgeAtImplant = 18 and Surgeon = 'Dr. Park' and Hospital = 'Mercy'"), 1);
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
