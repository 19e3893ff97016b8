#pragma once
// The one runner of every bulk update over registry subjects (CID Import, the Audiogram
// Manager's Tools > Update, the registry tool's jobs). A job names its candidates,
// checks each one (keep it, or say why not) and updates a kept subject once the runner
// has loaded it. The runner:
// - asks "Save Current Subject?" when the open subject has unsaved work, and
//   afterwards reloads the open subject by id (or clears the document), since saving
//   the stale copy later would undo the update;
// - holds Interactive at 0 while it runs and shows the wait cursor and progress, with
//   Cancel taking effect between subjects;
// - loads each kept subject by id and runs the job's update (which saves) in one
//   registry transaction, committed only when every step succeeded;
// - sends the Audiogram Manager status of a saved subject after its commit, and stops
//   trying once Aud could not be reached (one box a run);
// - counts only committed subjects and gives every other candidate its reason.

#include "subjects/record/CSubjectLink.h"

#include <QString>
#include <optional>
#include <vector>

class CQuorinDoc;

namespace quorin {

// The reasons the runner itself gives.
inline constexpr const char* kReasonNotProcessed = "not processed";
inline constexpr const char* kReasonSaveFailed = "save failed";
inline constexpr const char* kReasonNotLoaded = "not found";

struct BulkSkip {
    int subjectId = -1;
    QString reason;
};

struct BulkResult {
    // False when nothing ran: the save of the open subject stopped, or the candidates
    // could not be read.
    bool ran = false;
    // The open subject's save question (Cancel, or a save that stopped) stopped the run.
    bool stoppedBySave = false;
    bool cancelled = false;
    int candidates = 0;
    std::vector<int> committed;  // subject ids, in the order they were committed
    std::vector<BulkSkip> others; // every other candidate, with its reason
    // Committed subjects whose status could not be sent to the Audiogram Manager.
    int amStatusNotSent = 0;

    int Count() const { return int(committed.size()); }
    // How many candidates were given `reason`.
    int CountOf(const char* reason) const;
    // The reason given for a candidate that was not committed ("" when committed or
    // not a candidate).
    QString ReasonFor(int subjectId) const;
};

// The menu commands' closing text: "Updated %d records!", and when candidates could not
// be read from the clinic ("Aud read failed", "CID read failed") a second line saying
// how many, so that a run that read nothing is not taken for one with nothing to do.
QString BulkClosingText(const BulkResult& result, const char* readFailedReason);

class BulkJob {
public:
    virtual ~BulkJob() = default;
    // Reads every candidate at once (the document's session is used for other statements
    // afterwards). False when they could not be read.
    virtual bool Candidates(CQuorinDoc& document, std::vector<CSubjectLink>& out) = 0;
    // Nothing to keep the candidate (the job may fill in its link, e.g. PatientId), or
    // the reason it is skipped.
    virtual std::optional<QString> Check(CQuorinDoc& document, CSubjectLink& link) = 0;
    // The subject is loaded in the document, inside its transaction. Nothing when the
    // update (and its save) succeeded, else the reason; the transaction is then rolled
    // back.
    virtual std::optional<QString> Update(CQuorinDoc& document, const CSubjectLink& link) = 0;
};

class CBulkUpdate {
public:
    explicit CBulkUpdate(CQuorinDoc& document);
    // Finish(), when it has not been called.
    ~CBulkUpdate();
    CBulkUpdate(const CBulkUpdate&) = delete;
    CBulkUpdate& operator=(const CBulkUpdate&) = delete;

    // The save question for unsaved work (Yes saves). False for Cancel or when that save
    // stopped: nothing may run, and Finish leaves the document as it is. Afterwards Interactive
    // is 0 until Finish. Asked once; later calls return the first answer.
    bool PrepareDocument();
    // The whole run (PrepareDocument first, when not yet done), then Finish.
    BulkResult Run(BulkJob& job);
    // The open subject again by id, or a cleared document; Interactive 1. Runs once.
    void Finish();

private:
    void UpdateOne(BulkJob& job, const CSubjectLink& link, BulkResult& result);
    void SendAmStatus(BulkResult& result);

    CQuorinDoc& m_document;
    bool m_prepared = false;
    bool m_proceed = false;
    bool m_finished = false;
    bool m_audUnreachable = false;
    int m_openSubjectId = -1;
};

} // namespace quorin
