// Plans kept by statement shape: texts that differ in their values share a translation,
// a literal whose value means more than a value keeps its own, and a shared plan answers
// as the text's own translation would (by exact text: the reference), after schema
// changes too; grants are checked on every run. CorpusReplay compares the two broadly.

#include "TestServer.h"

#include "dalport/embedded/PlanCache.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

std::size_t variantsHeld() { return dalport::embedded::planCacheFigures().variants; }

class PlanCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        connect(admin, server, kAdmin, kAdminPassword);
        ASSERT_EQ(1, admin.RunTextQuery("insert into subjects(subjectid, lastname, firstname, birthdate, status) values "
                                        "(1, 'Adams', 'Anna', '3/7/1980', 0), (2, 'Baker', 'Bob', '12/31/1990', 1), "
                                        "(3, 'Carter', 'Cy', '1/1/2001', 0)"));
        connectByExactText(exact, server.folder);
        boxes.clear();
    }

    // How many plans the session's text adds to its cache.
    std::size_t added(MyADO& db, const std::string& sql)
    {
        const std::size_t before = variantsHeld();
        EXPECT_EQ(db.RunTextQuery(sql.c_str()), 1) << sql;
        return variantsHeld() - before;
    }

    // The text's outcome by shape (on `admin`) and by exact text, which must agree.
    std::vector<std::string> agreed(const std::string& sql)
    {
        const auto byShape = outcomeOf(admin, boxes, sql);
        EXPECT_EQ(byShape, outcomeOf(exact, boxes, sql)) << sql;
        return byShape;
    }

    void ran(MyADO& db, const std::string& sql) { EXPECT_EQ(answer(db, boxes, sql), "done") << sql; }

    TestServer server;
    Boxes boxes;
    WholeResultReader admin;
    WholeResultReader exact;
};

TEST_F(PlanCache, ValuesShareAShapeWhileMeaningfulLiteralsKeepTheirOwn)
{
    // Values compared with columns of every type, and written to them.
    const std::vector<std::pair<std::string, std::string>> shared = {
        {"select lastname as v from subjects where subjectid = 1", "select lastname as v from subjects where subjectid = 3"},
        {"select subjectid as v from subjects where lastname = 'Adams'", "select subjectid as v from subjects where lastname = N'carter'"},
        {"update subjects set firstname = 'Ann' where subjectid = 1", "update subjects set firstname = 'Robert' where subjectid = 2"},
    };
    for (const auto& [first, second] : shared) {
        added(admin, first);
        EXPECT_EQ(added(admin, second), 0u) << second;
        agreed(second);
    }
    EXPECT_EQ(scalar(admin, "select firstname as v from subjects where subjectid = 2"), "Robert");

    // Literals that limit, order or convert (CorpusReplay varies the others); a literal's own
    // type decides what + means.
    const std::vector<std::pair<std::string, std::string>> own = {
        {"select top 1 lastname as v from subjects order by lastname", "select top 2 lastname as v from subjects order by lastname"},
        {"select lastname as v, firstname from subjects order by 1", "select lastname as v, firstname from subjects order by 2"},
        {"select count(*) as v from subjects where convert(char(10), birthdate, 101) = '03/07/1980'", "select count(*) as v from subjects where convert(char(10), birthdate, 103) = '03/07/1980'"},
        {"select count(*) as v from subjects where '1' + '2' = '12'", "select count(*) as v from subjects where 1 + 2 = 12"},
    };
    for (const auto& [first, second] : own) {
        added(admin, first);
        EXPECT_EQ(added(admin, second), 1u) << second;
        agreed(second);
    }
    // Both shapes of + re-bound: texts join, numbers add; a text meeting a number that is
    // no number fails as the text's own translation does.
    EXPECT_EQ(scalar(admin, "select count(*) as v from subjects where '4' + '5' = '45'"), "3");
    EXPECT_EQ(scalar(admin, "select count(*) as v from subjects where 4 + 5 = 45"), "0");
    EXPECT_EQ(agreed("select count(*) as v from subjects where subjectid + 'one' = 4").front(), "failed");
}

TEST_F(PlanCache, SchemaChangesOfThisOrAnotherConnectionAreSeen)
{
    const std::string byId = "select * from subjects where subjectid = ";
    agreed(byId + "1");
    // Made by this session: a new index does not trip over the kept statements.
    ran(admin, "create index subjects_by_status on subjects(status)");
    EXPECT_EQ(agreed(byId + "2").size(), 3u);
    ran(admin, "drop index subjects_by_status");

    // Made by another connection: the kept plan reads the table as it now is.
    ExecRaw(server.folder, "Quorin", "ALTER TABLE subjects ADD COLUMN extra TEXT DEFAULT 'more'");
    const auto widened = agreed(byId + "3");
    ASSERT_EQ(widened.size(), 3u);
    EXPECT_NE(widened[1].find("[extra]"), std::string::npos) << widened[1];
    EXPECT_NE(widened[2].find("'more'"), std::string::npos) << widened[2];
    ExecRaw(server.folder, "Quorin", "ALTER TABLE subjects RENAME TO subjects_moved");
    EXPECT_EQ(agreed(byId + "1").front(), "failed");
    ExecRaw(server.folder, "Quorin", "ALTER TABLE subjects_moved RENAME TO subjects");
    EXPECT_EQ(agreed(byId + "1").size(), 3u);

    expectAnswers(admin, boxes, {
        {"create table notes(id INTEGER, body TEXT)", "done"},
        {"insert into notes(id, body) values (1, 'one')", "done"},
        {"select body as v from notes where id = 1", "one"}, {"drop table notes", "done"},
        {"select body as v from notes where id = 2", "error 208"},
        {"create table notes(id INTEGER, title TEXT)", "done"},
        {"insert into notes(id, title) values (1, 'first')", "done"},
        {"select body as v from notes where id = 1", "error 207"},
        {"select title as v from notes where id = 1", "first"},
    });
}

TEST_F(PlanCache, SessionsKeepTheirOwnPlansAndGrantsCountOnEveryRun)
{
    MyADO staff;
    connect(staff, server, "jdoe", kStaffPassword);
    const std::string lookup = "select lastname as v from subjects where subjectid = ";
    EXPECT_EQ(added(admin, lookup + "1"), 1u);
    EXPECT_EQ(added(staff, lookup + "2"), 1u); // the staff session's own
    EXPECT_EQ(added(admin, lookup + "3"), 0u);

    // A DENY made after the plan was kept refuses its next run, a read that finds no row
    // too; the DENY is in the catalogue until the REVOKE allows the reads again.
    ran(admin, "DENY SELECT ON dbo.subjects TO QuorinUser");
    expectAnswers(staff, boxes, {{lookup + "1", "error 229"}, {lookup + "99", "error 229"}});
    EXPECT_EQ(scalar(admin, "select count(*) as v from sys.database_permissions where state_desc = 'DENY' and "
                            "permission_name = 'SELECT' and object_name = 'subjects' and grantee_name = 'QuorinUser'"),
              "1");
    ran(admin, "REVOKE SELECT ON dbo.subjects FROM QuorinUser");
    EXPECT_EQ(scalar(staff, lookup + "1"), "Adams");

    ran(admin, "DENY SELECT ON dbo.subjects (lastname) TO QuorinUser");
    expectAnswers(staff, boxes, {{lookup + "3", "error 230"}});
}

} // namespace
