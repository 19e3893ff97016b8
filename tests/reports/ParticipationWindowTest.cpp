// The Participation, Feedback and Closed Dataset windows opened by their Reports
// commands beside the main frame and driven by keys and mouse: typed periods, the
// dataset typed and chosen, the IRB and dataset chosen from their lists, the files saved
// and read back by Python, the lists printed to PDF and read back by pdftotext,
// reopening the loaded dataset; and each window pictured on the demo registry.

#include "ParticipationFixture.h"
#include "ReadBack.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "registration/DialogRegistry.h"
#include "app/QtUserInterface.h"
#include "database/demo/DemoRegistry.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "reports/ui/CClosedDatasetDlg.h"
#include "reports/ui/CFeedbackDlg.h"
#include "reports/ui/CParticipationDlg.h"
#include "document/CMemoryReportList.h"
#include "reports/query/ParticipationReport.h"
#include "reports/ui/PrintList.h"
#include "reports/query/ReportFill.h"
#include "reports/ui/ParticipationReportTemplates.h"
#include "resources/Resource.h"
#include "support/MainFrameHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

namespace quorin::test {
namespace {

using res::participation::IDC_DATASET;
using res::participation::IDC_IRB;
using res::participation::IDC_REOPEN;

const QString kIrb = QStringLiteral("IRB 7");
const QString kDataset = QStringLiteral("O'Hara, pilot");

class ParticipationWindowTest : public ParticipationFixture {
protected:
    void SetUp() override
    {
        ParticipationFixture::SetUp();
        QDir().mkpath(QStringLiteral(QUORIN_OUTPUT_DIR));
        if (WithSmallSet())
            AddSmallSet();
        ui.SetDialogRunner([this](UserInterface::Dialog kind) { return RunRegisteredDialog(kind, frame.get(), *doc); });
        ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
        ASSERT_TRUE(ShowMainFrame(*frame));
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui.SetDialogRunner(nullptr);
        ParticipationFixture::TearDown();
    }

    virtual bool WithSmallSet() const { return true; }

    void AddSmallSet()
    {
        AddDataset(kDataset, kIrb, QStringLiteral("Age < 19, hearing impaired"));
        AddDataset(QStringLiteral("Hearing A"), QStringLiteral("IRB-1"));
        const QString lasts[] = {QStringLiteral("Smith, Jr."), QStringLiteral("O'Brien"), QStringLiteral("Ames"),
                                 QStringLiteral("Burke")};
        for (int i = 0; i < 4; ++i) {
            PersonRow person;
            person.last = lasts[i];
            person.first = QStringLiteral("F%1").arg(i);
            person.sex = i % 2 ? QStringLiteral("M") : QStringLiteral("F");
            person.birth = i % 2 ? QDate(2012, 2, 2) : QDate(1975, 5, 5);
            person.impression = QStringLiteral("Hearing Impaired");
            person.parent = i == 0 ? QStringLiteral("Doe, Jane") : QString();
            person.evenings = true;
            ids.push_back(AddPerson(person));
            AddParticipation({ids[i], kDataset, kIrb, QDate(2010, 3, 3), QDate(2010, 4, 4), i % 3, i % 2, i % 2,
                              QStringLiteral("moved")});
            AddRequest(kDataset, kIrb, ids[i], QDate(2010, 2, 2));
        }
        AddParticipation({ids[0], QStringLiteral("Hearing A"), QStringLiteral("IRB-1"), QDate(2009, 3, 3),
                          QDate(2009, 4, 4), 0, 0, 0});
        AddParticipation({ids[1], QStringLiteral("Hearing A"), QStringLiteral("IRB-1"), QDate(2011, 3, 3),
                          QDate(2011, 4, 4), 1, 1, 1});
    }

    template <class T> static T* Control(QWidget* window, int id) { return framework::FindControlAs<T>(window, id); }

    // Focuses an edit by Tab order's own means and types over it.
    static void TypeOver(QLineEdit* edit, const QString& text)
    {
        ASSERT_NE(edit, nullptr);
        edit->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }

    // Opens a command's window; the handler drives it and closes it.
    void RunWindow(unsigned command, const std::function<void(QWidget*)>& drive)
    {
        bool ran = false;
        OnNextModal([&](QWidget* modal) {
            ran = true;
            if (!modal || !QTest::qWaitForWindowActive(modal)) {
                ADD_FAILURE() << "the window did not open";
                if (modal)
                    modal->close();
                return;
            }
            drive(modal);
            if (modal->isVisible())
                QTest::keyClick(modal, Qt::Key_Escape);
        });
        ASSERT_TRUE(frame->QueryCommand(command).IsEnabled());
        EXPECT_TRUE(frame->ExecuteCommand(command));
        Settle();
        ASSERT_TRUE(ran);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "Escape closed the window";
    }

