// quorin-registry cid-import run as a scheduled job would run it, on the demo registry.

#include "NightlyFixture.h"

#include "document/CQuorinDoc.h"
#include "dalport/Clock.h"
#include "dalport/Registry.h"
#include "implants/store/CidImportJob.h"
#include "support/ScriptedUserInterface.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <map>
#include <set>
#include <chrono>
#include <thread>

using namespace quorin::test;

namespace {

// What the registry and CID say the run must find: the implant subjects and, for each,
// how many CID patients have its KV Number.
struct Expected {
    struct Subject {
        int id = -1;
        std::string unit; // "-" for none
        int cidPatients = 0;
        std::string patientId;
        int devices = 0; // of that CID patient
    };
    std::vector<Subject> subjects;
    std::vector<Subject> found;
    std::vector<std::string> notUpdatedLines; // "  <id> <unit> <reason>", sorted
};

class CidImportCommand : public NightlyTest {
protected:
    Expected Expect(const std::string& registry)
    {
        std::map<std::string, std::vector<std::string>> cid;
        for (const auto& row : Sql(registry, "CID", "select Unit, PatientId from patient"))
            cid[row[0]].push_back(row[1]);
        std::map<std::string, int> devices;
        for (const auto& row : Sql(registry, "CID", "select PatientId, count(*) as n from [Internal] group by PatientId"))
            devices[row[0]] = std::stoi(row[1]);
        Expected e;
        for (const auto& row :
             Sql(registry, "Quorin", "select SubjectId, Unit from subjects where patimpression = 'Cochlear Implant'")) {
            Expected::Subject s;
            s.id = std::stoi(row[0]);
            s.unit = row[1] == "0" ? "-" : row[1];
            const auto it = cid.find(row[1]);
            s.cidPatients = s.unit == "-" || it == cid.end() ? 0 : int(it->second.size());
            if (s.cidPatients == 1) {
                s.patientId = it->second.front();
                s.devices = devices[s.patientId];
            }
            e.subjects.push_back(s);
            if (s.cidPatients == 1)
                e.found.push_back(s);
            else
                e.notUpdatedLines.push_back("  " + std::to_string(s.id) + " " + s.unit + " "
                                            + (s.unit == "-"           ? "no KV Number"
                                               : s.cidPatients == 0 ? "not in CID"
                                                                    : "several CID patients"));
        }
        std::sort(e.notUpdatedLines.begin(), e.notUpdatedLines.end());
        return e;
    }

    // The lines between "Not updated: n" and the next line that is not indented.
    static std::vector<std::string> Listed(const std::vector<std::string>& lines, const std::string& after)
    {
        std::vector<std::string> out;
        auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(after, 0) == 0; });
        if (it == lines.end())
            return out;
        for (++it; it != lines.end() && it->rfind("  ", 0) == 0; ++it)
            out.push_back(*it);
        std::sort(out.begin(), out.end());
        return out;
    }

    // The implant data the run writes, without the rows of the given subjects.
    static std::string ImplantData(const std::string& registry, const std::string& where = "")
    {
        return Dump(registry, "Quorin", where);
    }
};

} // namespace

