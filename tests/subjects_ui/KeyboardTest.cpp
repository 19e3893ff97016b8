// The program from the keyboard alone, as a user types into the real window: every key
// goes to the main window and from there to whatever has the focus. The first key after
// login, Enter on the Subject tab, the lock-key panes, and a wrong date that must neither
// leave its tab nor reach the registry.

#include "FormFixture.h"

#include "support/RawRegistry.h"

#include "app/CDocumentCommands.h"
#include "app/CLoginDlg.h"
#include "app/CMainFrame.h"
#include "app/CQuorinApp.h"
#include "app/LockKeyPanes.h"
#include "framework/ControlId.h"
#include "framework/MessageRecorder.h"
#include "framework/ReportListCtrl.h"
#include "framework/TTabWnd.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormOther.h"
#include "subjects/ui/CFormSubject.h"
#include "subjects/ui/CSubjectLookupDlg.h"

#include "dalport/Clock.h"
#include "support/MainFrameHarness.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QWindow>

namespace quorin::test {
namespace {

using namespace res::subject;

// The user's hands on a window: keys go where the window's focus is, as on a desktop.
class Keyboard {
public:
    explicit Keyboard(QWidget* window) : m_window(window) {}

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        ASSERT_NE(m_window->windowHandle(), nullptr);
        QTest::keyClick(m_window->windowHandle(), key, modifiers);
        Settle();
    }
    void Type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClick(m_window->windowHandle(), c.toLatin1());
        Settle();
    }
    // Tab until the focus is in the widget (at most once round the form).
    bool TabTo(QWidget* widget)
    {
        for (int i = 0; i < 80 && QApplication::focusWidget() != widget; ++i)
            QTest::keyClick(m_window->windowHandle(), Qt::Key_Tab);
        Settle();
        return QApplication::focusWidget() == widget;
    }
    // Selects the field's text and types over it, without leaving the field.
    void Overtype(const QString& text)
    {
        Press(Qt::Key_A, Qt::ControlModifier);
        Type(text);
    }

    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

private:
    QWidget* m_window;
};

QLineEdit* EditOf(QWidget* form, int id)
{
    return framework::FindControlAs<QLineEdit>(form, id);
}

// ---------------------------------------------------------------------------------------
// The whole program: the login dialog, then the main window.

class KeyboardAppTest : public ::testing::Test {
protected:
    void SetUp() override { dalport::SetFixedClock(kTestNow); }
    void TearDown() override { dalport::ResetClock(); }

    // Logs in by typing into the login dialog: user name, Tab, password, Tab, server, Enter.
    void LogIn(CQuorinApp& app)
    {
        app.SetLoginRunner([this](CLoginDlg& dialog) {
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
        ASSERT_TRUE(app.GetDocument()->m_db.IsConnected());
        frame = app.m_pMainFrame;
        ASSERT_NE(frame, nullptr);
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
        Keyboard::Settle();
        subject = qobject_cast<CFormSubject*>(frame->m_pNodeSubject->GetWnd());
        ASSERT_NE(subject, nullptr);
    }

    TestRegistry registry;
    framework::test::MessageRecorder messages;
    CMainFrame* frame = nullptr;
    CFormSubject* subject = nullptr;
};

TEST_F(KeyboardAppTest, AfterLoginTheFirstTypedDigitLandsInSubjectId)
{
    CQuorinApp app;
    LogIn(app);
    EXPECT_TRUE(messages.shown.empty());
    QLineEdit* subjectId = EditOf(subject, IDC_SUBJECTID);
    EXPECT_EQ(QApplication::focusWidget(), subjectId);
    EXPECT_EQ(frame->GetActiveView(), subject) << "the Subject tab is the frame's active view";

    Keyboard keys(frame);
    keys.Press(Qt::Key_9);
    EXPECT_EQ(subjectId->text(), QStringLiteral("9"));

    // The window as the user sees it now, with the focus frame in SubjectId.
    const QString file = QStringLiteral(QUORIN_SCREENSHOT_DIR "/main-window-after-login.png");
    const QImage shot = frame->grab().toImage();
    ASSERT_TRUE(shot.save(file));
    EXPECT_EQ(QImage(file).size(), frame->size());
}

TEST_F(KeyboardAppTest, FileNewFromAnotherTabStartsOverInSubjectId)
{
    CQuorinApp app;
    LogIn(app);
    Keyboard keys(frame);
    auto top = qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd());
    ASSERT_NE(top, nullptr);
    // Ctrl+Tab goes to the Audiogram tab; the focus leaves the Subject tab with it.
    keys.Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(top->GetActiveTab(), 1);
    EXPECT_FALSE(subject->isAncestorOf(QApplication::focusWidget()));

    keys.Press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(messages.shown.empty()) << "nothing typed, nothing asked";
    EXPECT_EQ(top->GetActiveTab(), 0);
    EXPECT_EQ(QApplication::focusWidget(), EditOf(subject, IDC_SUBJECTID));
    EXPECT_EQ(frame->GetActiveView(), subject);
    // Whatever the cleared field shows is selected, so the typed id replaces it.
    keys.Type(QStringLiteral("12"));
    EXPECT_EQ(EditOf(subject, IDC_SUBJECTID)->text(), QStringLiteral("12"));
}

// ---------------------------------------------------------------------------------------
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
        top = qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd());
        keys = std::make_unique<Keyboard>(frame.get());
        Settle();
        ASSERT_EQ(QApplication::focusWidget(), Edit(IDC_SUBJECTID));
    }
    void TearDown() override
    {
        keys.reset();
        frame.reset();
        commands.reset();
        FormTest::TearDown();
    }

    QLineEdit* Edit(int id) const { return EditOf(subject, id); }
    QWidget* Control(int id) const { return framework::FindControl(subject, id); }

    // Loads a stored subject by typing its id and pressing Enter on the "?" button.
    void LoadByKeys(int id)
    {
        ASSERT_TRUE(keys->TabTo(Edit(IDC_SUBJECTID)));
        keys->Overtype(QString::number(id));
        keys->Press(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), Control(IDC_LOAD_BY_ID));
        keys->Press(Qt::Key_Return);
        ASSERT_EQ(doc->m_subject.SubjectID, id);
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    std::unique_ptr<Keyboard> keys;
    CFormSubject* subject = nullptr;
    TTabWnd* top = nullptr;
};

