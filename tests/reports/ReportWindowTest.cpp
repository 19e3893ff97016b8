// A report window made for the test, opened by its Reports command beside the main
// frame: it stays modeless while the main window takes typing, one per kind raised and
// refilled by its command, gone with the frame; a double click (or Enter) on a row opens
// that subject, a heading row is no selection, and unsaved changes are offered for
// saving first.

#include "subjects_ui/FormFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "registration/DialogRegistry.h"
#include "rules/SqlText.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "framework/TemplateRegistry.h"
#include "reports/ui/CReportDlg.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormSubject.h"
#include "support/MainFrameHarness.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace quorin::test {
namespace {

constexpr int kTestReportTemplate = 9019;

framework::DialogTemplate TestReportTemplate()
{
    using namespace framework;
    DialogTemplate form;
    form.id = kTestReportTemplate;
    form.caption = QStringLiteral("Test Report");
    form.cx = 320;
    form.cy = 200;
    form.controls = {
        {CReportDlg::IDC_LIST, ControlKind::ReportList, {}, 7, 7, 240, 160, StyleNone, {}},
        {-1, ControlKind::Static, QStringLiteral("From:"), 7, 176, 20, 8, StyleNone, {}},
        {CReportDlg::IDC_FROM, ControlKind::Edit, {}, 30, 174, 50, 12, StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("To:"), 90, 176, 14, 8, StyleNone, {}},
        {CReportDlg::IDC_TO, ControlKind::Edit, {}, 106, 174, 50, 12, StyleAutoHScroll, {}},
        {CReportDlg::IDC_QUERY, ControlKind::PushButton, QStringLiteral("Query"), 260, 7, 50, 14, StyleNone, {}},
        {CReportDlg::IDC_PRINT, ControlKind::PushButton, QStringLiteral("Print"), 260, 25, 50, 14, StyleNone, {}},
        {1, ControlKind::DefPushButton, QStringLiteral("Close"), 260, 43, 50, 14, StyleNone, {}},
    };
    return form;
}

// A heading row, then one row per subject entered between From and To, SubjectId in
// column 0.
class CTestReportDlg : public CReportDlg {
public:
    CTestReportDlg(CQuorinDoc& document, QWidget* parent)
        : CReportDlg(kTestReportTemplate, document, QStringLiteral("Test List"), parent)
    {
        SetDateRangeDefaults(QStringLiteral("1/1/2000"), true);
        OpenSubjectsOnDoubleClick();
    }
    static inline int fills = 0;

protected:
    std::vector<Column> Columns() const override { return {{QString(), 80}, {QString(), 160}}; }
    void BuildList(CReportQuery& query, CReportList& list) override
    {
        ++fills;
        const int heading = list.AppendItem(QString());
        list.SetItemText(heading, 1, QStringLiteral("NAME"));
        query.Run(QStringLiteral("select SubjectId, Lastname from subjects where InitialDateofConsent between '%1' "
                                 "and '%2' order by Lastname")
                      .arg(sql::Text(m_strFrom), sql::Text(m_strTo)));
        for (; !query.IsEOF(); query.MoveNext()) {
            const int row = list.AppendItem(QString::number(query.Int("SubjectId")));
            list.SetItemText(row, 1, query.Text("Lastname"));
        }
    }
};

class ReportWindowTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        framework::RegisterDialogTemplate(TestReportTemplate());
        RegisterDialogWindow<CTestReportDlg>(UserInterface::Dialog::ReportConsent, WindowShown::Modeless);
        ui.SetDialogRunner([this](UserInterface::Dialog kind) { return RunRegisteredDialog(kind, frame.get(), *doc); });
        abel = AddSubject(QStringLiteral("ABEL"), QStringLiteral("ANN"), 101, QStringLiteral("2001-02-03"));
        zhao = AddSubject(QStringLiteral("ZHAO"), QStringLiteral("LI"), 103, QStringLiteral("1980-06-07"));

        ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
        ASSERT_TRUE(ShowMainFrame(*frame));
        subject = qobject_cast<CFormSubject*>(frame->m_pNodeSubject->GetWnd());
        ASSERT_NE(subject, nullptr);
        CTestReportDlg::fills = 0;
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui.SetDialogRunner(nullptr);
        FormTest::TearDown();
    }

    CTestReportDlg* OpenByCommand()
    {
        EXPECT_TRUE(frame->QueryCommand(res::ID_REPORTS_CONSENT).IsEnabled());
        EXPECT_TRUE(frame->ExecuteCommand(res::ID_REPORTS_CONSENT));
        Settle();
        auto window = dynamic_cast<CTestReportDlg*>(OpenModelessWindow(UserInterface::Dialog::ReportConsent));
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        }
        return window;
    }

    // A window with an open child window counts itself active before the switch is done;
    // wait for the application to say so.
    void ActivateMain()
    {
        frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == frame.get(); }));
    }

    QLineEdit* SubjectEdit(int id) const { return framework::FindControlAs<QLineEdit>(subject, id); }

    static void DoubleClickRow(CReportListCtrl* list, int row)
    {
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        ASSERT_TRUE(rect.isValid()) << "row " << row << " is on screen";
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        Settle();
    }

    static QStringList Column(CReportListCtrl* list, int column)
    {
        QStringList out;
        for (int row = 0; row < list->GetItemCount(); ++row)
            out << list->GetItemText(row, column);
        return out;
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    CFormSubject* subject = nullptr;
    int abel = 0;
    int zhao = 0;
};