TEST_F(CidImportCommand, ImportsEveryFoundSubjectPrintsTheSummaryAndStoresTheSameDataTheSecondTime)
{
    const Expected e = Expect(folder);
    ASSERT_GE(e.found.size(), 3u) << "the demo should have implant subjects in CID";
    const std::string before = Dump(folder, "Quorin");

    const ToolRun first = Registry("cid-import", folder);
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    // Standard error is no terminal: no progress, and nothing went wrong.
    EXPECT_EQ(first.err, "");
    std::vector<std::string> lines = first.outLines();
    ASSERT_GE(lines.size(), 4u) << first.out;
    EXPECT_EQ(lines[0], "Cochlear Implant subjects: " + std::to_string(e.subjects.size()));
    EXPECT_EQ(lines[1], "Found in CID: " + std::to_string(e.found.size()));
    EXPECT_EQ(lines[2], "Not updated: " + std::to_string(e.notUpdatedLines.size()));
    EXPECT_EQ(Listed(lines, "Not updated:"), e.notUpdatedLines);
    EXPECT_EQ(lines.back(), "Updated " + std::to_string(e.found.size()) + " records!");
    EXPECT_EQ(lines.size(), 4 + e.notUpdatedLines.size());

    // Every found subject now has its CID patient's devices, and only those changed.
    const std::string afterFirst = Dump(folder, "Quorin");
    EXPECT_NE(afterFirst, before);
    for (const Expected::Subject& s : e.found)
        EXPECT_EQ(SqlNumber(folder, "Quorin", "select count(*) from CiDevice where SubjectId = " + std::to_string(s.id)),
                  s.devices)
            << "subject " << s.id;
    std::string others = "SubjectId not in (";
    for (const Expected::Subject& s : e.found)
        others += std::to_string(s.id) + ",";
    others.back() = ')';
    EXPECT_EQ(Dump(folder, "Quorin", others), Dump(CopyDemo("untouched"), "Quorin", others));

    const ToolRun second = Registry("cid-import", folder);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(Dump(folder, "Quorin"), afterFirst);
}

TEST_F(CidImportCommand, RunsTheSameCodeAsTheMenuCommand)
{
    ExpectSameAsMenuCommand("cid-import", [](CQuorinDoc& document) -> std::optional<int> {
        const std::optional<quorin::BulkResult> result = quorin::RunCidImport(document);
        return result ? std::optional<int>(result->Count()) : std::nullopt;
    });
}

TEST_F(CidImportCommand, ASubjectThatCannotBeSavedIsListedAndTheOthersAreUpdated)
{
    const std::string clean = CopyDemo("clean");
    const Expected e = Expect(folder);
    ASSERT_GE(e.found.size(), 3u);
    // A subject whose save writes devices: the trigger refuses the second of them.
    const auto withDevices = std::find_if(e.found.begin() + 1, e.found.end(), [](const auto& s) { return s.devices > 1; });
    ASSERT_NE(withDevices, e.found.end());
    const Expected::Subject& refused = *withDevices;
    const std::string only = "SubjectId = " + std::to_string(refused.id);
    const std::string before = Dump(folder, "Quorin", only);
    ExecRaw(folder, "Quorin",
            "create trigger refuse_device before insert on CiDevice when new.SubjectId = " + std::to_string(refused.id)
                + " and (select count(*) from CiDevice where SubjectId = new.SubjectId) >= 1"
                + " begin select raise(abort, 'device refused'); end");

    const ToolRun run = Registry("cid-import", folder);
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> lines = run.outLines();
    std::vector<std::string> expected = e.notUpdatedLines;
    expected.push_back("  " + std::to_string(refused.id) + " " + refused.unit + " save failed");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listed(lines, "Not updated:"), expected) << run.out;
    EXPECT_EQ(lines.back(), "Updated " + std::to_string(e.found.size() - 1) + " records!");
    // The server's own words on standard error, in quorin-sql's form.
    EXPECT_NE(run.err.find("Msg 50000, Level 16, State 1, Server " + folder + ", Line 1\n"), std::string::npos)
        << run.err;

    // That subject is as it was; every other one is as a run without the trigger left it.
    EXPECT_EQ(Dump(folder, "Quorin", only), before);
    ASSERT_EQ(Registry("cid-import", clean).status, 0);
    const std::string others = "SubjectId <> " + std::to_string(refused.id);
    EXPECT_EQ(Dump(folder, "Quorin", others), Dump(clean, "Quorin", others));
}

