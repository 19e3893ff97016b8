#include "reports/query/DatabaseNumbersReport.h"

#include "document/CReportList.h"
#include "reports/query/ReportFill.h"
#include "rules/AgeLines.h"

#include <QStringList>

namespace quorin {

namespace {

// The statements of both variants, sent as they stand (blanks and all).
struct NumbersStatements {
    const char* childAudiograms;
    const char* adultAudiograms;
    const char* totalAudiograms;
    const char* childImpressions;
    const char* adultImpressions;
    const char* sexes;
    const char* ethnicities;
    const char* races;
    const char* recruitment;
};

constexpr NumbersStatements kAll{
    "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where "
    QUORIN_SQL_CHILD,
    "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where "
    QUORIN_SQL_ADULT,
    "select count(*) as num from aud",
    "select patimpression, count (patimpression) as num from subjects where " QUORIN_SQL_CHILD " "
    "group by patimpression order by patimpression",
    "select patimpression, count (patimpression) as num from subjects where " QUORIN_SQL_ADULT " "
    "group by patimpression order by patimpression",
    "select sex, count(sex) as num from subjects group by sex order by sex",
    "select ethnicity, count(ethnicity) as num, sex from subjects group by ethnicity,sex order by ethnicity,sex",
    "select race, count(race) as num, sex from subjects group by race,sex order by race,sex",
    "select  recruitment, count (recruitment) as num from subjects group by recruitment order by num desc, recruitment",
};

constexpr NumbersStatements kActive{
    "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where "
    QUORIN_SQL_CHILD " and status = 0",
    "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where "
    QUORIN_SQL_ADULT "  and status = 0",
    "select count(*) as num from aud inner join subjects on subjects.subjectid = aud.subjectid where status = 0",
    "select patimpression, count (patimpression) as num from subjects where " QUORIN_SQL_CHILD "  "
    "and status = 0group by patimpression order by patimpression",
    "select patimpression, count (patimpression) as num from subjects where " QUORIN_SQL_ADULT "  "
    "and status = 0group by patimpression order by patimpression",
    "select sex, count(sex) as num from subjects where status=0group by sex order by sex",
    "select ethnicity, count(ethnicity) as num, sex from subjects where status = 0 group by ethnicity,sex order by "
    "ethnicity,sex",
    "select race, count(race) as num, sex from subjects where status = 0 group by race,sex order by race,sex",
    "select  recruitment, count (recruitment) as num from subjects  where status = 0group by recruitment order by "
    "num desc, recruitment",
};

QString OrNotReported(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("Not Reported") : text;
}

class NumbersRows {
public:
    NumbersRows(CReportList& list, int total) : m_list(list), m_total(total) {}

    int Row(const QString& column0 = QString())
    {
        return m_list.AppendItem(column0);
    }
    void Spacer() { m_list.AppendItem(QStringLiteral(" ")); }
    void Set(int row, int column, const QString& text) { m_list.SetItemText(row, column, text); }

