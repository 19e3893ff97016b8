#pragma once
// Adding, editing and deleting the subject's speech, language and literacy tests, and
// the texts the S/L/L list shows for them. The tab only picks the row and runs the
// dialog; everything that touches the document or the database is here.

#include "implants/record/CSpeechTest.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class CQuorinDoc;

namespace quorin {

// Shows the test in the Speech Test dialog for the user to change; true on OK, with the
// test holding what was typed.
using SpeechTestEditor = std::function<bool(CSpeechTest& test)>;

// The list's columns, in order; column 1 holds the hidden TestId.
inline constexpr int kSpeechTestColumns = 13;
inline constexpr int kSpeechTestIdColumn = 1;

// The id a test added now gets until it is stored: (number of tests) - 100 when no test
// has it and it is below 1; otherwise one less than the lowest id in use (and below 1),
// so that no two tests in the list ever share an id.
int TemporarySpeechTestId(const std::vector<CSpeechTest>& list);

// The test with the id in the document's list, or null.
CSpeechTest* FindSpeechTest(CQuorinDoc& doc, int testId);

// "Add": an empty test in the editor; on OK it joins the list with a temporary id and
// the subject counts as modified. Returns true when a test was added.
bool AddSpeechTest(CQuorinDoc& doc, const SpeechTestEditor& editor);

// "Edit" of the selected row's test (nothing selected: the selection message). On OK
// the test takes what was typed and the subject counts as modified. An id that matches
// no test does nothing. Returns true when a test was changed.
bool EditSpeechTest(CQuorinDoc& doc, std::optional<int> selectedTestId, const SpeechTestEditor& editor);

// "Delete" of the selected row's test (nothing selected: the selection message). A
// stored test is deleted from the database at once; when that statement fails the test
// stays (the session has said why). Returns true when the test left the list.
bool DeleteSpeechTest(CQuorinDoc& doc, std::optional<int> selectedTestId);

// The thirteen texts of the test's row.
QStringList SpeechTestRowTexts(const CSpeechTest& test);

// Age-Equivalent as years and months: 55 -> "4,7".
QString AgeEquivalentText(int months);

// "Age at time of test" from the birth and test dates: "5yrs 0mos". Empty when either
// date is missing or unreadable, or the test is dated before the birth.
QString AgeAtTestText(const CQuorinDoc& doc, const QString& birth, const QString& testDate);

// The distinct names in TestedBy of the subject's listed tests, sorted, without blanks:
// the choices of "Tested by:".
QStringList SpeechTesters(const std::vector<CSpeechTest>& list);

} // namespace quorin
