// The Consent and Contact windows beside the main frame and the modal Letters window,
// driven by mouse and keyboard on Qt's offscreen platform; their lists printed to PDF
// and read back with pdftotext; pictures of the three on the demo registry.

#include "ReadBack.h"
#include "ConsentFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "registration/DialogRegistry.h"
#include "database/demo/DemoRegistry.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "reports/ui/CConsentReportDlg.h"
#include "reports/ui/CContactReportDlg.h"
#include "reports/ui/CLettersDlg.h"
#include "reports/ui/PrintList.h"
#include "reports/ui/ConsentReportTemplates.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormSubject.h"
#include "support/MainFrameHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace quorin::test {
namespace {

QString OutputPath(const QString& name)
{
    QDir().mkpath(QStringLiteral(QUORIN_OUTPUT_DIR));
    return QDir(QStringLiteral(QUORIN_OUTPUT_DIR)).filePath(name);
}

class ConsentWindowTest : public ConsentFixture {
protected:
    void SetUp() override
    {
        ConsentFixture::SetUp();
        res::RegisterConsentReportTemplates();
        RegisterDialogWindow<CConsentReportDlg>(UserInterface::Dialog::ReportConsent, WindowShown::Modeless);
        RegisterDialogWindow<CContactReportDlg>(UserInterface::Dialog::ReportContact, WindowShown::Modeless);
        RegisterDialogWindow<CLettersDlg>(UserInterface::Dialog::ReportLetters, WindowShown::Modal);
        ui.SetDialogRunner([this](UserInterface::Dialog kind) { return RunRegisteredDialog(kind, frame.get(), *doc); });

        ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
        ASSERT_TRUE(ShowMainFrame(*frame));
        subject = qobject_cast<CFormSubject*>(frame->m_pNodeSubject->GetWnd());
        ASSERT_NE(subject, nullptr);
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui.SetDialogRunner(nullptr);
        ConsentFixture::TearDown();
    }

    template <class Window>
    Window* Open(unsigned command, UserInterface::Dialog kind)
    {
        EXPECT_TRUE(frame->QueryCommand(command).IsEnabled());
        EXPECT_TRUE(frame->ExecuteCommand(command));
        Settle();
        auto window = dynamic_cast<Window*>(OpenModelessWindow(kind));
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        }
        return window;
    }

    void ActivateMain()
    {
        frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == frame.get(); }));
    }

    static QPoint RowCenter(CReportListCtrl* list, int row)
    {
        return list->visualItemRect(list->topLevelItem(row)).center();
    }
    static void DoubleClickRow(CReportListCtrl* list, int row)
    {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, RowCenter(list, row));
        Settle();
    }
    // A right click: the press picks the row, then the context-menu request.
    static void RightClick(CReportListCtrl* list, const QPoint& at)
    {
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
        Settle();
    }
    static QStringList Column(CReportListCtrl* list, int column)
    {
        QStringList out;
        for (int row = 0; row < list->GetItemCount(); ++row)
            out << list->GetItemText(row, column);
        return out;
    }
    QString StaticText(QWidget* window) const
    {
        QStringList texts;
        for (QWidget* child : window->findChildren<QWidget*>())
            texts << framework::WindowText(child);
        // The label in front of the list carries the mnemonic that reaches it.
        return texts.join(QLatin1Char('|')).remove(QLatin1Char('&'));
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    CFormSubject* subject = nullptr;
};