TEST_F(ReportWindowTest, ModelessBesideAMainWindowThatStillTakesTyping)
{
    CTestReportDlg* window = OpenByCommand();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window->parentWidget(), frame.get()) << "a child of the main frame";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Test Report"));
    EXPECT_EQ(Column(window->List(), 1), (QStringList{QStringLiteral("NAME"), QStringLiteral("ABEL"),
                                                      QStringLiteral("ZHAO")}));
    EXPECT_EQ(window->List()->GetColumnWidth(0), 80);
    EXPECT_EQ(window->m_strFrom, QStringLiteral("1/1/2000"));
    EXPECT_EQ(window->m_strTo, doc->Today());
    EXPECT_EQ(framework::WindowText(framework::FindControl(window, CReportDlg::IDC_TO)), QStringLiteral("6/15/2026"));

    // The keyboard starts in the list and Tab goes on to From.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(QApplication::focusWidget(), window->List());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), framework::FindControl(window, CReportDlg::IDC_FROM));

    // The main window takes typing while the report stays open.
    ActivateMain();
    TypeInto(SubjectEdit(res::subject::IDC_CITY), QStringLiteral("Verona"), false);
    EXPECT_EQ(SubjectEdit(res::subject::IDC_CITY)->text(), QStringLiteral("Verona"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    doc->m_subject.Modified = 0; // nothing to keep
}

TEST_F(ReportWindowTest, ItsCommandRaisesTheOpenWindowAndFillsItAgain)
{
    QPointer<CTestReportDlg> first = OpenByCommand();
    ASSERT_TRUE(first);
    EXPECT_EQ(CTestReportDlg::fills, 1);

    // A subject added meanwhile: the command runs the same fill as the opening did.
    AddSubject(QStringLiteral("MOORE"), QStringLiteral("JO"), 104, QStringLiteral("1990-01-01"));
    ActivateMain();
    ASSERT_NE(QApplication::activeWindow(), first.data());
    CTestReportDlg* again = OpenByCommand();
    EXPECT_EQ(again, first.data()) << "one window of a kind";
    EXPECT_TRUE(QTest::qWaitFor([&first] { return QApplication::activeWindow() == first.data(); }))
        << "brought to the front";
    EXPECT_EQ(CTestReportDlg::fills, 2);
    EXPECT_EQ(Column(first->List(), 1), (QStringList{QStringLiteral("NAME"), QStringLiteral("ABEL"),
                                                     QStringLiteral("MOORE"), QStringLiteral("ZHAO")}));

    // Query takes a typed range.
    TypeInto(framework::FindControlAs<QLineEdit>(first, CReportDlg::IDC_FROM), QStringLiteral("1/1/2021"));
    Click(framework::FindControl(first, CReportDlg::IDC_QUERY));
    EXPECT_EQ(first->List()->GetItemCount(), 1) << "only the heading row: every subject consented in 2020";

    // Escape closes it; the command then makes a new one.
    first->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first));
    QTest::keyClick(first->List(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first) << "a closed window is gone";
    CTestReportDlg* fresh = OpenByCommand();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->m_strFrom, QStringLiteral("1/1/2000"));
    EXPECT_EQ(fresh->List()->GetItemCount(), 4);
}

TEST_F(ReportWindowTest, ClosedWithTheFrame)
{
    QPointer<CTestReportDlg> window = OpenByCommand();
    ASSERT_TRUE(window);
    frame.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_EQ(OpenModelessWindow(UserInterface::Dialog::ReportConsent), nullptr);
}