    static void PrintToPdf(CQuorinDoc& document, CReportDlg* window, const QString& pdf)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        EXPECT_TRUE(PrintListTo(document, printer, window->PrintTitle(), *window->List()));
    }
    static void PagePicture(const QString& pdf, const QString& name)
    {
        RunTool(QStringLiteral("pdftoppm"),
                {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-f"),
                 QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                 QStringLiteral(QUORIN_OUTPUT_DIR "/") + name});
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    std::vector<int> ids;
};

TEST_F(ParticipationWindowTest, ParticipationQueryPrintAndSave)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("participation.pdf"));
    const QString csv = dir.filePath(QStringLiteral("participation.csv"));
    QStringList shown;
    RunWindow(res::ID_REPORTS_PARTICIPATION, [&](QWidget* modal) {
        auto* window = dynamic_cast<CParticipationDlg*>(modal);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Participation"));
        // The keyboard starts in From, the first tab stop.
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isAncestorOf(QApplication::focusWidget()); }));
        EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(window, CReportDlg::IDC_FROM));
        EXPECT_NE(window->findChild<QLabel*>(), nullptr);
        EXPECT_EQ(Control<QLineEdit>(window, CReportDlg::IDC_FROM)->text(), QStringLiteral("1/1/1901"));
        EXPECT_EQ(Control<QLineEdit>(window, CReportDlg::IDC_TO)->text(), QStringLiteral("6/15/2026"));
        CReportListCtrl* list = window->List();
        EXPECT_EQ(list->GetColumnWidth(0), 170);
        // Columns are at least as wide as given, and wide enough to read their texts.
        EXPECT_GE(list->GetColumnWidth(2), 80);
        EXPECT_GE(list->GetColumnWidth(1), 200);
        EXPECT_GE(list->GetColumnWidth(1), static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(1));
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectItems) << "no full-row select";
        EXPECT_EQ(list->GetItemText(5, 0), QStringLiteral("Requests:"));
        EXPECT_EQ(list->GetItemText(5, 1), QStringLiteral("4 subjects in 1 requests for 1 IRBs"));
        EXPECT_EQ(list->GetItemText(7, 1), QStringLiteral("6 subjects from 2 datasets for 2 IRBs"));

        // A date that is none: a correct report, or the session's boxes and an empty list.
        TypeOver(Control<QLineEdit>(window, CReportDlg::IDC_FROM), QStringLiteral("13/45/2010"));
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_QUERY));
        const auto errors = TakeErrors();
        EXPECT_TRUE(errors.empty() ? list->GetItemCount() > 20 : list->GetItemCount() == 0);

        // The period typed by keys, From then Tab to To.
        TypeOver(Control<QLineEdit>(window, CReportDlg::IDC_FROM), QStringLiteral("1/1/2010"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* to = Control<QLineEdit>(window, CReportDlg::IDC_TO);
        ASSERT_TRUE(to->hasFocus()) << "Tab goes from From to To";
        QTest::keyClick(to, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(to, QStringLiteral("12/31/2010"));
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_QUERY));
        CMemoryReportList same;
        for (int column = 0; column < 3; ++column)
            same.InsertColumn(column, QString());
        ASSERT_TRUE(FillReport(*doc, same, [](CReportQuery& q, CReportList& l) {
            BuildParticipationList(q, l, QStringLiteral("1/1/2010"), QStringLiteral("12/31/2010"));
        }));
        shown = Cells(*list);
        EXPECT_EQ(shown, Cells(same));
        EXPECT_EQ(list->GetItemText(7, 1), QStringLiteral("4 subjects from 1 datasets for 1 IRBs"));
        EXPECT_TRUE(shown.contains(QStringLiteral("|4 subjects participated in 1 IRB each|")));

        PrintToPdf(*doc, window, pdf);
        ui.SaveFileNext(csv);
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_SAVE));
    });
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();

    const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Participation")));
    EXPECT_TRUE(text.contains(QStringLiteral("Participation Data:")));
    EXPECT_TRUE(text.contains(QStringLiteral("4 subjects participated in 1 IRB each")));
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].defaultName, QStringLiteral("Participation"));
    QStringList readBack;
    for (const QStringList& fields : ReadCsvWithPython(csv))
        readBack << fields.join(QLatin1Char('|'));
    EXPECT_EQ(readBack, shown);
}

