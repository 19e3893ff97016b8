// Tools > Update over the registry with the Audiogram Manager stand-in filled per test:
// which subjects take their clinic's newer test and what the others are told. The
// runner's own rules (the save question, progress, Cancel, the transaction of each
// subject and the statuses it sends) are tested with the runner.

#include "AudiogramFixture.h"
#include "audiograms/store/ToolsUpdate.h"

#include <set>

using quorin::UserInterface;
using quorin::test::AudiogramTest;
using quorin::test::ClinicPoint;

namespace {

const QString kQuestion = QStringLiteral("Update Subject records from Audiogram Database and Medical Manager?\r\n"
                                         "Searching and updating my take some time.");
// Right AC circle at 500 and 1000 Hz, left AC X at 2000 Hz: three recent symbols.
const std::vector<ClinicPoint> kThreePoints = {{2, 5, 1}, {4, 7, 1}, {6, 9, 2}};

class ToolsUpdate : public AudiogramTest {
protected:
    // A stored subject, with a registry test of that day (ISO) when given; nothing is open.
    int Store(const QString& last, const QString& unit, const std::string& registryTest = "")
    {
        const int id = StoreSubject(last, unit);
        if (!registryTest.empty())
            AddRegistryTest(id, registryTest, "registry", false);
        doc->ClearDocument();
        return id;
    }
    int Tests(int subjectId) const
    {
        return Count("Quorin", QStringLiteral("select count(*) as num from aud where SubjectId = %1").arg(subjectId));
    }
    int AllTests() const { return Count("Quorin", "select count(*) as num from aud"); }
    // The subject's newest stored test: who tested, and how many points it has.
    std::pair<QString, int> NewestTest(int subjectId) const
    {
        const QString test = QStringLiteral("(select max(TestId) from aud where SubjectId = %1)").arg(subjectId);
        return {Scalar("Quorin", "select TestedBy from aud where TestId = " + test, "TestedBy"),
                Count("Quorin", "select count(*) as num from audpoints where TestId = " + test)};
    }
    QString Velmar(int unit) const
    {
        return Scalar("Aud", QStringLiteral("select Velmar from info where PatientNum = %1").arg(unit), "Velmar");
    }
};

} // namespace

TEST_F(ToolsUpdate, EachKindOfSubjectEndsAsItShouldAndOnlyCommittedOnesCount)
{
    const int newer = Store("Newer", "1001", "2024-01-10");
    const int sameDay = Store("SameDay", "1002", "2024-03-05");
    const int noRegistryTest = Store("Untested", "1003");
    const int twinA = Store("TwinA", "1005", "2022-01-01");
    const int twinB = Store("TwinB", "1005");
    const int noConsent = Store("NoConsent", "1006", "2020-01-01");
    const int noOther = Store("NoOther", "1007", "2020-01-01");
    const int pointRefused = Store("Refused", "1008", "2020-01-01");
    const int notWhole = Store("NotWhole", "1009");

    AddClinicTest(1, 1001, "2023-05-01 08:00:00.000", "older", {{4, 3, 1}});
    AddClinicTest(2, 1001, "2024-03-05 09:00:00.000", "newest", kThreePoints);
    // Taken in the afternoon of the registry test's own day: the same test, not newer.
    AddClinicTest(3, 1002, "2024-03-05 14:30:00.000", "same day", kThreePoints);
    AddClinicTest(4, 1003, "2019-07-08 10:00:00.000", "first ever", kThreePoints);
    AddClinicTest(5, 1005, "2024-02-02 11:15:00.000", "shared", kThreePoints);
    AddClinicTest(6, 1006, "2024-02-02 11:15:00.000", "no consent", kThreePoints);
    AddClinicTest(7, 1007, "2024-02-02 11:15:00.000", "no other row", kThreePoints, "1987-04-09", false);
    AddClinicTest(8, 1008, "2024-02-02 11:15:00.000", "refused", {{2, 5, 1}, {10, 10, 1}});
    registry.ExecRaw("Quorin", "create trigger refuse_point before insert on audpoints when new.xy = 1010 "
                               "begin select raise(abort, 'refused'); end");
    registry.ExecRaw("Quorin", "update subjects set InitialDateofConsent = NULL where SubjectId = "
                                   + std::to_string(noConsent));
    registry.ExecRaw("Quorin", "update subjects set Unit = '12a' where SubjectId = " + std::to_string(notWhole));
    const int stored = AllTests();

    // A dry run lists the subjects with a newer test, with the registry's date and the
    // clinic test's day, and writes nothing.
    const std::optional<quorin::ToolsUpdateResult> dry = quorin::RunToolsUpdate(*doc, true);
    ASSERT_TRUE(dry);
    EXPECT_EQ(dry->NotUpdated().size(), 1u) << "only the unit that is no number";
    ASSERT_EQ(dry->newer.size(), 7u);
    EXPECT_EQ(std::tie(dry->newer[0].SubjectId, dry->newer[0].Unit, dry->newer[0].RegistryDate, dry->newer[0].ClinicDate),
              std::tie(newer, "1001", "01/10/2024", "03/05/2024"));
    EXPECT_EQ(std::tie(dry->newer[6].SubjectId, dry->newer[6].RegistryDate), std::tie(twinB, "1/1/1900"));
    EXPECT_EQ(AllTests(), stored);

    const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(*doc);
    ASSERT_TRUE(result);
    TakeErrors(); // the trigger's refusal
    EXPECT_EQ(result->run.candidates, 9);
    // Subjects with a registry test come first, then those without, each by id.
    EXPECT_EQ(result->run.committed, (std::vector<int>{newer, twinA, noRegistryTest, twinB}));
    EXPECT_EQ(result->run.ReasonFor(sameDay), "no newer test");
    std::set<std::pair<int, QString>> failures;
    for (const quorin::BulkSkip& s : result->NotUpdated())
        failures.emplace(s.subjectId, s.reason);
    EXPECT_EQ(failures, (std::set<std::pair<int, QString>>{{noConsent, "incomplete subject"},
                                                          {noOther, "unreadable test"},
                                                          {pointRefused, "save failed"},
                                                          {notWhole, "KV Number not a whole number"}}));
    EXPECT_TRUE(ui.Messages().empty()) << "no box for the unit that is no number, nor any other";

    // One new test for each updated subject (both of a shared KV Number), with all its
    // points; the older clinic test's circle at 1000 Hz is replaced by the newest's.
    EXPECT_EQ(std::vector({Tests(newer), Tests(noRegistryTest), Tests(twinA), Tests(twinB)}),
              std::vector({2, 1, 2, 1}));
    EXPECT_EQ(NewestTest(newer), std::pair(QStringLiteral("newest"), 3));
    EXPECT_EQ(NewestTest(twinB), std::pair(QStringLiteral("shared"), 3));
    EXPECT_EQ(AllTests(), stored + 4) << "nothing for the others";

    // From the menu a second run finds nothing newer for the updated ones: what was
    // imported and saved is not offered again.
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnToolsUpdate();
    TakeErrors(); // the refused subject fails again
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 0 records!"}));
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Information);
    EXPECT_EQ(AllTests(), stored + 4);
}

