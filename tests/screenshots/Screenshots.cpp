// quorin_screenshots [folder]: pictures of Quorin's windows for a reviewer, written as PNG
// files to the folder (default: the current one). It makes a demo registry, logs in as
// its administrator, opens the main frame on demo subject 1 (the one the demo gives
// implant data, speech tests and several audiograms, and here a few changes in its
// history) and makes every picture of the table below. Not a test: it exits 1 naming the
// pictures that could not be made.

#include "admin/ui/AdminTemplates.h"
#include "admin/ui/CUsersDlg.h"
#include "app/CMainFrame.h"
#include "app/FirstStartDialog.h"
#include "app/Subsystems.h"
#include "audiograms/ui/CViewAud.h"
#include "dalport/Clock.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"
#include "document/CQuorinDoc.h"
#include "document/UserInterface.h"
#include "framework/ControlId.h"
#include "framework/CreateContext.h"
#include "framework/MessageBox.h"
#include "framework/ReportListCtrl.h"
#include "framework/TemplateDialog.h"
#include "framework/TVisualNode.h"
#include "implants/store/CiDataEditing.h"
#include "implants/ui/CCiDeviceDlg.h"
#include "implants/ui/CCiSpeechDlg.h"
#include "implants/ui/CSpeechTestDlg.h"
#include "registration/DialogRegistry.h"
#include "reports/ui/CClosedDatasetDlg.h"
#include "reports/ui/NumbersReportTemplates.h"
#include "reports/ui/ParticipationReportTemplates.h"
#include "reports/ui/ReportControlIds.h"
#include "resources/Resources.h"
#include "rules/SqlText.h"
#include "support/MainFrameHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using quorin::UserInterface;
using Dialog = UserInterface::Dialog;

constexpr int kDemoSubject = 1;

QDir g_folder;          // where the pictures go
QStringList g_failures; // "<picture>: why"

// The document's user interface here: every question answered No and every dialog the
// document asks for cancelled, so that nothing is changed and nothing waits for a user.
class PictureUserInterface : public UserInterface {
public:
    Answer MessageBox(const QString&, Icon, Buttons b) override { return b == Buttons::Ok ? Answer::Ok : Answer::No; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void BringForward(Page) override {}
    int RunDialog(Dialog) override { return 2; }
    QString GetOpenFileName(const QString&) override { return {}; }
    void SetDocumentTitle(const QString& title) override
    {
        if (frame)
            frame->SetDocumentTitle(title);
    }

    QPointer<CMainFrame> frame; // null again once the frame is gone
};

void Require(bool holds, const char* otherwise)
{
    if (!holds)
        throw std::runtime_error(otherwise);
}

// Grabs the widget as the screen shows it to <name>.png; a window not yet shown is shown.
void Shoot(QWidget& widget, const QString& name)
{
    if (widget.isWindow()) {
        widget.show();
        Require(QTest::qWaitForWindowExposed(&widget), "the window was not shown");
    }
    QTest::qWait(50); // the window's timers run: the chart's first-draw checks, the command states
    Require(widget.grab().save(g_folder.filePath(name + QStringLiteral(".png"))), "the file was not written");
}

template <class T>
T& Control(QWidget& window, int id)
{
    T* control = framework::FindControlAs<T>(&window, id);
    Require(control != nullptr, "a control of the window is missing");
    return *control;
}

// Runs `open`, which shows a modal window; while it runs, `inside` gets the window, which
// is then closed without OK. False when no modal window came up (a modeless one, say).
bool WhileModal(const std::function<void()>& open, const std::function<void(QDialog&)>& inside)
{
    QWidget* const before = QApplication::activeModalWidget();
    bool seen = false;
    std::string failure;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!window || window == before || !window->isVisible())
            return;
        poll.stop();
        seen = true;
        try {
            inside(*window);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        window->done(QDialog::Rejected);
    });
    poll.start();
    open();
    poll.stop();
    if (!failure.empty())
        throw std::runtime_error(failure);
    return seen;
}

// The Users window with every member listed, and from it the User dialog of the demo's
// former member, which shows the most of it.
void UsersAndUser(QDialog& window)
{
    auto& users = static_cast<CUsersDlg&>(window);
    Control<QComboBox>(users, res::users::IDC_FILTER).setCurrentIndex(4); // all members
    users.OnFilterChanged();
    CReportListCtrl& list = *users.List();
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetItemText(row, 0) == QStringLiteral("rolson"))
            list.SelectItem(row);
    Require(WhileModal([&] { users.OnModify(); }, [](QDialog& user) { Shoot(user, QStringLiteral("user-dialog")); }),
            "the User dialog did not open");
    list.SelectItem(0);
}

