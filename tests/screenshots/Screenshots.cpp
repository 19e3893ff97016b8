// quorin_screenshots [folder]: pictures of Quorin's windows for a reviewer, written as PNG
// files to the folder (default: the current one). It makes a demo registry, logs in as
// its administrator, opens the main frame with the demo subject that fills the most
// tabs, and grabs every tab, the dialogs of that subject's records, the chart at two
// sizes, the staff dialogs and every report window. Not a test: it checks only that
// each picture could be made, and exits 1 naming those that could not.

#include "admin/ui/AdminTemplates.h"
#include "admin/ui/CUsersDlg.h"
#include "app/CMainFrame.h"
#include "app/Subsystems.h"
#include "audiograms/ui/CViewAud.h"
#include "dalport/Clock.h"
#include "dalport/ErrorReporter.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"
#include "document/CQuorinDoc.h"
#include "document/UserInterface.h"
#include "framework/ControlId.h"
#include "framework/CreateContext.h"
#include "framework/MessageBox.h"
#include "framework/ReportListCtrl.h"
#include "framework/TVisualNode.h"
#include "framework/TemplateDialog.h"
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
#include "support/MainFrameHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using quorin::UserInterface;

QDir g_folder;          // where the pictures go
int g_pictures = 0;     // written so far
QStringList g_failures; // "<picture>: why"
QStringList g_errors;   // the errors (stop messages) shown while a picture was made

