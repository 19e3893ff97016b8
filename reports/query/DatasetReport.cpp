#include "reports/query/DatasetReport.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "rules/SqlText.h"
#include "document/UserInterface.h"
#include "document/CReportList.h"
#include "reports/query/DatasetReminderRun.h"
#include "reports/query/ReportFill.h"

#include <algorithm>
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
    const QString period = sql::WholeDays(QStringLiteral("requestdate"), options.from, options.to);
    const bool byIrb = options.order == 1;

    query.Run(QStringLiteral("delete from calllog where dataset not in  (select dataset from dataset)"));

    SetRow(list, {QStringLiteral("DATASET"), QStringLiteral("IRB"), QStringLiteral("REQUEST DATE"),
                  QStringLiteral("SUBJECTS"), QStringLiteral("CONTACTED"), QStringLiteral("PARTICIPATED"),
                  QStringLiteral("OPEN")});

    // Read whole before the next statement replaces the session's result.
    std::vector<CDatasetCount> requested;
    query.Run(QStringLiteral("Select distinct dataset, dataset.irb, max(requestdate), Convert(char,max(requestdate),101) "
                             "as RDate from dataset inner join requesthistory on dataset.dataset = requesthistory.title "
                             "where %1 group by dataset, dataset.irb ")
                  .arg(period)
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
                                 "requesthistory.irb where %1 and dataset = '%2' and "
                                 "dataset.irb = '%3'group by dataset, dataset.irb ")
                      .arg(period, sql::Text(candidate.dataset), sql::Text(candidate.irb))
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
    // Read at each Email, so a site's change counts without restarting.
    const MailSettings settings = ReadMailSettings();
    std::vector<DatasetReminder> reminders;
    {
        const WaitCursor wait(document.UI());
        MyADO& db = document.m_db;
        const int mark = list.GetSelectionMark();
        int first = 0;
        int last = list.GetItemCount() - 1;
        if (mark > 0 && mark < list.GetItemCount())
            first = last = mark;

        // The registry's part here, on its session's thread; only the mail goes off it.
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
            reminders.push_back({list.GetItemText(row, 0), list.GetItemText(row, 1), StringField(db, "username")});
        }
    }
    if (reminders.empty())
        return;
    DatasetReminderRun run(settings, std::move(reminders));
    document.UI().RunInBackground(run);
    const bool allSent = std::all_of(run.Outcomes().begin(), run.Outcomes().end(), [](const ReminderOutcome& o) {
        return o.kind == ReminderOutcome::Kind::Sent;
    });
    document.UI().MessageBox(run.Summary(), allSent ? UserInterface::Icon::Information : UserInterface::Icon::Stop);
}

} // namespace quorin
