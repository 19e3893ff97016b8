#pragma once
// What an edit of the shown audiogram by the user does to the document: the test is to
// be written with the next save. A paged (history) test is only looked at and is never
// marked. The Data and Comments tabs mark through here on every typed, chosen or
// clicked change.

class CQuorinDoc;

namespace quorin {

// Sets Dirty of m_audCurrent and clears AudiogramClean, unless a paged test is shown
// (m_nPageDir not 0). Returns true when the test was marked.
bool MarkShownTestEdited(CQuorinDoc& doc);

} // namespace quorin
