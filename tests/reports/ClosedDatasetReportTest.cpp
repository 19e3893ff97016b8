// The Closed Dataset list on a small registry, every cell compared with the raw subject
// rows; its file read back by Python's csv module; reopening the dataset in one
// transaction, also when the third release fails.

#include "ParticipationFixture.h"
#include "ReadBack.h"

#include "document/CMemoryReportList.h"
#include "reports/query/ClosedDatasetReport.h"
#include "reports/query/ReportFill.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace quorin::test {
namespace {

const QDate kToday(2026, 6, 15);
const QString kIrb = QStringLiteral("IRB 7");
const QString kDataset = QStringLiteral("O'Hara, pilot");
const QString kQuery = QStringLiteral("Age < 19, hearing impaired\r\nSex: any");

class ClosedDatasetReportTest : public ParticipationFixture {
protected:
    void SetUp() override
    {
        ParticipationFixture::SetUp();
        int index = 0;
        for (const ClosedDatasetColumn& column : ClosedDatasetColumns())
            list.InsertColumn(index++, QString::fromLatin1(column.heading), CReportList::FormatLeft, column.width);

        AddDataset(kDataset, kIrb, kQuery);
        PersonRow smith;
        smith.last = QStringLiteral("Smith, Jr.");
        smith.first = QStringLiteral("John");
        smith.birth = QDate(2013, 12, 15); // 150 months on 15 June 2026
        smith.sex = QStringLiteral("Male");
        smith.parent = QStringLiteral("Doe, Jane");
        smith.address = QStringLiteral("12 Elm St, Apt 4");
        smith.ethnicity = QStringLiteral("Hispanic, Latino");
        smith.phone1 = QStringLiteral("0");
        smith.phone2 = QStringLiteral("617-555-0199");
        smith.phone2Type = QStringLiteral("Cell");
        smith.email = QStringLiteral("js@example.org");
        smith.impression = QStringLiteral("Hearing Impaired");
        smith.screening = QStringLiteral("Mild");
        smith.notes = QStringLiteral("Call after 5, not before");
        smith.evenings = smith.weekends = smith.workday = smith.longTerm = smith.shortTerm = true;
        ids.push_back(AddPerson(smith));
        PersonRow obrien;
        obrien.last = QStringLiteral("O'Brien");
        obrien.first = QStringLiteral("Pat");
        obrien.sex = QStringLiteral("Female");
        obrien.birth = QDate(1980, 6, 16); // a day short of 46 years
        obrien.evenings = obrien.shortTerm = true;
        ids.push_back(AddPerson(obrien));
        for (int i = 0; i < 2; ++i) {
            PersonRow other;
            other.last = QStringLiteral("Other%1").arg(i);
            other.sex = QString();
            other.phone2 = QStringLiteral("555-0000");
            other.workday = i == 1;
            ids.push_back(AddPerson(other));
        }
        const int participate[] = {0, 1, -1, 0};
        for (int i = 0; i < 4; ++i)
            AddParticipation({ids[i], kDataset, kIrb, {}, {}, 0, participate[i], 0});
        // A subject deleted since its feedback: no row.
        AddParticipation({99999, kDataset, kIrb, {}, {}, 0, 0, 0});
        // Another IRB's dataset of the same name, and another dataset of this IRB.
        AddParticipation({ids[0], kDataset, QStringLiteral("IRB 8"), {}, {}, 0, 0, 0});
        AddParticipation({ids[2], QStringLiteral("Orphan"), kIrb, {}, {}, 0, 0, 0});
    }

    bool Load(const QString& irb, const QString& dataset)
    {
        return FillReport(*doc, list, [&](CReportQuery& q, CReportList& l) {
            BuildClosedDatasetList(q, l, irb, dataset, load);
        });
    }

