// Tools > Update over the registry with the Audiogram Manager stand-in filled per test:
// which subjects take their clinic's newer test, what the others are told, and that
// nothing else in either database moves.

#include "app/DocumentFixture.h"
#include "audiograms/store/ToolsUpdate.h"
#include "support/RawRegistry.h"

#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using quorin::UserInterface;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::test::RawRegistry;

namespace {

const QString kQuestion = QStringLiteral("Update Subject records from Audiogram Database and Medical Manager?\r\n"
                                         "Searching and updating my take some time.");

class ToolsUpdate : public DocumentTest {
protected:
    // A stored subject; with a registry test of that day (ISO) when given.
    int StoreSubject(const QString& last, const QString& unit, const std::string& registryTest = "")
    {
        doc->ClearDocument();
        CSubject s = DistinctSubject();
        s.Lastname = last;
        s.Unit = unit;
        doc->m_subject = s;
        EXPECT_EQ(doc->SaveSubject(), 1);
        const int id = doc->m_subject.SubjectID;
        doc->ClearDocument();
        if (!registryTest.empty())
            registry.ExecRaw("Quorin", "insert into aud (SubjectId, TestDate, TestedBy) values (" + std::to_string(id)
                                           + ", '" + registryTest + " 00:00:00.000', 'registry')");
        return id;
    }

    // A clinic test (ISO date and time) of the patient born on DistinctSubject's birth
    // date, with its information rows and one newpoints row per "(x, y, symbol)".
    void AddClinicTest(int index, int unit, const std::string& when, const std::string& testedBy,
                       const std::vector<std::tuple<int, int, int>>& points, bool withOther = true)
    {
        const std::string i = std::to_string(index);
        std::string sql = "insert into info (PatientIndex, PatientNum, Date, Birthdate, LastName, FirstName, Testedby, "
                          "Velmar) values (" + i + ", " + std::to_string(unit) + ", '" + when
                          + "', '1987-04-09 00:00:00.000', 'Lee', 'Morgan', '" + testedBy + "', 'before');";
        if (withOther)
            sql += "insert into Other (PatientIndex, Method, Reliability, Comment) values (" + i + ", 2, 1, 'clinic "
                   + i + "');";
        sql += "insert into Immit (PatientIndex, TympNormR) values (" + i + ", 5);";
        sql += "insert into Impress (PatientIndex, normal_r) values (" + i + ", 1);";
        sql += "insert into Special (PatientIndex, dizziness) values (" + i + ", 1);";
        sql += "insert into Speech (Patientindex, srta) values (" + i + ", 35);";
        for (const auto& [x, y, symbol] : points)
            sql += "insert into newpoints values (" + i + ", " + std::to_string(x) + ", " + std::to_string(y) + ", "
                   + std::to_string(symbol) + ", 0);";
        registry.ExecRaw("Aud", sql);
    }

    std::string Dump(const std::string& sql) const { return RawRegistry(registry.Folder()).dump(sql); }
    std::int64_t Number(const std::string& sql) const { return RawRegistry(registry.Folder()).number(sql); }

    // Both databases whole, except what an update of the given subjects may change and
    // the clinic's status column, which every run brings in line with the registry.
    std::string Untouched(const std::set<int>& updated, std::int64_t lastTestBefore) const
    {
        std::string ids = "-1";
        for (int id : updated)
            ids += "," + std::to_string(id);
        const std::string maxTest = std::to_string(lastTestBefore);
        return Dump("select * from subjects where SubjectId not in (" + ids + ") order by SubjectId") + "|"
               + Dump("select * from aud where TestId <= " + maxTest + " order by TestId") + "|"
               + Dump("select * from audpoints where TestId <= " + maxTest + " order by TestId, xy, symbol") + "|"
               + Dump("select * from aud where SubjectId not in (" + ids + ") order by TestId") + "|"
               + Dump("select * from cidata where SubjectId not in (" + ids + ")") + "|"
               + Dump("select * from speech order by 1") + "|"
               + Dump("select PatientIndex, PatientNum, Date, Birthdate, LastName, FirstName, Testedby from Aud.info "
                      "order by PatientIndex") + "|"
               + Dump("select * from Aud.Other order by 1") + Dump("select * from Aud.Immit order by 1")
               + Dump("select * from Aud.Impress order by 1") + Dump("select * from Aud.Special order by 1")
               + Dump("select * from Aud.Speech order by 1") + Dump("select * from Aud.newpoints order by 1, 2, 3, 4");
    }
    std::int64_t LastTestId() const { return Number("select coalesce(max(TestId), 0) from aud"); }
    int Tests(int subjectId) const
    {
        return int(Number("select count(*) from aud where SubjectId = " + std::to_string(subjectId)));
    }
    // The subject's newest stored test: who tested and how many points it has.
    std::pair<std::string, int> NewestTest(int subjectId) const
    {
        const std::string id = std::to_string(subjectId);
        const std::string testId = "(select max(TestId) from aud where SubjectId = " + id + ")";
        std::string testedBy = Dump("select TestedBy from aud where TestId = " + testId);
        if (testedBy.size() >= 2)
            testedBy.resize(testedBy.size() - 2); // the dump's "|\n"
        return {testedBy,
                int(Number("select count(*) from audpoints where TestId = " + testId))};
    }
    QString Velmar(int unit) const
    {
        return Scalar("Aud", QStringLiteral("select Velmar from info where PatientNum = %1").arg(unit), "Velmar");
    }
};

// Right AC circle at 500 and 1000 Hz, left AC X at 2000 Hz: three recent symbols.
const std::vector<std::tuple<int, int, int>> kThreePoints = {{2, 5, 1}, {4, 7, 1}, {6, 9, 2}};

} // namespace

