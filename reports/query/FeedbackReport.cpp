#include "reports/query/FeedbackReport.h"

#include "rules/SqlText.h"
#include "document/CReportList.h"
#include "reports/query/ReportFill.h"
#include "reports/query/ReportRows.h"

namespace quorin {

namespace {

const char* const kOutcomeConditions[] = {
    "(contacted = 1 or contacted = 4  or contacted = 2)", "participate = 1", "participate = 0", "completed = 0",
    "completed = 1"};
const char* const kOutcomeSentences[] = {"%1 were not contacted", "%1 did not participate", "%1 participated",
                                         "%1 were satisfactory", "%1 were unsatisfactory"};

void AppendOutcomeCounts(CReportQuery& query, CReportList& list, const std::function<QString(int)>& statement)
{
    rows::AppendSpacer(list);
    for (int i = 0; i < 5; ++i)
        rows::Append(list, {QStringLiteral(" "), QString::fromLatin1(kOutcomeSentences[i]).arg(query.Count(statement(i)))});
}

// Two spacer rows, the heading row and one row per subject of the statement.
void AppendSubjects(CReportQuery& query, CReportList& list, const QString& sql)
{
    rows::AppendSpacer(list);
    rows::AppendSpacer(list);
    rows::Append(list, {QStringLiteral("NAME"), QStringLiteral("CONTACT"), QStringLiteral("PARTICIPATION"),
                        QStringLiteral("RACE"), QStringLiteral("ETHNICITY"), QStringLiteral("EXPLANATION")});
    query.Run(sql);
    for (; !query.IsEOF(); query.MoveNext()) {
        rows::Append(list, {query.Text("lastname") + QStringLiteral(", ") + query.Text("firstname"),
                            ContactOutcome(query.Int("contacted")), ParticipationOutcome(query.Int("participate")),
                            query.Text("race"), query.Text("ethnicity"),
                            query.Text("excontact") + QStringLiteral("  ") + query.Text("expartic")});
    }
}

} // namespace

QString FeedbackAllDatasets()
{
    return QStringLiteral("All");
}

QString ContactOutcome(int contacted)
{
    switch (contacted) {
    case 0: return QStringLiteral("Contacted");
    case 1: return QStringLiteral("CNC");
    case 2: return QStringLiteral("DNC");
    case 3: return QStringLiteral("CNC");
    default: return QStringLiteral("No Data");
    }
}

QString ParticipationOutcome(int participate)
{
    switch (participate) {
    case 0: return QStringLiteral("Participated");
    case 1: return QStringLiteral("DNP");
    default: return QStringLiteral("No Data");
    }
}

void BuildFeedbackByDataset(CReportQuery& query, CReportList& list, const QString& dataset)
{
    if (dataset.isEmpty())
        return;
    const bool all = dataset == FeedbackAllDatasets();
    const QString d = sql::Text(dataset);

    rows::AppendSpacer(list);
    if (!all) {
        const int row = rows::Append(list, {QStringLiteral("Dataset: %1").arg(dataset)});
        query.Run(QStringLiteral("Select irb from participationhistory where dataset = '%1'").arg(d));
        list.SetItemText(row, 1, QStringLiteral("IRB: %1").arg(query.IsEOF() ? QString() : query.Text("irb")));
        rows::AppendSpacer(list);
    }

    const int subjects =
        query.Count(all ? QStringLiteral("Select count(*)as num from participationhistory")
                        : QStringLiteral("Select count(distinct subjectid)as num from participationhistory where dataset = "
                                         "'%1'")
                              .arg(d));
    const int released =
        query.Count(all ? QStringLiteral("Select count(*)as num from requesthistory")
                        : QStringLiteral("Select count(distinct subjectid)as num from requesthistory where title = '%1'").arg(d));
    rows::Append(list, {QStringLiteral("Feedback for %1 Subjects").arg(subjects),
                        QStringLiteral("for %1 subjects released").arg(released)});

    AppendOutcomeCounts(query, list, [&](int i) {
        const QString statement =
            QStringLiteral("Select count(*) as num from participationhistory where ") + QLatin1String(kOutcomeConditions[i]);
        return all ? statement : statement + QStringLiteral(" and dataset = '%1'").arg(d);
    });

    if (!all)
        AppendSubjects(query, list,
                       QStringLiteral("select lastname, firstname, contacted, participate, excontact, expartic, race, "
                                      "ethnicity from subjects inner join participationhistory on subjects.subjectid = "
                                      "participationhistory.subjectid where dataset = '%1'")
                           .arg(d));
}

void BuildFeedbackByDate(CReportQuery& query, CReportList& list, const QString& dataset, const QString& from,
                         const QString& to)
{
    // One dataset is matched by its name alone: a "_" or "%" in it is no wildcard.
    const QString pattern = dataset == FeedbackAllDatasets() ? QStringLiteral("%") : sql::LikeText(dataset);
    // Feedback is stored with its time of day: the To day counts whole.
    const QString range = sql::WholeDays(QStringLiteral("feedbackdate"), from, to)
                          + QStringLiteral(" and Dataset like '%1' ").arg(pattern);

    rows::AppendSpacer(list);
    rows::Append(list, {QStringLiteral("Feedback for %1 Subjects")
                            .arg(query.Count(
                                QStringLiteral("Select count(distinct subjectid)as num from participationhistory where ")
                                + range))});
    AppendOutcomeCounts(query, list, [&](int i) {
        return QStringLiteral("Select count(*) as num from participationhistory where ")
               + QLatin1String(kOutcomeConditions[i]) + QStringLiteral(" and ") + range;
    });
    AppendSubjects(query, list,
                   QStringLiteral("select lastname, firstname, contacted, participate, excontact, expartic, race, ethnicity  "
                                  "from subjects inner join participationhistory on subjects.subjectid = "
                                  "participationhistory.subjectid where ")
                       + range);
}

} // namespace quorin