TEST_F(KeyboardFrameTest, ReturnInANameFieldOpensTheLookupWithTheTypedNames)
{
    const int john = AddSubject(QStringLiteral("SMITH"), QStringLiteral("JOHN"), 501, QStringLiteral("1970-05-06"));
    AddSubject(QStringLiteral("SMITHSON"), QStringLiteral("JOAN"), 502, QStringLiteral("1981-07-08"));
    AddSubject(QStringLiteral("SMITH"), QStringLiteral("ANN"), 503, QStringLiteral("1990-09-10"));

    ASSERT_TRUE(keys->TabTo(Edit(IDC_LAST)));
    keys->Type(QStringLiteral("SMITH, JO"));
    QStringList listed;
    QString lastPattern;
    QString firstPattern;
    OnNextModal([&](QWidget* modal) {
        auto dialog = qobject_cast<CSubjectLookupDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        CSubjectLookupDlg::SearchPatterns(dialog->m_strLast, dialog->m_strFirst, lastPattern, firstPattern);
        for (int row = 0; row < dialog->List()->GetItemCount(); ++row)
            listed << dialog->List()->GetItemText(row, 0);
        // The user picks SMITH, JOHN and presses Enter, which is OK in the dialog.
        CReportListCtrl* list = dialog->List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(static_cast<int>(listed.indexOf(QStringLiteral("SMITH, JOHN")))))
                              .center());
        Keyboard(dialog).Press(Qt::Key_Return);
        if (dialog->isVisible())
            Keyboard(dialog).Press(Qt::Key_Escape);
    });
    keys->Press(Qt::Key_Return);
    EXPECT_EQ(lastPattern, QStringLiteral("SMITH%"));
    EXPECT_EQ(firstPattern, QStringLiteral("JO%"));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("SMITH, JOHN"), QStringLiteral("SMITHSON, JOAN")}));
    ASSERT_EQ(doc->m_subject.SubjectID, john);
    EXPECT_EQ(Edit(IDC_FIRST)->text(), QStringLiteral("JOHN"));
    // The loaded subject is worked on from the top of the form: once the window is active
    // again (the window manager's part when the dialog closes), typing goes to SubjectId.
    EXPECT_EQ(frame->focusWidget(), Edit(IDC_SUBJECTID));
    EXPECT_EQ(frame->GetActiveView(), subject);
    ShowActive(frame.get());
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_SUBJECTID));
    EXPECT_EQ(Edit(IDC_SUBJECTID)->selectedText(), QString::number(john));
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

