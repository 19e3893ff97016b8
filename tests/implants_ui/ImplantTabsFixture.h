#pragma once
// The CI Data and S/L/L tabs on the offscreen screen for a stored subject, used by a staff
// member who has the registry's user role only, and the user's hands in their dialogs.

#include "FormFixture.h"
#include "framework/ControlId.h"
#include "framework/MessageRecorder.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CFormCIDataView.h"
#include "implants/ui/CFormSLL.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <functional>
#include <memory>

namespace quorin::test {

class ImplantTabTest : public FormTest {
protected:
    void TearDown() override
    {
        tab.reset();
        FormTest::TearDown();
    }
    // Stores a subject born on the ISO date and loads it; then the tab made for it is shown.
    void LoadSubject(const QString& birth);
    void ShowTab(QWidget* page)
    {
        tab.reset(page);
        ShowActive(page);
    }

    QLineEdit* FormEdit(int id) const { return framework::FindControlAs<QLineEdit>(tab.get(), id); }
    QComboBox* FormCombo(int id) const { return framework::FindControlAs<QComboBox>(tab.get(), id); }
    QWidget* Button(int id) const { return framework::FindControl(tab.get(), id); }
    // The texts of a list's row, every column; a click on the row as a user picks it.
    static QStringList Row(const CReportListCtrl* list, int row);
    static void ClickRow(CReportListCtrl* list, int row);

    // Runs the actions on the next modal dialog; one they leave open is cancelled.
    static void WithNextDialog(std::function<void(QWidget*)> actions);
    // Clicks the tab's button, with the actions on the dialog it opens.
    void ClickWithDialog(int buttonId, std::function<void(QWidget*)> actions);
    static QLineEdit* Edit(QWidget* dialog, int id) { return framework::FindControlAs<QLineEdit>(dialog, id); }
    static QComboBox* Combo(QWidget* dialog, int id) { return framework::FindControlAs<QComboBox>(dialog, id); }
    static void ClickOk(QWidget* dialog) { Click(framework::FindControl(dialog, 1)); }

    int StoredRows(const char* table, const QString& where = QStringLiteral("1 = 1")) const;

    int subjectId = -1;
    std::unique_ptr<QWidget> tab;
    framework::test::MessageRecorder frameworkBoxes;
};

// The CI Data tab for a subject born 3/7/2009.
class CiDataTest : public ImplantTabTest {
protected:
    void SetUp() override;
    // Adds through the dialog with a few fields typed.
    void AddSpeech(bool postImplant, const QString& type, const QString& name, const QString& score);
    // Inserted straight into the registry, as stored before.
    void StoreSpeech(const QString& dataType, const QString& type, const QString& name, double score, int time);

    CFormCIDataView* form = nullptr;
};

// The S/L/L tab for a subject born 3/15/2003.
class SllTest : public ImplantTabTest {
protected:
    void SetUp() override;
    int Rows() const { return form->List()->GetItemCount(); }
    // Adds a test through the dialog with only its name typed.
    void AddNamed(const QString& name);

    CFormSLL* form = nullptr;
};

} // namespace quorin::test