TEST_F(CidImportCommand, InterruptStopsBetweenSubjectsKeepingTheOneInHand)
{
    const Expected e = Expect(folder);
    ASSERT_GE(e.found.size(), 3u);
    const std::string clean = CopyDemo("clean");
    ASSERT_EQ(Registry("cid-import", clean).status, 0);
    const std::string untouched = CopyDemo("untouched");

    // Another program's transaction on the Audiogram Manager keeps the first subject's
    // status write waiting (after its commit, before the second subject), so the
    // interrupt surely arrives while that subject is in hand.
    HeldWriteLock other(folder, "Aud");
    TerminalRun run(QUORIN_REGISTRY_TOOL, {"cid-import", "-S", folder, "-U", kDemoUser},
                    {std::string("QUORIN_PASSWORD=") + kDemoUserPassword});
    ASSERT_TRUE(run.WaitFor("Updating subject 1 of " + std::to_string(e.found.size()))) << run.Terminal();
    // The step's text is written just before the step begins: give the tool the moment
    // to reach the status write, which then waits for the lock (seconds).
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    run.Signal(SIGINT);
    other.Release();
    EXPECT_EQ(run.Finish(), 1) << run.Terminal();

    // On a terminal the progress shows both phases; standard output has only the summary.
    EXPECT_NE(run.Terminal().find("Checking subject 1 of " + std::to_string(e.subjects.size())), std::string::npos);
    const std::string out = run.Out();
    EXPECT_EQ(out.find("subject 1 of"), std::string::npos) << out;
    EXPECT_NE(out.find("\nCancelled: " + std::to_string(e.found.size() - 1) + " not processed\nUpdated 1 records!\n"),
              std::string::npos)
        << out;
    // Subjects stopped by Cancel are counted, not listed one by one.
    EXPECT_NE(out.find("Not updated: " + std::to_string(e.notUpdatedLines.size()) + "\n"), std::string::npos) << out;

    // The first subject is whole, the rest untouched.
    const std::string first = "SubjectId = " + std::to_string(e.found[0].id);
    EXPECT_EQ(Dump(folder, "Quorin", first), Dump(clean, "Quorin", first));
    const std::string rest = "SubjectId <> " + std::to_string(e.found[0].id);
    EXPECT_EQ(Dump(folder, "Quorin", rest), Dump(untouched, "Quorin", rest));
}

TEST_F(CidImportCommand, SubjectsLockedByAnotherProgramFailAndTheNextRunTakesThemUp)
{
    const Expected e = Expect(folder);
    ASSERT_GE(e.found.size(), 2u);
    const std::string clean = CopyDemo("clean");
    ASSERT_EQ(Registry("cid-import", clean).status, 0);

    // A second program is saving a subject, its transaction open for the whole run.
    const std::string elsewhere = std::to_string(e.subjects.back().id);
    ToolRun run;
    {
        HeldWriteLock other(folder, "Quorin", "update subjects set Notes = 'saved elsewhere' where SubjectId = "
                                                  + elsewhere + ";");
        run = Registry("cid-import", folder);
    }
    EXPECT_EQ(run.status, 1) << run.err;
    std::vector<std::string> expected = e.notUpdatedLines;
    for (const Expected::Subject& s : e.found)
        expected.push_back("  " + std::to_string(s.id) + " " + s.unit + " save failed");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listed(run.outLines(), "Not updated:"), expected) << run.out;
    EXPECT_EQ(run.outLines().back(), "Updated 0 records!");
    EXPECT_NE(run.err.find("Msg 1222, Level 16, State 56, Server " + folder + ", Line 1\n"), std::string::npos)
        << run.err;
    // The other program's save is kept, and the next run takes every subject up.
    EXPECT_EQ(SqlNumber(folder, "Quorin", "select count(*) from subjects where Notes like 'saved elsewhere'"), 1);
    const ToolRun next = Registry("cid-import", folder);
    EXPECT_EQ(next.status, 0) << next.out << next.err;
    const std::string others = "SubjectId <> " + elsewhere;
    EXPECT_EQ(Dump(folder, "Quorin", others), Dump(clean, "Quorin", others));
}

