#include "FormFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace quorin::test {

void FormTest::SetUp()
{
    DocumentTest::SetUp();
    context.m_pCurrentDoc = doc.get();
}

void FormTest::TearDown()
{
    Settle();
    DocumentTest::TearDown();
}

void FormTest::ShowActive(QWidget* widget)
{
    widget->show();
    widget->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(widget));
}

void FormTest::Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void FormTest::TypeInto(QLineEdit* edit, const QString& text)
{
    ASSERT_NE(edit, nullptr);
    if (!edit->window()->isActiveWindow()) {
        edit->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(edit->window()));
    }
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    Settle();
}

void FormTest::TypeInto(QComboBox* combo, const QString& text)
{
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->isEditable());
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(combo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(combo, Qt::Key_Delete);
    QTest::keyClicks(combo, text);
    Settle();
}

void FormTest::ChooseFromList(QComboBox* combo, int index)
{
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->isEnabled());
    // F4 opens the list from the keyboard; a click on the item chooses it.
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(combo, Qt::Key_F4);
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(combo->model()->index(index, 0));
    ASSERT_TRUE(item.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    Settle();
    EXPECT_EQ(combo->currentIndex(), index);
}

void FormTest::Click(QWidget* button)
{
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
}

void FormTest::OnNextModal(std::function<void(QWidget*)> handler)
{
    QTimer::singleShot(0, [handler] { handler(QApplication::activeModalWidget()); });
}

int FormTest::AddSubject(const QString& last, const QString& first, int unit, const QString& birth)
{
    registry.ExecRaw("Quorin", QStringLiteral("insert into subjects (Lastname, Firstname, Unit, Birthdate, "
                                              "InitialDateofConsent) values ('%1', '%2', %3, '%4 00:00:00.000', "
                                              "'2020-01-02 00:00:00.000')")
                                   .arg(last, first)
                                   .arg(unit)
                                   .arg(birth)
                                   .toStdString());
    return Scalar("Quorin", QStringLiteral("select max(SubjectId) as id from subjects"), "id").toInt();
}

} // namespace quorin::test