// The Closed Dataset window with the first IRB's first dataset loaded.
void FirstClosedDataset(QDialog& w)
{
    auto& window = static_cast<CClosedDatasetDlg&>(w);
    window.OnIrbFocus();
    Control<QComboBox>(window, res::participation::IDC_IRB).setCurrentIndex(0);
    window.OnIrbCloseUp();
    Control<QComboBox>(window, res::participation::IDC_DATASET).setCurrentIndex(0);
    window.OnDatasetCloseUp();
}

// One dataset's feedback, not all datasets'.
void OneDatasetsFeedback(QDialog& w)
{
    auto& dataset = Control<QComboBox>(w, res::participation::IDC_DATASET);
    dataset.setCurrentIndex(dataset.currentIndex() == 0 ? 1 : 0);
    Control<QAbstractButton>(w, res::report::kQuery).click();
}

void PasswordsTyped(QDialog& w)
{
    Control<QLineEdit>(w, res::password::IDC_OLD).setText(QStringLiteral("old-one"));
    Control<QLineEdit>(w, res::password::IDC_NEW).setText(QStringLiteral("new-one"));
}

// A few edits of the demo subject in its change history, at fixed times so that two runs'
// pictures are alike. The triggers write the log; here the server's administrator does.
// Only the Change History window reads it.
void PlantChanges(CQuorinDoc& doc)
{
    const QString subject = QString::number(kDemoSubject);
    const QString test = QString::number(doc.m_audCurrent.TestId);
    Require(doc.m_audCurrent.TestId > 0, "the demo subject has no audiogram");
    const auto value = [](const QString& text) {
        return text.isNull() ? QStringLiteral("NULL") : QLatin1Char('\'') + quorin::sql::Text(text) + QLatin1Char('\'');
    };
    const auto change = [&](const char* when, const char* who, const char* table, const QString& key,
                            const QString& column, const QString& old, const QString& now, const char* kind) {
        const QString sql = QStringLiteral("insert into changelog (ChangedAt, ChangedBy, TableName, RowKey, SubjectId, "
                                           "ColumnName, OldValue, NewValue, ChangeKind) values ('%1', '%2', '%3', %4, "
                                           "%5, %6, %7, %8, '%9')")
                                .arg(QLatin1String(when), QLatin1String(who), QLatin1String(table), value(key), subject,
                                     value(column), value(old), value(now), QLatin1String(kind));
        Require(doc.m_db.RunTextQuery(sql.toStdString().c_str()), "a change could not be planted");
    };
    const QString none;
    const QString point = test + QStringLiteral(":3:1005");
    change("2026-05-28 16:40:12.250", "mgarcia", "participationhistory", QStringLiteral("17"),
           QStringLiteral("Completed"), QStringLiteral("-1"), QStringLiteral("1"), "update");
    change("2026-06-03 09:12:05.503", "klee", "subjects", subject, QStringLiteral("Email"),
           QStringLiteral("old.address@example.org"), doc.m_subject.Email, "update");
    change("2026-06-12 14:05:31.877", "jsmith", "aud", test, QStringLiteral("TestedBy"), QStringLiteral("JS"),
           doc.m_audCurrent.Info.TestedBy, "update");
    change("2026-06-12 14:05:31.877", "jsmith", "aud", test, QStringLiteral("TympL"), QStringLiteral("0"),
           QStringLiteral("1"), "update");
    change("2026-06-12 14:05:32.010", "jsmith", "audpoints", point, QStringLiteral("symbol"), QStringLiteral("3"), none,
           "delete");
    change("2026-06-12 14:05:32.010", "jsmith", "audpoints", point, QStringLiteral("xy"), QStringLiteral("1005"), none,
           "delete");
    change("2026-06-12 14:05:32.046", "jsmith", "audpoints", test + QStringLiteral(":2:1305"), none, none, none,
           "insert");
    change("2026-06-15 10:21:44.120", "admin", "subjects", subject, QStringLiteral("LastUpdate"),
           QStringLiteral("2026-05-02T00:00:00.000"), QStringLiteral("2026-06-15T00:00:00.000"), "update");
    change("2026-06-15 10:21:44.120", "admin", "subjects", subject, QStringLiteral("Phone1"),
           QStringLiteral("402-555-0117"), doc.m_subject.Phone1, "update");
}