TEST_F(ToolsUpdate, EachKindOfSubjectEndsAsItShouldAndOnlyCommittedOnesCount)
{
    const int newer = StoreSubject("Newer", "1001", "2024-01-10");
    const int sameDay = StoreSubject("SameDay", "1002", "2024-03-05");
    const int noRegistryTest = StoreSubject("Untested", "1003");
    const int twinA = StoreSubject("TwinA", "1005", "2022-01-01");
    const int twinB = StoreSubject("TwinB", "1005");
    const int noConsent = StoreSubject("NoConsent", "1006", "2020-01-01");
    const int noOther = StoreSubject("NoOther", "1007", "2020-01-01");
    const int pointRefused = StoreSubject("Refused", "1008", "2020-01-01");
    const int notWhole = StoreSubject("NotWhole", "1009");
    const int notInClinic = StoreSubject("Elsewhere", "1010");

    AddClinicTest(1, 1001, "2023-05-01 08:00:00.000", "older", {{4, 3, 1}});
    AddClinicTest(2, 1001, "2024-03-05 09:00:00.000", "newest", kThreePoints);
    // Taken in the afternoon of the registry test's own day: the same test, not newer.
    AddClinicTest(3, 1002, "2024-03-05 14:30:00.000", "same day", kThreePoints);
    AddClinicTest(4, 1003, "2019-07-08 10:00:00.000", "first ever", kThreePoints);
    AddClinicTest(5, 1005, "2024-02-02 11:15:00.000", "shared", kThreePoints);
    AddClinicTest(6, 1006, "2024-02-02 11:15:00.000", "no consent", kThreePoints);
    AddClinicTest(7, 1007, "2024-02-02 11:15:00.000", "no other row", kThreePoints, false);
    AddClinicTest(8, 1008, "2024-02-02 11:15:00.000", "refused", {{2, 5, 1}, {10, 10, 1}});
    registry.ExecRaw("Quorin", "update subjects set InitialDateofConsent = NULL where SubjectId = "
                                   + std::to_string(noConsent));
    registry.ExecRaw("Quorin", "update subjects set Unit = '12a' where SubjectId = " + std::to_string(notWhole));
    registry.ExecRaw("Quorin", "create trigger refuse_point before insert on audpoints when new.xy = 1010 "
                               "begin select raise(abort, 'refused'); end");

    const std::int64_t lastTest = LastTestId();
    const std::set<int> updated = {newer, noRegistryTest, twinA, twinB};
    const std::string before = Untouched(updated, lastTest);

    const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(*doc);
    ASSERT_TRUE(result);
    TakeErrors(); // the trigger's refusal
    EXPECT_TRUE(result->run.ran);
    EXPECT_FALSE(result->run.cancelled);
    EXPECT_EQ(result->run.candidates, 10);
    // Subjects with a registry test come first, then those without, each by id.
    EXPECT_EQ(result->run.committed, (std::vector<int>{newer, twinA, noRegistryTest, twinB}));
    EXPECT_EQ(result->Count(), 4);
    EXPECT_EQ(result->run.ReasonFor(noConsent), "incomplete subject");
    EXPECT_EQ(result->run.ReasonFor(noOther), "unreadable test");
    EXPECT_EQ(result->run.ReasonFor(pointRefused), "save failed");
    EXPECT_EQ(result->run.ReasonFor(notWhole), "KV Number not a whole number");
    EXPECT_EQ(result->run.ReasonFor(sameDay), "no newer test");
    EXPECT_EQ(result->run.ReasonFor(notInClinic), "no newer test");
    std::set<std::pair<int, QString>> failures;
    for (const quorin::BulkSkip& s : result->NotUpdated())
        failures.emplace(s.subjectId, s.reason);
    EXPECT_EQ(failures, (std::set<std::pair<int, QString>>{{noConsent, "incomplete subject"},
                                                          {noOther, "unreadable test"},
                                                          {pointRefused, "save failed"},
                                                          {notWhole, "KV Number not a whole number"}}));
    // The kept ones, with the registry's date and the clinic test's day.
    ASSERT_EQ(result->newer.size(), 7u);
    EXPECT_EQ(result->newer[0].SubjectId, newer);
    EXPECT_EQ(result->newer[0].RegistryDate, "01/10/2024");
    EXPECT_EQ(result->newer[0].ClinicDate, "03/05/2024");
    EXPECT_EQ(result->newer.back().SubjectId, twinB);
    EXPECT_EQ(result->newer.back().RegistryDate, "1/1/1900");
    // No box for the unit that is no number, nor for any other subject.
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(doc->Interactive, 1);

    // One new test for each updated subject (both of a shared KV Number), with all its
    // points; the older clinic test's circle at 1000 Hz is replaced by the newest's.
    EXPECT_EQ(Tests(newer), 2);
    EXPECT_EQ(NewestTest(newer), (std::pair<std::string, int>{"newest", 3}));
    EXPECT_EQ(Tests(noRegistryTest), 1);
    EXPECT_EQ(NewestTest(noRegistryTest), (std::pair<std::string, int>{"first ever", 3}));
    EXPECT_EQ(Tests(twinA), 2);
    EXPECT_EQ(Tests(twinB), 1);
    EXPECT_EQ(NewestTest(twinA), (std::pair<std::string, int>{"shared", 3}));
    EXPECT_EQ(NewestTest(twinB), (std::pair<std::string, int>{"shared", 3}));
    EXPECT_EQ(Number("select count(*) from aud where TestId > " + std::to_string(lastTest)), 4);
    EXPECT_EQ(Number("select count(*) from aud where TestId > " + std::to_string(lastTest) + " and Imported = 1"), 4);
    // Every status the clinic held otherwise went to the Audiogram Manager, the failed
    // subjects' too: their registry status is what it was.
    EXPECT_EQ(Velmar(1001), "No");
    EXPECT_EQ(Velmar(1005), "No");
    EXPECT_EQ(Velmar(1008), "No");
    EXPECT_EQ(Velmar(1006), "No");
    // Everything else in both databases as it was: the failing subjects rolled back whole.
    EXPECT_EQ(Untouched(updated, lastTest), before);

    // A second run finds nothing newer for the updated ones; the failing ones fail again.
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnToolsUpdate();
    TakeErrors();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 0 records!"}));
    EXPECT_EQ(ui.Messages()[0].buttons, UserInterface::Buttons::YesNo);
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Information);
    EXPECT_EQ(Untouched(updated, lastTest), before);
    EXPECT_EQ(Tests(newer), 2);
    EXPECT_EQ(doc->Interactive, 1);
}