TEST_F(ConsentWindowTest, ConsentBesideTheMainWindowByMouseAndKeyboard)
{
    SubjectRow row;
    row.last = QStringLiteral("Smith, Jr.");
    row.first = QStringLiteral("John");
    row.parent = QStringLiteral("O'Hara, Ann");
    const int smith = Insert(row);
    row.last = QStringLiteral("OUT");
    row.first = QStringLiteral("IDA");
    row.returned = QDate(1901, 1, 1);
    const int out = Insert(row);

    CConsentReportDlg* window = Open<CConsentReportDlg>(res::ID_REPORTS_CONSENT, UserInterface::Dialog::ReportConsent);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Consent"));
    EXPECT_TRUE(StaticText(window).contains(QStringLiteral(
        "These Subjects have a 'Last Date of DB Consent' that is 24 or more months past, and they have not been "
        "contacted in the last 24 months.")))
        << StaticText(window).toStdString();
    CReportListCtrl* list = window->List();
    EXPECT_EQ(list->GetColumnCount(), 8);
    EXPECT_EQ(Column(list, 0), QStringList{QString::number(smith)});

    // The main window goes on taking typing.
    ActivateMain();
    QLineEdit* city = framework::FindControlAs<QLineEdit>(subject, res::subject::IDC_CITY);
    TypeInto(city, QStringLiteral("Verona"), false);
    EXPECT_EQ(city->text(), QStringLiteral("Verona"));
    EXPECT_TRUE(window->isVisible());
    doc->m_subject.Modified = 0;

    // The menu again raises the same window.
    EXPECT_EQ(Open<CConsentReportDlg>(res::ID_REPORTS_CONSENT, UserInterface::Dialog::ReportConsent), window);
    EXPECT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));

    // Right click with no row, then on the row: the address label.
    list->SetSelectionMark(-1);
    RightClick(list, QPoint(5, list->viewport()->height() - 5));
    RightClick(list, RowCenter(list, 0));
    EXPECT_EQ(ui.Texts(), (QStringList{QStringLiteral("Please make a selection!"),
                                       QStringLiteral("Smith, Jr., John \n 1 Main St Boston, MA  2115")}));
    ui.ClearMessages();

    // The check box by keyboard and by mouse: NR list, then the full list again.
    auto* check = framework::FindControlAs<QAbstractButton>(window, res::consent::IDC_SHOW_NR);
    ASSERT_NE(check, nullptr);
    check->setFocus(Qt::TabFocusReason);
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_EQ(window->m_nShowNR, 1);
    EXPECT_EQ(Column(list, 0), QStringList{QString::number(out)});
    EXPECT_EQ(Column(list, 7), QStringList{QStringLiteral("NR")});
    QTemporaryDir dir;
    const QString nrFile = dir.filePath(QStringLiteral("nr.csv"));
    ui.SaveFileNext(nrFile);
    Click(framework::FindControl(window, CReportDlg::IDC_SAVE));
    QFile nr(nrFile);
    ASSERT_TRUE(nr.open(QIODevice::ReadOnly));
    EXPECT_EQ(nr.readAll(), QByteArray("\xEF\xBB\xBF" "Consent List\r\n\r\nLastName,FirstName,Parent,Address,Date\r\n"
                                       "OUT,IDA,\"O'Hara, Ann\",\"1 Main St Boston, MA  2115\",01/01/2020,\r\n"));
    Click(check);
    EXPECT_EQ(window->m_nShowNR, 0);
    EXPECT_EQ(Column(list, 0), QStringList{QString::number(smith)});
    EXPECT_EQ(Column(list, 7), QStringList{QStringLiteral("01/01/2020")});

    // A double click loads the row's subject; the window stays.
    DoubleClickRow(list, 0);
    EXPECT_EQ(doc->m_subject.SubjectID, smith);
    EXPECT_EQ(framework::FindControlAs<QLineEdit>(subject, res::subject::IDC_LAST)->text(), QStringLiteral("SMITH, JR."));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();

    // Close.
    QPointer<CConsentReportDlg> guard = window;
    Click(framework::FindControl(window, 1));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard);
}

TEST_F(ConsentWindowTest, ContactRemovalByRightClick)
{
    SubjectRow row;
    row.last = QStringLiteral("ABLE");
    const int able = Insert(row);
    AddParticipation(able, QDate(2025, 1, 1), 1, 1, QStringLiteral("moved"));
    row.last = QStringLiteral("BAKER");
    const int baker = Insert(row);
    AddParticipation(baker, QDate(2025, 2, 1), 1, 1, QStringLiteral("no answer"));

    CContactReportDlg* window = Open<CContactReportDlg>(res::ID_REPORTS_CONTACT, UserInterface::Dialog::ReportContact);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(StaticText(window).contains(
        QStringLiteral("These Subjects could not be contacted during their last release.")));
    CReportListCtrl* list = window->List();
    ASSERT_EQ(list->GetItemCount(), 3);
    EXPECT_EQ(list->GetItemText(0, 1), QStringLiteral("Name"));

    RightClick(list, RowCenter(list, 0));
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Please make a selection!")});
    ui.ClearMessages();

    const int ableRow = static_cast<int>(Column(list, 0).indexOf(QString::number(able)));
    ui.AnswerNext(UserInterface::Answer::No);
    RightClick(list, RowCenter(list, ableRow));
    EXPECT_EQ(list->GetItemCount(), 3);
    ui.AnswerNext(UserInterface::Answer::Yes);
    RightClick(list, RowCenter(list, ableRow));
    EXPECT_EQ(ui.Texts(), QStringList(2, QStringLiteral("Do you want to remove this person from the list?")));
    EXPECT_EQ(Column(list, 0), (QStringList{QString(), QString::number(baker)}));
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from participationhistory where Contacted = 4")),
              1);

    DoubleClickRow(list, 1);
    EXPECT_EQ(doc->m_subject.SubjectID, baker);
}