TEST_F(ParticipationWindowTest, FeedbackTypedChosenAndByDate)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("feedback.pdf"));
    const QString csv = dir.filePath(QStringLiteral("feedback.csv"));
    QStringList shown;
    RunWindow(res::ID_REPORTS_FEEDBACK, [&](QWidget* modal) {
        auto* window = dynamic_cast<CFeedbackDlg*>(modal);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Feedback"));
        auto* combo = Control<QComboBox>(window, IDC_DATASET);
        ASSERT_NE(combo, nullptr);
        // The keyboard starts in the dataset combo; Tab goes on to From, then To.
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isAncestorOf(QApplication::focusWidget()); }));
        EXPECT_TRUE(combo->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(window, CReportDlg::IDC_FROM));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(window, CReportDlg::IDC_TO));
        EXPECT_TRUE(combo->isEditable());
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, (QStringList{QStringLiteral("All"), QStringLiteral("Hearing A"), kDataset}));
        EXPECT_EQ(combo->currentText(), QStringLiteral("All"));
        EXPECT_EQ(Control<QLineEdit>(window, CReportDlg::IDC_FROM)->text(), QString());
        EXPECT_EQ(Control<QLineEdit>(window, CReportDlg::IDC_TO)->text(), QString());
        CReportListCtrl* list = window->List();
        EXPECT_EQ(list->GetItemText(1, 0), QStringLiteral("Feedback for 6 Subjects"));
        EXPECT_EQ(list->GetItemCount(), 8) << "All without dates: counts only";

        // Typed, apostrophe and comma in it.
        TypeInto(combo, kDataset);
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_QUERY));
        EXPECT_EQ(list->GetItemText(1, 0), QStringLiteral("Dataset: O'Hara, pilot"));
        EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("IRB: IRB 7"));
        EXPECT_EQ(list->GetItemText(3, 0), QStringLiteral("Feedback for 4 Subjects"));
        EXPECT_EQ(list->GetItemText(3, 1), QStringLiteral("for 4 subjects released"));
        EXPECT_EQ(list->GetItemCount(), 4 + 6 + 3 + 4);

        // Chosen from the list.
        ChooseFromList(combo, 1);
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_QUERY));
        EXPECT_EQ(list->GetItemText(1, 0), QStringLiteral("Dataset: Hearing A"));
        EXPECT_EQ(list->GetItemCount(), 4 + 6 + 3 + 2);

        // A feedback period: only 2010's feedback of that dataset, which has none.
        TypeOver(Control<QLineEdit>(window, CReportDlg::IDC_FROM), QStringLiteral("1/1/2010"));
        TypeOver(Control<QLineEdit>(window, CReportDlg::IDC_TO), QStringLiteral("12/31/2010"));
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_QUERY));
        EXPECT_EQ(list->GetItemText(1, 0), QStringLiteral("Feedback for 0 Subjects"));
        ChooseFromList(combo, 0);
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_QUERY));
        EXPECT_EQ(list->GetItemText(1, 0), QStringLiteral("Feedback for 4 Subjects"));
        EXPECT_EQ(list->GetItemCount(), 2 + 6 + 3 + 4);
        PrintToPdf(*doc, window, pdf);
        shown = Cells(*list);
        ui.SaveFileNext(csv);
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_SAVE));
    });
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].defaultName, QStringLiteral("Feedback"));
    QStringList readBack;
    for (const QStringList& fields : ReadCsvWithPython(csv))
        readBack << fields.join(QLatin1Char('|'));
    EXPECT_EQ(readBack, shown) << "the list as shown, \"O'Brien, F1\" one field";
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Feedback")));
    EXPECT_TRUE(text.contains(QStringLiteral("PARTICIPATION")));
    EXPECT_TRUE(text.contains(QStringLiteral("O'Brien, F1")));
}

