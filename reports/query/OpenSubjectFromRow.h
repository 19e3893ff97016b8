#pragma once
// Double-clicking a row of a report that leads back to subjects (column 0 holds the
// SubjectId) opens that subject in the main window.

#include <optional>

class CQuorinDoc;
class CReportList;

namespace quorin {

// The subject id a row's column 0 holds: a whole number above 0 and nothing else. A
// heading or spacer row holds none.
std::optional<int> SubjectIdOfRow(const CReportList& list, int row);

// Opens the subject of the row. A row without a subject id, or no row (-1), is no
// selection: "Please make a selection!". Unsaved work is offered for saving first, as
// File New does ("Save Current Subject?"); Cancel, or a save that could not store it,
// keeps the open subject. Returns true when a subject was loaded.
bool OpenSubjectFromRow(CQuorinDoc& document, const CReportList& list, int row);

} // namespace quorin
