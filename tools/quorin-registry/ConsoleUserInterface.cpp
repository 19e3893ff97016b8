#include "tools/quorin-registry/ConsoleUserInterface.h"

#include <signal.h>

namespace quorin::tools {

namespace {

volatile sig_atomic_t g_cancel = 0;

extern "C" void onCancelSignal(int signal)
{
    (void)signal;
    g_cancel = 1;
}

} // namespace

ConsoleUserInterface::ConsoleUserInterface(std::ostream& err, bool terminal) : m_err(err), m_terminal(terminal) {}

void ConsoleUserInterface::CatchCancelSignals()
{
    struct sigaction action {};
    action.sa_handler = onCancelSignal;
    sigemptyset(&action.sa_mask);
    // A second Ctrl-C is for a run that does not stop: the usual ending then. The engine
    // commits a transaction whole or not at all either way.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool ConsoleUserInterface::CancelRequested()
{
    return g_cancel != 0;
}

UserInterface::Answer ConsoleUserInterface::MessageBox(const QString& text, Icon, Buttons buttons)
{
    EndProgressLine();
    if (buttons != Buttons::Ok) {
        ++m_unanswered;
        m_err << text.toStdString() << " - answered No (no one to ask)\n" << std::flush;
        return Answer::No;
    }
    m_err << text.toStdString() << "\n" << std::flush;
    return Answer::Ok;
}

int ConsoleUserInterface::RunDialog(Dialog)
{
    EndProgressLine();
    ++m_unanswered;
    m_err << "A dialog was cancelled (no one to fill it in).\n" << std::flush;
    return 2;
}

QString ConsoleUserInterface::GetOpenFileName(const QString&)
{
    EndProgressLine();
    ++m_unanswered;
    m_err << "A file choice was cancelled (no one to choose).\n" << std::flush;
    return QString();
}

void ConsoleUserInterface::BeginProgress(int)
{
    EndProgressLine();
}

bool ConsoleUserInterface::StepProgress(const QString& text)
{
    if (m_terminal) {
        m_err << "\r" << text.toStdString() << std::flush;
        m_lineOpen = true;
    }
    return CancelRequested();
}

void ConsoleUserInterface::EndProgress()
{
    EndProgressLine();
}

void ConsoleUserInterface::EndProgressLine()
{
    if (!m_lineOpen)
        return;
    m_err << "\n" << std::flush;
    m_lineOpen = false;
}

} // namespace quorin::tools
