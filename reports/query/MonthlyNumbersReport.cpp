#include "reports/query/MonthlyNumbersReport.h"

#include "dalport/Clock.h"
#include "document/CReportList.h"
#include "reports/query/ReportFill.h"

#include <algorithm>
#include <optional>

namespace quorin {

namespace {

const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

struct MonthCount {
    std::optional<int> months; // none for a subject without a date of entry
    int count = 0;
};

int AppendCount(CReportList& list, const QString& label, int count)
{
    const int row = list.AppendItem(label);
    list.SetItemText(row, 1, QString::number(count));
    return row;
}

} // namespace

std::vector<std::pair<QString, int>> MonthlyNumbersColumns()
{
    return {{QString(), 120}, {QString(), 140}, {QString(), 80}};
}

void BuildMonthlyNumbersList(CReportQuery& query, CReportList& list)
{
    const int heading = list.AppendItem(QStringLiteral("MONTH"));
    list.SetItemText(heading, 1, QStringLiteral("NUMBER ADDED"));

    // Read whole before walking; the offset is read as text, since a subject without a
    // date of entry gives a NULL offset that no number reads.
    query.Run(QStringLiteral("select datediff(mm,dateofentry, getdate()) as months, count(datediff(mm,dateofentry, "
                             "getdate())) as num from subjects group by datediff(mm,dateofentry,getdate()) order by "
                             "months"));
    std::vector<MonthCount> rows;
    for (; !query.IsEOF(); query.MoveNext()) {
        MonthCount row;
        bool ok = false;
        const int months = query.Text("months").toInt(&ok);
        if (ok)
            row.months = months;
        row.count = query.Int("num");
        rows.push_back(row);
    }

    // Offsets of 0 and more, ascending: a calendar cursor walks back from the current
    // month one month per offset, and each offset that has entries gets its row.
    int future = 0;
    std::vector<MonthCount> past;
    for (const MonthCount& row : rows) {
        if (!row.months)
            continue;
        if (*row.months < 0)
            future += row.count;
        else
            past.push_back(row);
    }
    // The server sends each offset once and in order; kept so even if it did not, as
    // the walk would never pass an offset behind it.
    std::sort(past.begin(), past.end(), [](const MonthCount& a, const MonthCount& b) { return *a.months < *b.months; });
    for (std::size_t i = 1; i < past.size();) {
        if (*past[i].months == *past[i - 1].months) {
            past[i - 1].count += past[i].count;
            past.erase(past.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    const dalport::ClockTime now = dalport::ClockNow();
    int year = now.year;
    int month = now.month; // one-based; the first step makes it the zero-based current month
    int expected = 0;
    for (std::size_t next = 0; next < past.size(); ++expected) {
        if (--month < 0) {
            month = 11;
            --year;
        }
        if (*past[next].months == expected) {
            AppendCount(list, QStringLiteral("%1  %2").arg(year).arg(QLatin1String(kMonthNames[month])),
                        past[next].count);
            ++next;
        }
    }

    if (future != 0)
        AppendCount(list, QStringLiteral("Future date of entry"), future);
    const int undated = query.Count(QStringLiteral("select count(*) as num from subjects where dateofentry is null"));
    if (undated != 0)
        AppendCount(list, QStringLiteral("No date of entry"), undated);
}

} // namespace quorin
