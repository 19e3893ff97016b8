#pragma once
// CID Import as a bulk job: every registry subject with hearing status "Cochlear
// Implant" whose KV Number is exactly one CID patient gets that patient's implant data
// and is saved. One CID session serves the whole run.

#include "document/CBulkUpdate.h"

#include "dalport/MyADO.h"

#include <optional>

namespace quorin {

inline constexpr const char* kReasonNoKvNumber = "no KV Number";
inline constexpr const char* kReasonNotInCid = "not in CID";
inline constexpr const char* kReasonSeveralCidPatients = "several CID patients";
inline constexpr const char* kReasonCidReadFailed = "CID read failed";
// Followed by the registry column ("table.column") the CID value does not fit.
inline constexpr const char* kReasonCidTooLong = "CID value too long for ";
// Given in a dry run to the subjects that would have been updated; not a failure.
inline constexpr const char* kReasonCidDryRun = "dry run";

// A subject the check kept: exactly one CID patient has its KV Number.
struct CidFound {
    int SubjectId = -1;
    QString Unit;
    int PatientId = -1;
};

class CidImportJob : public BulkJob {
public:
    // The CID session stays the caller's and must be connected. A dry run keeps nothing
    // for the update phase: the check lists the subjects found and nothing is written.
    explicit CidImportJob(MyADO& cid, bool dryRun = false) : m_cid(cid), m_dryRun(dryRun) {}

    bool Candidates(CQuorinDoc& document, std::vector<CSubjectLink>& out) override;
    std::optional<QString> Check(CQuorinDoc& document, CSubjectLink& link) override;
    std::optional<QString> Update(CQuorinDoc& document, const CSubjectLink& link) override;

    // Every subject the check kept (or, in a dry run, would have kept), in the order
    // checked.
    const std::vector<CidFound>& Found() const { return m_found; }
    // Every CID read of the check failed: the run learnt nothing and is a failure.
    bool AllReadsFailed() const { return m_reads > 0 && m_readsFailed == m_reads; }

private:
    MyADO& m_cid;
    bool m_dryRun;
    int m_reads = 0;
    int m_readsFailed = 0;
    std::vector<CidFound> m_found;
};

struct CidImportResult {
    BulkResult run;
    bool dryRun = false;
    std::vector<CidFound> found;
    bool allReadsFailed = false;
};

// CID Import without its question and closing box, for the menu command and the
// registry tool: connects CID once and runs the job. Nothing when CID could not be
// reached ("Unable to connect to Database CID!" has been shown).
std::optional<BulkResult> RunCidImport(CQuorinDoc& document);
// The same with the subjects found in CID, and as a dry run when asked.
std::optional<CidImportResult> RunCidImportJob(CQuorinDoc& document, bool dryRun);

} // namespace quorin
