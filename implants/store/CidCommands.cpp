// The CI Data tab's "Check CID DB" and the Tools commands CID Import and Update Quorin.

#include "document/CBulkUpdate.h"
#include "document/CQuorinDoc.h"
#include "implants/store/CidAccess.h"
#include "implants/store/CidImportJob.h"

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
    const quorin::CidImport imported = quorin::ImportCidPatient(*this, m_nCidPatientId);
    // The user picked a patient: silence would read as an import.
    if (imported.outcome == quorin::CidImport::Outcome::ReadFailed) {
        m_ui.MessageBox(QStringLiteral("The CID patient could not be read. Nothing was imported."),
                        UserInterface::Icon::Stop);
        return 0;
    }
    if (imported.outcome == quorin::CidImport::Outcome::TooLong) {
        m_ui.MessageBox(QStringLiteral("The CID patient has a value longer than the registry's %1 can hold. "
                                       "Nothing was imported.")
                            .arg(imported.column),
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
    const std::optional<quorin::CidImportResult> result = quorin::RunCidImportJob(*this, false);
    // CID unreachable, the open subject's save stopped, or the registry's list could not
    // be read: each has said so, and nothing was updated.
    if (!result || !result->run.ran)
        return;
    // A run whose every CID read failed learnt nothing: shown as the failure it is.
    m_ui.MessageBox(quorin::BulkClosingText(result->run, quorin::kReasonCidReadFailed),
                    result->allReadsFailed ? UserInterface::Icon::Stop : UserInterface::Icon::Information);
}

void CQuorinDoc::OnUpdateQuorinFromCid()
{
    if (!AskUpdateFromCid(m_ui))
        return;
    quorin::CBulkUpdate runner(*this);
    if (!runner.PrepareDocument())
        return;
    bool ran;
    int updated = 0;
    int shared = 0;
    {
        quorin::WaitCursor wait(m_ui);
        ran = m_db.RunStoredProcedure("uspUpdateQuorinCI") != 0 && !m_db.IsEOF();
        if (ran) {
            updated = m_db.GetIntField("Updated");
            shared = m_db.GetIntField("SharedUnit");
        }
    }
    // The open subject comes back with what the server wrote.
    runner.Finish();
    if (!ran) {
        m_ui.MessageBox(QStringLiteral("Unable to update"));
        return;
    }
    // A subject whose KV Number several CID patients share is left alone, as CID Import
    // leaves it: the message says how many, so nobody takes them for updated.
    m_ui.MessageBox(QStringLiteral("Updated %1 records in Subject from CID Database.\n"
                                   "%2 subjects were left as they were: several CID patients share their KV Number.")
                        .arg(updated)
                        .arg(shared));
}
