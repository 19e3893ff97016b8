#pragma once
// What the document shows or asks goes through this one narrow interface, so that core
// code never touches a widget: the program implements it with Qt, every test with a
// script.

#include <QString>
#include <QStringList>

namespace quorin {

// Work that runs off the window's thread (the reminder mail) while the user watches its
// progress and may cancel it.
class BackgroundWork {
public:
    virtual ~BackgroundWork() = default;
    // The whole work, on a thread of its own; returns when done or cancelled. It never
    // talks to the user.
    virtual void Run() = 0;
    // From the window's thread, while Run goes on: stop as soon as can be.
    virtual void Cancel() = 0;
    // From the window's thread, while Run goes on: what to show now (the text of the
    // step under way), and how far it got (steps begun, of the total).
    virtual QString ProgressText() const = 0;
    virtual int ProgressStep() const = 0;
    virtual int ProgressTotal() const = 0;
};

class UserInterface {
public:
    enum class Icon { Default, Stop, Information };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    // The workspace pages a document operation may bring forward.
    enum class Page { Subject, Audiogram, Chart, AudData, Comments, CiData, Sll, Other };

    // The modal dialogs the document's own operations open. The implementation builds
    // and runs them; the result is the dialog's (1 for OK, 2 for Cancel).
    enum class Dialog {
        Users,
        ChangePassword,
        Recruitment,
        CidImport,
        UpdateQuorinFromCid,
        AmSearch,
        ReportConsent,
        ReportContact,
        ReportDatasets,
        ReportDemographics,
        ReportFeedback,
        ReportMonthlyNumbers,
        ReportNumbers,
        ReportParticipation,
        ReportOldDatasets,
        ReportLetters,
        ChangeHistory,
        // The CI Database Lookup for the open subject's unit and names; on OK the chosen
        // CID PatientId is in the document's m_nCidPatientId.
        CidLookup
    };

    virtual ~UserInterface() = default;

    // A message box with the caption "Quorin". With Buttons::Ok the answer is Ok.
    virtual Answer MessageBox(const QString& text, Icon icon = Icon::Default,
                              Buttons buttons = Buttons::Ok) = 0;

    // Nested calls are counted: the cursor comes back after the last End.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // Activates the page's tab (and the tabs that hold it) without moving the focus.
    virtual void BringForward(Page page) = 0;

    virtual int RunDialog(Dialog dialog) = 0;

    // The open-file dialog; returns the chosen path, or "" when cancelled.
    virtual QString GetOpenFileName(const QString& defaultExtension) = 0;

    // The save-file dialog with its filters (first one chosen) and the overwrite prompt;
    // returns the chosen path, or "" when cancelled. Without file dialogs: cancelled.
    virtual QString GetSaveFileName(const QString& defaultExtension, const QString& defaultName,
                                    const QStringList& filters)
    {
        (void)defaultExtension;
        (void)defaultName;
        (void)filters;
        return QString();
    }

    // The folder chooser, opened at startFolder; returns the chosen folder, or "" when
    // cancelled. Without folder dialogs: cancelled.
    virtual QString GetFolderName(const QString& title, const QString& startFolder)
    {
        (void)title;
        (void)startFolder;
        return QString();
    }

    // The document's title changed ("Quorin Demo"); the frame shows it in its caption.
    virtual void SetDocumentTitle(const QString& title) = 0;

    // Progress of long work over many subjects: Begin with the number of steps, Step
    // before each one with its text (true when the user asked to cancel), End once.
    // Begin again after End starts a new count. Without a progress display nothing is
    // shown and nothing cancels.
    virtual void BeginProgress(int total) { (void)total; }
    virtual bool StepProgress(const QString& text)
    {
        (void)text;
        return false;
    }
    virtual void EndProgress() {}

    // Runs the work on another thread and returns once it has ended; meanwhile the
    // windows keep answering and a progress display with Cancel shows how far it got.
    // Without a display the work simply runs here and nothing cancels it.
    virtual void RunInBackground(BackgroundWork& work) { work.Run(); }
};

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
public:
    explicit WaitCursor(UserInterface& ui) : m_ui(ui) { m_ui.BeginWaitCursor(); }
    ~WaitCursor() { m_ui.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UserInterface& m_ui;
};

// Shows progress for the lifetime of the object.
class ProgressScope {
public:
    ProgressScope(UserInterface& ui, int total) : m_ui(ui) { m_ui.BeginProgress(total); }
    ~ProgressScope() { m_ui.EndProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    UserInterface& m_ui;
};

} // namespace quorin
