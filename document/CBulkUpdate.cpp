#include "document/CBulkUpdate.h"

#include "document/CQuorinDoc.h"
#include "document/SessionTransaction.h"

using quorin::UserInterface;

namespace quorin {

QString BulkResult::ReasonFor(int subjectId) const
{
    for (const BulkSkip& s : others)
        if (s.subjectId == subjectId)
            return s.reason;
    return QString();
}

int BulkResult::CountOf(const char* reason) const
{
    const QString r = QString::fromLatin1(reason);
    int n = 0;
    for (const BulkSkip& s : others)
        n += s.reason == r ? 1 : 0;
    return n;
}

QString BulkClosingText(const BulkResult& result, const char* readFailedReason)
{
    QString text = QStringLiteral("Updated %1 records!").arg(result.Count());
    if (const int unread = result.CountOf(readFailedReason))
        text += QStringLiteral("\n%1 subjects could not be read: %2").arg(unread).arg(QLatin1String(readFailedReason));
    return text;
}

CBulkUpdate::CBulkUpdate(CQuorinDoc& document) : m_document(document) {}

CBulkUpdate::~CBulkUpdate()
{
    Finish();
}

bool CBulkUpdate::PrepareDocument()
{
    if (m_prepared)
        return m_proceed;
    m_prepared = true;
    CQuorinDoc& d = m_document;
    // Saved while the forms still hand over their edits; Cancel, or a save that stops
    // (it has said why), keeps the subject as typed and runs nothing.
    if (!d.SaveModified())
        return m_proceed = false;
    m_openSubjectId = d.m_subject.SubjectID;
    d.Interactive = 0;
    return m_proceed = true;
}

void CBulkUpdate::Finish()
{
    if (m_finished || !m_prepared)
        return;
    m_finished = true;
    CQuorinDoc& d = m_document;
    d.DeferAmStatus = 0;
    d.AmStatusPending = 0;
    d.Interactive = 1;
    if (!m_proceed)
        return;
    // The copy in memory is older than the registry now: saving it would undo the run.
    if (m_openSubjectId != -1)
        d.LoadSubjectById(m_openSubjectId);
    else
        d.ClearDocument();
}

BulkResult CBulkUpdate::Run(BulkJob& job)
{
    BulkResult result;
    if (!PrepareDocument()) {
        result.stoppedBySave = true;
        return result;
    }
    CQuorinDoc& d = m_document;
    UserInterface& ui = d.UI();
    {
        WaitCursor wait(ui);
        std::vector<CSubjectLink> candidates;
        if (!job.Candidates(d, candidates)) {
            Finish();
            return result;
        }
        result.ran = true;
        result.candidates = int(candidates.size());
        const int total = int(candidates.size());

        std::vector<CSubjectLink> kept;
        {
            ProgressScope progress(ui, total);
            for (int i = 0; i < total; ++i) {
                if (ui.StepProgress(QStringLiteral("Checking subject %1 of %2").arg(i + 1).arg(total))) {
                    result.cancelled = true;
                    for (const CSubjectLink& k : kept)
                        result.others.push_back({k.SubjectId, QString::fromLatin1(kReasonNotProcessed)});
                    for (int j = i; j < total; ++j)
                        result.others.push_back({candidates[j].SubjectId, QString::fromLatin1(kReasonNotProcessed)});
                    kept.clear();
                    break;
                }
                CSubjectLink& link = candidates[i];
                if (const std::optional<QString> reason = job.Check(d, link))
                    result.others.push_back({link.SubjectId, *reason});
                else
                    kept.push_back(link);
            }
        }

        if (!kept.empty()) {
            const int updates = int(kept.size());
            ProgressScope progress(ui, updates);
            d.DeferAmStatus = 1;
            for (int k = 0; k < updates; ++k) {
                if (ui.StepProgress(QStringLiteral("Updating subject %1 of %2").arg(k + 1).arg(updates))) {
                    result.cancelled = true;
                    for (int j = k; j < updates; ++j)
                        result.others.push_back({kept[j].SubjectId, QString::fromLatin1(kReasonNotProcessed)});
                    break;
                }
                UpdateOne(job, kept[k], result);
            }
            d.DeferAmStatus = 0;
        }
    }
    Finish();
    return result;
}

void CBulkUpdate::UpdateOne(BulkJob& job, const CSubjectLink& link, BulkResult& result)
{
    CQuorinDoc& d = m_document;
    d.AmStatusPending = 0;
    std::optional<QString> reason;
    {
        SessionTransaction transaction(d.m_db);
        if (!transaction.Started()) {
            reason = QString::fromLatin1(kReasonSaveFailed);
        } else {
            // By id: a KV Number may be shared, and a load by unit gave both subjects the
            // same one.
            d.LoadSubjectById(link.SubjectId);
            if (d.SubjectLoadFailed)
                reason = QString::fromLatin1(kReasonSaveFailed); // the server refused: not "not found"
            else if (d.m_subject.SubjectID != link.SubjectId)
                reason = QString::fromLatin1(kReasonNotLoaded);
            else
                reason = job.Update(d, link);
            if (!reason && !transaction.Commit())
                reason = QString::fromLatin1(kReasonSaveFailed);
        }
        // Rolled back here unless committed (only while the server still holds it open).
    }
    if (reason) {
        d.AmStatusPending = 0;
        result.others.push_back({link.SubjectId, *reason});
        return;
    }
    result.committed.push_back(link.SubjectId);
    SendAmStatus(result);
}

void CBulkUpdate::SendAmStatus(BulkResult& result)
{
    CQuorinDoc& d = m_document;
    if (!d.AmStatusPending)
        return;
    d.AmStatusPending = 0;
    // Once Aud could not be reached, the rest of the run does not ask it again: one box,
    // not one per subject, and no connection time-out per subject.
    if (m_audUnreachable || !d.UpdateAudiogramManagerStatus()) {
        m_audUnreachable = true;
        ++result.amStatusNotSent;
    }
}

} // namespace quorin
