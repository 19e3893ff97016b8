#pragma once
// Tools > Update as a bulk job: every registry subject with a KV Number whose clinic has
// a test of a later day than the registry's newest gets that clinic test, imported and
// saved in one registry transaction per subject. The menu command and the registry
// tool run the same job; neither shows anything but what the runner and the document
// show, and the whole outcome comes back to the caller.

#include "app/CBulkUpdate.h"

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

    int Count() const { return run.Count(); }
    // The candidates that were neither updated nor up to date, with their reasons.
    std::vector<BulkSkip> NotUpdated() const;
};

class AmUpdateJob : public BulkJob {
public:
    // A dry run keeps nothing for the update phase: the check lists the subjects with
    // their clinic dates and nothing is written.
    explicit AmUpdateJob(bool dryRun = false) : m_dryRun(dryRun) {}

    bool Candidates(CQuorinDoc& document, std::vector<CSubjectLink>& out) override;
    std::optional<QString> Check(CQuorinDoc& document, CSubjectLink& link) override;
    std::optional<QString> Update(CQuorinDoc& document, const CSubjectLink& link) override;

    std::vector<AmNewerTest>& Newer() { return m_newer; }

private:
    bool m_dryRun;
    std::vector<AmNewerTest> m_newer;
};

// Tools > Update without its question and closing box, for the menu command and the
// registry tool: connects Aud once and runs the job through the runner. Nothing when
// Aud could not be reached ("Unable to connect to Database Aud!" has been shown once
// and nothing was changed).
std::optional<ToolsUpdateResult> RunToolsUpdate(CQuorinDoc& document, bool dryRun = false);

} // namespace quorin