// One picture: a tab of the workspace (alone, and the main window showing it), a
// registered dialog or report window, a window made here from the demo subject, or a
// menu of the menu bar opened below its title.
struct Picture {
    const char* file;
    TVisualNode* CMainFrame::*tab = nullptr;
    bool selectFirstRow = false; // shows how the tab's list marks the chosen row
    Dialog dialog = Dialog::Users;
    std::function<void(QDialog&)> prepare = {}; // what the dialog shows filled in
    std::function<QWidget*()> make = {}; // a new window, shown at the size if one is given
    QSize size = {};
    const char* menu = nullptr; // the menu's title, "&Tools"
};

void ShootMenu(CMainFrame& frame, const char* title, const QString& name)
{
    QMenu* menu = frame.MenuByTitle(QString::fromLatin1(title));
    Require(menu != nullptr, "the menu bar has no such menu");
    frame.UpdateCommandUI();
    const QRect heading = frame.menuBar()->actionGeometry(menu->menuAction());
    menu->popup(frame.menuBar()->mapToGlobal(heading.bottomLeft()));
    try {
        Shoot(*menu, name);
    } catch (...) {
        menu->hide();
        throw;
    }
    menu->hide();
}

void Make(const Picture& p, CMainFrame& frame, CQuorinDoc& doc)
{
    const QString name = QString::fromLatin1(p.file);
    if (p.tab) {
        TVisualNode* node = frame.*p.tab;
        Require(node && node->GetWnd(), "the workspace has no such page");
        frame.m_wndFramework.BringForward(node);
        QTest::qWait(50);
        frame.UpdateCommandUI();
        auto* list = node->GetWnd()->findChild<CReportListCtrl*>();
        if (p.selectFirstRow && list && list->GetItemCount() > 0)
            list->SelectItem(0);
        Shoot(*node->GetWnd(), name);
        Shoot(frame, QStringLiteral("main-window-") + name);
    } else if (p.menu) {
        ShootMenu(frame, p.menu, name);
    } else if (p.make) {
        const std::unique_ptr<QWidget> window(p.make());
        if (p.size.isValid())
            window->resize(p.size);
        Shoot(*window, name);
    } else {
        const auto picture = [&](QDialog& window) {
            if (p.prepare)
                p.prepare(window);
            Shoot(window, name);
        };
        if (WhileModal([&] { quorin::RunRegisteredDialog(p.dialog, &frame, doc); }, picture))
            return;
        QDialog* window = quorin::OpenModelessWindow(p.dialog);
        Require(window != nullptr, "the window did not open");
        picture(*window);
        window->close();
    }
}

// The first start's choice, as a machine without a registry shows it.
void ShootFirstStart()
{
    const quorin::demo::DemoStaffLogin& admin = quorin::demo::demoStaffLogins().front();
    FirstStartDialog dialog({QStringLiteral("/home/lab/.local/share/Quorin/registry"), QString::fromLatin1(admin.login),
                             QString::fromLatin1(admin.password), {}});
    Shoot(dialog, QStringLiteral("first-start-dialog"));
}

