#pragma once
// From a row of the change history to the audiogram test it changed: the open subject's
// test is shown on the audiogram pages the way Page Prev and Page Next show it (the
// forms hand over their edits first, and the current test is kept for Home and Save).

class CQuorinDoc;

namespace quorin {

// Pages to the test and brings the Audiogram tab forward; true when the test is shown.
// A test the open subject no longer has says so ("... no longer exists"), and so does
// one the audiogram history does not hold; a form that refuses its edits stops the
// paging where it stands, having said why.
bool PageToAudiogramTest(CQuorinDoc& document, int testId);

} // namespace quorin