    // A share of the whole registry; nothing with no subjects at all.
    QString Share(int count) const
    {
        if (m_total == 0)
            return QString();
        return QString::asprintf("%.02f %%", count * 100.0 / m_total);
    }
    // The status rows: the count with its share, the count alone with no subjects.
    QString CountAndShare(int count) const
    {
        if (m_total == 0)
            return QString::number(count);
        return QString::asprintf("%d (%.02f %%)", count, count * 100.0 / m_total);
    }

private:
    CReportList& m_list;
    int m_total;
};

// "Children: " or "Adults: ", then one row per impression and the group's total.
void ImpressionRows(CReportQuery& query, NumbersRows& rows, const char* sql, const QString& title,
                    const QString& label)
{
    query.Run(QString::fromLatin1(sql));
    const int head = rows.Row(title);
    rows.Set(head, 1, label);
    int sum = 0;
    for (; !query.IsEOF(); query.MoveNext()) {
        const int count = query.Int("num");
        const int row = rows.Row();
        rows.Set(row, 2, OrNotReported(query.Text("patimpression")));
        rows.Set(row, 3, QString::number(count));
        sum += count;
    }
    const int totalRow = rows.Row();
    rows.Set(totalRow, 2, QStringLiteral("Total: "));
    rows.Set(totalRow, 3, QString::number(sum));
}

// Rows per (group, sex) ordered by group, each group closed by its "TOTAL:" row, which
// names the group it sums.
void GroupBySexRows(CReportQuery& query, NumbersRows& rows, const char* sql, const char* column,
                    const QString& title)
{
    struct Cell {
        QString group, sex;
        int count;
    };
    query.Run(QString::fromLatin1(sql));
    std::vector<Cell> cells;
    for (; !query.IsEOF(); query.MoveNext())
        cells.push_back({query.Text(column), query.Text("sex"), query.Int("num")});

    bool first = true;
    for (std::size_t i = 0; i < cells.size();) {
        // The server's groups ignore case, so a group's rows may spell it differently.
        const QString group = cells[i].group;
        int sum = 0;
        for (; i < cells.size() && cells[i].group.compare(group, Qt::CaseInsensitive) == 0; ++i) {
            const int row = rows.Row(first ? title : QString());
            first = false;
            rows.Set(row, 1, OrNotReported(cells[i].group));
            rows.Set(row, 2, OrNotReported(cells[i].sex));
            rows.Set(row, 3, QString::number(cells[i].count));
            rows.Set(row, 4, rows.Share(cells[i].count));
            sum += cells[i].count;
        }
        const int totalRow = rows.Row();
        rows.Set(totalRow, 1, OrNotReported(group));
        rows.Set(totalRow, 2, QStringLiteral("TOTAL:"));
        rows.Set(totalRow, 3, QString::number(sum));
        rows.Set(totalRow, 4, rows.Share(sum));
    }
    if (first)
        rows.Row(title);
}

} // namespace

std::vector<std::pair<QString, int>> DatabaseNumbersColumns()
{
    return {{QString(), 120}, {QString(), 140}, {QString(), 80}, {QString(), 80}, {QString(), 80}};
}

void BuildDatabaseNumbersList(CReportQuery& query, CReportList& list, bool activeOnly)
{
    const NumbersStatements& sql = activeOnly ? kActive : kAll;
    list.AppendItem(QStringLiteral(" "));

    // The shares are of every subject, in both variants.
    const int total = query.Count(QStringLiteral("select  count (*) as num from subjects"));
    NumbersRows rows(list, total);
    rows.Set(rows.Row(QStringLiteral("Total Subjects:")), 1, QString::number(total));
    const char* statusLabels[] = {"Active:", "Withdrawn:", "Inactive:", "Not Available:"};
    for (int status = 0; status < 4; ++status) {
        const int count =
            query.Count(QStringLiteral("select  count (*) as num from subjects where status = %1").arg(status));
        const int row = rows.Row();
        rows.Set(row, 1, QString::fromLatin1(statusLabels[status]));
        rows.Set(row, 2, rows.CountAndShare(count));
    }

    rows.Spacer();
    const int children = query.Count(QString::fromLatin1(sql.childAudiograms));
    const int adults = query.Count(QString::fromLatin1(sql.adultAudiograms));
    const int audiograms = query.Count(QString::fromLatin1(sql.totalAudiograms));
    int row = rows.Row(QStringLiteral("by Audiogram"));
    rows.Set(row, 1, QStringLiteral("Children with Audiograms: "));
    rows.Set(row, 2, QString::number(children));
    row = rows.Row();
    rows.Set(row, 1, QStringLiteral("Adults with Audiograms: "));
    rows.Set(row, 2, QString::number(adults));
    rows.Set(rows.Row(QStringLiteral("Total Audiograms: ")), 2, QString::number(audiograms));

    rows.Spacer();
    ImpressionRows(query, rows, sql.childImpressions, QStringLiteral("by Age"), QStringLiteral("Children: "));
    ImpressionRows(query, rows, sql.adultImpressions, QString(), QStringLiteral("Adults: "));

    rows.Spacer();
    query.Run(QString::fromLatin1(sql.sexes));
    bool first = true;
    for (; !query.IsEOF(); query.MoveNext()) {
        const int count = query.Int("num");
        row = rows.Row(first ? QStringLiteral("by Gender") : QString());
        first = false;
        rows.Set(row, 1, OrNotReported(query.Text("sex")));
        rows.Set(row, 2, QString::number(count));
        rows.Set(row, 4, rows.Share(count));
    }
    if (first)
        rows.Row(QStringLiteral("by Gender"));

    rows.Spacer();
    GroupBySexRows(query, rows, sql.ethnicities, "ethnicity",
                   activeOnly ? QStringLiteral("Active Subjects by Ethnicity") : QStringLiteral("Subjects by Ethnicity"));
    rows.Spacer();
    GroupBySexRows(query, rows, sql.races, "race",
                   activeOnly ? QStringLiteral("Active Subjects by Race") : QStringLiteral("Subjects by Race"));

    rows.Spacer();
    query.Run(QString::fromLatin1(sql.recruitment));
    first = true;
    for (; !query.IsEOF(); query.MoveNext()) {
        row = rows.Row(first ? QStringLiteral("Recruitment") : QString());
        first = false;
        rows.Set(row, 1, OrNotReported(query.Text("recruitment")));
        rows.Set(row, 2, QString::number(query.Int("num")));
    }
    if (first)
        rows.Row(QStringLiteral("Recruitment"));
}

} // namespace quorin
