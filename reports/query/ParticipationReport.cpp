#include "reports/query/ParticipationReport.h"

#include "rules/SqlText.h"
#include "document/CReportList.h"
#include "reports/query/ReportFill.h"
#include "reports/query/ReportRows.h"
#include "rules/AgeLines.h"

namespace quorin {

namespace {

QString Num(int value)
{
    return QString::number(value);
}

// A grouped count (sex, ethnicity, race): one row per value, the value in column 1 (the
// stand-in text when it is empty) and its count in column 2.
void AppendGroups(CReportQuery& query, CReportList& list, const QString& sql, const char* column,
                  const QString& emptyText)
{
    query.Run(sql);
    for (; !query.IsEOF(); query.MoveNext()) {
        const QString value = query.Text(column);
        rows::Append(list, {QString(), value.isEmpty() ? emptyText : value, Num(query.Int("num"))});
    }
}

} // namespace

void BuildParticipationList(CReportQuery& query, CReportList& list, const QString& from, const QString& to)
{
    // Each statement's "%1" is its period: the whole days From to To of its date column
    // (a release stored with its time of day counts on its day).
    const auto within = [&](const char* column) {
        return [period = sql::WholeDays(QLatin1String(column), from, to)](const QString& sql) { return sql.arg(period); };
    };
    const auto requested = within("requestdate");
    const auto released = within("releasedate");
    const auto took = within("date1");

    rows::AppendSpacer(list);

    rows::Append(list, {QStringLiteral("Datasets:"),
                        Num(query.Count(QStringLiteral("select count(distinct dataset) as num from dataset")))});
    rows::Append(list, {QStringLiteral("Open:"),
                        Num(query.Count(QStringLiteral("select count(distinct title) as num from release")))});
    rows::Append(list, {QStringLiteral("Closed:"),
                        Num(query.Count(QStringLiteral("select count(distinct dataset) as num from participationhistory "
                                                       "where dataset not in (select distinct title from release)")))});

    rows::AppendSpacer(list);
    {
        const int subjects = query.Count(
            requested(QStringLiteral("Select count(*) as num from requesthistory where %1")));
        const int requests = query.Count(requested(QStringLiteral(
            "Select count(distinct title) as num from requesthistory where %1")));
        const int irbs = query.Count(requested(
            QStringLiteral("Select count(distinct irb) as num from requesthistory where %1")));
        rows::Append(list, {QStringLiteral("Requests:"),
                            QStringLiteral("%1 subjects in %2 requests for %3 IRBs").arg(subjects).arg(requests).arg(irbs)});
    }
    {
        const int subjects = query.Count(
            released(QStringLiteral("Select count(*) as num from release where %1")));
        const int datasets = query.Count(released(
            QStringLiteral("Select count(distinct title) as num from release where %1")));
        const int irbs = query.Count(released(
            QStringLiteral("Select count(distinct irb) as num from release where %1")));
        rows::Append(list, {QStringLiteral("Currently Released Data:"),
                            QStringLiteral("%1 subjects in %2 datasets for %3 IRBs").arg(subjects).arg(datasets).arg(irbs)});
    }
    {
        const int subjects = query.Count(
            took(QStringLiteral("Select count(*) as num from participationhistory where %1")));
        const int datasets = query.Count(took(QStringLiteral(
            "Select count(distinct dataset) as num from participationhistory where %1")));
        const int irbs = query.Count(took(QStringLiteral(
            "Select count(distinct irb) as num from participationhistory where %1")));
        rows::Append(list,
                     {QStringLiteral("Participation Data:"),
                      QStringLiteral("%1 subjects from %2 datasets for %3 IRBs").arg(subjects).arg(datasets).arg(irbs)});
    }

    // How many subjects took part how often: the rows come ordered by their count, so
    // each run of equal counts is one group.
    query.Run(took(QStringLiteral(
        "select  subjectid, count(subjectid)as appear from participationhistory where %1 "
        "group by subjectid having count(subjectid) >=1 order by count(subjectid) desc")));
    int groupSize = 0;
    int groupAppear = 0;
    for (; !query.IsEOF(); query.MoveNext()) {
        const int appear = query.Int("appear");
        if (groupSize > 0 && appear != groupAppear) {
            rows::Append(list, {QString(),
                                QStringLiteral("%1 subjects participated in %2 IRBs each").arg(groupSize).arg(groupAppear)});
            groupSize = 0;
        }
        groupAppear = appear;
        ++groupSize;
    }
    // A period without participation has no group to report.
    if (groupSize > 0)
        rows::Append(list, {QString(), QStringLiteral("%1 subjects participated in %2 IRB each").arg(groupSize).arg(groupAppear)});

    const QString joined = QStringLiteral(
        "from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid ");

    rows::AppendSpacer(list);
    rows::Append(list, {QStringLiteral("by Age")});
    rows::Append(list, {QString(), QStringLiteral("Children: "),
                        Num(query.Count(took(QStringLiteral("select count(*) as num ") + joined
                                                + QStringLiteral("where " QUORIN_SQL_CHILD " and %1"))))});
    rows::Append(list, {QString(), QStringLiteral("Adults: "),
                        Num(query.Count(took(QStringLiteral("select count(*) as num ") + joined
                                                + QStringLiteral("where " QUORIN_SQL_ADULT " and %1"))))});

    rows::AppendSpacer(list);
    rows::Append(list, {QStringLiteral("by Gender")});
    AppendGroups(query, list,
                 took(QStringLiteral("select sex, count(sex) as num ") + joined
                         + QStringLiteral("where %1 group by sex order by sex")),
                 "sex", QStringLiteral("NULL"));

    rows::AppendSpacer(list);
    rows::Append(list, {QStringLiteral("by Ethnicity")});
    AppendGroups(query, list,
                 took(QStringLiteral("select ethnicity, count(ethnicity) as num ") + joined
                         + QStringLiteral("where %1 group by ethnicity order by ethnicity")),
                 "ethnicity", QStringLiteral("BLANK"));

    rows::AppendSpacer(list);
    rows::Append(list, {QStringLiteral("by Race")});
    AppendGroups(query, list,
                 took(QStringLiteral("select race, count(race) as num ") + joined
                         + QStringLiteral("where %1 group by race order by race")),
                 "race", QStringLiteral("BLANK"));

    rows::AppendSpacer(list);
    rows::Append(list, {QStringLiteral("With Hearing Loss, by Age")});
    rows::Append(list, {QString(), QStringLiteral("Children: "),
                        Num(query.Count(took(
                            QStringLiteral("select count(*) as num ") + joined
                            + QStringLiteral("where " QUORIN_SQL_CHILD " and (PatImpression = 'Hearing "
                                             "Impaired' or PatImpression = 'Cochlear Implant') and %1"))))});
    rows::Append(list, {QString(), QStringLiteral("Adults: "),
                        Num(query.Count(took(
                            QStringLiteral("select count(*) as num ") + joined
                            + QStringLiteral("where " QUORIN_SQL_ADULT " and (PatImpression = 'Hearing "
                                             "Impaired' or PatImpression = 'Cochlear Implant') and %1"))))});

    const int participated = query.Count(took(QStringLiteral(
        "Select count(distinct subjectid) as num from participationhistory where %1")));
    const int active = query.Count(QStringLiteral("Select count(subjectid) as num from subjects where status = 0"));
    // Without active subjects there is no share to give.
    const QString share = active > 0 ? QString::asprintf("%f %%", 100.0 * participated / active) : QString();
    rows::Append(list, {QString(), QStringLiteral("%1 out of %2 subjects participated").arg(participated).arg(active), share});
}

} // namespace quorin
