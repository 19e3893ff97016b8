#include "SllFixture.h"

#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/CSpeechTestDlg.h"
#include "resources/SllTemplates.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace quorin::test {

namespace {
constexpr const char* kStaffLogin = "slp";
constexpr const char* kStaffPassword = "Speech-Staff-7";
} // namespace

void SllTest::SetUp()
{
    FormTest::SetUp();
    // Staff enter tests with the user role; the administrator only makes the login.
    MyADO admin = OpenAsAdmin("Quorin");
    for (const char* statement :
         {"CREATE LOGIN slp with Password = 'Speech-Staff-7', CHECK_POLICY = Off", "CREATE USER slp",
          "EXEC sp_addrolemember 'QuorinUser', slp"})
        ASSERT_TRUE(admin.RunTextQuery(statement)) << statement;
    MyADO aud = OpenAsAdmin("Aud");
    for (const char* statement : {"CREATE USER slp", "EXEC sp_addrolemember 'QuorinUser', slp"})
        ASSERT_TRUE(aud.RunTextQuery(statement)) << statement;
    doc->RemoveView(&view);
    doc = std::make_unique<CQuorinDoc>(ui);
    doc->m_strServer = QString::fromStdString(registry.Folder());
    doc->m_strUserName = QString::fromLatin1(kStaffLogin);
    doc->m_strPassword = QString::fromLatin1(kStaffPassword);
    ASSERT_TRUE(doc->OnNewDocument());
    ASSERT_TRUE(doc->m_db.IsConnected());
    doc->AddView(&view);
    context.m_pCurrentDoc = doc.get();

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
