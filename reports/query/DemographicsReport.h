#pragma once
// Demographics: the tables of subjects by race or by ethnicity, each split by sex and
// into children (under 19 calendar years), adults and all ages, that grant and IRB
// reports ask for; "Both" gives the race table for Hispanic, Not Hispanic and unreported
// ethnicity in turn.
//
// Each cell is the count of one statement over `subjects` (pattern, age group, optional
// ethnicity, optional active-only), grouped by sex. Those statements are kept here as the
// definition of every cell; a view reads the same counts in one statement grouped by
// sex, race, ethnicity and age, and tallies them with the server's LIKE meaning (case
// and trailing blanks ignored). Tests hold both to every cell.
//
// Ethnicity: Not Hispanic means ethnicity like 'Not Hispanic%', so that "Not Reported"
// (what the Subject tab stores for an empty ethnicity) counts as unreported, beside ''
// and 'NULL'; Hispanic + Not Hispanic + unreported is the total of every row.

#include <QString>

#include <array>
#include <utility>
#include <vector>

class CReportList;

namespace quorin {

class CReportQuery;

struct DemographicsOptions {
    int view = 0;            // 0 race, 1 ethnicity, 2 both
    bool activeOnly = false; // active subjects (status 0) only
};

// Where the cells come from: the one grouped read (what the window uses) or one
// statement per cell.
enum class DemographicsCounting { Tally, Statements };

// Nine columns, every heading empty: column 0 60 pixels, the others 70.
std::vector<std::pair<QString, int>> DemographicsColumns();

void BuildDemographicsList(CReportQuery& query, CReportList& list, const DemographicsOptions& options,
                           DemographicsCounting counting = DemographicsCounting::Tally);

// Age groups and ethnicity filters of the statements.
enum { kChildren = 0, kAdults = 1, kAllAges = 2 };
enum { kAnyEthnicity = 0, kHispanic = 1, kNotHispanic = 2, kEthnicityNotReported = 3 };

// The statement of one race cell: pattern as the race table passes it ("%%White%%",
// "NotReported", "%%Other%%", "%%" ...), age group, ethnicity filter.
QString DemographicsRaceSql(const QString& pattern, int ageGroup, int ethnicityFilter, bool activeOnly);
// The statement of one ethnicity cell: "Hispanic%%", "Not Hispanic%%", "NotReported"
// (the unreported column) or "%%".
QString DemographicsEthnicitySql(const QString& pattern, int ageGroup, bool activeOnly);

// The grouped read of the tally.
QString DemographicsTallySql(bool activeOnly);

} // namespace quorin
