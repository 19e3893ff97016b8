#include "NumbersFixture.h"

#include "document/CReportList.h"
#include "support/RawRegistry.h"

#include <algorithm>
#include <functional>
#include <map>

namespace quorin::test {

namespace {

const QDate kToday(2026, 6, 15);

// A cell whose text the server may spell as any member of its group (case and trailing
// blanks ignored) is marked; it matches in that sense.
const QChar kLoose(0x1);

QString Loose(const QString& text)
{
    return kLoose + text;
}

QString Key(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end).toCaseFolded();
}

std::optional<QString> Text(const std::optional<std::string>& raw)
{
    if (!raw)
        return std::nullopt;
    return QString::fromStdString(*raw);
}

std::optional<QDate> Date(const std::optional<std::string>& raw)
{
    if (!raw || raw->size() < 10)
        return std::nullopt;
    return QDate::fromString(QString::fromStdString(raw->substr(0, 10)), QStringLiteral("yyyy-MM-dd"));
}

// datediff(yy, birth, today): calendar years crossed.
std::optional<int> Age(const NumbersSubject& s)
{
    if (!s.birth)
        return std::nullopt;
    return kToday.year() - s.birth->year();
}

bool IsChild(const NumbersSubject& s) { return Age(s) && *Age(s) < 19; }
bool IsAdult(const NumbersSubject& s) { return Age(s) && *Age(s) >= 19; }

int SexIndex(const std::optional<QString>& sex)
{
    if (sex && Key(*sex) == QLatin1String("female"))
        return 1;
    if (sex && Key(*sex) == QLatin1String("male"))
        return 0;
    return 2;
}

bool Contains(const std::optional<QString>& value, const char* text)
{
    return value && Key(*value).contains(QLatin1String(text));
}

bool StartsWith(const std::optional<QString>& value, const char* text)
{
    return value && Key(*value).startsWith(QLatin1String(text));
}

bool Is(const std::optional<QString>& value, const char* text)
{
    return value && Key(*value) == QLatin1String(text);
}

// Race columns in the table's order: Indian, Asian, Black, Hawaiian, White, Other, Not
// Reported, all.
bool InRaceColumn(const NumbersSubject& s, int column)
{
    switch (column) {
    case 0: return Contains(s.race, "indian");
    case 1: return Contains(s.race, "asian");
    case 2: return Contains(s.race, "black");
    case 3: return Contains(s.race, "hawaiian");
    case 4: return Contains(s.race, "white");
    case 5: return StartsWith(s.race, "other") || StartsWith(s.race, "more");
    case 6: return Contains(s.race, "not reported") || Is(s.race, "") || Is(s.race, "null");
    default: return s.race.has_value();
    }
}

bool Unreported(const NumbersSubject& s)
{
    return Is(s.ethnicity, "") || Is(s.ethnicity, "null") || StartsWith(s.ethnicity, "not reported");
}

// Ethnicity filter 0 none, 1 Hispanic, 2 Not Hispanic, 3 unreported; the same as the
// ethnicity table's columns 1, 2, 3 and (for "all") 4.
bool InEthnicity(const NumbersSubject& s, int filter)
{
    switch (filter) {
    case 1: return StartsWith(s.ethnicity, "hispanic");
    case 2: return StartsWith(s.ethnicity, "not hispanic");
    case 3: return Unreported(s);
    case 4: return s.ethnicity.has_value();
    default: return true;
    }
}

bool InAgeGroup(const NumbersSubject& s, int group)
{
    return group == 0 ? IsChild(s) : group == 1 ? IsAdult(s) : true;
}

QStringList Padded(QStringList row, int columns)
{
    while (row.size() < columns)
        row << QString();
    return row;
}

// A section of a demographics table: title, Female, Male, third row, TOTAL.
void Section(Table& table, const QString& title, const QString& third, int columns,
             const std::function<bool(const NumbersSubject&, int column)>& inColumn,
             const std::vector<NumbersSubject>& subjects)
{
    table.push_back(Padded({title}, 9));
    std::vector<int> totals(static_cast<std::size_t>(columns), 0);
    const std::pair<QString, int> rows[] = {{QStringLiteral("Female"), 1}, {QStringLiteral("Male"), 0}, {third, 2}};
    for (const auto& [label, sex] : rows) {
        QStringList row{label};
        for (int column = 0; column < columns; ++column) {
            int count = 0;
            for (const NumbersSubject& s : subjects)
                if (s.sex && SexIndex(s.sex) == sex && inColumn(s, column))
                    ++count;
            row << QString::number(count);
            totals[static_cast<std::size_t>(column)] += count;
        }
        table.push_back(Padded(row, 9));
    }
    QStringList row{QStringLiteral("TOTAL")};
    for (const int total : totals)
        row << QString::number(total);
    table.push_back(Padded(row, 9));
}

const QStringList kRaceHeading{" ", "AmericanIndian", "Asian", "Black", "Hawaiian", "White", "Other",
                               "Not Reported", "Total"};

void RaceTable(Table& table, const std::vector<NumbersSubject>& subjects, int ethnicity)
{
    table.push_back(kRaceHeading);
    const char* const titles[] = {"Children", "Adults", "TOTALS"};
    for (int age = 0; age < 3; ++age) {
        if (age > 0)
            table.push_back(Padded({" "}, 9));
        Section(table, QString::fromLatin1(titles[age]),
                age == 1 ? QStringLiteral("Other") : QStringLiteral("Other/Unknown"), 8,
                [&](const NumbersSubject& s, int column) {
                    return InAgeGroup(s, age) && InEthnicity(s, ethnicity) && InRaceColumn(s, column);
                },
                subjects);
    }
}

QString Share(int count, int total)
{
    return total ? QString::asprintf("%.02f %%", 100.0 * count / total) : QString();
}

// Groups of subjects by a text, in the server's sense and order (case and trailing
// blanks ignored); a NULL text counts in no group.
template <class KeyOf>
std::vector<std::pair<QString, std::vector<const NumbersSubject*>>> GroupsOf(
    const std::vector<const NumbersSubject*>& subjects, KeyOf keyOf)
{
    std::map<QString, std::vector<const NumbersSubject*>> groups;
    for (const NumbersSubject* s : subjects)
        if (const std::optional<QString> value = keyOf(*s))
            groups[Key(*value)].push_back(s);
    return {groups.begin(), groups.end()};
}

QString Shown(const QString& key)
{
    return key.isEmpty() ? QStringLiteral("Not Reported") : Loose(key);
}

} // namespace

