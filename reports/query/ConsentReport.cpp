#include "reports/query/ConsentReport.h"

#include "document/UserInterface.h"
#include "document/CReportList.h"
#include "reports/query/ReportFill.h"
#include "rules/AgeLines.h"

#include <set>

namespace quorin {

namespace {

const QString kRenewalDue = QStringLiteral(
    "select SubjectId, Lastname, Firstname, CONVERT(char,LastDateofConsent,101)as lastdate, Address, city, state, "
    "zip, Parent,CONVERT(char,Sent,101)as dsent,CONVERT(char,Returned,101)as dreturned from subjects where "
    "datediff(mm,LastDateofConsent, getdate()) > 24 and Status = 0 and Returned != '01/01/1901' and subjectid not "
    "in (select subjectid from ParticipationHistory where datediff(mm,date1,getdate())<=24 and (participate=0 or "
    "contacted=0)) order by LastDateofConsent,Lastname, Firstname");

const QString kAdultNow = QStringLiteral(
    "select subjectid, lastname, firstname, CONVERT(char,lastdateofconsent,101)as lastdate, address, city, state, "
    "zip, parent,CONVERT(char,sent,101)as dsent,CONVERT(char,returned,101)as dreturned from subjects where "
    "DATEDIFF(d, birthdate,getdate()) >= " QUORIN_SQL_ADULT_DAYS "and DateDiff(dd, birthdate, lastdateofconsent) < " QUORIN_SQL_ADULT_DAYS " and "
    "status = 0 and Returned != '01/01/1901' order by lastdateofconsent,lastname, firstname");

const QString kNotReturned = QStringLiteral(
    "select subjectid, lastname, firstname, CONVERT(char,lastdateofconsent,101)as lastdate, address, city, state, "
    "zip, parent,CONVERT(char,sent,101)as dsent,CONVERT(char,returned,101)as dreturned from subjects where status "
    "= 0 and Returned = '01/01/1901' order by lastname, firstname");

enum class Marker { None, Nineteen, NotReturned };

// Appends the rows of the statement just run, one per subject: a subject already listed
// (by the earlier query) keeps its first row, so the mail merge writes one letter.
void AppendRows(CReportQuery& query, CReportList& list, std::vector<ConsentRow>& rows, Marker marker,
                std::set<int>& listed)
{
    for (; !query.IsEOF(); query.MoveNext()) {
        const int subjectId = query.Int("SubjectId");
        if (!listed.insert(subjectId).second)
            continue;
        ConsentRow row;
        row.lastname = query.Text("Lastname");
        row.firstname = query.Text("Firstname");
        row.parent = query.Text("Parent");
        // All four at once: an address holding "%1" stays as typed.
        row.address = QStringLiteral("%1 %2, %3  %4")
                          .arg(query.Text("Address"), query.Text("city"), query.Text("state"),
                               QString::number(query.Int("zip")));
        row.lastConsent = query.Text("lastdate");
        const int item = list.AppendItem(QString::number(subjectId));
        list.SetItemText(item, 1, QStringLiteral("%1, %2").arg(row.lastname, row.firstname));
        list.SetItemText(item, 2, row.parent);
        list.SetItemText(item, 3, row.address);
        list.SetItemText(item, 4, row.lastConsent);
        list.SetItemText(item, 5, marker == Marker::Nineteen ? QStringLiteral("19") : QString());
        list.SetItemText(item, 6, query.Text("dSent"));
        list.SetItemText(item, 7, marker == Marker::NotReturned ? QStringLiteral("NR") : query.Text("dReturned"));
        rows.push_back(std::move(row));
    }
}

} // namespace

std::vector<std::pair<QString, int>> ConsentColumns()
{
    return {{QStringLiteral("SubjectId"), 80},          {QStringLiteral("Name "), 150},
            {QStringLiteral("Parent "), 80},            {QStringLiteral("Address "), 200},
            {QStringLiteral("Last Consent "), 80},      {QStringLiteral(" "), 50},
            {QStringLiteral("Update Letter Sent "), 80}, {QStringLiteral("Date Returned "), 80}};
}

void BuildConsentList(CReportQuery& query, CReportList& list, std::vector<ConsentRow>& rows)
{
    rows.clear();
    std::set<int> listed;
    query.Run(kRenewalDue);
    AppendRows(query, list, rows, Marker::None, listed);
    query.Run(kAdultNow);
    AppendRows(query, list, rows, Marker::Nineteen, listed);
}

void BuildNotReturnedList(CReportQuery& query, CReportList& list, std::vector<ConsentRow>& rows)
{
    rows.clear();
    std::set<int> listed;
    query.Run(kNotReturned);
    AppendRows(query, list, rows, Marker::NotReturned, listed);
}

void ShowAddressLabel(UserInterface& ui, const CReportList& list)
{
    const int row = list.GetSelectionMark();
    if (row < 0 || row >= list.GetItemCount()) {
        ui.MessageBox(QStringLiteral("Please make a selection!"));
        return;
    }
    ui.MessageBox(QStringLiteral("%1 \n %2").arg(list.GetItemText(row, 1), list.GetItemText(row, 3)));
}

std::vector<QStringList> ConsentCsvLines(const CReportList& list, const std::vector<ConsentRow>& rows)
{
    std::vector<QStringList> lines = {
        {QStringLiteral("Consent List")},
        {},
        {QStringLiteral("LastName"), QStringLiteral("FirstName"), QStringLiteral("Parent"), QStringLiteral("Address"),
         QStringLiteral("Date")},
    };
    // A fill that failed left the list empty; only what is shown is written.
    const std::size_t shown = std::min<std::size_t>(static_cast<std::size_t>(list.GetItemCount()), rows.size());
    for (std::size_t i = 0; i < shown; ++i) {
        const ConsentRow& row = rows[i];
        // The empty last field keeps the closing comma every data line has.
        lines.push_back({row.lastname, row.firstname, row.parent, row.address, row.lastConsent, QString()});
    }
    return lines;
}

CsvResult SaveConsentCsv(UserInterface& ui, const CReportList& list, const std::vector<ConsentRow>& rows)
{
    return SaveCsv(ui, QStringLiteral("ConsentList"), ConsentCsvLines(list, rows));
}

} // namespace quorin