TEST_F(KeyboardFrameTest, ReturnOnAFocusedButtonPressesThatButtonNotTheDefault)
{
    const int id = AddSubject(QStringLiteral("BERG"), QStringLiteral("OLA"), 1234, QStringLiteral("1980-01-02"));
    bool lookupOpened = false;
    OnNextModal([&](QWidget* modal) {
        lookupOpened = modal != nullptr;
        if (modal)
            Keyboard(modal).Press(Qt::Key_Escape);
    });
    LoadByKeys(id); // Return on "?"
    Settle();
    EXPECT_FALSE(lookupOpened);
    EXPECT_EQ(Edit(IDC_LAST)->text(), QStringLiteral("BERG"));
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_SUBJECTID));
}

TEST_F(KeyboardFrameTest, ReturnInNotesAddsALineAndOpensNothing)
{
    auto notes = framework::FindControlAs<QPlainTextEdit>(subject, IDC_NOTES);
    ASSERT_TRUE(keys->TabTo(notes));
    bool dialogOpened = false;
    OnNextModal([&](QWidget* modal) {
        dialogOpened = modal != nullptr;
        if (modal)
            Keyboard(modal).Press(Qt::Key_Escape);
    });
    keys->Type(QStringLiteral("Call after 5"));
    keys->Press(Qt::Key_Return);
    keys->Type(QStringLiteral("Prefers email"));
    Settle();
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("Call after 5\nPrefers email"));
    EXPECT_FALSE(dialogOpened);
    EXPECT_EQ(QApplication::focusWidget(), notes);
}

TEST_F(KeyboardFrameTest, LockPanesShowTheStateAfterTheKeyNotBefore)
{
    // The platform's lock state as a keyboard keeps it: the key toggles the lock before
    // any program sees the key event. Scroll Lock is one this platform cannot tell.
    struct Locks {
        bool caps = false;
        bool num = true;
    } locks;
    frame->LockKeyPanes()->SetProbe([&locks] {
        return CLockKeyPanes::LockState{locks.caps, locks.num, std::nullopt};
    });
    auto pane = [this](int id) {
        return frame->m_wndStatusBar->findChild<QLabel*>(QStringLiteral("indicator%1").arg(id))->text();
    };
    EXPECT_EQ(pane(res::ID_INDICATOR_CAPS), QString());
    EXPECT_EQ(pane(res::ID_INDICATOR_NUM), QStringLiteral("NUM"));

    auto lockKey = [&](Qt::Key key, bool& lock) {
        lock = !lock;
        keys->Press(key);
    };
    lockKey(Qt::Key_CapsLock, locks.caps);
    EXPECT_EQ(pane(res::ID_INDICATOR_CAPS), QStringLiteral("CAP")) << "lit with the first press";
    lockKey(Qt::Key_CapsLock, locks.caps);
    EXPECT_EQ(pane(res::ID_INDICATOR_CAPS), QString()) << "Caps Lock twice leaves CAP dark";
    lockKey(Qt::Key_NumLock, locks.num);
    EXPECT_EQ(pane(res::ID_INDICATOR_NUM), QString());
    keys->Press(Qt::Key_ScrollLock);
    EXPECT_EQ(pane(res::ID_INDICATOR_SCRL), QString()) << "a lock nobody can tell stays blank";
}

