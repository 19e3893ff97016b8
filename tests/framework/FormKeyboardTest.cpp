// What every form page gets from the framework without code of its own: Enter presses
// the default button (or the focused one, never in a multi-line field), a field whose
// leave check fails keeps the focus and keeps its page in front, and Ctrl+Tab or
// Ctrl+PgDn move between pages from the keyboard.
#include "framework/FocusChain.h"
#include "framework/TFrameWnd.h"
#include "framework/TTabWnd.h"
#include "framework/TVisualFormView.h"
#include "MessageRecorder.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// A page as a later form would build it: a field with a check, a notes box, an editable
// list, a plain button and the default button. It has no document, so its box goes
// through the framework's presenter, which the test records.
class SamplePage : public TVisualFormView {
public:
    SamplePage() : TVisualFormView(0, nullptr, nullptr)
    {
        choice->setEditable(true);
        choice->addItems({QStringLiteral("Home"), QStringLiteral("Work")});
        search->setDefault(true);
        connect(other, &QPushButton::clicked, this, [this] { ++otherClicks; });
        connect(search, &QPushButton::clicked, this, [this] { searched << field->text(); });
        ValidateOnLeave(field, [this] {
            if (!field->text().startsWith(QLatin1Char('x')))
                return true;
            ShowFieldError(QStringLiteral("No x!"));
            ++complaints;
            return false;
        });
    }
    QLineEdit* field = new QLineEdit(this);
    QPlainTextEdit* notes = new QPlainTextEdit(this);
    QComboBox* choice = new QComboBox(this);
    QPushButton* other = new QPushButton(QStringLiteral("Other"), this);
    QPushButton* search = new QPushButton(QStringLiteral("Search"), this);
    int otherClicks = 0;
    int complaints = 0;
    QStringList searched;
};

class FormKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame.setCentralWidget(tabs);
        tabs->AddPage(QStringLiteral("First"), first);
        tabs->AddPage(QStringLiteral("Second"), second);
        TFrameWnd::MarkAsView(first);
        TFrameWnd::MarkAsView(second);
        frame.resize(600, 400);
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        first->ActivateFirstControl();
        Settle();
    }

    // The text's characters, then the key, to the window.
    void Type(const char* text, Qt::Key key = Qt::Key_unknown, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        for (const char* c = text; *c; ++c)
            QTest::keyClick(frame.windowHandle(), *c);
        Settle();
        if (key != Qt::Key_unknown)
            Key(key, modifiers);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(frame.windowHandle(), key, modifiers);
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    framework::test::MessageRecorder messages;
    TFrameWnd frame;
    TTabWnd* tabs = new TTabWnd(&frame);
    SamplePage* first = new SamplePage;
    SamplePage* second = new SamplePage;
};

TEST_F(FormKeyboardTest, EnterPressesTheDefaultButtonOrTheFocusedOneButBreaksALineInNotes)
{
    EXPECT_EQ(QApplication::focusWidget(), first->field);
    EXPECT_EQ(frame.GetActiveView(), first);
    Type("abc", Qt::Key_Return);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(first->searched, (QStringList{QStringLiteral("abc"), QStringLiteral("abc")}));
    Key(Qt::Key_Tab);
    Type("one", Qt::Key_Return);
    Type("two", Qt::Key_Tab); // Tab leaves the notes instead of typing a tab
    EXPECT_EQ(first->notes->toPlainText(), QStringLiteral("one\ntwo"));
    ASSERT_EQ(QApplication::focusWidget(), first->choice);
    Type("Cell", Qt::Key_Return);
    EXPECT_EQ(first->searched.size(), 3);
    EXPECT_EQ(first->choice->count(), 2) << "Enter in an editable list adds no item";
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), first->other);
    Key(Qt::Key_Return);
    EXPECT_EQ(first->otherClicks, 1);
    EXPECT_EQ(first->searched.size(), 3);
    // A disabled default button is not pressed.
    first->search->setEnabled(false);
    first->field->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(first->searched.size(), 3);
}

TEST_F(FormKeyboardTest, AFailedLeaveCheckKeepsTheFocusAndThePage)
{
    Type("xyz", Qt::Key_Tab);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("No x!"));
    EXPECT_EQ(QApplication::focusWidget(), first->field);
    EXPECT_EQ(first->field->selectedText(), QStringLiteral("xyz"));

    // Neither Ctrl+Tab nor a click on the other tab leaves the page; one box each.
    Key(Qt::Key_Tab, Qt::ControlModifier);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, QPoint((tabs->TabLeft(1) + tabs->TabRight(1)) / 2, tabs->height() - 16));
    Settle();
    EXPECT_EQ(tabs->GetActiveTab(), 0);
    EXPECT_EQ(first->complaints, 3);
    EXPECT_FALSE(second->isVisible());

    // Corrected, the page lets go, and the other page gets the focus in its first field.
    Type("ok", Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(tabs->GetActiveTab(), 1);
    EXPECT_EQ(QApplication::focusWidget(), second->field);
    EXPECT_EQ(frame.GetActiveView(), second);
    // Focus sent back to a field of the hidden page brings that page forward.
    framework::ReturnFocusTo(first->field);
    EXPECT_EQ(tabs->GetActiveTab(), 0);
    EXPECT_EQ(QApplication::focusWidget(), first->field);
}

} // namespace
