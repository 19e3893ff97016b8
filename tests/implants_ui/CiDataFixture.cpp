#include "CiDataFixture.h"

#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CiDataTemplates.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace quorin::test {

void CiDataTest::SetUp()
{
    FormTest::SetUp();
    // The fixture's session is an ordinary member (QuorinUser), as staff keep this data.
    subjectId = AddSubject(QStringLiteral("REYES"), QStringLiteral("NOA"), 6611, QStringLiteral("2009-03-07"));
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    form = std::make_unique<CFormCIDataView>(nullptr, &context);
    ShowActive(form.get());
}

void CiDataTest::TearDown()
{
    form.reset();
    FormTest::TearDown();
}

QLineEdit* CiDataTest::FormEdit(int id) const
{
    return framework::FindControlAs<QLineEdit>(form.get(), id);
}

QComboBox* CiDataTest::FormCombo(int id) const
{
    return framework::FindControlAs<QComboBox>(form.get(), id);
}

QWidget* CiDataTest::Button(int id) const
{
    return framework::FindControl(form.get(), id);
}

QStringList CiDataTest::Row(const CReportListCtrl* list, int row)
{
    QStringList texts;
    for (int column = 0; column < list->GetColumnCount(); ++column)
        texts << list->GetItemText(row, column);
    return texts;
}

void CiDataTest::ClickRow(CReportListCtrl* list, int row)
{
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    Settle();
}

void CiDataTest::WithNextDialog(std::function<void(QWidget*)> actions)
{
    OnNextModal([actions](QWidget* modal) {
        QPointer<QWidget> dialog(modal);
        if (modal) {
            // The offscreen screen leaves the tab active under its modal dialog; a user's
            // clicks and keys go to the dialog.
            QApplication::setActiveWindow(modal);
            actions(modal);
        }
        if (dialog && dialog->isVisible())
            Click(framework::FindControl(dialog, 2)); // Cancel
    });
}

void CiDataTest::ClickWithDialog(int buttonId, std::function<void(QWidget*)> actions)
{
    WithNextDialog(std::move(actions));
    Click(Button(buttonId));
    // The closed dialog gives the activation back to the tab, as the desktop does.
    if (form->isVisible() && QApplication::activeWindow() != form.get())
        QApplication::setActiveWindow(form.get());
}

QLineEdit* CiDataTest::Edit(QWidget* dialog, int id)
{
    return framework::FindControlAs<QLineEdit>(dialog, id);
}

QComboBox* CiDataTest::Combo(QWidget* dialog, int id)
{
    return framework::FindControlAs<QComboBox>(dialog, id);
}

void CiDataTest::ClickOk(QWidget* dialog)
{
    Click(framework::FindControl(dialog, 1));
}

void CiDataTest::AddDevice(const QString& ear, const QString& device, const QString& surgeon)
{
    namespace dlg = res::cidevice;
    ClickWithDialog(res::cidata::IDC_DEVICE_ADD, [=](QWidget* d) {
        TypeInto(Combo(d, dlg::IDC_EAR), ear);
        TypeInto(Combo(d, dlg::IDC_DEVICE), device);
        TypeInto(Edit(d, dlg::IDC_SURGEON), surgeon);
        ClickOk(d);
    });
}

void CiDataTest::AddSpeech(bool postImplant, const QString& type, const QString& name, const QString& score)
{
    namespace dlg = res::cispeech;
    ClickWithDialog(postImplant ? res::cidata::IDC_POST_ADD : res::cidata::IDC_PRE_ADD, [=](QWidget* d) {
        TypeInto(Combo(d, dlg::IDC_TEST_TYPE), type);
        TypeInto(Combo(d, dlg::IDC_TEST_NAME), name);
        TypeInto(Edit(d, dlg::IDC_SCORE), score);
        ClickOk(d);
    });
}

void CiDataTest::StoreDevice(const QString& ear, const QString& device, const QString& surgery, int age)
{
    registry.ExecRaw("Quorin", QStringLiteral("insert into CiDevice (SubjectId, Ear, Device, Positioner, SurgDate, "
                                              "AgeAtImplant, Surgeon, Hospital, Status) values (%1, '%2', '%3', "
                                              "'Yes', '%4 00:00:00.000', %5, 'Dr. Park', 'Mercy', 'In Use')")
                                   .arg(subjectId)
                                   .arg(ear, device, surgery)
                                   .arg(age)
                                   .toStdString());
}

void CiDataTest::StoreSpeech(const QString& dataType, const QString& type, const QString& name, double score,
                             int time)
{
    registry.ExecRaw("Quorin", QStringLiteral("insert into cispeech (SubjectId, DataType, TestType, TestName, Score, "
                                              "TimeIS, Condition) values (%1, '%2', '%3', '%4', %5, %6, 'CI + HA')")
                                   .arg(subjectId)
                                   .arg(dataType, type, name)
                                   .arg(score)
                                   .arg(time)
                                   .toStdString());
}

QString CiDataTest::StoredCi(const QString& column) const
{
    return Scalar("Quorin", QStringLiteral("select %1 from cidata where SubjectId = %2").arg(column).arg(subjectId),
                  column.toLatin1().constData());
}

int CiDataTest::StoredRows(const char* table, const QString& where) const
{
    return Count("Quorin", QStringLiteral("select count(*) as num from %1 where SubjectId = %2 and %3")
                               .arg(QString::fromLatin1(table))
                               .arg(subjectId)
                               .arg(where));
}

} // namespace quorin::test
