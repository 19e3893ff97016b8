#pragma once
// The chart's offer of a newer test from the Audiogram Manager for the shown subject.
// Returns 1 when a test was imported.

class CQuorinDoc;

namespace quorin {

int CheckForNewAmAudiogram(CQuorinDoc& doc);

} // namespace quorin
