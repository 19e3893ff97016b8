// The CI Data tab for a stored subject, used by a staff member of the registry's user role:
// a hidden tab filling itself once shown, the CI Speech dialog
// keeping a pre-implant row's time, and every dialog field no longer than its column.

#include "FormFixture.h"

#include "admin/ui/AdminTemplates.h"
#include "audiograms/ui/AudTemplates.h"
#include "database/ColumnLength.h"
#include "framework/ControlId.h"
#include "framework/MessageRecorder.h"
#include "framework/ReportListCtrl.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"
#include "implants/ui/CFormCIDataView.h"
#include "implants/ui/CiDataTemplates.h"
#include "implants/ui/SllTemplates.h"
#include "resources/FieldLengths.h"
#include "subjects/ui/SubjectTemplates.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <functional>
#include <map>
#include <memory>
#include <set>

using namespace res::cidata;
namespace sp = res::cispeech;
namespace dv = res::cidevice;

namespace quorin::test {
namespace {

QLineEdit* Edit(QWidget* parent, int id) { return framework::FindControlAs<QLineEdit>(parent, id); }
QComboBox* Combo(QWidget* parent, int id) { return framework::FindControlAs<QComboBox>(parent, id); }

// The texts of a list's row, every column.
QStringList Row(const CReportListCtrl* list, int row)
{
    QStringList texts;
    for (int column = 0; column < list->GetColumnCount(); ++column)
        texts << list->GetItemText(row, column);
    return texts;
}

class CiDataTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        // The fixture's session is an ordinary member (QuorinUser), as staff keep this data.
        subjectId = AddSubject(QStringLiteral("REYES"), QStringLiteral("NOA"), 6611, QStringLiteral("2009-03-07"));
        ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
        form = new CFormCIDataView(nullptr, &context);
        tab.reset(form);
        ShowActive(form);
    }
    void TearDown() override
    {
        tab.reset();
        FormTest::TearDown();
    }

    // Clicks the tab's button and runs the actions on the dialog it opens; one they leave
    // open is cancelled.
    void ClickWithDialog(int buttonId, std::function<void(QWidget*)> actions)
    {
        OnNextModal([actions](QWidget* modal) {
            QPointer<QWidget> dialog(modal);
            if (modal) {
                // The offscreen screen leaves the tab active under its modal dialog; a
                // user's clicks and keys go to the dialog.
                QApplication::setActiveWindow(modal);
                actions(modal);
            }
            if (dialog && dialog->isVisible())
                Click(framework::FindControl(dialog, 2)); // Cancel
        });
        Click(framework::FindControl(form, buttonId));
        // The closed dialog gives the activation back to the tab, as the desktop does.
        if (form->isVisible() && QApplication::activeWindow() != form)
            QApplication::setActiveWindow(form);
    }

    // A pre-implant row inserted straight into the registry, as stored before.
    void StorePreImplantRow(const QString& type, const QString& name, double score, int time)
    {
        registry.ExecRaw("Quorin", QStringLiteral("insert into cispeech (SubjectId, DataType, TestType, TestName, Score, "
                                                  "TimeIS, Condition) values (%1, 'Pre Implant', '%2', '%3', %4, %5, "
                                                  "'CI + HA')")
                                       .arg(QString::number(subjectId), type, name, QString::number(score),
                                            QString::number(time))
                                       .toStdString());
    }

    int subjectId = -1;
    CFormCIDataView* form = nullptr;
    std::unique_ptr<QWidget> tab;
    framework::test::MessageRecorder frameworkBoxes;
};

TEST_F(CiDataTest, AHiddenTabFillsItselfWhenShownAgain)
{
    form->hide();
    StorePreImplantRow("Word Recognition", "PBK", 12.5, 0);
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    EXPECT_EQ(doc->CiLoaded, 0);
    // A save while the tab was never shown for this subject takes nothing from it.
    Edit(form, IDC_DURATION_YEARS_L)->setText("7");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from cidata where SubjectId = %1").arg(subjectId)),
              0);
    ShowActive(form);
    EXPECT_EQ(doc->CiLoaded, 1);
    EXPECT_EQ(Edit(form, IDC_DURATION_YEARS_L)->text(), "0");
    ASSERT_EQ(form->PreList()->GetItemCount(), 1);
    EXPECT_EQ(Row(form->PreList(), 0)[2], "PBK");
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
    ClickWithDialog(IDC_PRE_ADD, [](QWidget* d) {
        TypeInto(Combo(d, sp::IDC_TEST_TYPE), "Discrimination");
        TypeInto(Combo(d, sp::IDC_TEST_NAME), "ESP");
        TypeInto(Edit(d, sp::IDC_SCORE), "");
        Click(framework::FindControl(d, 1)); // OK
    });
    ASSERT_EQ(form->PreList()->GetItemCount(), 1);
    // No score typed: an empty cell, not -999.
    EXPECT_EQ(Row(form->PreList(), 0), (QStringList{"Discrimination", "-1", "ESP", "", ""}));
    EXPECT_EQ(doc->m_ciSpeechList[0].DataType, "Pre Implant");
    EXPECT_EQ(doc->m_ciSpeechList[0].TimeIS, 0);
    EXPECT_EQ(doc->m_subject.Modified, 1);

    // A stored pre-implant row with a time beyond the range is edited without a check
    // on the fields the user cannot type in, and keeps its time.
    StorePreImplantRow("Discrimination", "GASP", 30, 5000);
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    ASSERT_EQ(form->PreList()->GetItemCount(), 1);
    CReportListCtrl* list = form->PreList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
    Settle();
    ClickWithDialog(IDC_PRE_EDIT, [](QWidget* d) {
        EXPECT_EQ(Edit(d, sp::IDC_TIME_YEARS)->text(), "416");
        TypeInto(Edit(d, sp::IDC_SCORE), "31");
        Click(framework::FindControl(d, 1)); // OK
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