    // The rows the raw tables say the list must show, in subject order.
    QStringList Expected(const QString& irb, const QString& dataset) const
    {
        std::map<int, QStringList> subjects;
        for (const QStringList& r : RawRows(
                 "select SubjectId, Lastname, Firstname, Sex, Birthdate, Parent, Phone1, Phone1Type, Phone2, "
                 "Phone2Type, Email, Address, City, State, Zip, Contact, Ethnicity, PrimaryLang, PatImpression, "
                 "ScreeningImpr, Evenings, Weekends, Workday, Longterm, Shortterm, Notes from subjects"))
            subjects[r[0].toInt()] = r;
        std::map<int, int> participation;
        for (const QStringList& r : RawRows("select SubjectId, Participate, Irb, Dataset from participationhistory"))
            if (r[2] == irb && r[3] == dataset)
                participation[r[0].toInt()] = r[1].toInt();
        QStringList rows;
        for (const auto& [id, participate] : participation) {
            if (!subjects.count(id))
                continue;
            const QStringList& s = subjects.at(id);
            const QDate birth = StoredDate(s[4]);
            const int months = (kToday.year() - birth.year()) * 12 + kToday.month() - birth.month()
                               - (kToday.day() < birth.day() ? 1 : 0);
            const auto phone = [](const QString& number, const QString& type) {
                return number == QLatin1String("0") ? QString() : number + QStringLiteral("  ") + type;
            };
            QStringList available;
            const char* names[] = {"Evenings", "Weekends", "Workday", "Longterm", "Shortterm"};
            for (int k = 0; k < 5; ++k)
                if (s[20 + k].toInt())
                    available << QString::fromLatin1(names[k]);
            rows << QStringList{s[1] + QStringLiteral(", ") + s[2], s[3].left(1), birth.toString(QStringLiteral("MM/dd/yyyy")),
                                QStringLiteral("%1y%2mo").arg(months / 12).arg(months % 12), s[5], phone(s[6], s[7]),
                                phone(s[8], s[9]), s[10], s[11] + QLatin1Char(' ') + s[12] + QStringLiteral(", ") + s[13] +
                                QStringLiteral("  ") + s[14], s[15], s[16], s[17], s[18], s[19],
                                participate == 0 ? QStringLiteral("Y") : QStringLiteral("N"),
                                available.join(QStringLiteral(", ")), QString::number(id), s[25]}
                        .join(QLatin1Char('|'));
        }
        return rows;
    }

    int Releases(const QString& irb, const QString& dataset) const
    {
        int count = 0;
        for (const QStringList& r : RawRows("select Title, Irb from release"))
            count += r[0] == dataset && r[1] == irb ? 1 : 0;
        return count;
    }