TEST_F(ToolsUpdate, TheCommandAsksShowsBothPhasesAndCountsTheUpdates)
{
    const int a = StoreSubject("Avery", "2001", "2020-01-01");
    const int b = StoreSubject("Blake", "2002");
    StoreSubject("Casey", "2003", "2025-01-01");
    AddClinicTest(1, 2001, "2024-02-02 11:15:00.000", "a", kThreePoints);
    AddClinicTest(2, 2002, "2024-02-02 11:15:00.000", "b", kThreePoints);
    AddClinicTest(3, 2003, "2024-02-02 11:15:00.000", "c", kThreePoints);
    const std::int64_t lastTest = LastTestId();

    ui.AnswerNext(UserInterface::Answer::No);
    doc->OnToolsUpdate();
    EXPECT_EQ(ui.Texts(), QStringList{kQuestion});
    EXPECT_TRUE(ui.ProgressTexts().isEmpty());
    EXPECT_EQ(LastTestId(), lastTest);
    ui.ClearMessages();

    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnToolsUpdate();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 2 records!"}));
    EXPECT_EQ(ui.ProgressTexts(),
              (QStringList{"Checking subject 1 of 3", "Checking subject 2 of 3", "Checking subject 3 of 3",
                           "Updating subject 1 of 2", "Updating subject 2 of 2"}));
    EXPECT_FALSE(ui.ProgressOpen());
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
    EXPECT_EQ(Tests(a), 2);
    EXPECT_EQ(Tests(b), 1);
    EXPECT_EQ(doc->Interactive, 1);
    EXPECT_EQ(doc->m_subject.SubjectID, -1); // nothing was open: the document is cleared
}

