#include "audiograms/record/CAudRecord.h"

#include <algorithm>
#include <iterator>

void CAudRecord::ResetAudRecord(bool clearPoints)
{
    std::vector<CAudPoint> kept;
    if (!clearPoints)
        kept = std::move(Points);
    *this = CAudRecord{};
    Speech.MatR = QStringLiteral(" ");
    Speech.MatL = QStringLiteral(" ");
    Points = std::move(kept);
}

void CAudRecord::StartNewAudiogram()
{
    ResetAudRecord(false);
    Dirty = 1;
    for (CAudPoint& p : Points)
        p.recent = 0;
}

void CAudRecord::CopyAudRecord(const CAudRecord& source)
{
    if (&source == this)
        return;
    *this = source;
}

void CAudRecord::CopyHistoryAudRecord(const CAudRecord& source)
{
    if (&source == this) {
        std::erase_if(Points, [](const CAudPoint& p) { return p.recent != 1; });
        return;
    }
    std::vector<CAudPoint> own;
    std::copy_if(source.Points.begin(), source.Points.end(), std::back_inserter(own),
                 [](const CAudPoint& p) { return p.recent == 1; });
    Latest = source.Latest;
    Dirty = source.Dirty;
    // A history test was read from storage: shown, it counts as looked up.
    LoadAttempted = source.Latest == 0 ? 1 : source.LoadAttempted;
    TestId = source.TestId;
    Info = source.Info;
    Immittance = source.Immittance;
    Findings = source.Findings;
    Speech = source.Speech;
    Points = std::move(own);
}
