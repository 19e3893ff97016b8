#include "reports/query/DemographicsReport.h"

#include "document/CReportList.h"
#include "reports/query/ReportFill.h"
#include "rules/AgeLines.h"

#include <QStringList>

#include <memory>
#include <optional>

namespace quorin {

namespace {

// [0] male, [1] female, [2] other or unknown.
using SexCounts = std::array<int, 3>;

// The race columns, in the table's order.
enum RaceColumn { kIndian, kAsian, kBlack, kHawaiian, kWhite, kOther, kRaceNotReported, kAllRaces, kRaceColumns };

const char* const kRacePatterns[kRaceColumns] = {"%%Indian%%", "%%Asian%%", "%%Black%%", "%%Hawaiian%%",
                                                 "%%White%%",  "%%Other%%", "NotReported", "%%"};

enum EthnicityColumn { kHispanicColumn, kNotHispanicColumn, kNotReportedColumn, kAllEthnicities, kEthnicityColumns };

const char* const kEthnicityPatterns[kEthnicityColumns] = {"Hispanic%%", "Not Hispanic%%", "NotReported", "%%"};

const char* const kUnreportedEthnicity = "(ethnicity = '' or ethnicity = 'NULL' or ethnicity like 'Not Reported%'";

QString AgePart(int ageGroup)
{
    switch (ageGroup) {
    case kChildren: return QStringLiteral(") and " QUORIN_SQL_CHILD " ");
    case kAdults: return QStringLiteral(") and " QUORIN_SQL_ADULT);
    default: return QStringLiteral(") ");
    }
}

QString Tail(bool activeOnly)
{
    return activeOnly ? QStringLiteral(" and status = 0 group by sex order by sex ")
                      : QStringLiteral(" group by sex order by sex ");
}

// Which cell of the triple a sex value goes to. The server groups sexes without regard
// to case, so neither is the comparison here.
int SexIndex(const QString& sex)
{
    if (sex.compare(QLatin1String("Female"), Qt::CaseInsensitive) == 0)
        return 1;
    if (sex.compare(QLatin1String("Male"), Qt::CaseInsensitive) == 0)
        return 0;
    return 2;
}

class Counter {
public:
    virtual ~Counter() = default;
    virtual SexCounts ByRace(int column, int ageGroup, int ethnicityFilter) = 0;
    virtual SexCounts ByEthnicity(int column, int ageGroup) = 0;
};

// One statement per cell.
class StatementCounter : public Counter {
public:
    StatementCounter(CReportQuery& query, bool activeOnly) : m_query(query), m_activeOnly(activeOnly) {}

    SexCounts ByRace(int column, int ageGroup, int ethnicityFilter) override
    {
        return Run(DemographicsRaceSql(QLatin1String(kRacePatterns[column]), ageGroup, ethnicityFilter, m_activeOnly));
    }
    SexCounts ByEthnicity(int column, int ageGroup) override
    {
        return Run(DemographicsEthnicitySql(QLatin1String(kEthnicityPatterns[column]), ageGroup, m_activeOnly));
    }

private:
    SexCounts Run(const QString& sql)
    {
        SexCounts counts{};
        m_query.Run(sql);
        for (; !m_query.IsEOF(); m_query.MoveNext())
            counts[static_cast<std::size_t>(SexIndex(m_query.Text("sex")))] += m_query.Int("num");
        return counts;
    }

    CReportQuery& m_query;
    bool m_activeOnly;
};

// LIKE as the server means it for the patterns above: case ignored, blanks at the end
// of the value ignored.
QString Folded(const QString& value)
{
    qsizetype end = value.size();
    while (end > 0 && value.at(end - 1) == QLatin1Char(' '))
        --end;
    return value.left(end).toCaseFolded();
}

// One group of the grouped read, classified once.
struct TallyGroup {
    int sex = 2;
    std::optional<int> age;
    int count = 0;
    std::array<bool, kRaceColumns> race{};
    std::array<bool, kEthnicityColumns> ethnicity{};
    bool hispanic = false, notHispanic = false, unreported = false;
};

// The one grouped read, tallied in memory.
class TallyCounter : public Counter {
public:
    TallyCounter(CReportQuery& query, bool activeOnly)
    {
        query.Run(DemographicsTallySql(activeOnly));
        for (; !query.IsEOF(); query.MoveNext()) {
            TallyGroup group;
            group.count = query.Int("num");
            if (group.count == 0)
                continue; // a NULL sex, which count(sex) leaves out
            group.sex = SexIndex(query.Text("sex"));
            bool isNumber = false;
            const int age = query.Text("age").toInt(&isNumber);
            if (isNumber)
                group.age = age;
            if (query.Int("races") > 0)
                ClassifyRace(Folded(query.Text("race")), group);
            if (query.Int("ethnicities") > 0)
                ClassifyEthnicity(Folded(query.Text("ethnicity")), group);
            else
                group.ethnicity = {}; // NULL matches no pattern
            m_groups.push_back(group);
        }
    }

