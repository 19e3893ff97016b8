#include "reports/query/ContactReport.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "document/CReportList.h"
#include "reports/query/ReportFill.h"

namespace quorin {

std::vector<std::pair<QString, int>> ContactColumns()
{
    return {{QString(), 0}, {QString(), 150}, {QString(), 200}, {QString(), 100}, {QString(), 80}, {QString(), 80}};
}

void BuildContactList(CReportQuery& query, CReportList& list)
{
    const int heading = list.AppendItem(QString());
    const QStringList titles = {QStringLiteral("Name"), QStringLiteral("Explanation"), QStringLiteral("Dataset"),
                                QStringLiteral("IRB"), QStringLiteral("Date")};
    for (int column = 1; column <= titles.size(); ++column)
        list.SetItemText(heading, column, titles[column - 1]);

    query.Run(QStringLiteral(
        "select participationhistory.subjectid, lastname, firstname, excontact,dataset,irb, "
        "convert(char,feedbackdate,101) as fdate from participationhistory inner join subjects on "
        "participationhistory.subjectid = subjects.subjectid where contacted = 1 "));
    for (; !query.IsEOF(); query.MoveNext()) {
        const int item = list.AppendItem(QString::number(query.Int("subjectid")));
        list.SetItemText(item, 1, QStringLiteral("%1, %2").arg(query.Text("Lastname"), query.Text("Firstname")));
        list.SetItemText(item, 2, query.Text("excontact"));
        list.SetItemText(item, 3, query.Text("Dataset"));
        list.SetItemText(item, 4, query.Text("irb"));
        list.SetItemText(item, 5, query.Text("fdate"));
    }
}

bool RemoveFromContactList(CQuorinDoc& document, CReportList& list)
{
    UserInterface& ui = document.UI();
    const int row = list.GetSelectionMark();
    // The heading row's empty id reads as subject 0, which no subject has.
    const int subjectId = row < 0 ? 0 : list.GetItemText(row, 0).trimmed().toInt();
    if (subjectId <= 0) {
        ui.MessageBox(QStringLiteral("Please make a selection!"));
        return false;
    }
    if (ui.MessageBox(QStringLiteral("Do you want to remove this person from the list?"), UserInterface::Icon::Default,
                      UserInterface::Buttons::YesNo) != UserInterface::Answer::Yes)
        return false;
    if (!RunText(document.m_db,
                 QStringLiteral("update participationhistory set contacted = 4 where subjectid = %1 and contacted = 1")
                     .arg(subjectId)))
        return false; // the session has shown its boxes; the list still shows what is stored
    FillReport(document, list, BuildContactList);
    return true;
}

} // namespace quorin
