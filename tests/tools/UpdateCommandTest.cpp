// quorin-registry update run as a scheduled job would run it, on the demo registry.

#include "NightlyFixture.h"

#include "document/CQuorinDoc.h"
#include "audiograms/store/ToolsUpdate.h"
#include "dalport/Clock.h"
#include "dalport/Registry.h"
#include "support/ScriptedUserInterface.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <map>
#include <thread>

using namespace quorin::test;

namespace {

struct Newer {
    std::string id;
    std::string unit;
    std::string registryDay; // YYYY-MM-DD, "" without a test
    std::string clinicDay;
};

std::string us(const std::string& isoDay) // MM/DD/YYYY
{
    return isoDay.substr(5, 2) + "/" + isoDay.substr(8, 2) + "/" + isoDay.substr(0, 4);
}

class UpdateCommand : public NightlyTest {
protected:
    // What the registry and the clinic say: subjects with a KV Number, and those whose
    // clinic has a test of a later day than the registry's newest.
    std::vector<Newer> ExpectNewer(const std::string& registry, int* withKv)
    {
        std::map<std::string, std::string> clinic;
        for (const auto& row : Sql(registry, "Aud", "select PatientNum, max([Date]) as d from info group by PatientNum"))
            clinic[row[0]] = row[1].substr(0, 10);
        const auto subjects = Sql(registry, "Quorin",
                                  "select s.SubjectId, s.Unit, max(a.TestDate) as d from subjects s left join aud a "
                                  "on a.SubjectId = s.SubjectId where s.Unit <> 0 group by s.SubjectId, s.Unit");
        *withKv = int(subjects.size());
        std::vector<Newer> out;
        for (const auto& row : subjects) {
            const std::string day = row[2] == "NULL" ? "" : row[2].substr(0, 10);
            const auto it = clinic.find(row[1]);
            if (it != clinic.end() && it->second > (day.empty() ? "1900-01-01" : day))
                out.push_back({row[0], row[1], day, it->second});
        }
        return out;
    }
    std::string TakenUp(const std::vector<Newer>& newer, bool in)
    {
        std::string ids;
        for (const Newer& n : newer)
            ids += (ids.empty() ? "" : ",") + n.id;
        return std::string("SubjectId ") + (in ? "in" : "not in") + " (" + ids + ")";
    }
};

} // namespace

TEST_F(UpdateCommand, ImportsEveryNewerTestPrintsTheSummaryAndFindsNothingTheSecondTime)
{
    int withKv = 0;
    const std::vector<Newer> newer = ExpectNewer(folder, &withKv);
    ASSERT_GE(newer.size(), 3u) << "the demo should have newer clinic tests";
    const int testsBefore = SqlNumber(folder, "Quorin", "select count(*) from aud");
    const std::string othersBefore = Dump(folder, "Quorin", TakenUp(newer, false));

    const ToolRun first = Registry("update", folder);
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(first.outLines(), (std::vector<std::string>{
                                    "Checked: " + std::to_string(withKv) + " subjects with a KV Number",
                                    "Newer tests: " + std::to_string(newer.size()),
                                    "Not updated: 0",
                                    "Updated " + std::to_string(newer.size()) + " records!",
                                }));
    // One new test per subject, of the clinic's newest day; nobody else changed.
    EXPECT_EQ(SqlNumber(folder, "Quorin", "select count(*) from aud"), testsBefore + int(newer.size()));
    for (const Newer& n : newer)
        EXPECT_EQ(SqlNumber(folder, "Quorin", "select count(*) from aud where SubjectId = " + n.id
                                                  + " and TestDate >= '" + n.clinicDay + "'"),
                  1)
            << "subject " << n.id;
    EXPECT_EQ(Dump(folder, "Quorin", TakenUp(newer, false)), othersBefore);

    const std::string afterFirst = Dump(folder, "Quorin");
    const ToolRun second = Registry("update", folder);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.outLines(), (std::vector<std::string>{
                                     "Checked: " + std::to_string(withKv) + " subjects with a KV Number",
                                     "Newer tests: 0",
                                     "Not updated: 0",
                                     "Updated 0 records!",
                                 }));
    EXPECT_EQ(Dump(folder, "Quorin"), afterFirst);
}