TEST_F(ConsentWindowTest, LettersWithTypedDates)
{
    SubjectRow row;
    row.sent = QDate(2012, 3, 1);
    row.returned = QDate(2012, 4, 1);
    Insert(row);
    row.sent = QDate(2015, 3, 1);
    row.returned = QDate(1901, 1, 1);
    Insert(row);
    row.sent = QDate();
    row.returned = QDate();
    Insert(row);
    Insert(row);

    QStringList sentCounts;
    QStringList shares;
    QString typedTo;
    int rowsBeforeQuery = -1;
    OnNextModal([&](QWidget* modal) {
        auto* window = dynamic_cast<CLettersDlg*>(modal);
        ASSERT_NE(window, nullptr);
        auto* from = framework::FindControlAs<QLineEdit>(window, CReportDlg::IDC_FROM);
        auto* to = framework::FindControlAs<QLineEdit>(window, CReportDlg::IDC_TO);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        EXPECT_EQ(from->text(), QStringLiteral("1/1/2000"));
        typedTo = to->text();
        rowsBeforeQuery = window->List()->GetItemCount();
        // Type the range, Enter runs Query (the default button).
        from->selectAll();
        QTest::keyClicks(from, QStringLiteral("1/1/2010"));
        to->selectAll();
        QTest::keyClicks(to, QStringLiteral("12/31/2013"));
        QTest::keyClick(to, Qt::Key_Return);
        Settle();
        sentCounts = Column(window->List(), 2);
        shares = Column(window->List(), 3);
        // Escape closes it.
        QTest::keyClick(window, Qt::Key_Escape);
    });
    EXPECT_TRUE(frame->QueryCommand(res::ID_REPORTS_LETTERS).IsEnabled());
    frame->ExecuteCommand(res::ID_REPORTS_LETTERS);
    Settle();
    EXPECT_EQ(typedTo, doc->Today());
    EXPECT_EQ(rowsBeforeQuery, 0) << "the counts wait for Query";
    EXPECT_EQ(sentCounts, (QStringList{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                                       QStringLiteral("0"), QStringLiteral("0")}));
    EXPECT_EQ(shares.value(0), QStringLiteral("25.00 %"));
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

// Many rows over several pages: the first row is the heading of every page.
TEST_F(ConsentWindowTest, ConsentListPrintedToPdf)
{
    SubjectRow row;
    for (int i = 0; i < 90; ++i) {
        row.last = QStringLiteral("NAME%1").arg(i, 3, 10, QLatin1Char('0'));
        row.lastConsent = QDate(2018, 1, 1).addDays(i);
        Insert(row);
    }
    CConsentReportDlg* window = Open<CConsentReportDlg>(res::ID_REPORTS_CONSENT, UserInterface::Dialog::ReportConsent);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->List()->GetItemCount(), 90);
    const QString pdf = OutputPath(QStringLiteral("consent-list.pdf"));
    QFile::remove(pdf);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(PrintListTo(*doc, printer, QStringLiteral("Consent List"), *window->List()));

    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
    const int pages = pagesLine.match(info).captured(1).toInt();
    EXPECT_GE(pages, 2) << info.toStdString();
    const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QStringList pageTexts = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pageTexts.size(), pages);
    int firstRowSeen = 0;
    for (const QString& page : pageTexts) {
        const QStringList lines = page.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        int headingLine = -1;
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(QStringLiteral("NAME000"))) {
                ++firstRowSeen;
                if (headingLine < 0)
                    headingLine = i;
            }
        EXPECT_GE(headingLine, 0) << "row 0 on every page";
        EXPECT_LE(headingLine, 2) << "at the top";
        EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("1 Main St Boston")));
    }
    EXPECT_EQ(firstRowSeen, pages) << "never among the body lines";
    EXPECT_TRUE(text.contains(QStringLiteral("NAME089"))) << "the last row printed";
    EXPECT_TRUE(text.contains(QStringLiteral("01/01/2020"))) << "the date-returned column on the page";
}

// Pictures of the three windows on the demo registry.
TEST_F(ConsentWindowTest, PicturesOnTheDemoRegistry)
{
    demo::FillDemoRegistry(registry.Folder(), 2000, demo::kDefaultDemoSeed);
    CConsentReportDlg* consent =
        Open<CConsentReportDlg>(res::ID_REPORTS_CONSENT, UserInterface::Dialog::ReportConsent);
    ASSERT_NE(consent, nullptr);
    EXPECT_GT(consent->List()->GetItemCount(), 0);
    EXPECT_TRUE(consent->grab().save(OutputPath(QStringLiteral("consent-window.png"))));
    CContactReportDlg* contact = Open<CContactReportDlg>(res::ID_REPORTS_CONTACT, UserInterface::Dialog::ReportContact);
    ASSERT_NE(contact, nullptr);
    EXPECT_GT(contact->List()->GetItemCount(), 1);
    EXPECT_TRUE(contact->grab().save(OutputPath(QStringLiteral("contact-window.png"))));
    OnNextModal([](QWidget* modal) {
        auto* window = dynamic_cast<CLettersDlg*>(modal);
        ASSERT_NE(window, nullptr);
        Click(framework::FindControl(window, CReportDlg::IDC_QUERY));
        EXPECT_EQ(window->List()->GetItemCount(), 5);
        EXPECT_TRUE(window->grab().save(OutputPath(QStringLiteral("letters-window.png"))));
        Click(framework::FindControl(window, res::consent::IDC_CLOSE));
    });
    frame->ExecuteCommand(res::ID_REPORTS_LETTERS);
    Settle();
    EXPECT_TRUE(TakeErrors().empty());
}

} // namespace
} // namespace quorin::test
