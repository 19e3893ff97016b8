#pragma once
// One hearing test of the open subject with the symbols plotted on its chart.
// The record owns its points.

#include "audiograms/record/CAudParts.h"
#include "audiograms/record/CAudPoint.h"

#include <vector>

class CAudRecord {
public:
    int Latest = 1;        // 1 = the subject's current test, 0 = a history test
    int Dirty = 0;         // 1 = to be written on the next save
    int LoadAttempted = 0; // 1 once the current test was looked up
    int TestId = -1;       // -1 = not stored yet
    CAudTestInfo Info;
    CAudImmittance Immittance;
    CAudFindings Findings;
    CAudSpeech Speech;
    std::vector<CAudPoint> Points; // plotting order

    // Every field to its empty value (speech materials become " "); the points go
    // only when clearPoints is true.
    void ResetAudRecord(bool clearPoints);

    // A new, unstored test that still shows the previous test's symbols in grey.
    void StartNewAudiogram();

    // Replaces this record by a copy of source, points included.
    void CopyAudRecord(const CAudRecord& source);

    // The same, but only the source's own points (recent 1) come along; a copy of a
    // history test (Latest 0) counts as looked up.
    void CopyHistoryAudRecord(const CAudRecord& source);
};