TEST_F(KeyboardFrameTest, ABadBirthDateKeepsTheSubjectTabWhenTheOtherTabIsClicked)
{
    AddSubject(QStringLiteral("BERG"), QStringLiteral("OLA"), 1231, QStringLiteral("1980-01-02"));
    AddSubject(QStringLiteral("LUND"), QStringLiteral("ERIK"), 1232, QStringLiteral("1981-02-03"));
    const int third = AddSubject(QStringLiteral("NYGAARD"), QStringLiteral("SIV"), 1233, QStringLiteral("1982-03-04"));
    LoadByKeys(third);
    ASSERT_TRUE(keys->TabTo(Edit(IDC_BIRTH)));
    keys->Overtype(QStringLiteral("02/30/2020"));
    ui.ClearMessages();

    const int otherTab = top->GetTabIndex(frame->m_pNodeOther->GetWnd());
    QTest::mouseClick(top, Qt::LeftButton, {}, QPoint((top->TabLeft(otherTab) + top->TabRight(otherTab)) / 2, 16));
    Settle();
    EXPECT_EQ(top->GetActiveTab(), 0) << "the Subject tab stays in front";
    EXPECT_TRUE(subject->isVisible());
    ASSERT_EQ(ui.Texts(), QStringList{QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY.")});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_BIRTH));
    EXPECT_EQ(Edit(IDC_BIRTH)->selectedText(), QStringLiteral("02/30/2020"));

    // The same from the keyboard; the next key replaces the selected wrong date.
    ui.ClearMessages();
    keys->Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(top->GetActiveTab(), 0);
    EXPECT_EQ(ui.Texts().size(), 1);
    keys->Type(QStringLiteral("02/28/2020"));
    EXPECT_EQ(Edit(IDC_BIRTH)->text(), QStringLiteral("02/28/2020"));
    ui.ClearMessages();
    QTest::mouseClick(top, Qt::LeftButton, {}, QPoint((top->TabLeft(otherTab) + top->TabRight(otherTab)) / 2, 16));
    Settle();
    EXPECT_EQ(top->GetActiveTab(), otherTab) << "a good date lets the tab go";
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

TEST_F(KeyboardFrameTest, TabbingOutOfABadDateSaysSoOnceAndStays)
{
    ASSERT_TRUE(keys->TabTo(Edit(IDC_DATE_INITIAL)));
    keys->Overtype(QStringLiteral("13/01/2020"));
    keys->Press(Qt::Key_Tab);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY.")});
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_DATE_INITIAL));
    EXPECT_EQ(Edit(IDC_DATE_INITIAL)->selectedText(), QStringLiteral("13/01/2020"));
}

TEST_F(KeyboardFrameTest, CtrlSWithABadDateShowsOneBoxAndTheRegistryIsUnchanged)
{
    const int id = AddSubject(QStringLiteral("BERG"), QStringLiteral("OLA"), 1234, QStringLiteral("1980-01-02"));
    LoadByKeys(id);
    // Every table of the subject's save, as the registry's files hold them.
    auto stored = [this] {
        const RawRegistry raw(registry.Folder());
        return raw.dump("select * from subjects") + raw.dump("select * from cidata") +
               raw.dump("select * from speech") + raw.dump("select * from aud") + raw.dump("select * from audpoints");
    };
    const std::string before = stored();
    ASSERT_NE(before.find("1980-01-02"), std::string::npos) << before;
    ASSERT_TRUE(keys->TabTo(Edit(IDC_CITY)));
    keys->Type(QStringLiteral("Verona"));
    ASSERT_TRUE(keys->TabTo(Edit(IDC_BIRTH)));
    keys->Overtype(QStringLiteral("02/30/2020"));
    ui.ClearMessages();
    TakeErrors();

    keys->Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY.")});
    EXPECT_TRUE(TakeErrors().empty()) << "no statement reached the registry";
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_BIRTH));
    EXPECT_EQ(Edit(IDC_BIRTH)->selectedText(), QStringLiteral("02/30/2020"));
    EXPECT_EQ(doc->m_subject.Modified, 1) << "the edits are still to be saved";
    EXPECT_EQ(stored(), before) << "the registry is unchanged";

    // Mended, the same keys save.
    keys->Type(QStringLiteral("02/28/2020"));
    keys->Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.Texts().size(), 1);
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select CONVERT(char(10), Birthdate, 101) as b from subjects"), "b"),
              QStringLiteral("02/28/2020"));
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select City from subjects"), "City"), QStringLiteral("Verona"));
}

TEST_F(KeyboardFrameTest, ABadLetterDateIsRefusedBeforeTheSaveEvenFromAnotherTab)
{
    const int id = AddSubject(QStringLiteral("BERG"), QStringLiteral("OLA"), 1234, QStringLiteral("1980-01-02"));
    LoadByKeys(id);
    ASSERT_TRUE(keys->TabTo(Edit(IDC_LETTER_SENT)));
    keys->Overtype(QStringLiteral("4/31/2021"));
    ASSERT_TRUE(keys->TabTo(Edit(IDC_LETTER_RETURNED)));
    keys->Overtype(QStringLiteral("nr"));
    // Letter dates have no check of their own on leaving: Ctrl+Tab moves on.
    keys->Press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_NE(top->GetActiveTab(), 0);
    ui.ClearMessages();
    TakeErrors();

    keys->Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY.")});
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(top->GetActiveTab(), 0) << "the field's tab comes forward";
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_LETTER_SENT));
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select CONVERT(char(10), Sent, 101) as s from subjects"), "s"),
              QString());
}

} // namespace
} // namespace quorin::test
