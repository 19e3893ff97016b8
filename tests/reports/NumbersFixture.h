#pragma once
// What the Database Numbers, Numbers added per month and Demographics tests share: a
// registry of 80 subjects (60 active) holding the odd values these counts meet ('' and
// 'NULL' texts, other spellings, sex "Unknown", mixed races, every ethnicity of the
// Subject tab, birth dates on both sides of the 19-year line and none, every status,
// several audiograms, entries this month, three months back, across January, in the
// future and none), read back with plain SQLite; and each report's table as it must be,
// tallied here subject by subject from those raw rows.

#include "subjects_ui/FormFixture.h"

#include <QDate>
#include <QStringList>

#include <optional>
#include <vector>

class CReportList;

namespace quorin::test {

// One subject as the raw row holds it; a NULL column is no value.
struct NumbersSubject {
    int id = 0;
    std::optional<QString> sex, race, ethnicity, impression, recruitment;
    std::optional<QDate> birth, entry;
    int status = 0;
    int audiograms = 0;
};

using Table = std::vector<QStringList>;

// The list's rows, each with the given number of columns.
Table RowsOf(const CReportList& list, int columns);

// The tables as the reports must show them for these subjects, today being the test
// clock's day.
Table ExpectedDemographics(const std::vector<NumbersSubject>& subjects, int view, bool activeOnly);
Table ExpectedDatabaseNumbers(const std::vector<NumbersSubject>& subjects, int allAudiograms, bool activeOnly);
Table ExpectedMonthlyNumbers(const std::vector<NumbersSubject>& subjects);

// Rows equal, cell by cell, with the first difference named.
::testing::AssertionResult SameTable(const Table& shown, const Table& expected);

class NumbersTest : public FormTest {
protected:
    // The 80 subjects above and their audiograms.
    void AddEdgeSubjects();
    // Every subject and its audiogram count, read with plain SQLite.
    std::vector<NumbersSubject> ReadSubjects() const;
    int ReadAudiogramCount() const;
};

} // namespace quorin::test