TEST_F(UpdateCommand, RunsTheSameCodeAsTheMenuCommand)
{
    ExpectSameAsMenuCommand("update", [](CQuorinDoc& document) -> std::optional<int> {
        const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(document);
        return result ? std::optional<int>(result->Count()) : std::nullopt;
    });
}

TEST_F(UpdateCommand, ASubjectThatCannotBeSavedIsListedAndTheOthersAreUpdated)
{
    const std::string clean = CopyDemo("clean");
    int withKv = 0;
    const std::vector<Newer> newer = ExpectNewer(folder, &withKv);
    ASSERT_GE(newer.size(), 3u);
    // The last one taken up: the test keys the others get are then those of a clean run.
    const Newer& refused = newer.back();
    const std::string only = "SubjectId = " + refused.id;
    const std::string before = Dump(folder, "Quorin", only);
    ExecRaw(folder, "Quorin", "create trigger refuse_test before insert on aud when new.SubjectId = " + refused.id
                                  + " begin select raise(abort, 'test refused'); end");

    const ToolRun run = Registry("update", folder);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    const std::vector<std::string> lines = run.outLines();
    ASSERT_EQ(lines.size(), 5u) << run.out;
    EXPECT_EQ(lines[2], "Not updated: 1");
    EXPECT_EQ(lines[3], "  " + refused.id + " " + refused.unit + " save failed");
    EXPECT_EQ(lines[4], "Updated " + std::to_string(newer.size() - 1) + " records!");
    EXPECT_NE(run.err.find("Msg "), std::string::npos) << run.err;

    EXPECT_EQ(Dump(folder, "Quorin", only), before);
    ASSERT_EQ(Registry("update", clean).status, 0);
    const std::string others = "SubjectId <> " + refused.id;
    EXPECT_EQ(Dump(folder, "Quorin", others), Dump(clean, "Quorin", others));
}

