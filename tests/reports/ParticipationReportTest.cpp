// The Participation and Feedback lists on small registries: every cell compared with
// what the raw rows, read back with plain SQLite, say it must be; unsafe typed values.

#include "ParticipationFixture.h"

#include "rules/SqlText.h"
#include "document/CMemoryReportList.h"
#include "reports/query/FeedbackReport.h"
#include "reports/query/ParticipationReport.h"
#include "reports/query/ReportFill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace quorin::test {
namespace {

const QDate kToday(2026, 6, 15);
const QDate kFrom(2010, 1, 1);
const QDate kTo(2010, 12, 31);

QString Row(QStringList cells, int columns)
{
    while (cells.size() < columns)
        cells << QString();
    return cells.join(QLatin1Char('|'));
}

bool InPeriod(const QString& iso, const QDate& from = kFrom, const QDate& to = kTo)
{
    const QDate date = StoredDate(iso);
    return date.isValid() && date >= from && date <= to;
}

// SQL Server's datediff(yy, birth, now): year boundaries crossed.
int YearsCrossed(const QString& birthIso)
{
    return kToday.year() - StoredDate(birthIso).year();
}

class ParticipationReportTest : public ParticipationFixture {
protected:
    void SetUp() override
    {
        ParticipationFixture::SetUp();
        for (int column = 0; column < kParticipationColumns; ++column)
            participation.InsertColumn(column, QString());
        for (int column = 0; column < kFeedbackColumns; ++column)
            feedback.InsertColumn(column, QString());
    }

    bool FillParticipation(const QString& from, const QString& to)
    {
        return FillReport(*doc, participation,
                          [&](CReportQuery& q, CReportList& l) { BuildParticipationList(q, l, from, to); });
    }
    bool FillFeedback(const QString& dataset, const QString& from = {}, const QString& to = {})
    {
        return FillReport(*doc, feedback, [&](CReportQuery& q, CReportList& l) {
            if (from.isEmpty() || to.isEmpty())
                BuildFeedbackByDataset(q, l, dataset);
            else
                BuildFeedbackByDate(q, l, dataset, from, to);
        });
    }