TEST_F(ParticipationWindowTest, ClosedDatasetChosenSavedAndReopened)
{
    QTemporaryDir dir;
    const QString typedPath = dir.filePath(QStringLiteral("typed.csv"));
    const QString scripted = dir.filePath(QStringLiteral("scripted.csv"));
    QtUserInterface real;
    RunWindow(res::ID_REPORTS_OLD_DATASETS, [&](QWidget* modal) {
        auto* window = dynamic_cast<CClosedDatasetDlg*>(modal);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Closed Dataset"));
        EXPECT_EQ(framework::FindControl(window, CReportDlg::IDC_PRINT), nullptr) << "no Print";
        CReportListCtrl* list = window->List();
        ASSERT_EQ(list->GetColumnCount(), 18);
        EXPECT_EQ(list->GetColumnHeading(0), QStringLiteral("Subject Name"));
        EXPECT_EQ(list->GetColumnHeading(16), QString());
        EXPECT_EQ(list->GetColumnWidth(16), 0);
        EXPECT_EQ(list->GetColumnWidth(8), 280);
        EXPECT_EQ(list->GetItemCount(), 0) << "nothing before a dataset is chosen";

        auto* irb = Control<QComboBox>(window, IDC_IRB);
        auto* dataset = Control<QComboBox>(window, IDC_DATASET);
        ASSERT_NE(irb, nullptr);
        ASSERT_NE(dataset, nullptr);
        // The keyboard starts in the IRB combo, the first tab stop: that first focus
        // fills its list.
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isAncestorOf(QApplication::focusWidget()); }));
        EXPECT_TRUE(irb->hasFocus());
        ASSERT_EQ(irb->count(), 2);
        EXPECT_EQ(irb->itemText(0), QStringLiteral("IRB 7"));
        EXPECT_EQ(irb->itemText(1), QStringLiteral("IRB-1"));
        // Tab moves on to the dataset combo; coming back does not fill twice.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(dataset->hasFocus() || dataset->isAncestorOf(QApplication::focusWidget()));
        irb->setFocus(Qt::TabFocusReason);
        Settle();
        EXPECT_EQ(irb->count(), 2);

        ChooseFromList(irb, 0);
        Settle();
        ASSERT_EQ(dataset->count(), 1) << "refilled when the IRB list closed";
        EXPECT_EQ(dataset->itemText(0), kDataset);
        // An IRB typed as an attack and its list closed by Escape: no dataset, nothing
        // changed.
        TypeInto(irb, QStringLiteral("x'; DROP TABLE subjects --"));
        QTest::keyClick(irb, Qt::Key_F4);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(irb->view()->window()));
        QTest::keyClick(irb->view(), Qt::Key_Escape);
        Settle();
        EXPECT_EQ(dataset->count(), 0);
        EXPECT_EQ(RawNumber("select count(*) from subjects"), 4);
        EXPECT_TRUE(TakeErrors().empty());
        ChooseFromList(irb, 0);
        Settle();
        ASSERT_EQ(dataset->count(), 1);

        // The dataset by keys: F4 opens its list, Down and Enter choose and close it.
        dataset->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dataset, Qt::Key_F4);
        QAbstractItemView* popup = dataset->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popup->window()));
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return list->GetItemCount() > 0; }));
        EXPECT_EQ(dataset->currentText(), kDataset);
        ASSERT_EQ(list->GetItemCount(), 4) << "loaded when the dataset list closed";
        EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("Smith, Jr., F0"));
        EXPECT_EQ(list->GetItemText(1, 14), QStringLiteral("N"));
        EXPECT_EQ(list->GetItemText(0, 15), QStringLiteral("Evenings"));
        EXPECT_EQ(list->GetItemText(0, 16), QString::number(ids[0]));
        window->grab().save(QStringLiteral(QUORIN_OUTPUT_DIR "/closed-dataset-window.png"));

        // Save by the button (the scripted dialog), then through the real file dialog.
        ui.SaveFileNext(scripted);
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_SAVE));
        bool answered = false;
        OnNextModal([&](QWidget* fileDialog) {
            auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
            if (!dialog) {
                ADD_FAILURE() << "the save dialog is not the modal window";
                if (fileDialog)
                    fileDialog->close();
                return;
            }
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            EXPECT_TRUE(name && name->text().startsWith(kDataset));
            answered = true;
            name->setFocus();
            name->setText(typedPath);
            QTest::keyClick(name, Qt::Key_Return);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the save dialog did not take Enter";
                dialog->reject();
            }
        });
        SaveClosedDataset(real, window->Loaded(), *list);
        EXPECT_TRUE(answered);
        // Cancel writes nothing.
        ui.SaveFileNext(QString());
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_SAVE));

        // The user types other values into both combos; ReOpen still reopens what the
        // list was loaded with.
        TypeInto(irb, QStringLiteral("IRB-1"));
        TypeInto(dataset, QStringLiteral("Hearing A"));
        Click(Control<QAbstractButton>(window, IDC_REOPEN));
    });
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(ui.SaveRequests().size(), 2u);
    EXPECT_EQ(ui.SaveRequests()[0].defaultName, kDataset);

    for (const QString& path : {scripted, typedPath}) {
        const auto lines = ReadCsvWithPython(path);
        ASSERT_EQ(lines.size(), 2u + 2u + 1u + 4u) << path.toStdString();
        EXPECT_EQ(lines[0], QStringList{kDataset});
        EXPECT_EQ(lines[2], QStringList{QStringLiteral("DATASET PARAMETERS")});
        EXPECT_EQ(lines[3], QStringList{QStringLiteral("Age < 19, hearing impaired")});
        EXPECT_EQ(lines[4].size(), 15);
        for (size_t i = 5; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].size(), 15);
        EXPECT_EQ(lines[5][0], QStringLiteral("Smith, Jr."));
        EXPECT_EQ(lines[5][1], QStringLiteral("F0"));
        EXPECT_EQ(lines[5][5], QStringLiteral("Doe, Jane"));
    }

    int reopened = 0;
    for (const QStringList& r : RawRows("select Title, Irb from release"))
        reopened += r[0] == kDataset && r[1] == kIrb ? 1 : 0;
    EXPECT_EQ(reopened, 4);
    EXPECT_EQ(RawNumber("select count(*) from release"), 4) << "nothing under the typed dataset";
}

