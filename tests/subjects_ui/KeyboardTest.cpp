// The Subject tab from the keyboard alone, every key sent to the main window: the first key
// after login, the Tab order, Enter for the lookup, and a wrong date kept from the registry.

#include "FormFixture.h"

#include "support/MainFrameHarness.h"
#include "support/RawRegistry.h"

#include "app/CLoginDlg.h"
#include "app/CQuorinApp.h"
#include "framework/ControlId.h"
#include "framework/MessageRecorder.h"
#include "framework/ReportListCtrl.h"
#include "framework/TTabWnd.h"
#include "subjects/ui/CFormSubject.h"
#include "subjects/ui/CSubjectLookupDlg.h"
#include "subjects/ui/SubjectTemplates.h"

#include "dalport/Clock.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <QWindow>

namespace quorin::test {
namespace {

using namespace res::subject;

// The user's hands on a window: keys go where the window's focus is, as on a desktop.
class Keyboard {
public:
    explicit Keyboard(QWidget* window) : m_window(window->windowHandle()) {}

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_window, key, modifiers);
        FormTest::Settle();
    }
    void Type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClick(m_window, c.toLatin1());
        FormTest::Settle();
    }
    // Tab until the focus is in the widget (at most once round the form).
    bool TabTo(QWidget* widget)
    {
        for (int i = 0; i < 80 && QApplication::focusWidget() != widget; ++i)
            QTest::keyClick(m_window, Qt::Key_Tab);
        FormTest::Settle();
        return QApplication::focusWidget() == widget;
    }
    // Selects the field's text and types over it, without leaving the field.
    void Overtype(const QString& text)
    {
        Press(Qt::Key_A, Qt::ControlModifier);
        Type(text);
    }

private:
    QWindow* m_window;
};

QLineEdit* EditOf(QWidget* form, int id) { return framework::FindControlAs<QLineEdit>(form, id); }

// The whole program: the login dialog typed into, then the main window.
TEST(KeyboardApp, AfterLoginTheFirstTypedDigitLandsInSubjectId)
{
    struct FixedClock {
        FixedClock() { dalport::SetFixedClock(kTestNow); }
        ~FixedClock() { dalport::ResetClock(); }
    } fixedClock;
    TestRegistry registry;
    framework::test::MessageRecorder messages;
    CQuorinApp app;
    // As with a registry at the default place: the login dialog opens empty.
    app.SetFirstStartRunner([] { return std::optional(quorin::LoginFields{}); });
    app.SetLoginRunner([&registry](CLoginDlg& dialog) {
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        Keyboard keys(&dialog);
        keys.Type(QString::fromLatin1(kTestLogin));
        keys.Press(Qt::Key_Tab);
        keys.Type(QString::fromLatin1(kTestPassword));
        keys.Press(Qt::Key_Tab);
        keys.Type(QString::fromStdString(registry.Folder()));
        keys.Press(Qt::Key_Return);
        return dialog.result() == QDialog::Accepted ? CTemplateDialog::IDOK : CTemplateDialog::IDCANCEL;
    });
    ASSERT_EQ(app.InitInstance(), CQuorinApp::kRun);
    QSettings settings;
    EXPECT_EQ(settings.value(QStringLiteral("Login/Server")).toString(), QString::fromStdString(registry.Folder()))
        << "the next start names the server that connected";
    settings.remove(QStringLiteral("Login/Server"));
    CMainFrame* frame = app.m_pMainFrame;
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    FormTest::Settle();
    auto* subject = qobject_cast<CFormSubject*>(frame->m_pNodeSubject->GetWnd());
    ASSERT_NE(subject, nullptr);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QApplication::focusWidget(), EditOf(subject, IDC_SUBJECTID));
    EXPECT_EQ(frame->GetActiveView(), subject) << "the Subject tab is the frame's active view";
    Keyboard(frame).Press(Qt::Key_9);
    EXPECT_EQ(EditOf(subject, IDC_SUBJECTID)->text(), QStringLiteral("9"));
}

// The main window over the test's document (the scripted user interface records every
// box); the window's first showing puts the focus where the user starts.
class KeyboardFrameTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
        ASSERT_TRUE(ShowMainFrame(*frame));
        subject = qobject_cast<CFormSubject*>(frame->m_pNodeSubject->GetWnd());
        ASSERT_NE(subject, nullptr);
        keys = std::make_unique<Keyboard>(frame.get());
        Settle();
        ASSERT_EQ(QApplication::focusWidget(), Edit(IDC_SUBJECTID));
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        FormTest::TearDown();
    }

    QLineEdit* Edit(int id) const { return EditOf(subject, id); }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    std::unique_ptr<Keyboard> keys;
    CFormSubject* subject = nullptr;
};

