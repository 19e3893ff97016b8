#include "implants/store/CidImportJob.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "rules/KvNumber.h"
#include "implants/store/CidAccess.h"

namespace quorin {

bool CidImportJob::Candidates(CQuorinDoc& document, std::vector<CSubjectLink>& out)
{
    MyADO& db = document.m_db;
    if (!RunText(db, QStringLiteral("Select SubjectId, Unit from subjects where patimpression = 'Cochlear Implant'")))
        return false;
    for (; !db.IsEOF(); db.MoveNext()) {
        CSubjectLink link;
        link.SubjectId = db.GetIntField("SubjectId");
        const int unit = db.GetIntField("Unit");
        if (unit != 0)
            link.Unit = QString::number(unit);
        out.push_back(link);
    }
    return true;
}

std::optional<QString> CidImportJob::Check(CQuorinDoc&, CSubjectLink& link)
{
    // Without a KV Number the statement would match every CID patient stored without one.
    const std::optional<QString> unit = sql::KvNumber(link.Unit);
    if (!unit)
        return QString::fromLatin1(kReasonNoKvNumber);
    ++m_reads;
    if (!RunText(m_cid, QStringLiteral("Select patientid from patient where unit = '%1'").arg(*unit))) {
        ++m_readsFailed;
        return QString::fromLatin1(kReasonCidReadFailed);
    }
    if (m_cid.IsEOF())
        return QString::fromLatin1(kReasonNotInCid);
    const int patientId = m_cid.GetIntField("patientid");
    m_cid.MoveNext();
    // Which of them is the subject cannot be told: importing any one could give the
    // subject another patient's data.
    if (!m_cid.IsEOF())
        return QString::fromLatin1(kReasonSeveralCidPatients);
    link.PatientId = patientId;
    m_found.push_back({link.SubjectId, *unit, patientId});
    if (m_dryRun)
        return QString::fromLatin1(kReasonCidDryRun);
    return std::nullopt;
}

std::optional<QString> CidImportJob::Update(CQuorinDoc& document, const CSubjectLink& link)
{
    const CidImport imported = ImportCidPatient(document, link.PatientId, &m_cid);
    if (imported.outcome == CidImport::Outcome::ReadFailed)
        return QString::fromLatin1(kReasonCidReadFailed);
    if (imported.outcome == CidImport::Outcome::TooLong)
        return QString::fromLatin1(kReasonCidTooLong) + imported.column;
    if (document.m_ciData.HasCiData == 1 && !document.SaveSubject())
        return QString::fromLatin1(kReasonSaveFailed);
    return std::nullopt;
}

std::optional<BulkResult> RunCidImport(CQuorinDoc& document)
{
    std::optional<CidImportResult> result = RunCidImportJob(document, false);
    if (!result)
        return std::nullopt;
    return std::move(result->run);
}

std::optional<CidImportResult> RunCidImportJob(CQuorinDoc& document, bool dryRun)
{
    MyADO cid;
    if (!ConnectCid(document, cid)) {
        document.UI().MessageBox(QStringLiteral("Unable to connect to Database CID!"), UserInterface::Icon::Stop);
        return std::nullopt;
    }
    CidImportJob job(cid, dryRun);
    CBulkUpdate runner(document);
    CidImportResult result;
    result.run = runner.Run(job);
    result.dryRun = dryRun;
    result.found = job.Found();
    result.allReadsFailed = job.AllReadsFailed();
    return result;
}

} // namespace quorin