// The document's user interface here: errors recorded, every question answered No and
// every dialog the document asks for cancelled (nothing is changed or saved, nothing
// waits for a user). The pictures open their dialogs themselves.
class PictureUserInterface : public UserInterface {
public:
    Answer MessageBox(const QString& text, Icon icon, Buttons buttons) override
    {
        if (icon == Icon::Stop)
            g_errors << text;
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
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

void Require(bool holds, const QString& otherwise)
{
    if (!holds)
        throw std::runtime_error(otherwise.toStdString());
}

// Lets the window's timers run: the chart's first-draw checks, the frame's command states.
void Settle()
{
    QTest::qWait(50);
    QCoreApplication::processEvents();
}

// Grabs the widget, as the screen shows it, to <name>.png in the output folder; a window
// not yet shown is shown first.
void Shoot(QWidget& widget, const QString& name)
{
    const QString file = g_folder.filePath(name + QStringLiteral(".png"));
    if (widget.isWindow()) {
        widget.show();
        Require(QTest::qWaitForWindowExposed(&widget), name + QStringLiteral(": the window was not shown"));
    }
    Settle();
    Require(widget.isVisible(), name + QStringLiteral(": the page is hidden"));
    const QPixmap picture = widget.grab();
    Require(!picture.isNull() && picture.save(file), QStringLiteral("cannot write ") + file);
    ++g_pictures;
}

// Makes one picture, or a few that go together; a failure is recorded under the label
// and the other pictures are still made.
void Try(const QString& label, const std::function<void()>& make)
{
    g_errors.clear();
    try {
        make();
        const QString said = g_errors.join(QStringLiteral(" | "));
        Require(said.isEmpty(), QStringLiteral("the program said: ") + said);
    } catch (const std::exception& e) {
        g_failures << label + QStringLiteral(": ") + QString::fromStdString(e.what());
    }
}

// The control of the window with the id; a missing one spoils the picture.
template <class T>
T& Control(QWidget& window, int id)
{
    T* control = framework::FindControlAs<T>(&window, id);
    Require(control != nullptr, "a control of the window is missing");
    return *control;
}

// Runs `open`, which shows a modal window of the class; while it runs, `inside` gets the
// window, which is then closed without OK. Any other window coming up instead is closed
// and spoils the picture. False when no modal window came up (a modeless one, say).
bool WhileModal(const char* className, const std::function<void()>& open, const std::function<void(QDialog&)>& inside)
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
        if (!window->inherits(className)) {
            failure = std::string(window->metaObject()->className()) + " came up instead of " + className;
        } else {
            poll.stop();
            seen = true;
            try {
                inside(*window);
            } catch (const std::exception& e) {
                failure = e.what();
            }
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

// The demo subject whose tabs show the most: two or more implanted devices, speech rows
// before and after implantation, speech tests, and the most symbols of its own audiogram.
int RichestSubject(CQuorinDoc& doc)
{
    std::vector<int> ids;
    if (doc.m_db.RunTextQuery("SELECT DISTINCT SubjectId FROM CiDevice ORDER BY SubjectId"))
        for (; !doc.m_db.IsEOF(); doc.m_db.MoveNext())
            ids.push_back(doc.m_db.GetIntField("SubjectId"));
    int best = -1;
    long most = -1;
    for (int id : ids) {
        if (!doc.LoadSubjectById(id))
            continue;
        const auto& speech = doc.m_ciSpeechList;
        const auto pre = std::count_if(speech.begin(), speech.end(), quorin::IsPreImplant);
        const bool both = pre > 0 && pre < static_cast<std::ptrdiff_t>(speech.size());
        const auto& points = doc.m_audCurrent.Points;
        const auto own = std::count_if(points.begin(), points.end(), [](const CAudPoint& p) { return p.recent == 1; });
        const long score = (both ? 1000 : 0) + (doc.m_ciData.Devices.size() > 1 ? 500 : 0)
                           + (doc.m_speechTestList.empty() ? 0 : 250) + own;
        if (score > most) {
            most = score;
            best = id;
        }
    }
    return best;
}

struct TabPicture {
    TVisualNode* CMainFrame::*node;
    const char* name;
    bool selectFirstRow; // shows how the tab's (first) list marks the chosen row
};

// Each tab of the workspace alone, and the main window showing it.
void TabPictures(CMainFrame& frame)
{
    const TabPicture tabs[] = {
        {&CMainFrame::m_pNodeSubject, "subject-tab", false},
        {&CMainFrame::m_pNodeChart, "chart-tab", false},
        {&CMainFrame::m_pNodeAudData, "aud-data-tab", false},
        {&CMainFrame::m_pNodeComments, "aud-comments-tab", false},
        {&CMainFrame::m_pNodeCIData, "ci-data-tab", true},
        {&CMainFrame::m_pNodeSLL, "sll-tab", true},
        {&CMainFrame::m_pNodeOther, "other-tab", false},
    };
    for (const TabPicture& tab : tabs) {
        const QString name = QString::fromLatin1(tab.name);
        Try(name, [&] {
            TVisualNode* node = frame.*tab.node;
            Require(node && node->GetWnd(), "the workspace has no such page");
            frame.m_wndFramework.BringForward(node);
            Settle();
            frame.UpdateCommandUI();
            auto* list = node->GetWnd()->findChild<CReportListCtrl*>();
            if (tab.selectFirstRow && list && list->GetItemCount() > 0)
                list->SelectItem(0);
            Shoot(*node->GetWnd(), name);
            Shoot(frame, QStringLiteral("main-window-") + name);
        });
    }
}

// The dialogs of the loaded subject's records, each filled with one, and its chart alone
// at two sizes.
void SubjectDialogPictures(CQuorinDoc& doc, CCreateContext& context)
{
    Try(QStringLiteral("ci-speech-dialog"), [&] {
        const auto& rows = doc.m_ciSpeechList;
        const auto post =
            std::find_if(rows.begin(), rows.end(), [](const CCiSpeech& r) { return !quorin::IsPreImplant(r); });
        Require(post != rows.end(), "the subject has no post-implant speech row");
        CCiSpeechDlg dialog(doc, *post, true);
        Shoot(dialog, QStringLiteral("ci-speech-dialog"));
    });
    Try(QStringLiteral("ci-device-dialog"), [&] {
        Require(!doc.m_ciData.Devices.empty(), "the subject has no implanted device");
        CCiDeviceDlg dialog(doc, doc.m_ciData.Devices.back());
        Shoot(dialog, QStringLiteral("ci-device-dialog"));
    });
    Try(QStringLiteral("speech-test-dialog"), [&] {
        Require(!doc.m_speechTestList.empty(), "the subject has no speech test");
        CSpeechTestDlg dialog(doc, doc.m_speechTestList.front());
        Shoot(dialog, QStringLiteral("speech-test-dialog"));
    });
    for (const QSize size : {QSize(800, 600), QSize(1280, 960)}) {
        const QString name = QStringLiteral("chart-%1x%2").arg(size.width()).arg(size.height());
        Try(name, [&] {
            CViewAud view(nullptr, &context);
            view.resize(size);
            Shoot(view, name);
        });
    }
}

// The Users window with every member listed, and from it the User dialog of the demo's
// former member, which shows the most of it.
void UsersAndUser(QDialog& window)
{
    auto& users = static_cast<CUsersDlg&>(window);
    Control<QComboBox>(users, res::users::IDC_FILTER).setCurrentIndex(4); // all members
    users.OnFilterChanged();
    CReportListCtrl& list = *users.List();
    int former = 0;
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetItemText(row, 0) == QStringLiteral("rolson"))
            former = row;
    list.SelectItem(former);
    const bool opened = WhileModal("CUserDlg", [&] { users.OnModify(); },
                                   [](QDialog& user) { Shoot(user, QStringLiteral("user-dialog")); });
    Require(opened, "the User dialog did not open");
    list.SelectItem(0);
}

// The Closed Dataset window with the first IRB's first dataset loaded.
void FirstClosedDataset(QDialog& w)
{
    auto& window = static_cast<CClosedDatasetDlg&>(w);
    window.OnIrbFocus();
    auto& irb = Control<QComboBox>(window, res::participation::IDC_IRB);
    Require(irb.count() > 0, "no IRB has a closed dataset");
    irb.setCurrentIndex(0);
    window.OnIrbCloseUp();
    auto& dataset = Control<QComboBox>(window, res::participation::IDC_DATASET);
    Require(dataset.count() > 0, "the IRB has no dataset");
    dataset.setCurrentIndex(0);
    window.OnDatasetCloseUp();
}

struct DialogPicture {
    UserInterface::Dialog kind;
    const char* className;
    const char* name;
    std::function<void(QDialog&)> prepare; // what the picture should show filled in
};

// The registered dialog opened over the frame, prepared and pictured: a modal one while
// it runs, a modeless one once it is open. Its list, if it has one, must not be empty.
void DialogPictures(CMainFrame& frame, CQuorinDoc& doc)
{
    using D = UserInterface::Dialog;
    const auto click = [](int id) { return [id](QDialog& w) { Control<QAbstractButton>(w, id).click(); }; };
    const DialogPicture dialogs[] = {
        {D::Users, "CUsersDlg", "users-dialog", UsersAndUser},
        {D::ChangePassword, "CChangePasswordDlg", "change-password-dialog",
         [](QDialog& w) {
             Control<QLineEdit>(w, res::password::IDC_OLD).setText(QStringLiteral("old-one"));
             Control<QLineEdit>(w, res::password::IDC_NEW).setText(QStringLiteral("new-one"));
         }},
        {D::ReportConsent, "CConsentReportDlg", "consent-window", {}},
        {D::ReportContact, "CContactReportDlg", "contact-window", {}},
        {D::ReportLetters, "CLettersDlg", "letters-window", click(res::report::kQuery)},
        {D::ReportDatasets, "CDatasetReportDlg", "dataset-window", {}},
        {D::ReportParticipation, "CParticipationDlg", "participation-window", {}},
        {D::ReportFeedback, "CFeedbackDlg", "feedback-window",
         [](QDialog& w) {
             auto& dataset = Control<QComboBox>(w, res::participation::IDC_DATASET);
             Require(dataset.count() > 1, "no dataset to choose");
             dataset.setCurrentIndex(dataset.currentIndex() == 0 ? 1 : 0); // one dataset, not all
             Control<QAbstractButton>(w, res::report::kQuery).click();
         }},
        {D::ReportOldDatasets, "CClosedDatasetDlg", "closed-dataset-window", FirstClosedDataset},
        {D::ReportNumbers, "CDatabaseNumbersDlg", "numbers-window", {}},
        {D::ReportMonthlyNumbers, "CMonthlyNumbersDlg", "monthly-window", {}},
        {D::ReportDemographics, "CDemographicsDlg", "demographics-window", {}},
        {D::ReportDemographics, "CDemographicsDlg", "demographics-both-window", click(res::numbers::IDC_BOTH)},
    };
    for (const DialogPicture& p : dialogs) {
        const QString name = QString::fromLatin1(p.name);
        const auto picture = [&](QDialog& window) {
            if (p.prepare)
                p.prepare(window);
            Settle();
            if (const auto* list = window.findChild<CReportListCtrl*>())
                Require(list->GetItemCount() > 0, "its list is empty");
            Shoot(window, name);
        };
        Try(name, [&] {
            if (WhileModal(p.className, [&] { quorin::RunRegisteredDialog(p.kind, &frame, doc); }, picture))
                return;
            QDialog* window = quorin::OpenModelessWindow(p.kind);
            Require(window && window->inherits(p.className), "the window did not open");
            picture(*window);
            window->close();
        });
    }
}

void MakePictures()
{
    QTemporaryDir registry;
    Require(registry.isValid(), "no temporary folder for the demo registry");
    const std::string server = registry.filePath(QStringLiteral("demo")).toStdString();
    std::cout << "Making the demo registry..." << std::endl;
    quorin::demo::CreateDemoRegistry(server);

    PictureUserInterface ui;
    CQuorinDoc doc(ui);
    const quorin::demo::DemoStaffLogin& admin = quorin::demo::demoStaffLogins().front();
    doc.m_strServer = QString::fromStdString(server);
    doc.m_strUserName = QString::fromLatin1(admin.login);
    doc.m_strPassword = QString::fromLatin1(admin.password);
    Require(doc.OnNewDocument() && doc.m_db.IsConnected(), "cannot log in to the demo registry");
    const int subject = RichestSubject(doc);
    Require(subject > 0, "the demo registry has no implant subject");

    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    Require(quorin::test::OpenMainFrame(frame, commands, doc, context), "the main frame's workspace was not made");
    ui.frame = frame.get();
    Require(quorin::test::ShowMainFrame(*frame), "the main frame was not shown");
    Require(doc.LoadSubjectById(subject) != 0, "the demo subject does not load");
    Settle();

    TabPictures(*frame);
    SubjectDialogPictures(doc, context);
    DialogPictures(*frame, doc);

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
    if (!g_folder.mkpath(QStringLiteral("."))) {
        std::cerr << "quorin_screenshots: cannot make the folder " << g_folder.path().toStdString() << "\n";
        return 2;
    }
    if (const auto problem = dalport::ClockEnvironmentProblem()) {
        std::cerr << "quorin_screenshots: " << *problem << "\n";
        return 2;
    }
    // One date for every run, so that two runs' pictures differ only where the windows do.
    if (qEnvironmentVariableIsEmpty("QUORIN_CLOCK"))
        dalport::SetFixedClock("2026-06-15 10:30:00");
    res::InstallResources();
    quorin::UseRegistryProfile();
    quorin::RegisterSubsystems();
    // The framework's boxes and the database's errors are recorded like the document's.
    framework::SetMessagePresenter([](QWidget*, const framework::MessageRequest& request) {
        if (request.icon == framework::MessageIcon::Stop)
            g_errors << request.text;
        return request.buttons == framework::MessageButtons::Ok ? framework::MessageResult::Ok
                                                                : framework::MessageResult::No;
    });
    dalport::SetErrorReporter(
        [](const dalport::ReportedError& error) { g_errors << QString::fromStdString(error.text); });

    try {
        MakePictures();
    } catch (const std::exception& e) {
        g_failures << QString::fromStdString(e.what());
    }
    std::cout << g_pictures << " pictures in " << g_folder.absolutePath().toStdString() << "\n";
    for (const QString& failure : g_failures)
        std::cerr << "quorin_screenshots: " << failure.toStdString() << "\n";
    return g_failures.isEmpty() ? 0 : 1;
}
