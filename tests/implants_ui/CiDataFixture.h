#pragma once
// The CI Data tab on the offscreen screen, for a subject born 3/7/2009, used by a staff
// member who has the registry's user role only, and the user's hands in the CI Speech
// and CI Device dialogs.

#include "FormFixture.h"
#include "framework/MessageRecorder.h"
#include "implants/ui/CFormCIDataView.h"

#include <QStringList>
#include <functional>
#include <memory>

class CReportListCtrl;
class QComboBox;
class QLineEdit;

namespace quorin::test {

class CiDataTest : public FormTest {
protected:
    void SetUp() override;
    void TearDown() override;

    QLineEdit* FormEdit(int id) const;
    QComboBox* FormCombo(int id) const;
    QWidget* Button(int id) const;

    // The texts of a list's row, every column.
    static QStringList Row(const CReportListCtrl* list, int row);
    // Clicks the row as a user picks it.
    static void ClickRow(CReportListCtrl* list, int row);

    // Clicks the tab's button; the dialog it opens goes to the actions, which may leave
    // it open or closed: one left open is cancelled.
    void ClickWithDialog(int buttonId, std::function<void(QWidget*)> actions);
    // Runs the actions on the next modal dialog (opened by a double click or Enter).
    static void WithNextDialog(std::function<void(QWidget*)> actions);

    static QLineEdit* Edit(QWidget* dialog, int id);
    static QComboBox* Combo(QWidget* dialog, int id);
    static void ClickOk(QWidget* dialog);

    // Adds through the dialogs with a few fields typed.
    void AddDevice(const QString& ear, const QString& device, const QString& surgeon);
    void AddSpeech(bool postImplant, const QString& type, const QString& name, const QString& score);

    // Inserted straight into the registry, as stored before.
    void StoreDevice(const QString& ear, const QString& device, const QString& surgery, int age);
    void StoreSpeech(const QString& dataType, const QString& type, const QString& name, double score, int time);

    QString StoredCi(const QString& column) const;
    int StoredRows(const char* table, const QString& where = QStringLiteral("1 = 1")) const;

    int subjectId = -1;
    std::unique_ptr<CFormCIDataView> form;
    framework::test::MessageRecorder frameworkBoxes;
};

} // namespace quorin::test