Table RowsOf(const CReportList& list, int columns)
{
    Table rows;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < columns; ++column)
            texts << list.GetItemText(row, column);
        rows.push_back(texts);
    }
    return rows;
}

::testing::AssertionResult SameTable(const Table& shown, const Table& expected)
{
    for (std::size_t row = 0; row < std::min(shown.size(), expected.size()); ++row) {
        for (qsizetype column = 0; column < expected[row].size(); ++column) {
            const QString want = expected[row][column];
            const QString got = shown[row].value(column);
            const bool same = want.startsWith(kLoose) ? Key(got) == Key(want.mid(1)) : got == want;
            if (!same)
                return ::testing::AssertionFailure()
                       << "row " << row << " column " << column << ": shown \"" << got.toStdString()
                       << "\", expected \"" << QString(want).remove(kLoose).toStdString() << "\" (row shown: "
                       << shown[row].join(QLatin1Char('|')).toStdString() << ")";
        }
    }
    if (shown.size() != expected.size())
        return ::testing::AssertionFailure() << shown.size() << " rows shown, " << expected.size() << " expected";
    return ::testing::AssertionSuccess();
}

Table ExpectedDemographics(const std::vector<NumbersSubject>& all, int view, bool activeOnly)
{
    std::vector<NumbersSubject> subjects;
    for (const NumbersSubject& s : all)
        if (!activeOnly || s.status == 0)
            subjects.push_back(s);
    Table table;
    if (view == 0) {
        RaceTable(table, subjects, 0);
    } else if (view == 1) {
        table.push_back(Padded({" ", "Hispanic", "Not Hispanic", "NULL", "Total"}, 9));
        const char* const titles[] = {"Children", "Adults", "Total"};
        for (int age = 0; age < 3; ++age) {
            if (age > 0)
                table.push_back(Padded({" "}, 9));
            Section(table, QString::fromLatin1(titles[age]), QStringLiteral("Other/Unknown"), 4,
                    [&](const NumbersSubject& s, int column) { return InAgeGroup(s, age) && InEthnicity(s, column + 1); },
                    subjects);
        }
    } else {
        table.push_back(kRaceHeading);
        const char* const titles[] = {"HISPANIC", "NOT HISPANIC", "NULL"};
        for (int part = 0; part < 3; ++part) {
            if (part > 0)
                table.push_back(Padded({" "}, 9));
            table.push_back(Padded({" "}, 9));
            table.push_back(Padded({QString::fromLatin1(titles[part])}, 9));
            RaceTable(table, subjects, part + 1);
        }
    }
    return table;
}