TEST_F(UpdateCommand, InterruptStopsBetweenSubjectsKeepingTheOneInHand)
{
    int withKv = 0;
    const std::vector<Newer> newer = ExpectNewer(folder, &withKv);
    ASSERT_GE(newer.size(), 3u);
    const int testsBefore = SqlNumber(folder, "Quorin", "select count(*) from aud");

    // The first subject's status write to the Audiogram Manager waits for another
    // program's transaction, so the interrupt arrives while that subject is in hand.
    HeldWriteLock other(folder, "Aud");
    TerminalRun run(QUORIN_REGISTRY_TOOL, {"update", "-S", folder, "-U", kDemoUser},
                    {std::string("QUORIN_PASSWORD=") + kDemoUserPassword});
    ASSERT_TRUE(run.WaitFor("Updating subject 1 of " + std::to_string(newer.size()))) << run.Terminal();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    run.Signal(SIGTERM);
    other.Release();
    EXPECT_EQ(run.Finish(), 1) << run.Terminal();
    const std::string out = run.Out();
    EXPECT_NE(out.find("\nCancelled: " + std::to_string(newer.size() - 1) + " not processed\nUpdated 1 records!\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(SqlNumber(folder, "Quorin", "select count(*) from aud"), testsBefore + 1);

    // The next run takes up the rest, since their clinic tests are still newer.
    const ToolRun next = Registry("update", folder);
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(next.outLines().back(), "Updated " + std::to_string(newer.size() - 1) + " records!");
}

TEST_F(UpdateCommand, DryRunListsTheSubjectsWithBothDatesAndWritesNothing)
{
    int withKv = 0;
    const std::vector<Newer> newer = ExpectNewer(folder, &withKv);
    const auto files = Files(folder);
    const ToolRun run = Registry("update", folder, {"--dry-run"});
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::string> expected = {"Checked: " + std::to_string(withKv) + " subjects with a KV Number",
                                         "Newer tests: " + std::to_string(newer.size())};
    for (const Newer& n : newer)
        expected.push_back("  " + n.id + " " + n.unit + " " + (n.registryDay.empty() ? "1/1/1900" : us(n.registryDay))
                           + " " + us(n.clinicDay));
    expected.push_back("Not updated: 0");
    expected.push_back("Updated 0 records!");
    // The subjects with a registry test come first, then those without: same lines, and
    // the summary lines in place.
    std::vector<std::string> lines = run.outLines();
    ASSERT_EQ(lines.size(), expected.size()) << run.out;
    EXPECT_EQ(lines[0], expected[0]);
    EXPECT_EQ(lines[1], expected[1]);
    EXPECT_EQ(lines[lines.size() - 2], expected[expected.size() - 2]);
    EXPECT_EQ(lines.back(), expected.back());
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(Files(folder), files);
}

TEST_F(UpdateCommand, WithoutTheAudiogramManagerTheRunDoesNotStart)
{
    dalport::CreateLogin(folder, "clerk", "Clerk-pw-1");
    dalport::CreateDatabaseUser(folder, "Quorin", "clerk", "QuorinUser");
    dalport::CreateDatabaseUser(folder, "CID", "clerk", "QuorinUser");
    const auto files = Files(folder);
    const ToolRun r = runTool(QUORIN_REGISTRY_TOOL, {"update", "-S", folder, "-U", "clerk", "-P", "Clerk-pw-1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Unable to connect to Database Aud!\n"), std::string::npos) << r.err;
    EXPECT_EQ(Files(folder), files);

    const ToolRun bad = runTool(QUORIN_REGISTRY_TOOL, {"update", "-S", folder, "-U", kDemoUser, "--dry"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.errLines().size(), 1u) << bad.err;
    const ToolRun noPassword = Registry("update", folder, {}, {{}, true, "/dev/null"});
    EXPECT_EQ(noPassword.status, 2);
    EXPECT_EQ(Files(folder), files);
}

TEST_F(UpdateCommand, AClinicThatRefusesReadsFailsTheRunAndSaysWhy)
{
    int withKv = 0;
    ExpectNewer(folder, &withKv);
    const std::string before = Dump(folder, "Quorin");
    Sql(folder, "Aud", "DENY SELECT ON info TO QuorinUser");

    const ToolRun run = Registry("update", folder);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_NE(run.err.find("Msg 229"), std::string::npos) << run.err;
    const std::vector<std::string> lines = run.outLines();
    ASSERT_EQ(lines.size(), 5u + withKv) << run.out;
    EXPECT_EQ(lines[1], "Newer tests: 0");
    EXPECT_EQ(lines[2], "Status sent: failed");
    EXPECT_EQ(lines[3], "Not updated: " + std::to_string(withKv));
    for (int i = 0; i < withKv; ++i)
        EXPECT_TRUE(lines[4 + i].size() > 16 && lines[4 + i].substr(lines[4 + i].size() - 16) == " Aud read failed")
            << lines[4 + i];
    EXPECT_EQ(lines.back(), "Updated 0 records!");
    EXPECT_EQ(Dump(folder, "Quorin"), before);
}

TEST_F(UpdateCommand, AStatusAKilledRunLeftUnsentIsSentByTheNextRun)
{
    ASSERT_EQ(Registry("update", folder).status, 0); // nothing newer from here on
    const auto rows = Sql(folder, "Quorin",
                          "select top 1 s.SubjectId, s.Unit from subjects s where s.Status = 0 and s.Unit in "
                          "(select PatientNum from Aud.dbo.info) order by s.SubjectId");
    ASSERT_EQ(rows.size(), 1u);
    const std::string& unit = rows[0][1];
    // The subject withdrawn in the registry while the clinic still says "Yes": what a run
    // killed between the subject's commit and its status write leaves behind.
    ExecRaw(folder, "Quorin", "update subjects set Status = 1 where SubjectId = " + rows[0][0]);
    ASSERT_EQ(Registry("update", folder, {"--dry-run"}).status, 0); // a dry run writes nothing
    EXPECT_EQ(SqlNumber(folder, "Aud", "select count(*) from info where Velmar = 'Declined' and PatientNum = " + unit), 0);

    const ToolRun run = Registry("update", folder);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    const std::vector<std::string> lines = run.outLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Status sent: 1"), lines.end()) << run.out;
    EXPECT_EQ(SqlNumber(folder, "Aud", "select count(*) from info where Velmar <> 'Declined' and PatientNum = " + unit), 0);
    const ToolRun next = Registry("update", folder);
    EXPECT_EQ(next.out.find("Status sent"), std::string::npos) << next.out;
}
