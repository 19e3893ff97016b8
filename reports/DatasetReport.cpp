#include "reports/DatasetReport.h"

#include "app/CQuorinDoc.h"
#include "app/DbString.h"
#include "app/SqlText.h"
#include "app/UserInterface.h"
#include "mail/CMailItem.h"
#include "mail/CSmtpSession.h"
#include "reports/CReportList.h"
#include "reports/ReportFill.h"

#include <vector>

namespace quorin {

namespace {

const QString kOpen = QStringLiteral("Open");
const QString kClosed = QStringLiteral("Closed");

void SetRow(CReportList& list, const QStringList& texts)
{
    const int row = list.AppendItem(texts.value(0));
    for (int column = 1; column < texts.size(); ++column)
        list.SetItemText(row, column, texts[column]);
}

} // namespace

void BuildDatasetList(CReportQuery& query, CReportList& list, const DatasetReportOptions& options)
{
    const QString from = sql::Text(options.from);
    const QString to = sql::Text(options.to);
    const bool byIrb = options.order == 1;

    query.Run(QStringLiteral("delete from calllog where dataset not in  (select dataset from dataset)"));

    SetRow(list, {QStringLiteral("DATASET"), QStringLiteral("IRB"), QStringLiteral("REQUEST DATE"),
                  QStringLiteral("SUBJECTS"), QStringLiteral("CONTACTED"), QStringLiteral("PARTICIPATED"),
                  QStringLiteral("OPEN")});

    // Read whole before the next statement replaces the session's result.
    std::vector<CDatasetCount> requested;
    query.Run(QStringLiteral("Select distinct dataset, dataset.irb, max(requestdate), Convert(char,max(requestdate),101) "
                             "as RDate from dataset inner join requesthistory on dataset.dataset = requesthistory.title "
                             "where requestdate between '%1' and '%2' group by dataset, dataset.irb ")
                  .arg(from, to)
              + (byIrb ? QStringLiteral(" order by dataset.irb, dataset") : QStringLiteral(" order by max(requestdate),dataset")));
    for (; !query.IsEOF(); query.MoveNext()) {
        CDatasetCount record;
        record.dataset = query.Text("Dataset");
        record.irb = query.Text("irb");
        record.requestDate = query.Text("RDate").trimmed();
        requested.push_back(std::move(record));
    }

    // Only requests under the dataset's own IRB count; a dataset without any is dropped.
    std::vector<CDatasetCount> kept;
    for (const CDatasetCount& candidate : requested) {
        query.Run(QStringLiteral("select distinct dataset, dataset.irb, count(distinct subjectid)as num from dataset "
                                 "inner join requesthistory on dataset.dataset = requesthistory.title and dataset.irb = "
                                 "requesthistory.irb where requestdate between '%1' and '%2'and dataset = '%3' and "
                                 "dataset.irb = '%4'group by dataset, dataset.irb ")
                      .arg(from, to, sql::Text(candidate.dataset), sql::Text(candidate.irb))
                  + (byIrb ? QStringLiteral(" order by dataset.irb, dataset") : QStringLiteral(" order by dataset")));
        if (query.IsEOF())
            continue;
        CDatasetCount record;
        record.dataset = query.Text("Dataset");
        record.irb = query.Text("Irb");
        record.requestDate = candidate.requestDate;
        record.subjects = query.Int("num");
        kept.push_back(std::move(record));
    }

    int subjects = 0;
    int contacted = 0;
    int participated = 0;
    for (CDatasetCount& record : kept) {
        const QString dataset = sql::Text(record.dataset);
        const QString irb = sql::Text(record.irb);
        record.contacted = query.Count(QStringLiteral("select count(*)as num from participationhistory where dataset = "
                                                      "'%1' and irb = '%2' and contacted = 0 ")
                                           .arg(dataset, irb));
        record.participated = query.Count(QStringLiteral("select count(*)as num from participationhistory where "
                                                         "dataset = '%1' and irb = '%2' and participate = 0 ")
                                              .arg(dataset, irb));
        const bool open =
            query.Count(QStringLiteral("select count(*)as num from release where title = '%1' and irb = '%2' ").arg(dataset, irb)) > 0;
        if (options.openOnly && !open)
            continue;
        SetRow(list, {record.dataset, record.irb, record.requestDate, QString::number(record.subjects),
                      QString::number(record.contacted), QString::number(record.participated), open ? kOpen : kClosed});
        subjects += record.subjects;
        contacted += record.contacted;
        participated += record.participated;
    }

    SetRow(list, {QStringLiteral("TOTAL:"), QString(), QString(), QString::number(subjects), QString::number(contacted),
                  QString::number(participated), QString()});
}

bool FillDatasetReport(CQuorinDoc& document, CReportList& list, const DatasetReportOptions& options)
{
    return FillReport(document, list,
                      [&options](CReportQuery& query, CReportList& rows) { BuildDatasetList(query, rows, options); });
}

void SendDatasetReminders(CQuorinDoc& document, const CReportList& list)
{
    const WaitCursor wait(document.UI());
    // Read at each Email, so a site's change counts without restarting.
    const MailSettings settings = ReadMailSettings();
    MyADO& db = document.m_db;

    const int mark = list.GetSelectionMark();
    int first = 0;
    int last = list.GetItemCount() - 1;
    if (mark > 0 && mark < list.GetItemCount())
        first = last = mark;

    for (int row = first; row <= last; ++row) {
        const QString state = list.GetItemText(row, kDatasetStateColumn);
        const QString dataset = sql::Text(list.GetItemText(row, 0));
        const QString irb = sql::Text(list.GetItemText(row, 1));
        if (state == kClosed) {
            // A failed statement has shown its boxes; the rows after it would only add more.
            if (!RunText(db, QStringLiteral("delete from calllog where dataset = '%1' and irb = '%2'").arg(dataset, irb)))
                return;
            continue;
        }
        const int ran = RunText(db, QStringLiteral("select username from requesthistory, pers where pers.persid = "
                                                   "requesthistory.persid and title = '%1' and irb = '%2'")
                                        .arg(dataset, irb));
        if (!ran)
            return;
        if (db.IsEOF())
            continue;
        const QString userName = StringField(db, "username");
        SendDatasetReminder(document.UI(), settings, list.GetItemText(row, 1), list.GetItemText(row, 0), userName);
    }
}

void SendDatasetReminder(UserInterface& ui, const MailSettings& settings, QString irb, QString dataset,
                         QString userName)
{
    CSmtpSession session(settings.smtpServer, static_cast<unsigned int>(settings.smtpPort));
    session.SetTimeout(settings.timeoutSeconds * 1000);
    if (!session.Connect())
        ui.MessageBox(session.GetLastErrorText());

    CMailItem item;
    item.From = settings.sender;
    item.Subject = QStringLiteral("Velmar Open Dataset");
    item.Body = QStringLiteral("This email is to remind you that you have the open dataset %1 under IRB %2 in the "
                               "Velmar.\nIf you are finished with the dataset, please enter your feedback and close "
                               "the dataset.\nThank you,\nVelmar Administrator")
                    .arg(dataset, irb);
    item.AddMultipleRecipients(userName + QLatin1Char('@') + settings.domain);

    if (!session.SendMessage(item))
        ui.MessageBox(session.GetLastErrorText());
    if (!session.Disconnect())
        ui.MessageBox(session.GetLastErrorText());
}

} // namespace quorin