    CMemoryReportList list;
    ClosedDatasetLoad load;
    std::vector<int> ids;
};

TEST_F(ClosedDatasetReportTest, EveryCellAsTheRawRowsSayAndAMissingSubjectSkipped)
{
    ASSERT_TRUE(Load(kIrb, kDataset));
    EXPECT_TRUE(TakeErrors().empty());
    const QStringList expected = Expected(kIrb, kDataset);
    ASSERT_EQ(expected.size(), 4);
    EXPECT_EQ(Cells(list).join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
    // The cells whose rules matter most: 150 months, a phone 0, the availability.
    EXPECT_EQ(list.GetItemText(0, 3), QStringLiteral("12y6mo"));
    EXPECT_EQ(list.GetItemText(0, 5), QString()) << "phone 0";
    EXPECT_EQ(list.GetItemText(0, 15), QStringLiteral("Evenings, Weekends, Workday, Longterm, Shortterm"));
    EXPECT_EQ(list.GetItemText(1, 15), QStringLiteral("Evenings, Shortterm"));
    EXPECT_EQ(list.GetItemText(1, 3), QStringLiteral("45y11mo"));

    EXPECT_EQ(load.irb, kIrb);
    EXPECT_EQ(load.dataset, kDataset);
    EXPECT_EQ(load.parameters, QStringLiteral("DATASET PARAMETERS\r\n") + kQuery);
    ASSERT_EQ(load.subjects.size(), 4u);
    EXPECT_EQ(load.subjects[0].lastName, QStringLiteral("Smith, Jr."));
    EXPECT_EQ(load.subjects[0].firstName, QStringLiteral("John"));
    EXPECT_EQ(load.subjects[1].subjectId, ids[1]);
}

TEST_F(ClosedDatasetReportTest, CombosOfferTheFeedbackIrbsAndTheirDatasets)
{
    const auto irbs = ClosedDatasetIrbs(*doc);
    ASSERT_TRUE(irbs);
    QStringList sortedIrbs = *irbs;
    sortedIrbs.sort();
    EXPECT_EQ(sortedIrbs, (QStringList{kIrb, QStringLiteral("IRB 8")}));
    const auto names = ClosedDatasetNames(*doc, kIrb);
    ASSERT_TRUE(names);
    QStringList sortedNames = *names;
    sortedNames.sort();
    EXPECT_EQ(sortedNames, (QStringList{kDataset, QStringLiteral("Orphan")}));
    const auto none = ClosedDatasetNames(*doc, QStringLiteral("x'; DROP TABLE subjects --"));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(ClosedDatasetReportTest, EachLoadHasItsOwnParameters)
{
    ASSERT_TRUE(Load(kIrb, kDataset));
    ASSERT_FALSE(load.parameters.isEmpty());
    // "Orphan" has no dataset row: no parameters, not the ones loaded before.
    ASSERT_TRUE(Load(kIrb, QStringLiteral("Orphan")));
    EXPECT_EQ(load.parameters, QString());
    EXPECT_EQ(load.dataset, QStringLiteral("Orphan"));
    ASSERT_EQ(list.GetItemCount(), 1);
    for (const QStringList& line : ClosedDatasetCsvLines(load, list))
        EXPECT_FALSE(line.join(QLatin1Char(',')).contains(QStringLiteral("PARAMETERS")));
}

TEST_F(ClosedDatasetReportTest, UnsafeIrbLoadsNothingAndChangesNothing)
{
    const auto before = RawNumber("select count(*) from subjects");
    ASSERT_TRUE(Load(QStringLiteral("x'; DROP TABLE subjects --"), kDataset));
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_TRUE(load.subjects.empty());
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(RawNumber("select count(*) from subjects"), before);
    // Nothing loaded: ReOpen does nothing at all.
    EXPECT_TRUE(ReOpenClosedDataset(*doc, load));
    EXPECT_EQ(RawNumber("select count(*) from release"), 0);
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(ClosedDatasetReportTest, FileReadBackByPython)
{
    ASSERT_TRUE(Load(kIrb, kDataset));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("closed.csv"));
    ui.SaveFileNext(path);
    SaveClosedDataset(ui, load, list);
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].defaultName, kDataset);
    EXPECT_EQ(ui.SaveRequests()[0].defaultExtension, QStringLiteral("csv"));

    const std::vector<QStringList> lines = ReadCsvWithPython(path);
    const QStringList header{QStringLiteral("LastName"), QStringLiteral("FirstName"), QStringLiteral("Gender"),
                             QStringLiteral("Birthdate"), QStringLiteral("Age"), QStringLiteral("Parent"),
                             QStringLiteral("Phone"), QStringLiteral("Phone"), QStringLiteral("Email"),
                             QStringLiteral("Address"), QStringLiteral("Preferred Contact"), QStringLiteral("Ethnicity"),
                             QStringLiteral("Language"), QStringLiteral("Patient Impression"),
                             QStringLiteral("Screening Impression")};
    ASSERT_EQ(lines.size(), 6u + 4u);
    EXPECT_EQ(lines[0], QStringList{kDataset});
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_EQ(lines[2], QStringList{QStringLiteral("DATASET PARAMETERS")});
    EXPECT_EQ(lines[3], QStringList{QStringLiteral("Age < 19, hearing impaired")});
    EXPECT_EQ(lines[4], QStringList{QStringLiteral("Sex: any")});
    EXPECT_EQ(lines[5], header);
    const QStringList expected = Expected(kIrb, kDataset);
    for (int row = 0; row < 4; ++row) {
        const QStringList cells = expected[row].split(QLatin1Char('|'));
        const CClosedSubject& subject = load.subjects[static_cast<size_t>(row)];
        QStringList fields{subject.lastName, subject.firstName};
        fields += cells.mid(1, 13);
        EXPECT_EQ(lines[6 + row], fields) << row;
        EXPECT_EQ(lines[6 + row].size(), 15);
    }
    EXPECT_EQ(lines[6][0], QStringLiteral("Smith, Jr."));
    EXPECT_EQ(lines[6][5], QStringLiteral("Doe, Jane"));
    EXPECT_EQ(lines[6][6], QString()) << "phone 0 written empty";
    EXPECT_EQ(lines[6][11], QStringLiteral("Hispanic, Latino"));

    // Cancel writes nothing, and nothing loaded offers no dialog.
    QFile::remove(path);
    ui.SaveFileNext(QString());
    SaveClosedDataset(ui, load, list);
    EXPECT_FALSE(QFile::exists(path));
    SaveClosedDataset(ui, ClosedDatasetLoad{}, list);
    EXPECT_EQ(ui.SaveRequests().size(), 2u);
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(ClosedDatasetReportTest, ReOpenReleasesEachSubjectOnce)
{
    ASSERT_TRUE(Load(kIrb, kDataset));
    ASSERT_EQ(load.subjects.size(), 4u);
    EXPECT_TRUE(ReOpenClosedDataset(*doc, load));
    const auto released = [&] {
        std::vector<int> out;
        for (const QStringList& r : RawRows("select SubjectId, Title, Irb, ReleaseDate from release order by SubjectId"))
            if (r[1] == kDataset && r[2] == kIrb) {
                out.push_back(r[0].toInt());
                EXPECT_EQ(StoredDate(r[3]), kToday);
            }
        return out;
    };
    std::vector<int> loaded{ids[0], ids[1], ids[2], ids[3]};
    EXPECT_EQ(released(), loaded);
    EXPECT_TRUE(ReOpenClosedDataset(*doc, load));
    EXPECT_EQ(released(), loaded) << "a second ReOpen adds no duplicate";
    EXPECT_EQ(RawNumber("select count(*) from release"), 4);
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(ClosedDatasetReportTest, AFailedReleaseLeavesNothingReleased)
{
    ASSERT_TRUE(Load(kIrb, kDataset));
    // The third release of the dataset fails.
    registry.ExecRaw("Quorin", "CREATE TRIGGER fail_third BEFORE INSERT ON release "
                               "WHEN (SELECT count(*) FROM release) >= 2 "
                               "BEGIN SELECT RAISE(ABORT, 'release refused'); END");
    EXPECT_FALSE(ReOpenClosedDataset(*doc, load));
    EXPECT_EQ(RawNumber("select count(*) from release"), 0);
    ASSERT_FALSE(ui.Messages().empty());
    const auto& last = ui.Messages().back();
    EXPECT_EQ(last.text, QStringLiteral("Unable to reopen dataset O'Hara, pilot under IRB IRB 7. Nothing was changed."));
    EXPECT_EQ(last.icon, UserInterface::Icon::Stop);
    EXPECT_FALSE(TakeErrors().empty()) << "the session shows the failing statement";
    // The session is usable afterwards.
    registry.ExecRaw("Quorin", "DROP TRIGGER fail_third");
    EXPECT_TRUE(ReOpenClosedDataset(*doc, load));
    EXPECT_EQ(RawNumber("select count(*) from release"), 4);
}

} // namespace
} // namespace quorin::test