    // A registry with participation of every kind inside 2010, on both its bounds and
    // just outside it.
    void AddParticipationSet()
    {
        AddDataset(QStringLiteral("Hearing A"), QStringLiteral("IRB-1"));
        AddDataset(QStringLiteral("O'Hara, pilot"), QStringLiteral("IRB-2"));
        AddDataset(QStringLiteral("Closed C"), QStringLiteral("IRB-3"));
        const QString sexes[] = {QStringLiteral("F"), QStringLiteral("M"), QString()};
        const QString ethnicities[] = {QStringLiteral("Hispanic"), QStringLiteral("Not Hispanic"), QString()};
        const QString races[] = {QStringLiteral("White"), QStringLiteral("Black"), QStringLiteral("Asian"), QString()};
        const QString impressions[] = {QStringLiteral("Hearing Impaired"), QStringLiteral("Cochlear Implant"),
                                       QStringLiteral("Normal Hearing")};
        // Children and adults, with the two birthdays either side of the 19-year line.
        const QDate births[] = {QDate(2012, 3, 4), QDate(1980, 7, 8), QDate(2008, 1, 1), QDate(2007, 12, 31)};
        const QString datasets[] = {QStringLiteral("Hearing A"), QStringLiteral("O'Hara, pilot"),
                                    QStringLiteral("Closed C"), QStringLiteral("Gone G")};
        const QString irbs[] = {QStringLiteral("IRB-1"), QStringLiteral("IRB-2"), QStringLiteral("IRB-3"),
                                QStringLiteral("IRB-4")};
        std::vector<int> ids;
        for (int i = 0; i < 14; ++i) {
            PersonRow person;
            person.last = i == 0 ? QStringLiteral("O'Brien") : QStringLiteral("Subject%1").arg(i);
            person.sex = sexes[i % 3];
            person.ethnicity = ethnicities[(i / 2) % 3];
            person.race = races[i % 4];
            person.impression = impressions[i % 3];
            person.birth = births[i % 4];
            person.status = i % 5 == 4 ? 1 : (i % 7 == 6 ? 2 : 0);
            ids.push_back(AddPerson(person));
        }
        // Five subjects with three records in the period, seven with one; the first
        // and last days of the period count.
        const QDate inside[] = {kFrom, QDate(2010, 6, 1), kTo};
        for (int i = 0; i < 5; ++i)
            for (int k = 0; k < 3; ++k)
                AddParticipation({ids[i], datasets[k], irbs[k], inside[k], {}, k % 2, (i + k) % 2, -1});
        for (int i = 5; i < 12; ++i)
            AddParticipation({ids[i], datasets[i % 4], irbs[i % 4], inside[i % 3], {}, 0, 0, 0});
        // Outside the period: the day before and the day after.
        AddParticipation({ids[12], datasets[0], irbs[0], QDate(2009, 12, 31), {}, 0, 0, 0});
        AddParticipation({ids[13], datasets[1], irbs[1], QDate(2011, 1, 1), {}, 0, 0, 0});
        AddParticipation({ids[5], datasets[3], irbs[3], QDate(2011, 1, 1), {}, 0, 0, 0});

        AddRequest(QStringLiteral("Hearing A"), QStringLiteral("IRB-1"), ids[0], kFrom);
        AddRequest(QStringLiteral("Hearing A"), QStringLiteral("IRB-1"), ids[1], kTo);
        AddRequest(QStringLiteral("O'Hara, pilot"), QStringLiteral("IRB-2"), ids[2], QDate(2010, 5, 5));
        AddRequest(QStringLiteral("Closed C"), QStringLiteral("IRB-3"), ids[3], QDate(2009, 12, 31));
        AddRequest(QStringLiteral("Closed C"), QStringLiteral("IRB-3"), ids[4], QDate(2011, 1, 1));
        AddRelease(QStringLiteral("Hearing A"), QStringLiteral("IRB-1"), ids[0], kTo);
        AddRelease(QStringLiteral("Hearing A"), QStringLiteral("IRB-1"), ids[1], QDate(2009, 12, 31));
        AddRelease(QStringLiteral("O'Hara, pilot"), QStringLiteral("IRB-2"), ids[2], kFrom);
    }