TEST_F(ToolsUpdate, AStatusARunLeftUnsentIsSentByTheNextRun)
{
    Store("Avery", "7001", "2025-01-01");
    const int withdrawn = Store("Blake", "7002", "2025-01-01");
    // Older than the registry's tests: nothing to import, only the status to look at.
    AddClinicTest(1, 7001, "2024-02-02 11:15:00.000", "a", kThreePoints);
    AddClinicTest(2, 7002, "2024-02-02 11:15:00.000", "b", kThreePoints);
    registry.ExecRaw("Aud", "update info set Velmar = 'No' where PatientNum = 7001");
    // As a run killed between Blake's commit (now withdrawn) and the status write leaves it.
    registry.ExecRaw("Quorin", "update subjects set Status = 1 where SubjectId = " + std::to_string(withdrawn));
    registry.ExecRaw("Aud", "update info set Velmar = 'Yes' where PatientNum = 7002");

    const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(*doc);
    ASSERT_TRUE(result);
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(result->Count(), 0);
    EXPECT_EQ(result->statusSent, 1);
    EXPECT_FALSE(result->statusFailed);
    EXPECT_EQ(Velmar(7002), "Declined");
    EXPECT_EQ(Velmar(7001), "No");
    // In line now: the next run has nothing to send.
    const std::optional<quorin::ToolsUpdateResult> next = quorin::RunToolsUpdate(*doc);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->statusSent, 0);
}

TEST_F(ToolsUpdate, AClinicThatRefusesReadsIsAFailureNotNothingToDo)
{
    Store("Avery", "8001", "2020-01-01");
    Store("Blake", "8002");
    AddClinicTest(1, 8001, "2024-02-02 11:15:00.000", "a", kThreePoints);
    {
        MyADO admin = OpenAsAdmin("Aud");
        ASSERT_EQ(admin.RunTextQuery("DENY SELECT ON info TO QuorinUser"), 1);
    }
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnToolsUpdate();
    EXPECT_FALSE(TakeErrors().empty()); // the server's refusals
    EXPECT_EQ(ui.Texts(),
              (QStringList{kQuestion, "Updated 0 records!\n2 subjects could not be read: Aud read failed"}));
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Stop);
}

TEST_F(ToolsUpdate, AClinicTextLongerThanItsRegistryColumnFailsThatSubjectNamingTheColumn)
{
    const int tooLong = Store("Avery", "9001", "2020-01-01");
    const int longest = Store("Blake", "9002", "2020-01-01");
    AddClinicTest(1, 9001, "2024-02-02 11:15:00.000", std::string(51, 't'), kThreePoints);
    AddClinicTest(2, 9002, "2024-02-02 11:15:00.000", std::string(50, 't'), kThreePoints);

    const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(*doc);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->run.ReasonFor(tooLong), "Aud value too long for aud.TestedBy");
    EXPECT_EQ(result->run.committed, std::vector<int>{longest});
    EXPECT_EQ(Tests(tooLong), 1);
    EXPECT_EQ(NewestTest(longest), std::pair(QString(50, QLatin1Char('t')), 3));
}