void MakePictures()
{
    ShootFirstStart();
    QTemporaryDir registry;
    const std::string server = registry.filePath(QStringLiteral("demo")).toStdString();
    quorin::demo::CreateDemoRegistry(server);

    PictureUserInterface ui;
    CQuorinDoc doc(ui);
    const quorin::demo::DemoStaffLogin& admin = quorin::demo::demoStaffLogins().front();
    doc.m_strServer = QString::fromStdString(server);
    doc.m_strUserName = QString::fromLatin1(admin.login);
    doc.m_strPassword = QString::fromLatin1(admin.password);
    Require(doc.OnNewDocument() && doc.m_db.IsConnected(), "cannot log in to the demo registry");
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    Require(quorin::test::OpenMainFrame(frame, commands, doc, context) && quorin::test::ShowMainFrame(*frame),
            "the main frame was not shown");
    ui.frame = frame.get();
    Require(doc.LoadSubjectById(kDemoSubject) != 0, "the demo subject does not load");
    QTest::qWait(50);

    const auto chart = [&context]() -> QWidget* { return new CViewAud(nullptr, &context); };
    const auto clicking = [](int id) { return [id](QDialog& w) { Control<QAbstractButton>(w, id).click(); }; };
    const Picture pictures[] = {
        {.file = "subject-tab", .tab = &CMainFrame::m_pNodeSubject},
        {.file = "chart-tab", .tab = &CMainFrame::m_pNodeChart},
        {.file = "aud-data-tab", .tab = &CMainFrame::m_pNodeAudData},
        {.file = "aud-comments-tab", .tab = &CMainFrame::m_pNodeComments},
        {.file = "ci-data-tab", .tab = &CMainFrame::m_pNodeCIData, .selectFirstRow = true},
        {.file = "sll-tab", .tab = &CMainFrame::m_pNodeSLL, .selectFirstRow = true},
        {.file = "other-tab", .tab = &CMainFrame::m_pNodeOther},
        {.file = "ci-speech-dialog", .make = [&]() -> QWidget* {
             const CCiSpeech& row = doc.m_ciSpeechList.at(0);
             return new CCiSpeechDlg(doc, row, !quorin::IsPreImplant(row));
         }},
        {.file = "ci-device-dialog",
         .make = [&]() -> QWidget* { return new CCiDeviceDlg(doc, doc.m_ciData.Devices.at(0)); }},
        {.file = "speech-test-dialog",
         .make = [&]() -> QWidget* { return new CSpeechTestDlg(doc, doc.m_speechTestList.at(0)); }},
        {.file = "chart-800x600", .make = chart, .size = {800, 600}},
        {.file = "chart-1280x960", .make = chart, .size = {1280, 960}},
        {.file = "users-dialog", .dialog = Dialog::Users, .prepare = UsersAndUser},
        {.file = "change-password-dialog", .dialog = Dialog::ChangePassword, .prepare = PasswordsTyped},
        {.file = "consent-window", .dialog = Dialog::ReportConsent},
        {.file = "contact-window", .dialog = Dialog::ReportContact},
        {.file = "letters-window", .dialog = Dialog::ReportLetters, .prepare = clicking(res::report::kQuery)},
        {.file = "dataset-window", .dialog = Dialog::ReportDatasets},
        {.file = "participation-window", .dialog = Dialog::ReportParticipation},
        {.file = "feedback-window", .dialog = Dialog::ReportFeedback, .prepare = OneDatasetsFeedback},
        {.file = "closed-dataset-window", .dialog = Dialog::ReportOldDatasets, .prepare = FirstClosedDataset},
        {.file = "numbers-window", .dialog = Dialog::ReportNumbers},
        {.file = "monthly-window", .dialog = Dialog::ReportMonthlyNumbers},
        {.file = "demographics-window", .dialog = Dialog::ReportDemographics},
        {.file = "demographics-both-window", .dialog = Dialog::ReportDemographics,
         .prepare = clicking(res::numbers::IDC_BOTH)},
        {.file = "change-history-window", .dialog = Dialog::ChangeHistory, .prepare = [&doc](QDialog& w) {
             PlantChanges(doc);
             static_cast<CTemplateDialog&>(w).OnReopen(); // filled again with them
         }},
        {.file = "tools-menu", .menu = "&Tools"},
        {.file = "view-menu", .menu = "&View"},
    };
    for (const Picture& p : pictures) {
        try {
            Make(p, *frame, doc);
        } catch (const std::exception& e) {
            g_failures << QString::fromLatin1(p.file) + QStringLiteral(": ") + QString::fromStdString(e.what());
        }
    }
    frame.reset();
    commands.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    g_folder.setPath(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    g_folder.mkpath(QStringLiteral("."));
    // One date for every run, so that two runs' pictures differ only where the windows do.
    if (qEnvironmentVariableIsEmpty("QUORIN_CLOCK"))
        dalport::SetFixedClock("2026-06-15 10:30:00");
    res::InstallResources();
    quorin::UseRegistryProfile();
    quorin::RegisterSubsystems();
    // The framework's boxes are answered as the document's are, never shown.
    framework::SetMessagePresenter([](QWidget*, const framework::MessageRequest& request) {
        return request.buttons == framework::MessageButtons::Ok ? framework::MessageResult::Ok
                                                                : framework::MessageResult::No;
    });
    try {
        MakePictures();
    } catch (const std::exception& e) {
        g_failures << QString::fromStdString(e.what());
    }
    for (const QString& failure : g_failures)
        std::cerr << "quorin_screenshots: " << failure.toStdString() << "\n";
    return g_failures.isEmpty() ? 0 : 1;
}
