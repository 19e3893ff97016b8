#pragma once
// The S/L/L tab on the offscreen screen, for a subject born 3/15/2003, used by a staff
// member who has the registry's user role only, and the user's hands in the Speech
// Test dialog.

#include "FormFixture.h"
#include "framework/MessageRecorder.h"
#include "implants/ui/CFormSLL.h"

#include <QStringList>
#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class CSpeechTestDlg;

namespace quorin::test {

class SllTest : public FormTest {
protected:
    void SetUp() override;
    void TearDown() override;

    QComboBox* Combo(int id) const;
    QWidget* Button(int id) const;

    // The texts of the list's row, all thirteen columns.
    QStringList Row(int row) const;
    int Rows() const;
    // Clicks the row as a user picks it.
    void ClickRow(int row);

    // Clicks the tab's button; the dialog it opens goes to the actions, which must leave
    // it open or closed as they like: one left open is cancelled.
    void ClickWithDialog(int buttonId, std::function<void(CSpeechTestDlg*)> actions);

    // In the dialog: an edit's text, typing into an edit or an editable combo.
    static QLineEdit* Edit(QWidget* dialog, int id);
    static QComboBox* DialogCombo(QWidget* dialog, int id);
    // Adds a test through the dialog with only its name typed.
    void AddNamed(const QString& name);

    int StoredTests(const QString& where = QStringLiteral("1 = 1")) const;

    int subjectId = -1;
    std::unique_ptr<CFormSLL> form;
    framework::test::MessageRecorder frameworkBoxes;
};

} // namespace quorin::test
