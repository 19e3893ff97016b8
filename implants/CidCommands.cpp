// The CI Data tab's "Check CID DB" and the Tools commands CID Import and Update Quorin.

#include "app/CBulkUpdate.h"
#include "app/CQuorinDoc.h"
#include "implants/CidImportJob.h"

using quorin::UserInterface;

namespace {

bool AskUpdateFromCid(UserInterface& ui)
{
    return ui.MessageBox(QStringLiteral("Update Subject records from Cochlear Implant Database?"),
                         UserInterface::Icon::Default, UserInterface::Buttons::YesNo)
           == UserInterface::Answer::Yes;
}

} // namespace

int CQuorinDoc::CheckCidDatabase()
{
    m_nCidPatientId = -1;
    if (m_ui.RunDialog(UserInterface::Dialog::CidLookup) != 1 || m_nCidPatientId == -1)
        return 0;
    if (!ImportCiFromCid(m_nCidPatientId)) {
        // The user picked a patient: silence would read as an import.
        m_ui.MessageBox(QStringLiteral("The CID patient could not be read. Nothing was imported."),
                        UserInterface::Icon::Stop);
        return 0;
    }
    // Only now do the tab's fields and lists change: after Cancel they keep what was typed.
    m_subject.Modified = 1;
    return 1;
}

void CQuorinDoc::OnCidImport()
{
    if (!AskUpdateFromCid(m_ui))
        return;
    const std::optional<quorin::BulkResult> result = quorin::RunCidImport(*this);
    if (!result || result->stoppedBySave)
        return; // CID unreachable (said so), or the open subject's save stopped the run
    m_ui.MessageBox(QStringLiteral("Updated %1 records!").arg(result->Count()), UserInterface::Icon::Information);
}

void CQuorinDoc::OnUpdateQuorinFromCid()
{
    if (!AskUpdateFromCid(m_ui))
        return;
    quorin::CBulkUpdate runner(*this);
    if (!runner.PrepareDocument())
        return;
    int updated;
    {
        quorin::WaitCursor wait(m_ui);
        updated = m_db.RunStoredProcedure("uspUpdateQuorinCI");
    }
    // The open subject comes back with what the server wrote.
    runner.Finish();
    m_ui.MessageBox(updated ? QStringLiteral("Updated records in Subject from CID Database.")
                            : QStringLiteral("Unable to update"));
}