TEST_F(ToolsUpdate, CancelAfterTwoSubjectsKeepsThemWholeAndLeavesTheRestUntouched)
{
    std::vector<int> ids;
    for (int k = 1; k <= 4; ++k) {
        ids.push_back(StoreSubject(QStringLiteral("Subject%1").arg(k), QString::number(3000 + k), "2020-01-01"));
        AddClinicTest(k, 3000 + k, "2024-02-02 11:15:00.000", "clinic", kThreePoints);
    }
    const std::int64_t lastTest = LastTestId();
    const std::string before = Untouched({ids[0], ids[1]}, lastTest);
    // Four checks, two updates, then Cancel before the third.
    ui.CancelAtStep(4 + 3);
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnToolsUpdate();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 2 records!"}));
    EXPECT_EQ(NewestTest(ids[0]), (std::pair<std::string, int>{"clinic", 3}));
    EXPECT_EQ(NewestTest(ids[1]), (std::pair<std::string, int>{"clinic", 3}));
    EXPECT_EQ(Tests(ids[2]), 1);
    EXPECT_EQ(Tests(ids[3]), 1);
    EXPECT_EQ(Untouched({ids[0], ids[1]}, lastTest), before);
    EXPECT_EQ(Velmar(3003), "before");
    EXPECT_EQ(doc->Interactive, 1);

    // Cancelled in the check phase: nothing is updated, and the count says so.
    ui.ClearMessages();
    ui.CancelAtStep(4 + 3 + 3); // the third check of the next run
    const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(*doc);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->run.cancelled);
    EXPECT_EQ(result->Count(), 0);
    EXPECT_EQ(result->run.ReasonFor(ids[3]), "not processed");
    EXPECT_EQ(Tests(ids[2]), 1);
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnToolsUpdate();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 2 records!"}));
}

TEST_F(ToolsUpdate, WithoutAudOneBoxAndNothingChanges)
{
    const int id = StoreSubject("Avery", "4001", "2020-01-01");
    AddClinicTest(1, 4001, "2024-02-02 11:15:00.000", "clinic", kThreePoints);
    StoreSubject("Blake", "4002");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    doc->m_subject.City = "Lincoln";
    doc->m_subject.Modified = 1;
    const std::string before = Untouched({}, LastTestId());

    // Aud is gone before the program first reaches it (the saves above had connected).
    doc->m_dbAud = MyADO();
    std::filesystem::rename(std::filesystem::path(registry.Folder()) / "Aud.db",
                            std::filesystem::path(registry.Folder()) / "Aud.gone");
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnToolsUpdate();
    TakeErrors();
    // Asked nothing more: not even the save question, as nothing is going to run.
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Unable to connect to Database Aud!"}));
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Stop);
    EXPECT_TRUE(ui.ProgressTexts().isEmpty());
    EXPECT_EQ(doc->m_subject.City, "Lincoln");
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(doc->Interactive, 1);
    std::filesystem::rename(std::filesystem::path(registry.Folder()) / "Aud.gone",
                            std::filesystem::path(registry.Folder()) / "Aud.db");
    EXPECT_EQ(Untouched({}, LastTestId()), before);
}