TEST_F(ReportWindowTest, DoubleClickOpensTheSubjectOfTheRowNotOfTheHeading)
{
    CTestReportDlg* window = OpenByCommand();
    ASSERT_NE(window, nullptr);
    CReportListCtrl* list = window->List();

    DoubleClickRow(list, 0);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Please make a selection!")});
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Default);
    EXPECT_EQ(doc->m_subject.SubjectID, -1) << "the heading row loads nothing (no subject 0)";
    ui.ClearMessages();

    DoubleClickRow(list, 2);
    EXPECT_EQ(doc->m_subject.SubjectID, zhao);
    EXPECT_EQ(SubjectEdit(res::subject::IDC_LAST)->text(), QStringLiteral("ZHAO"));
    EXPECT_TRUE(window->isVisible()) << "the report stays open";

    // From the keyboard: arrow to the row, Enter.
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Up);
    ASSERT_EQ(list->GetSelectionMark(), 1);
    QTest::keyClick(list, Qt::Key_Return);
    Settle();
    EXPECT_EQ(doc->m_subject.SubjectID, abel);
    EXPECT_TRUE(window->isVisible()) << "Enter in the list is not the Close button";
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();

    // A double click in the empty part of a list with no mark is no selection either.
    list->DeleteAllItems();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 5));
    Settle();
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Please make a selection!")});
    EXPECT_EQ(doc->m_subject.SubjectID, abel);
}

TEST_F(ReportWindowTest, UnsavedChangesAreOfferedForSavingFirst)
{
    CTestReportDlg* window = OpenByCommand();
    ASSERT_NE(window, nullptr);
    const QString saveQuestion = QStringLiteral("Save Current Subject?");

    // Yes with a save that stops: the required fields are missing, nothing is loaded.
    ActivateMain();
    TypeInto(SubjectEdit(res::subject::IDC_CITY), QStringLiteral("Lisbon"));
    ASSERT_EQ(doc->m_subject.Modified, 1);
    ui.AnswerNext(UserInterface::Answer::Yes);
    window->activateWindow();
    DoubleClickRow(window->List(), 1);
    ASSERT_GE(ui.Messages().size(), 2u) << "the save says why it stopped";
    EXPECT_EQ(ui.Messages()[0].text, saveQuestion);
    EXPECT_EQ(ui.Messages()[0].buttons, UserInterface::Buttons::YesNoCancel);
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Default);
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
    EXPECT_EQ(SubjectEdit(res::subject::IDC_CITY)->text(), QStringLiteral("Lisbon")) << "the typing is kept";
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from subjects")), 2);
    ui.ClearMessages();

    // No: the changes are dropped and the subject loads.
    ui.AnswerNext(UserInterface::Answer::No);
    DoubleClickRow(window->List(), 1);
    EXPECT_EQ(ui.Texts(), QStringList{saveQuestion});
    EXPECT_EQ(doc->m_subject.SubjectID, abel);
    EXPECT_EQ(SubjectEdit(res::subject::IDC_CITY)->text(), QString());
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from subjects where City = 'Lisbon'")), 0);
    ui.ClearMessages();

    // Yes: the changes are stored, then the other subject loads.
    ActivateMain();
    TypeInto(SubjectEdit(res::subject::IDC_CITY), QStringLiteral("Porto"));
    ASSERT_EQ(doc->m_subject.Modified, 1);
    ui.AnswerNext(UserInterface::Answer::Yes);
    DoubleClickRow(window->List(), 2);
    EXPECT_EQ(ui.Texts(), QStringList{saveQuestion});
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select City from subjects where SubjectId = %1").arg(abel), "City"),
              QStringLiteral("Porto"));
    EXPECT_EQ(doc->m_subject.SubjectID, zhao);
    EXPECT_EQ(doc->m_subject.Modified, 0);
}

TEST_F(ReportWindowTest, PrintCancelledPrintsNothing)
{
    CTestReportDlg* window = OpenByCommand();
    ASSERT_NE(window, nullptr);
    bool dialogSeen = false;
    OnNextModal([&dialogSeen](QWidget* modal) {
        dialogSeen = modal != nullptr;
        if (modal)
            QTest::keyClick(modal, Qt::Key_Escape);
    });
    Click(framework::FindControl(window, CReportDlg::IDC_PRINT));
    EXPECT_TRUE(dialogSeen) << "Print asks for a printer first";
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ReportWindowTest, PrintOffersPdfBesideThePrinters)
{
    CTestReportDlg* window = OpenByCommand();
    ASSERT_NE(window, nullptr);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("test-list.pdf"));
    bool pdfOffered = false;
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        for (QComboBox* combo : modal->findChildren<QComboBox*>()) {
            const int index = combo->findText(QStringLiteral("Print to File (PDF)"));
            if (index >= 0) {
                pdfOffered = true;
                combo->setCurrentIndex(index);
            }
        }
        if (auto file = modal->findChild<QLineEdit*>(QStringLiteral("filename")))
            file->setText(pdf);
        if (pdfOffered)
            QMetaObject::invokeMethod(modal, "accept");
        else
            QTest::keyClick(modal, Qt::Key_Escape);
    });
    Click(framework::FindControl(window, CReportDlg::IDC_PRINT));
    ASSERT_TRUE(pdfOffered);
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the report went to the PDF file";
    EXPECT_TRUE(file.read(5) == "%PDF-");
}

} // namespace
} // namespace quorin::test