    // The Participation list as the raw rows say it must read.
    QStringList ExpectedParticipation(const QDate& from, const QDate& to) const
    {
        constexpr int n = kParticipationColumns;
        QStringList rows{Row({QStringLiteral(" ")}, n)};
        std::set<QString> datasets, released, participationDatasets;
        for (const QStringList& r : RawRows("select Dataset from dataset"))
            datasets.insert(r[0].toLower());
        for (const QStringList& r : RawRows("select Title from release"))
            released.insert(r[0].toLower());
        const auto partic = RawRows("select SubjectId, Dataset, Irb, Date1 from participationhistory");
        for (const QStringList& r : partic)
            participationDatasets.insert(r[1].toLower());
        int closed = 0;
        for (const QString& d : participationDatasets)
            closed += released.count(d) ? 0 : 1;
        rows << Row({QStringLiteral("Datasets:"), QString::number(datasets.size())}, n)
             << Row({QStringLiteral("Open:"), QString::number(released.size())}, n)
             << Row({QStringLiteral("Closed:"), QString::number(closed)}, n) << Row({QStringLiteral(" ")}, n);

        const auto tally = [&](const std::vector<QStringList>& raw, int titleColumn, int irbColumn, int dateColumn) {
            int count = 0;
            std::set<QString> titles, irbs;
            for (const QStringList& r : raw) {
                if (!InPeriod(r[dateColumn], from, to))
                    continue;
                ++count;
                titles.insert(r[titleColumn].toLower());
                irbs.insert(r[irbColumn].toLower());
            }
            return std::array<int, 3>{count, int(titles.size()), int(irbs.size())};
        };
        const auto requests = tally(RawRows("select Title, Irb, RequestDate from requesthistory"), 0, 1, 2);
        rows << Row({QStringLiteral("Requests:"), QStringLiteral("%1 subjects in %2 requests for %3 IRBs")
                                                        .arg(requests[0]).arg(requests[1]).arg(requests[2])},
                    n);
        const auto releases = tally(RawRows("select Title, Irb, ReleaseDate from release"), 0, 1, 2);
        rows << Row({QStringLiteral("Currently Released Data:"), QStringLiteral("%1 subjects in %2 datasets for %3 IRBs")
                                                                       .arg(releases[0]).arg(releases[1]).arg(releases[2])},
                    n);
        const auto participations = tally(partic, 1, 2, 3);
        rows << Row({QStringLiteral("Participation Data:"),
                     QStringLiteral("%1 subjects from %2 datasets for %3 IRBs")
                         .arg(participations[0]).arg(participations[1]).arg(participations[2])},
                    n);

        // Records per subject in the period, then subjects per record count, most first.
        std::map<int, int> perSubject;
        for (const QStringList& r : partic)
            if (InPeriod(r[3], from, to))
                ++perSubject[r[0].toInt()];
        std::map<int, int, std::greater<int>> groups;
        for (const auto& [subject, times] : perSubject)
            ++groups[times];
        int g = 0;
        for (const auto& [times, subjects] : groups) {
            const bool last = ++g == int(groups.size());
            rows << Row({QString(), QStringLiteral("%1 subjects participated in %2 %3 each")
                                        .arg(subjects)
                                        .arg(times)
                                        .arg(last ? QStringLiteral("IRB") : QStringLiteral("IRBs"))},
                        n);
        }

        std::map<int, QStringList> subjects;
        for (const QStringList& r : RawRows("select SubjectId, Birthdate, Sex, Ethnicity, Race, PatImpression, Status "
                                            "from subjects"))
            subjects[r[0].toInt()] = r;
        int children = 0, adults = 0, hlChildren = 0, hlAdults = 0;
        std::map<QString, int> sexes, ethnicities, races;
        for (const QStringList& r : partic) {
            if (!InPeriod(r[3], from, to) || !subjects.count(r[0].toInt()))
                continue;
            const QStringList& s = subjects[r[0].toInt()];
            const bool child = YearsCrossed(s[1]) < 19;
            const bool hl = s[5] == QLatin1String("Hearing Impaired") || s[5] == QLatin1String("Cochlear Implant");
            (child ? children : adults)++;
            if (hl)
                (child ? hlChildren : hlAdults)++;
            ++sexes[s[2]];
            ++ethnicities[s[3]];
            ++races[s[4]];
        }
        rows << Row({QStringLiteral(" ")}, n) << Row({QStringLiteral("by Age")}, n)
             << Row({QString(), QStringLiteral("Children: "), QString::number(children)}, n)
             << Row({QString(), QStringLiteral("Adults: "), QString::number(adults)}, n);
        const auto groupRows = [&](const QString& title, const std::map<QString, int>& counts, const QString& empty) {
            rows << Row({QStringLiteral(" ")}, n) << Row({title}, n);
            for (const auto& [value, count] : counts)
                rows << Row({QString(), value.isEmpty() ? empty : value, QString::number(count)}, n);
        };
        groupRows(QStringLiteral("by Gender"), sexes, QStringLiteral("NULL"));
        groupRows(QStringLiteral("by Ethnicity"), ethnicities, QStringLiteral("BLANK"));
        groupRows(QStringLiteral("by Race"), races, QStringLiteral("BLANK"));
        rows << Row({QStringLiteral(" ")}, n) << Row({QStringLiteral("With Hearing Loss, by Age")}, n)
             << Row({QString(), QStringLiteral("Children: "), QString::number(hlChildren)}, n)
             << Row({QString(), QStringLiteral("Adults: "), QString::number(hlAdults)}, n);
        int active = 0;
        for (const auto& [id, s] : subjects)
            active += s[6].toInt() == 0 ? 1 : 0;
        const int participated = int(perSubject.size());
        rows << Row({QString(), QStringLiteral("%1 out of %2 subjects participated").arg(participated).arg(active),
                     active ? QString::asprintf("%f %%", 100.0 * participated / active) : QString()},
                    n);
        return rows;
    }

