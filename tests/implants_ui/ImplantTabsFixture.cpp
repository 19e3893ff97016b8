#include "ImplantTabsFixture.h"

#include "implants/ui/CiDataTemplates.h"
#include "implants/ui/SllTemplates.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

namespace quorin::test {

void ImplantTabTest::LoadSubject(const QString& birth)
{
    // The fixture's session is an ordinary member (QuorinUser), as staff keep this data.
    subjectId = AddSubject(QStringLiteral("REYES"), QStringLiteral("NOA"), 6611, birth);
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
}

QStringList ImplantTabTest::Row(const CReportListCtrl* list, int row)
{
    QStringList texts;
    for (int column = 0; column < list->GetColumnCount(); ++column)
        texts << list->GetItemText(row, column);
    return texts;
}

void ImplantTabTest::ClickRow(CReportListCtrl* list, int row)
{
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    Settle();
}

void ImplantTabTest::WithNextDialog(std::function<void(QWidget*)> actions)
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

void ImplantTabTest::ClickWithDialog(int buttonId, std::function<void(QWidget*)> actions)
{
    WithNextDialog(std::move(actions));
    Click(Button(buttonId));
    // The closed dialog gives the activation back to the tab, as the desktop does.
    if (tab->isVisible() && QApplication::activeWindow() != tab.get())
        QApplication::setActiveWindow(tab.get());
}

int ImplantTabTest::StoredRows(const char* table, const QString& where) const
{
    return Count("Quorin", QStringLiteral("select count(*) as num from %1 where SubjectId = %2 and %3")
                               .arg(QString::fromLatin1(table))
                               .arg(subjectId)
                               .arg(where));
}

void CiDataTest::SetUp()
{
    ImplantTabTest::SetUp();
    LoadSubject(QStringLiteral("2009-03-07"));
    form = new CFormCIDataView(nullptr, &context);
    ShowTab(form);
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

void SllTest::SetUp()
{
    ImplantTabTest::SetUp();
    LoadSubject(QStringLiteral("2003-03-15"));
    form = new CFormSLL(nullptr, &context);
    ShowTab(form);
}

void SllTest::AddNamed(const QString& name)
{
    ClickWithDialog(res::sll::IDC_ADD, [name](QWidget* dialog) {
        TypeInto(Combo(dialog, res::speechtest::IDC_TEST_NAME), name);
        ClickOk(dialog);
    });
}

} // namespace quorin::test
