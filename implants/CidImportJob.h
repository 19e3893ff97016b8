#pragma once
// CID Import as a bulk job: every registry subject with hearing status "Cochlear
// Implant" whose KV Number is exactly one CID patient gets that patient's implant data
// and is saved. One CID session serves the whole run.

#include "app/CBulkUpdate.h"

#include "dalport/MyADO.h"

#include <optional>

namespace quorin {

inline constexpr const char* kReasonNoKvNumber = "no KV Number";
inline constexpr const char* kReasonNotInCid = "not in CID";
inline constexpr const char* kReasonSeveralCidPatients = "several CID patients";
inline constexpr const char* kReasonCidReadFailed = "CID read failed";

class CidImportJob : public BulkJob {
public:
    // The CID session stays the caller's and must be connected.
    explicit CidImportJob(MyADO& cid) : m_cid(cid) {}

    bool Candidates(CQuorinDoc& document, std::vector<CSubjectLink>& out) override;
    std::optional<QString> Check(CQuorinDoc& document, CSubjectLink& link) override;
    std::optional<QString> Update(CQuorinDoc& document, const CSubjectLink& link) override;

private:
    MyADO& m_cid;
};

// CID Import without its question and closing box, for the menu command and the
// registry tool: connects CID once and runs the job. Nothing when CID could not be
// reached ("Unable to connect to Database CID!" has been shown).
std::optional<BulkResult> RunCidImport(CQuorinDoc& document);

} // namespace quorin