TEST_F(KeyboardFrameTest, ReturnInANameFieldOpensTheLookupWithTheTypedNamesAndTabWalksTheNames)
{
    const int john = AddSubject(QStringLiteral("SMITH"), QStringLiteral("JOHN"), 501, QStringLiteral("1970-05-06"));
    AddSubject(QStringLiteral("SMITHSON"), QStringLiteral("JOAN"), 502, QStringLiteral("1981-07-08"));
    AddSubject(QStringLiteral("SMITH"), QStringLiteral("ANN"), 503, QStringLiteral("1990-09-10"));

    ASSERT_TRUE(keys->TabTo(Edit(IDC_LAST)));
    keys->Type(QStringLiteral("SMITH, JO"));
    QStringList listed;
    OnNextModal([&](QWidget* modal) {
        auto dialog = qobject_cast<CSubjectLookupDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        CReportListCtrl* list = dialog->List();
        for (int row = 0; row < list->GetItemCount(); ++row)
            listed << list->GetItemText(row, 0);
        // The user picks SMITH, JOHN and presses Enter, which is OK in the dialog.
        const int row = static_cast<int>(listed.indexOf(QStringLiteral("SMITH, JOHN")));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
        Keyboard(dialog).Press(Qt::Key_Return);
        if (dialog->isVisible())
            Keyboard(dialog).Press(Qt::Key_Escape);
    });
    keys->Press(Qt::Key_Return);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("SMITH, JOHN"), QStringLiteral("SMITHSON, JOAN")}));
    ASSERT_EQ(doc->m_subject.SubjectID, john);
    EXPECT_EQ(Edit(IDC_FIRST)->text(), QStringLiteral("JOHN"));
    // The loaded subject is worked on from the top of the form, and Tab walks down it.
    ShowActive(frame.get());
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_SUBJECTID));
    ASSERT_TRUE(keys->TabTo(Edit(IDC_LAST)));
    for (int id : {IDC_FIRST, IDC_PARENT, IDC_UNIT}) {
        keys->Press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Edit(id)) << id;
    }
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

// A bad birth date is kept in its field; a bad letter date, which has no check on leaving,
// brings its tab forward from another one. Either way one box and nothing stored.
TEST_F(KeyboardFrameTest, CtrlSWithABadBirthOrLetterDateShowsOneBoxAndTheRegistryIsUnchanged)
{
    // Loaded by typing its id and pressing Enter on the "?" button.
    const int id = AddSubject(QStringLiteral("BERG"), QStringLiteral("OLA"), 1234, QStringLiteral("1980-01-02"));
    keys->Overtype(QString::number(id));
    keys->Press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), framework::FindControl(subject, IDC_LOAD_BY_ID));
    keys->Press(Qt::Key_Return);
    ASSERT_EQ(doc->m_subject.SubjectID, id);
    // Every table of the subject's save, as the registry's files hold them.
    auto stored = [this] {
        const RawRegistry raw(registry.Folder());
        return raw.dump("select * from subjects") + raw.dump("select * from cidata") +
               raw.dump("select * from speech") + raw.dump("select * from aud") + raw.dump("select * from audpoints");
    };
    const std::string before = stored();
    ASSERT_NE(before.find("1980-01-02"), std::string::npos) << before;
    const QStringList invalid{QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY.")};
    ASSERT_TRUE(keys->TabTo(Edit(IDC_CITY)));
    keys->Type(QStringLiteral("Verona"));
    ASSERT_TRUE(keys->TabTo(Edit(IDC_BIRTH)));
    keys->Overtype(QStringLiteral("02/30/2020"));
    ui.ClearMessages();
    TakeErrors();
    keys->Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.Texts(), invalid);
    EXPECT_TRUE(TakeErrors().empty()) << "no statement reached the registry";
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_BIRTH));
    EXPECT_EQ(Edit(IDC_BIRTH)->selectedText(), QStringLiteral("02/30/2020"));
    EXPECT_EQ(doc->m_subject.Modified, 1) << "the edits are still to be saved";
    EXPECT_EQ(stored(), before) << "the registry is unchanged";

    keys->Type(QStringLiteral("02/28/2020"));
    ASSERT_TRUE(keys->TabTo(Edit(IDC_LETTER_SENT)));
    keys->Overtype(QStringLiteral("4/31/2021"));
    ASSERT_TRUE(keys->TabTo(Edit(IDC_LETTER_RETURNED)));
    keys->Overtype(QStringLiteral("nr"));
    keys->Press(Qt::Key_Tab, Qt::ControlModifier);
    auto* top = qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd());
    ASSERT_NE(top->GetActiveTab(), 0);
    ui.ClearMessages();
    keys->Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.Texts(), invalid);
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(top->GetActiveTab(), 0) << "the field's tab comes forward";
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_LETTER_SENT));
    EXPECT_EQ(stored(), before);

    // Mended, the same keys save.
    keys->Overtype(QStringLiteral("04/30/2021"));
    keys->Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.Texts(), invalid);
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select CONVERT(char(10), Birthdate, 101) as b from subjects"), "b"),
              QStringLiteral("02/28/2020"));
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select City from subjects"), "City"), QStringLiteral("Verona"));
}

} // namespace
} // namespace quorin::test
