#pragma once
// Tools > Update as a bulk job: every registry subject with a KV Number whose clinic has
// a test of a later day than the registry's newest gets that clinic test, imported and
// saved in one registry transaction per subject. The menu command and the registry
// tool run the same job; neither shows anything but what the runner and the document
// show, and the whole outcome comes back to the caller.

#include "document/CBulkUpdate.h"

#include <QString>
#include <optional>
#include <vector>

namespace quorin {

// The job's own reasons beside the runner's ("not found", "save failed",
// "not processed").
inline constexpr const char* kReasonNoKv = "no KV Number";
inline constexpr const char* kReasonKvNotWhole = "KV Number not a whole number";
inline constexpr const char* kReasonUnreadableTest = "unreadable test";
inline constexpr const char* kReasonIncompleteSubject = "incomplete subject";
// The clinic's answer to the check could not be read (the server has said why): a
// failure, unlike "no newer test".
inline constexpr const char* kReasonAudReadFailed = "Aud read failed";
// Followed by the registry column ("table.column") a clinic text does not fit.
inline constexpr const char* kReasonAudTooLong = "Aud value too long for ";
// Given in the check to candidates that are up to date, and in a dry run to those that
// would have been updated; neither is a failure, so NotUpdated() leaves them out.
inline constexpr const char* kReasonNoNewerTest = "no newer test";
inline constexpr const char* kReasonDryRun = "dry run";

// A subject the check kept: its clinic has a newer test.
struct AmNewerTest {
    int SubjectId = -1;
    QString Unit;
    // The registry's newest test ("1/1/1900" without one).
    QString RegistryDate;
    // The clinic's newest test (MM/DD/YYYY): read in a dry run, taken from the imported
    // test otherwise ("" when it could not be imported).
    QString ClinicDate;
};

struct ToolsUpdateResult {
    BulkResult run;
    bool dryRun = false;
    // Every subject the check kept, in the order checked.
    std::vector<AmNewerTest> newer;

    // Every clinic read of the check failed: the run learnt nothing and is a failure.
    bool allReadsFailed = false;
    // Registry subjects whose Audiogram Manager status differed from their registry status
    // (a run stopped between a subject's commit and its status write), and whose status
    // was sent now.
    int statusSent = 0;
    // The comparison or a status write failed (the server has said why).
    bool statusFailed = false;

    int Count() const { return run.Count(); }
    // The candidates that were neither updated nor up to date, with their reasons.
    std::vector<BulkSkip> NotUpdated() const;
};

// The statement that lists every registry subject whose status the Audiogram Manager
// holds otherwise (unit, birth, status), on the registry session.
QString ChangedAmStatusQuery();

// Sends the Audiogram Manager status of every subject ChangedAmStatusQuery lists, on the
// document's Aud session. The number sent, or nothing when the comparison or a write
// failed.
std::optional<int> SendChangedAmStatus(CQuorinDoc& document);

class AmUpdateJob : public BulkJob {
public:
    // A dry run keeps nothing for the update phase: the check lists the subjects with
    // their clinic dates and nothing is written.
    explicit AmUpdateJob(bool dryRun = false) : m_dryRun(dryRun) {}

    bool Candidates(CQuorinDoc& document, std::vector<CSubjectLink>& out) override;
    std::optional<QString> Check(CQuorinDoc& document, CSubjectLink& link) override;
    std::optional<QString> Update(CQuorinDoc& document, const CSubjectLink& link) override;

    std::vector<AmNewerTest>& Newer() { return m_newer; }
    bool AllReadsFailed() const { return m_reads > 0 && m_readsFailed == m_reads; }

private:
    bool m_dryRun;
    int m_reads = 0;
    int m_readsFailed = 0;
    std::vector<AmNewerTest> m_newer;
};

// Tools > Update without its question and closing box, for the menu command and the
// registry tool: connects Aud once, runs the job through the runner, then sends the
// status of subjects whose Audiogram Manager status is behind (not in a dry run).
// Nothing when Aud could not be reached ("Unable to connect to Database Aud!" has been shown once
// and nothing was changed).
std::optional<ToolsUpdateResult> RunToolsUpdate(CQuorinDoc& document, bool dryRun = false);

} // namespace quorin
