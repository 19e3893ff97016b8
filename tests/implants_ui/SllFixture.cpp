#include "SllFixture.h"

#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CSpeechTestDlg.h"
#include "implants/ui/SllTemplates.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace quorin::test {

void SllTest::SetUp()
{
    FormTest::SetUp();
    // The fixture's session is an ordinary member (QuorinUser), as staff keep this data.
    subjectId = AddSubject(QStringLiteral("LANE"), QStringLiteral("MIA"), 4411, QStringLiteral("2003-03-15"));
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    form = std::make_unique<CFormSLL>(nullptr, &context);
    ShowActive(form.get());
}

void SllTest::TearDown()
{
    form.reset();
    FormTest::TearDown();
}

QComboBox* SllTest::Combo(int id) const
{
    return framework::FindControlAs<QComboBox>(form.get(), id);
}

QWidget* SllTest::Button(int id) const
{
    return framework::FindControl(form.get(), id);
}

QStringList SllTest::Row(int row) const
{
    QStringList texts;
    for (int column = 0; column < form->List()->GetColumnCount(); ++column)
        texts << form->List()->GetItemText(row, column);
    return texts;
}

int SllTest::Rows() const
{
    return form->List()->GetItemCount();
}

void SllTest::ClickRow(int row)
{
    CReportListCtrl* list = form->List();
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    Settle();
}

void SllTest::ClickWithDialog(int buttonId, std::function<void(CSpeechTestDlg*)> actions)
{
    OnNextModal([actions](QWidget* modal) {
        QPointer<QWidget> dialog(modal);
        auto speech = qobject_cast<CSpeechTestDlg*>(modal);
        if (speech)
            actions(speech);
        if (dialog && dialog->isVisible())
            Click(framework::FindControl(dialog, 2)); // Cancel
    });
    Click(Button(buttonId));
}

QLineEdit* SllTest::Edit(QWidget* dialog, int id)
{
    return framework::FindControlAs<QLineEdit>(dialog, id);
}

QComboBox* SllTest::DialogCombo(QWidget* dialog, int id)
{
    return framework::FindControlAs<QComboBox>(dialog, id);
}

void SllTest::AddNamed(const QString& name)
{
    ClickWithDialog(res::sll::IDC_ADD, [name](CSpeechTestDlg* dialog) {
        TypeInto(DialogCombo(dialog, res::speechtest::IDC_TEST_NAME), name);
        Click(framework::FindControl(dialog, 1));
    });
}

int SllTest::StoredTests(const QString& where) const
{
    return Count("Quorin", QStringLiteral("select count(*) as num from speech where ") + where);
}

} // namespace quorin::test
