#pragma once
// The user-interface service of the registry tool's jobs, for a run without a screen:
// no cursor and no dialog; message boxes go to standard error; a question nobody is
// there to answer is answered No (a dialog: Cancel) and counted; the runner's progress
// shows on standard error only when it is a terminal, and once SIGINT or SIGTERM has
// arrived every progress step answers "cancelled", so a run stops between subjects.

#include "document/UserInterface.h"

#include <ostream>

namespace quorin::tools {

class ConsoleUserInterface : public UserInterface {
public:
    // Progress is shown when `terminal` is true.
    ConsoleUserInterface(std::ostream& err, bool terminal);

    // SIGINT and SIGTERM from now on only ask for the cancel (a second one ends the
    // process as usual).
    static void CatchCancelSignals();
    static bool CancelRequested();

    Answer MessageBox(const QString& text, Icon icon, Buttons buttons) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void BringForward(Page) override {}
    int RunDialog(Dialog dialog) override;
    QString GetOpenFileName(const QString& defaultExtension) override;
    void SetDocumentTitle(const QString&) override {}
    void BeginProgress(int total) override;
    bool StepProgress(const QString& text) override;
    void EndProgress() override;

    // Questions and dialogs that got No or Cancel because nobody could answer them.
    int Unanswered() const { return m_unanswered; }

private:
    void EndProgressLine();

    std::ostream& m_err;
    bool m_terminal;
    bool m_lineOpen = false;
    int m_unanswered = 0;
};

} // namespace quorin::tools
