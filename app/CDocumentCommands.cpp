#include "app/CDocumentCommands.h"

#include "document/CQuorinDoc.h"
#include "registration/DialogRegistry.h"
#include "registration/DocumentCommandRegistry.h"
#include "subjects/ui/AdminImport.h"
#include "resources/Resource.h"

#include <QFile>

#include <utility>

using quorin::UserInterface;

namespace {

// The paging commands of the audiogram history; a command some other part registered
// for the same id first is left in place.
void RegisterUnlessTaken(unsigned id, quorin::DocumentCommand command)
{
    if (!quorin::RegisteredDocumentCommands().count(id))
        quorin::RegisterDocumentCommand(id, std::move(command));
}

void RegisterPagingCommands()
{
    RegisterUnlessTaken(res::ID_PAGE_PREV, {[](CQuorinDoc& d) { d.OnPagePrev(); }, &CDocumentCommands::PagePrevEnabled});
    RegisterUnlessTaken(res::ID_PAGE_NEXT, {[](CQuorinDoc& d) { d.OnPageNext(); }, &CDocumentCommands::PageNextEnabled});
    RegisterUnlessTaken(res::ID_PAGE_HOME, {[](CQuorinDoc& d) { d.OnPageHome(); }, [](const CQuorinDoc&) { return true; }});
}

} // namespace

CDocumentCommands::CDocumentCommands(CQuorinDoc& document) : m_document(document)
{
    RegisterPagingCommands();
    CCommandMap& map = CommandMap();
    map.On(res::ID_FILE_OPEN, [this] { OnFileOpen(); });
    map.On(res::ID_FILE_SAVE, [this] { m_document.SaveSubject(); });
    map.On(res::ID_TOOLS_ADMIN_IMPORT, [this] { quorin::OnAdminImport(m_document.UI()); });

    InstallDialogCommand(res::ID_TOOLS_USERS, int(UserInterface::Dialog::Users));
    InstallDialogCommand(res::ID_TOOLS_CHANGE_PASSWORD, int(UserInterface::Dialog::ChangePassword));
    InstallDialogCommand(res::ID_TOOLS_RECRUITMENT, int(UserInterface::Dialog::Recruitment));
    InstallDialogCommand(res::ID_REPORTS_CONSENT, int(UserInterface::Dialog::ReportConsent));
    InstallDialogCommand(res::ID_REPORTS_CONTACT, int(UserInterface::Dialog::ReportContact));
    InstallDialogCommand(res::ID_REPORTS_DATASETS, int(UserInterface::Dialog::ReportDatasets));
    InstallDialogCommand(res::ID_REPORTS_DEMOGRAPHICS, int(UserInterface::Dialog::ReportDemographics));
    InstallDialogCommand(res::ID_REPORTS_FEEDBACK, int(UserInterface::Dialog::ReportFeedback));
    InstallDialogCommand(res::ID_REPORTS_MONTHLY, int(UserInterface::Dialog::ReportMonthlyNumbers));
    InstallDialogCommand(res::ID_REPORTS_NUMBERS, int(UserInterface::Dialog::ReportNumbers));
    InstallDialogCommand(res::ID_REPORTS_PARTICIPATION, int(UserInterface::Dialog::ReportParticipation));
    InstallDialogCommand(res::ID_REPORTS_OLD_DATASETS, int(UserInterface::Dialog::ReportOldDatasets));
    InstallDialogCommand(res::ID_REPORTS_LETTERS, int(UserInterface::Dialog::ReportLetters));

    for (const auto& [id, command] : quorin::RegisteredDocumentCommands()) {
        if (command.run)
            map.On(id, [this, run = command.run] { run(m_document); });
        if (command.enabled)
            map.OnUpdate(id, [this, enabled = command.enabled](CCmdUI* ui) { ui->Enable(enabled(m_document)); });
    }
}

void CDocumentCommands::InstallDialogCommand(unsigned id, int dialog)
{
    // A window that no subsystem has registered yet is shown disabled.
    const auto kind = static_cast<UserInterface::Dialog>(dialog);
    CommandMap().On(id, [this, kind] { m_document.UI().RunDialog(kind); });
    CommandMap().OnUpdate(id, [kind](CCmdUI* ui) { ui->Enable(quorin::IsDialogAvailable(kind)); });
}

void CDocumentCommands::OnFileOpen()
{
    const QString path = m_document.UI().GetOpenFileName(QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        m_document.UI().MessageBox(QStringLiteral("Error: Can't open input file."), UserInterface::Icon::Stop);
}

// The rules themselves are the document's.
bool CDocumentCommands::PageNextEnabled(const CQuorinDoc& document)
{
    return document.IsPageNextEnabled();
}

bool CDocumentCommands::PagePrevEnabled(const CQuorinDoc& document)
{
    return document.IsPagePrevEnabled();
}