Table ExpectedDatabaseNumbers(const std::vector<NumbersSubject>& all, int allAudiograms, bool activeOnly)
{
    const int total = static_cast<int>(all.size());
    std::vector<const NumbersSubject*> counted;
    for (const NumbersSubject& s : all)
        if (!activeOnly || s.status == 0)
            counted.push_back(&s);
    Table table;
    const auto add = [&table](QStringList row) { table.push_back(Padded(std::move(row), 5)); };
    add({" "});
    add({"Total Subjects:", QString::number(total)});
    const char* const statuses[] = {"Active:", "Withdrawn:", "Inactive:", "Not Available:"};
    for (int status = 0; status < 4; ++status) {
        const int n = static_cast<int>(std::count_if(all.begin(), all.end(),
                                                     [status](const NumbersSubject& s) { return s.status == status; }));
        add({QString(), QString::fromLatin1(statuses[status]),
             total ? QString::asprintf("%d (%.02f %%)", n, 100.0 * n / total) : QString::number(n)});
    }

    add({" "});
    int children = 0, adults = 0, audiograms = 0;
    for (const NumbersSubject* s : counted) {
        children += IsChild(*s) ? s->audiograms : 0;
        adults += IsAdult(*s) ? s->audiograms : 0;
        audiograms += s->audiograms;
    }
    add({"by Audiogram", "Children with Audiograms: ", QString::number(children)});
    add({QString(), "Adults with Audiograms: ", QString::number(adults)});
    add({"Total Audiograms: ", QString(), QString::number(activeOnly ? audiograms : allAudiograms)});

    add({" "});
    for (int age = 0; age < 2; ++age) {
        std::vector<const NumbersSubject*> group;
        for (const NumbersSubject* s : counted)
            if (InAgeGroup(*s, age))
                group.push_back(s);
        add({age == 0 ? QStringLiteral("by Age") : QString(), age == 0 ? "Children: " : "Adults: "});
        int sum = 0;
        for (const auto& [key, members] : GroupsOf(group, [](const NumbersSubject& s) { return s.impression; })) {
            add({QString(), QString(), Shown(key), QString::number(members.size())});
            sum += static_cast<int>(members.size());
        }
        add({QString(), QString(), "Total: ", QString::number(sum)});
    }

    add({" "});
    bool first = true;
    for (const auto& [key, members] : GroupsOf(counted, [](const NumbersSubject& s) { return s.sex; })) {
        const int n = static_cast<int>(members.size());
        add({first ? QStringLiteral("by Gender") : QString(), Shown(key), QString::number(n), QString(), Share(n, total)});
        first = false;
    }
    if (first)
        add({"by Gender"});

    const auto bySex = [&](const QString& title, const std::function<std::optional<QString>(const NumbersSubject&)>& of) {
        add({" "});
        bool firstRow = true;
        for (const auto& [key, members] : GroupsOf(counted, of)) {
            int sum = 0;
            for (const auto& [sexKey, sexMembers] : GroupsOf(members, [](const NumbersSubject& s) { return s.sex; })) {
                const int n = static_cast<int>(sexMembers.size());
                add({firstRow ? title : QString(), Shown(key), Shown(sexKey), QString::number(n), Share(n, total)});
                firstRow = false;
                sum += n;
            }
            add({QString(), Shown(key), "TOTAL:", QString::number(sum), Share(sum, total)});
        }
        if (firstRow)
            add({title});
    };
    bySex(activeOnly ? QStringLiteral("Active Subjects by Ethnicity") : QStringLiteral("Subjects by Ethnicity"),
          [](const NumbersSubject& s) { return s.ethnicity; });
    bySex(activeOnly ? QStringLiteral("Active Subjects by Race") : QStringLiteral("Subjects by Race"),
          [](const NumbersSubject& s) { return s.race; });

    add({" "});
    auto methods = GroupsOf(counted, [](const NumbersSubject& s) { return s.recruitment; });
    std::stable_sort(methods.begin(), methods.end(),
                     [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
    first = true;
    for (const auto& [key, members] : methods) {
        add({first ? QStringLiteral("Recruitment") : QString(), Shown(key), QString::number(members.size())});
        first = false;
    }
    if (first)
        add({"Recruitment"});
    return table;
}

Table ExpectedMonthlyNumbers(const std::vector<NumbersSubject>& subjects)
{
    std::map<int, int> byOffset;
    int future = 0, undated = 0;
    for (const NumbersSubject& s : subjects) {
        if (!s.entry) {
            ++undated;
            continue;
        }
        const int months = (kToday.year() - s.entry->year()) * 12 + kToday.month() - s.entry->month();
        if (months < 0)
            ++future;
        else
            ++byOffset[months];
    }
    Table table{{"MONTH", "NUMBER ADDED", QString()}};
    for (const auto& [months, count] : byOffset) {
        const QDate month = QDate(kToday.year(), kToday.month(), 1).addMonths(-months);
        table.push_back({QStringLiteral("%1  %2").arg(month.year()).arg(QLocale(QLocale::English).monthName(month.month())),
                         QString::number(count), QString()});
    }
    if (future)
        table.push_back({"Future date of entry", QString::number(future), QString()});
    if (undated)
        table.push_back({"No date of entry", QString::number(undated), QString()});
    return table;
}

void NumbersTest::AddEdgeSubjects()
{
    const char* const sexes[] = {"Male", "Female", "Unknown", "", "Female", "MALE", "female"};
    const char* const races[] = {"White",
                                 "Black or African American",
                                 "Asian",
                                 "American Indian or Alaska Native",
                                 "Native Hawaiian or Other Pacific Islander",
                                 "More Than One",
                                 "Other",
                                 "Not Reported",
                                 "",
                                 "NULL",
                                 "White, Black",
                                 "white ",
                                 "Unknown"};
    const char* const ethnicities[] = {"Hispanic or Latino", "Not Hispanic or Latino", "Not Reported", "",
                                       "NULL", "hispanic or latino ", "Not Hispanic or Latino"};
    // The clock says 2026-06-15: 2007 is 19 calendar years back, 2008 is 18.
    const char* const births[] = {"'2008-01-01 00:00:00.000'", "'2007-12-31 00:00:00.000'", "NULL",
                                  "'1950-05-05 00:00:00.000'", "'2020-02-02 00:00:00.000'", "'2007-06-16 00:00:00.000'"};
    const char* const impressions[] = {"Hearing Impaired", "Cochlear Implant", "", "Normal Hearing", "NULL"};
    const char* const methods[] = {"Clinic", "Flyer", "", "Web", "Clinic", "Clinic", "Newspaper"};
    const char* const entries[] = {"'2026-06-01 00:00:00.000'", "'2026-03-10 00:00:00.000'",
                                   "'2025-12-20 00:00:00.000'", "'2026-01-05 00:00:00.000'",
                                   "'2026-08-01 00:00:00.000'", "NULL",
                                   "'2026-06-15 09:00:00.000'", "'2019-04-04 00:00:00.000'",
                                   "'2027-01-01 00:00:00.000'"};
    std::string sql = "BEGIN;";
    for (int i = 0; i < 80; ++i) {
        // The lists' lengths and steps differ, so each value meets many of the others.
        // Every fourth subject is not active (withdrawn, inactive, not available in turn).
        const int status = i % 4 == 3 ? 1 + (i / 4) % 3 : 0;
        sql += "INSERT INTO subjects (Lastname, Firstname, Sex, Race, Ethnicity, Birthdate, Status, PatImpression, "
               "Recruitment, DateofEntry) VALUES ('EDGE" + std::to_string(i) + "', 'X', '" + sexes[i % 7] + "', '" +
               races[(i * 3) % 13] + "', '" + ethnicities[(i * 5 + i / 7) % 7] + "', " + births[i % 6] + ", " +
               std::to_string(status) + ", '" + impressions[i % 5] + "', '" + methods[(i * 2) % 7] + "', " +
               entries[i % 9] + ");";
        for (int a = 0; a < i % 3; ++a) // none, one or two
            sql += "INSERT INTO aud (SubjectId, TestDate) VALUES ((SELECT max(SubjectId) FROM subjects), "
                   "'2020-01-01 00:00:00.000');";
    }
    sql += "COMMIT;";
    registry.ExecRaw("Quorin", sql);
}

std::vector<NumbersSubject> NumbersTest::ReadSubjects() const
{
    RawRegistry raw(registry.Folder());
    std::map<int, int> audiograms;
    for (const auto& row : raw.rows("SELECT SubjectId FROM aud"))
        ++audiograms[std::stoi(*row[0])];
    std::vector<NumbersSubject> subjects;
    for (const auto& row : raw.rows("SELECT SubjectId, Sex, Race, Ethnicity, Birthdate, Status, PatImpression, "
                                    "Recruitment, DateofEntry FROM subjects")) {
        NumbersSubject s;
        s.id = std::stoi(*row[0]);
        s.sex = Text(row[1]);
        s.race = Text(row[2]);
        s.ethnicity = Text(row[3]);
        s.birth = Date(row[4]);
        s.status = std::stoi(*row[5]);
        s.impression = Text(row[6]);
        s.recruitment = Text(row[7]);
        s.entry = Date(row[8]);
        s.audiograms = audiograms[s.id];
        subjects.push_back(s);
    }
    return subjects;
}

int NumbersTest::ReadAudiogramCount() const
{
    return static_cast<int>(RawRegistry(registry.Folder()).number("SELECT count(*) FROM aud"));
}

} // namespace quorin::test