// The demo registry instead of the small set: what a site would see.
class ParticipationDemoWindowTest : public ParticipationWindowTest {
protected:
    bool WithSmallSet() const override { return false; }
};

TEST_F(ParticipationDemoWindowTest, PicturesOnTheDemoRegistry)
{
    demo::FillDemoRegistry(registry.Folder(), 2000, demo::kDefaultDemoSeed);
    QTemporaryDir dir;
    RunWindow(res::ID_REPORTS_PARTICIPATION, [&](QWidget* modal) {
        auto* window = dynamic_cast<CParticipationDlg*>(modal);
        ASSERT_NE(window, nullptr);
        EXPECT_GT(window->List()->GetItemCount(), 25);
        EXPECT_TRUE(window->grab().save(QStringLiteral(QUORIN_OUTPUT_DIR "/participation-window-demo.png")));
        const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
        PrintToPdf(*doc, window, pdf);
        PagePicture(pdf, QStringLiteral("participation-page1"));
    });
    RunWindow(res::ID_REPORTS_FEEDBACK, [&](QWidget* modal) {
        auto* window = dynamic_cast<CFeedbackDlg*>(modal);
        ASSERT_NE(window, nullptr);
        auto* combo = Control<QComboBox>(window, IDC_DATASET);
        ASSERT_GT(combo->count(), 1);
        ChooseFromList(combo, combo->currentIndex() == 0 ? 1 : 0);
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_QUERY));
        EXPECT_TRUE(window->List()->GetItemText(1, 0).startsWith(QStringLiteral("Dataset: ")));
        EXPECT_TRUE(window->grab().save(QStringLiteral(QUORIN_OUTPUT_DIR "/feedback-window-demo.png")));
        const QString pdf = dir.filePath(QStringLiteral("f.pdf"));
        PrintToPdf(*doc, window, pdf);
        PagePicture(pdf, QStringLiteral("feedback-page1"));
    });
    RunWindow(res::ID_REPORTS_OLD_DATASETS, [&](QWidget* modal) {
        auto* window = dynamic_cast<CClosedDatasetDlg*>(modal);
        ASSERT_NE(window, nullptr);
        auto* irb = Control<QComboBox>(window, IDC_IRB);
        irb->setFocus(Qt::TabFocusReason);
        Settle();
        ASSERT_GT(irb->count(), 0);
        ChooseFromList(irb, 0);
        Settle();
        auto* dataset = Control<QComboBox>(window, IDC_DATASET);
        ASSERT_GT(dataset->count(), 0);
        ChooseFromList(dataset, 0);
        Settle();
        EXPECT_GT(window->List()->GetItemCount(), 0);
        EXPECT_TRUE(window->grab().save(QStringLiteral(QUORIN_OUTPUT_DIR "/closed-dataset-window-demo.png")));
    });
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

} // namespace
} // namespace quorin::test