TEST_F(ToolsUpdate, TheOpenSubjectIsSavedOrNotAndThenShownAsStored)
{
    const int id = StoreSubject("Avery", "5001", "2020-01-01");
    AddClinicTest(1, 5001, "2024-02-02 11:15:00.000", "clinic", kThreePoints);
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    doc->m_subject.City = "Lincoln";
    doc->m_subject.Modified = 1;

    // No: the typed city is dropped, the subject comes back with its new test.
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.AnswerNext(UserInterface::Answer::No);
    doc->OnToolsUpdate();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Save Current Subject?", "Updated 1 records!"}));
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    EXPECT_EQ(doc->m_subject.City, "Springfield");
    EXPECT_EQ(doc->m_subject.Modified, 0);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "clinic");
    EXPECT_NE(doc->m_audCurrent.TestId, -1);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
    EXPECT_EQ(doc->Interactive, 1);

    // Yes: saved first, then updated (nothing newer now), then shown as stored.
    AddClinicTest(2, 5001, "2025-02-02 11:15:00.000", "later", kThreePoints);
    doc->m_subject.City = "Omaha";
    doc->m_subject.Modified = 1;
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnToolsUpdate();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Save Current Subject?", "Updated 1 records!"}));
    EXPECT_EQ(doc->m_subject.City, "Omaha");
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "later");
    EXPECT_EQ(Tests(id), 3);
    EXPECT_EQ(doc->Interactive, 1);

    // A save that stops (no last name) ends the command before anything runs.
    AddClinicTest(3, 5001, "2026-02-02 11:15:00.000", "latest", kThreePoints);
    doc->m_subject.Lastname.clear();
    doc->m_subject.Modified = 1;
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnToolsUpdate();
    ASSERT_EQ(ui.Texts().size(), 3);
    EXPECT_EQ(ui.Texts()[1], "Save Current Subject?");
    EXPECT_NE(ui.Texts()[2], "Updated 0 records!");
    EXPECT_TRUE(doc->m_subject.Lastname.isEmpty()); // kept as typed for correcting
    EXPECT_EQ(Tests(id), 3);
    EXPECT_EQ(doc->Interactive, 1);
}

TEST_F(ToolsUpdate, ADryRunListsTheSubjectsWithBothDatesAndWritesNothing)
{
    const int a = StoreSubject("Avery", "6001", "2020-01-01");
    const int b = StoreSubject("Blake", "6002");
    StoreSubject("Casey", "6003", "2025-01-01");
    AddClinicTest(1, 6001, "2024-02-02 11:15:00.000", "a", kThreePoints);
    AddClinicTest(2, 6001, "2023-02-02 11:15:00.000", "older", kThreePoints);
    AddClinicTest(3, 6002, "2019-12-31 23:59:00.000", "b", kThreePoints);
    AddClinicTest(4, 6003, "2024-02-02 11:15:00.000", "c", kThreePoints);
    const std::string before = Untouched({}, LastTestId());

    const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(*doc, true);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->dryRun);
    EXPECT_EQ(result->Count(), 0);
    EXPECT_TRUE(result->NotUpdated().empty());
    ASSERT_EQ(result->newer.size(), 2u);
    EXPECT_EQ(std::tie(result->newer[0].SubjectId, result->newer[0].Unit, result->newer[0].RegistryDate,
                       result->newer[0].ClinicDate),
              std::tie(a, "6001", "01/01/2020", "02/02/2024"));
    EXPECT_EQ(std::tie(result->newer[1].SubjectId, result->newer[1].Unit, result->newer[1].RegistryDate,
                       result->newer[1].ClinicDate),
              std::tie(b, "6002", "1/1/1900", "12/31/2019"));
    EXPECT_EQ(ui.ProgressTexts(),
              (QStringList{"Checking subject 1 of 3", "Checking subject 2 of 3", "Checking subject 3 of 3"}));
    EXPECT_EQ(Untouched({}, LastTestId()), before);
    EXPECT_EQ(Velmar(6001), "before");
    EXPECT_EQ(doc->Interactive, 1);
}

TEST_F(ToolsUpdate, AStatusARunLeftUnsentIsSentByTheNextRun)
{
    StoreSubject("Avery", "7001", "2025-01-01");
    const int withdrawn = StoreSubject("Blake", "7002", "2025-01-01");
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
    StoreSubject("Avery", "8001", "2020-01-01");
    StoreSubject("Blake", "8002");
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
    const int tooLong = StoreSubject("Avery", "9001", "2020-01-01");
    const int longest = StoreSubject("Blake", "9002", "2020-01-01");
    AddClinicTest(1, 9001, "2024-02-02 11:15:00.000", std::string(51, 't'), kThreePoints);
    AddClinicTest(2, 9002, "2024-02-02 11:15:00.000", std::string(50, 't'), kThreePoints);

    const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(*doc);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->run.ReasonFor(tooLong), "Aud value too long for aud.TestedBy");
    EXPECT_EQ(result->run.committed, std::vector<int>{longest});
    EXPECT_EQ(Tests(tooLong), 1);
    EXPECT_EQ(NewestTest(longest), (std::pair<std::string, int>{std::string(50, 't'), 3}));
}