    SexCounts ByRace(int column, int ageGroup, int ethnicityFilter) override
    {
        SexCounts counts{};
        for (const TallyGroup& group : m_groups) {
            if (!group.race[static_cast<std::size_t>(column)] || !InAgeGroup(group, ageGroup))
                continue;
            if ((ethnicityFilter == kHispanic && !group.hispanic) ||
                (ethnicityFilter == kNotHispanic && !group.notHispanic) ||
                (ethnicityFilter == kEthnicityNotReported && !group.unreported))
                continue;
            counts[static_cast<std::size_t>(group.sex)] += group.count;
        }
        return counts;
    }

    SexCounts ByEthnicity(int column, int ageGroup) override
    {
        SexCounts counts{};
        for (const TallyGroup& group : m_groups)
            if (group.ethnicity[static_cast<std::size_t>(column)] && InAgeGroup(group, ageGroup))
                counts[static_cast<std::size_t>(group.sex)] += group.count;
        return counts;
    }

private:
    static bool InAgeGroup(const TallyGroup& group, int ageGroup)
    {
        // A comparison with an unknown age is never true.
        switch (ageGroup) {
        case kChildren: return group.age && *group.age < 19;
        case kAdults: return group.age && *group.age >= 19;
        default: return true;
        }
    }

    static void ClassifyRace(const QString& race, TallyGroup& group)
    {
        const auto contains = [&race](const char* text) { return race.contains(QLatin1String(text)); };
        group.race[kIndian] = contains("indian");
        group.race[kAsian] = contains("asian");
        group.race[kBlack] = contains("black");
        group.race[kHawaiian] = contains("hawaiian");
        group.race[kWhite] = contains("white");
        group.race[kOther] = race.startsWith(QLatin1String("other")) || race.startsWith(QLatin1String("more"));
        group.race[kRaceNotReported] = contains("not reported") || race.isEmpty() || race == QLatin1String("null");
        group.race[kAllRaces] = true;
    }

    static void ClassifyEthnicity(const QString& ethnicity, TallyGroup& group)
    {
        group.hispanic = ethnicity.startsWith(QLatin1String("hispanic"));
        group.notHispanic = ethnicity.startsWith(QLatin1String("not hispanic"));
        group.unreported = ethnicity.isEmpty() || ethnicity == QLatin1String("null") ||
                           ethnicity.startsWith(QLatin1String("not reported"));
        group.ethnicity[kHispanicColumn] = group.hispanic;
        group.ethnicity[kNotHispanicColumn] = group.notHispanic;
        group.ethnicity[kNotReportedColumn] = group.unreported;
        group.ethnicity[kAllEthnicities] = true;
    }

    std::vector<TallyGroup> m_groups;
};

class TableRows {
public:
    explicit TableRows(CReportList& list) : m_list(list) {}

    void Row(const QStringList& texts)
    {
        const int row = m_list.AppendItem(texts.value(0));
        for (int column = 1; column < texts.size(); ++column)
            m_list.SetItemText(row, column, texts[column]);
    }
    void Spacer() { m_list.AppendItem(QStringLiteral(" ")); }