    CMemoryReportList participation;
    CMemoryReportList feedback;
};

// The period of every report takes its From and To days whole: a time of day just after
// From's midnight and just before To's next one is in, the instants beyond are out, for
// a column with times of day and for one holding dates alone.
TEST_F(ParticipationFixture, WholeDaysFromMidnightToTheEndOfTheToDay)
{
    const int subject = AddPerson({});
    const char* const stamps[] = {"2009-12-31 23:59:59.997", "2010-01-01 00:00:00.000", "2010-06-01 09:15:00.000",
                                  "2010-12-31 23:59:59.997", "2011-01-01 00:00:00.000"};
    for (const char* stamp : stamps)
        Raw(QStringLiteral("insert into participationhistory (SubjectId, Dataset, Irb, Date1, FeedbackDate) "
                           "values (%1, 'D', 'I', '%2', '%3')")
                .arg(QString::number(subject), QString::fromLatin1(stamp).left(10) + QStringLiteral(" 00:00:00.000"),
                     QString::fromLatin1(stamp)));
    struct Case {
        const char* column;
        const char* from;
        const char* to;
        int count;
    };
    const Case cases[] = {
        {"feedbackdate", "1/1/2010", "12/31/2010", 3},
        {"feedbackdate", "12/31/2010", "12/31/2010", 1},
        {"feedbackdate", "01/01/2011", "1/1/2011", 1},
        {"feedbackdate", "6/2/2010", "12/30/2010", 0},
        {"date1", "1/1/2010", "12/31/2010", 3},
        {"date1", "12/31/2009", "12/31/2009", 1},
    };
    CMemoryReportList unused;
    for (const Case& c : cases) {
        int count = -1;
        ASSERT_TRUE(FillReport(*doc, unused, [&](CReportQuery& q, CReportList&) {
            count = q.Count(QStringLiteral("select count(*) as num from participationhistory where ")
                            + sql::WholeDays(QLatin1String(c.column), QLatin1String(c.from), QLatin1String(c.to)));
        }));
        EXPECT_EQ(count, c.count) << c.column << " " << c.from << " - " << c.to;
    }
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(ParticipationReportTest, ParticipationEveryCellAsTheRawRowsSay)
{
    AddParticipationSet();
    ASSERT_TRUE(FillParticipation(QStringLiteral("1/1/2010"), QStringLiteral("12/31/2010")));
    EXPECT_TRUE(TakeErrors().empty());
    const QStringList expected = ExpectedParticipation(kFrom, kTo);
    EXPECT_EQ(Cells(participation).join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
    // Five subjects with three records and seven with one: two group rows.
    EXPECT_TRUE(expected.contains(Row({QString(), QStringLiteral("5 subjects participated in 3 IRBs each")}, 3)));
    EXPECT_TRUE(expected.contains(Row({QString(), QStringLiteral("7 subjects participated in 1 IRB each")}, 3)));
    // The empty sex, ethnicity and race appear by their stand-ins: 3 + 1 + 1 + 1 joined
    // rows of subjects 2, 5, 8 and 11.
    EXPECT_TRUE(expected.contains(Row({QString(), QStringLiteral("NULL"), QStringLiteral("6")}, 3)));
    EXPECT_EQ(expected.filter(QStringLiteral("|BLANK|")).size(), 2);
}

TEST_F(ParticipationReportTest, ParticipationOverEveryDateAndAnEmptyPeriod)
{
    AddParticipationSet();
    ASSERT_TRUE(FillParticipation(QStringLiteral("1/1/1901"), QStringLiteral("6/15/2026")));
    EXPECT_EQ(Cells(participation).join(QLatin1Char('\n')).toStdString(),
              ExpectedParticipation(QDate(1901, 1, 1), kToday).join(QLatin1Char('\n')).toStdString());

    // A period without participation has no group rows at all.
    ASSERT_TRUE(FillParticipation(QStringLiteral("1/1/1990"), QStringLiteral("12/31/1990")));
    const QStringList cells = Cells(participation);
    EXPECT_EQ(cells.join(QLatin1Char('\n')).toStdString(),
              ExpectedParticipation(QDate(1990, 1, 1), QDate(1990, 12, 31)).join(QLatin1Char('\n')).toStdString());
    EXPECT_TRUE(cells.filter(QStringLiteral("participated in")).isEmpty());
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(ParticipationReportTest, NoActiveSubjectsLeavesTheShareEmpty)
{
    PersonRow withdrawn;
    withdrawn.status = 1;
    const int id = AddPerson(withdrawn);
    AddParticipation({id, QStringLiteral("DS1"), QStringLiteral("IRB-1"), QDate(2010, 3, 3), {}, 0, 0, 0});
    ASSERT_TRUE(FillParticipation(QStringLiteral("1/1/2010"), QStringLiteral("12/31/2010")));
    const int last = participation.GetItemCount() - 1;
    EXPECT_EQ(participation.GetItemText(last, 1), QStringLiteral("1 out of 0 subjects participated"));
    EXPECT_EQ(participation.GetItemText(last, 2), QString());
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(ParticipationReportTest, UnsafeDatesGiveACorrectReportOrTheSessionsBoxesAndChangeNothing)
{
    AddParticipationSet();
    const auto before = RawRows("select count(*) from subjects union all select count(*) from participationhistory "
                                "union all select count(*) from release");
    for (const QString& from : {QStringLiteral("13/45/2010"), QStringLiteral("x'; DROP TABLE subjects --")}) {
        const bool filled = FillParticipation(from, QStringLiteral("12/31/2010"));
        const auto errors = TakeErrors();
        if (filled) {
            EXPECT_TRUE(errors.empty());
            EXPECT_GT(participation.GetItemCount(), 20);
        } else {
            EXPECT_FALSE(errors.empty()) << "a failed fill shows the session's boxes";
            EXPECT_EQ(participation.GetItemCount(), 0);
        }
    }
    EXPECT_EQ(RawRows("select count(*) from subjects union all select count(*) from participationhistory union all "
                      "select count(*) from release"),
              before);
}

// Feedback on datasets whose records hold every contact, participation and completion
// code, with feedback dates on the bounds of 2010 and outside it.
class FeedbackReportTest : public ParticipationReportTest {
protected:
    void SetUp() override
    {
        ParticipationReportTest::SetUp();
        const QString names[] = {QStringLiteral("O'Brien"), QStringLiteral("Ames"), QStringLiteral("Burke"),
                                 QStringLiteral("Chen"), QStringLiteral("Diaz"), QStringLiteral("Evans")};
        for (int i = 0; i < 6; ++i) {
            PersonRow person;
            person.last = names[i];
            person.first = QStringLiteral("F%1").arg(i);
            person.race = i % 2 ? QStringLiteral("White") : QStringLiteral("Black");
            person.ethnicity = i % 3 ? QStringLiteral("Not Hispanic") : QString();
            ids.push_back(AddPerson(person));
        }
        const QDate dates[] = {kFrom, kTo, QDate(2009, 12, 31), QDate(2011, 1, 1), QDate(2010, 7, 7), QDate()};
        int k = 0;
        for (const auto& [dataset, irb] : std::vector<std::pair<QString, QString>>{
                 {QStringLiteral("O'Hara, pilot"), QStringLiteral("IRB-2")},
                 {QStringLiteral("Hearing A"), QStringLiteral("IRB-1")},
                 {QStringLiteral("Pilot_1"), QStringLiteral("IRB-5")},
                 {QStringLiteral("Pilot11"), QStringLiteral("IRB-5")}}) {
            AddDataset(dataset, irb);
            for (int i = 0; i < 6; ++i, ++k) {
                if (dataset == QLatin1String("Pilot11") && i > 1)
                    break;
                // contacted -1..4, participate -1..1, completed -1..1 across the rows.
                AddParticipation({ids[i], dataset, irb, {}, dates[(i + k) % 6], (k % 6) - 1, (k % 3) - 1, (k % 3) - 1,
                                  QStringLiteral("left, moved"), i % 2 ? QStringLiteral("busy") : QString()});
            }
            for (int i = 0; i < 3; ++i)
                AddRequest(dataset, irb, ids[i], kFrom);
        }
        // Requested twice: the released count of a dataset counts subjects once.
        AddRequest(QStringLiteral("O'Hara, pilot"), QStringLiteral("IRB-2"), ids[0], kTo);
    }

    struct Record {
        QString dataset, irb, feedback, name, race, ethnicity, exContact, exPartic;
        int subject, contacted, participate, completed;
    };
    std::vector<Record> Records() const
    {
        std::vector<Record> out;
        for (const QStringList& r : RawRows(
                 "select p.Dataset, p.Irb, p.FeedbackDate, s.Lastname || ', ' || s.Firstname, s.Race, s.Ethnicity, "
                 "p.ExContact, p.ExPartic, p.SubjectId, p.Contacted, p.Participate, p.Completed from "
                 "participationhistory p left join subjects s on s.SubjectId = p.SubjectId order by p.ParticId"))
            out.push_back({r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8].toInt(), r[9].toInt(), r[10].toInt(),
                           r[11].toInt()});
        return out;
    }

    static QStringList CountRows(const std::vector<Record>& records)
    {
        int notContacted = 0, didNot = 0, did = 0, good = 0, bad = 0;
        for (const Record& r : records) {
            notContacted += (r.contacted == 1 || r.contacted == 2 || r.contacted == 4) ? 1 : 0;
            didNot += r.participate == 1 ? 1 : 0;
            did += r.participate == 0 ? 1 : 0;
            good += r.completed == 0 ? 1 : 0;
            bad += r.completed == 1 ? 1 : 0;
        }
        constexpr int n = kFeedbackColumns;
        return {Row({QStringLiteral(" ")}, n),
                Row({QStringLiteral(" "), QStringLiteral("%1 were not contacted").arg(notContacted)}, n),
                Row({QStringLiteral(" "), QStringLiteral("%1 did not participate").arg(didNot)}, n),
                Row({QStringLiteral(" "), QStringLiteral("%1 participated").arg(did)}, n),
                Row({QStringLiteral(" "), QStringLiteral("%1 were satisfactory").arg(good)}, n),
                Row({QStringLiteral(" "), QStringLiteral("%1 were unsatisfactory").arg(bad)}, n)};
    }

    // The subject rows, sorted: the statement gives them in no stated order.
    static QStringList SubjectRows(const std::vector<Record>& records)
    {
        const auto contact = [](int code) {
            switch (code) {
            case 0: return QStringLiteral("Contacted");
            case 1: case 3: return QStringLiteral("CNC");
            case 2: return QStringLiteral("DNC");
            default: return QStringLiteral("No Data");
            }
        };
        const auto partic = [](int code) {
            return code == 0 ? QStringLiteral("Participated") : code == 1 ? QStringLiteral("DNP") : QStringLiteral("No Data");
        };
        QStringList rows;
        for (const Record& r : records)
            rows << Row({r.name, contact(r.contacted), partic(r.participate), r.race, r.ethnicity,
                         r.exContact + QStringLiteral("  ") + r.exPartic},
                        kFeedbackColumns);
        rows.sort();
        return rows;
    }

    static QStringList Heading()
    {
        constexpr int n = kFeedbackColumns;
        return {Row({QStringLiteral(" ")}, n), Row({QStringLiteral(" ")}, n),
                Row({QStringLiteral("NAME"), QStringLiteral("CONTACT"), QStringLiteral("PARTICIPATION"),
                     QStringLiteral("RACE"), QStringLiteral("ETHNICITY"), QStringLiteral("EXPLANATION")},
                    n)};
    }

    // The list with its subject rows (after the heading) sorted.
    QStringList Shown() const
    {
        QStringList cells = Cells(feedback);
        const qsizetype heading = cells.indexOf(Row({QStringLiteral("NAME"), QStringLiteral("CONTACT"),
                                                      QStringLiteral("PARTICIPATION"), QStringLiteral("RACE"),
                                                      QStringLiteral("ETHNICITY"), QStringLiteral("EXPLANATION")},
                                                     kFeedbackColumns));
        if (heading >= 0)
            std::sort(cells.begin() + heading + 1, cells.end());
        return cells;
    }

    std::vector<int> ids;
};

TEST_F(FeedbackReportTest, AllWithoutDatesListsCountsOnly)
{
    ASSERT_TRUE(FillFeedback(QStringLiteral("All")));
    const auto records = Records();
    const int requests = int(RawNumber("select count(*) from requesthistory"));
    QStringList expected{Row({QStringLiteral(" ")}, kFeedbackColumns),
                         Row({QStringLiteral("Feedback for %1 Subjects").arg(records.size()),
                              QStringLiteral("for %1 subjects released").arg(requests)},
                             kFeedbackColumns)};
    expected += CountRows(records);
    EXPECT_EQ(Shown().join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(FeedbackReportTest, OneDatasetAddsItsIrbAndSubjects)
{
    const QString dataset = QStringLiteral("O'Hara, pilot");
    ASSERT_TRUE(FillFeedback(dataset));
    std::vector<Record> records;
    std::set<int> subjects;
    for (const Record& r : Records())
        if (r.dataset == dataset) {
            records.push_back(r);
            subjects.insert(r.subject);
        }
    std::set<int> released;
    for (const QStringList& r : RawRows("select SubjectId, Title from requesthistory"))
        if (r[1] == dataset)
            released.insert(r[0].toInt());
    constexpr int n = kFeedbackColumns;
    QStringList expected{Row({QStringLiteral(" ")}, n),
                         Row({QStringLiteral("Dataset: O'Hara, pilot"), QStringLiteral("IRB: %1").arg(records[0].irb)}, n),
                         Row({QStringLiteral(" ")}, n),
                         Row({QStringLiteral("Feedback for %1 Subjects").arg(subjects.size()),
                              QStringLiteral("for %1 subjects released").arg(released.size())},
                             n)};
    expected += CountRows(records);
    expected += Heading();
    expected += SubjectRows(records);
    EXPECT_EQ(Shown().join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
    EXPECT_TRUE(Shown().join(QLatin1Char('\n')).contains(QStringLiteral("O'Brien, F0|")));
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(FeedbackReportTest, ByFeedbackDateForAllAndForOneDataset)
{
    // "Pilot_1" is one name: its "_" matches no other character, so Pilot11 stays out.
    for (const QString& dataset : {QStringLiteral("All"), QStringLiteral("Pilot_1"), QStringLiteral("O'Hara, pilot")}) {
        SCOPED_TRACE(dataset.toStdString());
        ASSERT_TRUE(FillFeedback(dataset, QStringLiteral("1/1/2010"), QStringLiteral("12/31/2010")));
        std::vector<Record> records;
        std::set<int> subjects;
        for (const Record& r : Records())
            if ((dataset == QLatin1String("All") || r.dataset == dataset) && InPeriod(r.feedback)) {
                records.push_back(r);
                subjects.insert(r.subject);
            }
        ASSERT_FALSE(records.empty());
        QStringList expected{Row({QStringLiteral(" ")}, kFeedbackColumns),
                             Row({QStringLiteral("Feedback for %1 Subjects").arg(subjects.size())}, kFeedbackColumns)};
        expected += CountRows(records);
        expected += Heading();
        expected += SubjectRows(records);
        EXPECT_EQ(Shown().join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
    }
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(FeedbackReportTest, EmptyDatasetAddsNothingAndUnsafeValuesChangeNothing)
{
    ASSERT_TRUE(FillFeedback(QString()));
    EXPECT_EQ(feedback.GetItemCount(), 0);

    const auto before = RawRows("select count(*) from subjects union all select count(*) from participationhistory");
    // A dataset nobody has: its counts are 0 and no subject is listed.
    ASSERT_TRUE(FillFeedback(QStringLiteral("x'; DROP TABLE subjects --")));
    EXPECT_EQ(feedback.GetItemText(1, 0), QStringLiteral("Dataset: x'; DROP TABLE subjects --"));
    EXPECT_EQ(feedback.GetItemText(1, 1), QStringLiteral("IRB: "));
    EXPECT_EQ(feedback.GetItemText(3, 0), QStringLiteral("Feedback for 0 Subjects"));
    EXPECT_EQ(feedback.GetItemText(feedback.GetItemCount() - 1, 0), QStringLiteral("NAME"));
    EXPECT_TRUE(TakeErrors().empty());

    const bool filled = FillFeedback(QStringLiteral("All"), QStringLiteral("13/45/2010"), QStringLiteral("12/31/2010"));
    const auto errors = TakeErrors();
    if (filled)
        EXPECT_TRUE(errors.empty());
    else {
        EXPECT_FALSE(errors.empty());
        EXPECT_EQ(feedback.GetItemCount(), 0);
    }
    EXPECT_EQ(RawRows("select count(*) from subjects union all select count(*) from participationhistory"), before);
}

} // namespace
} // namespace quorin::test