TEST_F(CidImportCommand, DryRunListsTheSubjectsAndWritesNothing)
{
    const Expected e = Expect(folder);
    const auto files = Files(folder);
    const ToolRun run = Registry("cid-import", folder, {"--dry-run"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::vector<std::string> expected = {"Cochlear Implant subjects: " + std::to_string(e.subjects.size()),
                                         "Found in CID: " + std::to_string(e.found.size())};
    for (const Expected::Subject& s : e.found)
        expected.push_back("  " + std::to_string(s.id) + " " + s.unit + " " + s.patientId);
    expected.push_back("Not updated: " + std::to_string(e.notUpdatedLines.size()));
    std::vector<std::string> lines = run.outLines();
    ASSERT_EQ(lines.size(), expected.size() + e.notUpdatedLines.size() + 1) << run.out;
    // The found subjects in the order checked: compare as sets, then the rest in place.
    std::vector<std::string> listed(lines.begin() + 2, lines.begin() + 2 + long(e.found.size()));
    std::vector<std::string> wanted(expected.begin() + 2, expected.end() - 1);
    std::sort(listed.begin(), listed.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(listed, wanted);
    EXPECT_EQ(lines[0], expected[0]);
    EXPECT_EQ(lines[1], expected[1]);
    EXPECT_EQ(lines[2 + e.found.size()], expected.back());
    EXPECT_EQ(lines.back(), "Updated 0 records!");
    EXPECT_EQ(Files(folder), files);
}

TEST_F(CidImportCommand, WhatStopsTheStartChangesNothingAndExitsWithTwo)
{
    const auto files = Files(folder);

    const ToolRun wrong = runTool(QUORIN_REGISTRY_TOOL, {"cid-import", "-S", folder, "-U", kDemoUser, "-P", "nope"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("Msg 18456, Level 14, State 1, Server " + folder + ", Line 1\n"), std::string::npos)
        << wrong.err;

    const ToolRun missing = Registry("cid-import", (base / "no-such-registry").string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("Msg "), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(base / "no-such-registry"));
    EXPECT_EQ(Files(folder), files);

    // A login with a user in the registry and Aud but none in CID.
    dalport::CreateLogin(folder, "clerk", "Clerk-pw-1");
    dalport::CreateDatabaseUser(folder, "Quorin", "clerk", "QuorinUser");
    dalport::CreateDatabaseUser(folder, "Aud", "clerk", "QuorinUser");
    const auto withClerk = Files(folder);
    const ToolRun noCid = runTool(QUORIN_REGISTRY_TOOL, {"cid-import", "-S", folder, "-U", "clerk", "-P", "Clerk-pw-1"});
    EXPECT_EQ(noCid.status, 2);
    EXPECT_EQ(noCid.out, "");
    EXPECT_NE(noCid.err.find("Unable to connect to Database CID!\n"), std::string::npos) << noCid.err;
    EXPECT_EQ(Files(folder), withClerk);

    // A scheduled job without a password: standard input has ended, nobody is asked.
    const ToolRun noPassword = Registry("cid-import", folder, {}, {{}, true, "/dev/null"});
    EXPECT_EQ(noPassword.status, 2);
    EXPECT_EQ(noPassword.out, "");
    EXPECT_NE(noPassword.err.find("no password given"), std::string::npos) << noPassword.err;
    EXPECT_EQ(Files(folder), withClerk);

    // A login whose temporary password was never changed starts nothing, in the
    // server's words alone.
    ExecRaw(folder, "master", "UPDATE logins SET must_change = 1, check_expiration = 1 WHERE name = 'clerk'");
    const auto mustChange = Files(folder);
    const ToolRun temporary = runTool(QUORIN_REGISTRY_TOOL, {"cid-import", "-S", folder, "-U", "clerk", "-P", "Clerk-pw-1"});
    EXPECT_EQ(temporary.status, 2);
    EXPECT_EQ(temporary.out, "");
    EXPECT_NE(temporary.err.find("Msg 18488, Level 14, State 1"), std::string::npos) << temporary.err;
    EXPECT_NE(temporary.err.find("Login failed for user 'clerk'. Reason: The password of the account must be changed."),
              std::string::npos)
        << temporary.err;
    EXPECT_EQ(temporary.err.find("Login Failed!"), std::string::npos) << temporary.err;
    EXPECT_EQ(Files(folder), mustChange);
}

TEST_F(CidImportCommand, BadInputIsOneLineAndExitTwo)
{
    const auto files = Files(folder);
    const std::vector<std::vector<std::string>> cases = {
        {"cid-import", "-S", folder, "-U", kDemoUser, "--frobnicate"},
        {"cid-import", "-S", folder, "-U"},
        {"cid-import", "-S", folder},
        {"cid-import", "-S", folder, "-U", kDemoUser, "surplus"},
        {"cid-import", "-S", folder, "-U", kDemoUser, "--password-file", (base / "no-such-file").string()},
        {"cid-import", "-S", folder, "-U", kDemoUser, "--password-file", (base / "readable").string()},
    };
    std::ofstream(base / "readable") << kDemoUserPassword << "\n";
    std::filesystem::permissions(base / "readable", std::filesystem::perms::others_read,
                                 std::filesystem::perm_options::add);
    for (const auto& args : cases) {
        const ToolRun r = runTool(QUORIN_REGISTRY_TOOL, args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "") << args.back();
        EXPECT_EQ(r.errLines().size(), 1u) << r.err;
        EXPECT_EQ(r.err.rfind("quorin-registry cid-import: ", 0), 0u) << r.err;
    }
    EXPECT_EQ(Files(folder), files);
}

TEST_F(CidImportCommand, AnAudiogramManagerOutOfReachIsOneMessageAndTheRunGoesOn)
{
    const Expected e = Expect(folder);
    dalport::CreateLogin(folder, "cidclerk", "Clerk-pw-1");
    dalport::CreateDatabaseUser(folder, "Quorin", "cidclerk", "QuorinUser");
    dalport::CreateDatabaseUser(folder, "CID", "cidclerk", "QuorinUser");
    const ToolRun r = runTool(QUORIN_REGISTRY_TOOL, {"cid-import", "-S", folder, "-U", "cidclerk", "-P", "Clerk-pw-1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.outLines().back(), "Updated " + std::to_string(e.found.size()) + " records!");
    std::size_t boxes = 0;
    for (std::size_t at = r.err.find("Unable to connect to Database Aud!"); at != std::string::npos;
         at = r.err.find("Unable to connect to Database Aud!", at + 1))
        ++boxes;
    EXPECT_EQ(boxes, 1u) << r.err;
}

TEST_F(CidImportCommand, ACidThatRefusesReadsFailsTheRunAndSaysWhy)
{
    const Expected e = Expect(folder);
    const std::string before = Dump(folder, "Quorin");
    Sql(folder, "CID", "DENY SELECT ON patient TO QuorinUser");

    const ToolRun run = Registry("cid-import", folder);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_NE(run.err.find("Msg 229"), std::string::npos) << run.err;
    const std::vector<std::string> lines = run.outLines();
    EXPECT_EQ(lines.at(1), "Found in CID: 0");
    // Every subject with a KV Number is listed with the reason; those without one by rule.
    std::vector<std::string> expected;
    for (const Expected::Subject& s : e.subjects)
        expected.push_back("  " + std::to_string(s.id) + " " + s.unit + " "
                           + (s.unit == "-" ? "no KV Number" : "CID read failed"));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listed(lines, "Not updated:"), expected);
    EXPECT_EQ(lines.back(), "Updated 0 records!");
    EXPECT_EQ(Dump(folder, "Quorin"), before);
}