    // A section: its title row, Female, Male and the third row from the counts of each
    // column, and the TOTAL row.
    void Section(const QString& title, const QString& thirdLabel, const std::vector<SexCounts>& columns)
    {
        Row({title});
        const std::pair<const char*, int> sexes[] = {{"Female", 1}, {"Male", 0}, {nullptr, 2}};
        std::vector<int> totals(columns.size(), 0);
        for (const auto& [label, index] : sexes) {
            QStringList texts{label ? QString::fromLatin1(label) : thirdLabel};
            for (std::size_t column = 0; column < columns.size(); ++column) {
                const int count = columns[column][static_cast<std::size_t>(index)];
                texts << QString::number(count);
                totals[column] += count;
            }
            Row(texts);
        }
        QStringList texts{QStringLiteral("TOTAL")};
        for (const int total : totals)
            texts << QString::number(total);
        Row(texts);
    }

private:
    CReportList& m_list;
};

void RaceHeading(TableRows& rows)
{
    rows.Row({QStringLiteral(" "), QStringLiteral("AmericanIndian"), QStringLiteral("Asian"), QStringLiteral("Black"),
              QStringLiteral("Hawaiian"), QStringLiteral("White"), QStringLiteral("Other"),
              QStringLiteral("Not Reported"), QStringLiteral("Total")});
}

void RaceTable(Counter& counter, TableRows& rows, int ethnicityFilter)
{
    RaceHeading(rows);
    const std::pair<const char*, const char*> sections[] = {
        {"Children", "Other/Unknown"}, {"Adults", "Other"}, {"TOTALS", "Other/Unknown"}};
    for (int age = kChildren; age <= kAllAges; ++age) {
        if (age != kChildren)
            rows.Spacer();
        std::vector<SexCounts> columns;
        for (int column = 0; column < kRaceColumns; ++column)
            columns.push_back(counter.ByRace(column, age, ethnicityFilter));
        rows.Section(QString::fromLatin1(sections[age].first), QString::fromLatin1(sections[age].second), columns);
    }
}

void EthnicityTable(Counter& counter, TableRows& rows)
{
    rows.Row({QStringLiteral(" "), QStringLiteral("Hispanic"), QStringLiteral("Not Hispanic"), QStringLiteral("NULL"),
              QStringLiteral("Total")});
    const char* const sections[] = {"Children", "Adults", "Total"};
    for (int age = kChildren; age <= kAllAges; ++age) {
        if (age != kChildren)
            rows.Spacer();
        std::vector<SexCounts> columns;
        for (int column = 0; column < kEthnicityColumns; ++column)
            columns.push_back(counter.ByEthnicity(column, age));
        rows.Section(QString::fromLatin1(sections[age]), QStringLiteral("Other/Unknown"), columns);
    }
}

} // namespace

std::vector<std::pair<QString, int>> DemographicsColumns()
{
    std::vector<std::pair<QString, int>> columns{{QString(), 60}};
    for (int column = 1; column <= 8; ++column)
        columns.emplace_back(QString(), 70);
    return columns;
}

QString DemographicsRaceSql(const QString& pattern, int ageGroup, int ethnicityFilter, bool activeOnly)
{
    QString sql;
    if (pattern == QLatin1String("NotReported"))
        sql = QStringLiteral("select sex,count(sex) as num from subjects where (race like '%Not Reported%' or race = '' "
                             "or race = 'NULL'");
    else if (pattern == QLatin1String("%%Other%%"))
        sql = QStringLiteral("select sex,count(sex) as num from subjects where (race like 'Other%' or race like 'More%'");
    else
        sql = QStringLiteral("select sex,count(sex) as num from subjects where (race like '") + pattern +
              QStringLiteral("' ");
    sql += AgePart(ageGroup);
    switch (ethnicityFilter) {
    case kHispanic: sql += QStringLiteral(" and ethnicity like 'Hispanic%'"); break;
    case kNotHispanic: sql += QStringLiteral(" and ethnicity like 'Not Hispanic%'"); break;
    case kEthnicityNotReported: sql += QStringLiteral(" and ") + QLatin1String(kUnreportedEthnicity) + QStringLiteral(") "); break;
    default: break;
    }
    return sql + Tail(activeOnly);
}

QString DemographicsEthnicitySql(const QString& pattern, int ageGroup, bool activeOnly)
{
    QString sql = QStringLiteral("select sex,count(sex) as num from subjects where ");
    if (pattern == QLatin1String("NotReported"))
        sql += QLatin1String(kUnreportedEthnicity);
    else
        sql += QStringLiteral("(ethnicity like '") + pattern + QStringLiteral("' ");
    return sql + AgePart(ageGroup) + Tail(activeOnly);
}

QString DemographicsTallySql(bool activeOnly)
{
    return QStringLiteral("select sex, race, ethnicity, datediff(yy,birthdate,getdate()) as age, count(sex) as num, "
                          "count(race) as races, count(ethnicity) as ethnicities from subjects ") +
           (activeOnly ? QStringLiteral("where status = 0 ") : QString()) +
           QStringLiteral("group by race, sex, ethnicity, datediff(yy,birthdate,getdate())");
}

void BuildDemographicsList(CReportQuery& query, CReportList& list, const DemographicsOptions& options,
                           DemographicsCounting counting)
{
    std::unique_ptr<Counter> counter;
    if (counting == DemographicsCounting::Statements)
        counter = std::make_unique<StatementCounter>(query, options.activeOnly);
    else
        counter = std::make_unique<TallyCounter>(query, options.activeOnly);
    TableRows rows(list);
    switch (options.view) {
    case 1: EthnicityTable(*counter, rows); break;
    case 2: {
        const std::pair<const char*, int> parts[] = {
            {"HISPANIC", kHispanic}, {"NOT HISPANIC", kNotHispanic}, {"NULL", kEthnicityNotReported}};
        // Row 0 is what every printed page repeats as its heading: the race columns, in
        // place of the first spacer.
        RaceHeading(rows);
        bool first = true;
        for (const auto& [title, filter] : parts) {
            if (!first)
                rows.Spacer();
            first = false;
            rows.Spacer();
            rows.Row({QString::fromLatin1(title)});
            RaceTable(*counter, rows, filter);
        }
        break;
    }
    default: RaceTable(*counter, rows, kAnyEthnicity); break;
    }
}

} // namespace quorin
