#include "reports/query/LettersReport.h"

#include "rules/SqlText.h"
#include "document/CReportList.h"
#include "reports/query/ReportFill.h"

#include <array>

namespace quorin {

std::vector<std::pair<QString, int>> LettersColumns()
{
    return {{QString(), 0}, {QStringLiteral(" "), 200}, {QStringLiteral(" "), 100}, {QStringLiteral(" "), 100}};
}

void BuildLettersList(CReportQuery& query, CReportList& list, const QString& from, const QString& to)
{
    const QString f = sql::Text(from);
    const QString sentIn = sql::WholeDays(QStringLiteral("Sent"), from, to);
    const QString returnedIn = sql::WholeDays(QStringLiteral("Returned"), from, to);
    const int sent =
        query.Count(QStringLiteral("Select count(distinct subjectid) as num from subjects where %1 ").arg(sentIn));
    const int all = query.Count(QStringLiteral("Select count(distinct subjectid) as num from subjects "));
    const int returned = query.Count(
        QStringLiteral("Select count(distinct subjectid) as num from subjects where %1 and Returned > '%2'").arg(sentIn, f));
    const int active = query.Count(
        QStringLiteral("Select count(distinct subjectid) as num from subjects where %1 and Status = 0").arg(returnedIn));
    const int withdrawn = query.Count(
        QStringLiteral("Select count(distinct subjectid) as num from subjects where %1 and Status = 1").arg(returnedIn));
    const int noResponse = query.Count(
        QStringLiteral("Select count(distinct subjectid) as num from subjects where %1 and Returned < '%2'").arg(sentIn, f));

    const std::array<std::pair<const char*, int>, 5> rows = {{{"Number of Letters Sent: ", sent},
                                                              {"Number Returned: ", returned},
                                                              {"Number Still Active: ", active},
                                                              {"Number Withdrawn: ", withdrawn},
                                                              {"No Response: ", noResponse}}};
    for (const auto& [label, count] : rows) {
        const int item = list.AppendItem(QStringLiteral(" "));
        list.SetItemText(item, 1, QString::fromLatin1(label));
        list.SetItemText(item, 2, QString::number(count));
        // A share of no subjects means nothing; the column stays empty.
        if (all > 0)
            list.SetItemText(item, 3, QString::asprintf("%.02f %%", 100.0 * count / all));
    }
}

} // namespace quorin
