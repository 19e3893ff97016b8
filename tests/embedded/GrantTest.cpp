// GRANT on the engine: what a procedure's owner rights cover and what they do not, and
// the read check of INSERT … SELECT.

#include "TestServer.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

class Grants : public ::testing::Test {
protected:
    void SetUp() override { connect(admin, server, kAdmin, kAdminPassword); }

    TestServer server;
    Boxes boxes;
    MyADO admin;
};

TEST_F(Grants, ExecuteAloneRunsTheProcedureWithItsOwnersRightsOnItsOwnDatabaseOnly)
{
    expectAnswers(admin, boxes, {{"GRANT EXECUTE ON dbo.uspAddSubject TO norole", "done"},
                                 {"GRANT EXECUTE ON uspCountPatients TO norole", "done"}});
    MyADO db;
    connect(db, server, "norole", kStaffPassword);
    EXPECT_EQ(db.RunTextQuery("EXEC uspAddSubject 'Chained', 'Owner', '1/2/1980'"), 1) << boxes.text();
    EXPECT_EQ(scalar(admin, "select count(*) as v from subjects where lastname = 'Chained'"), "1");
    expectAnswers(db, boxes, {
        // The table itself stays shut to the user.
        {"insert into subjects(lastname) values ('direct')", "error 229"},
        // CID is another database: the owner's rights do not reach there, the caller has no user.
        {"exec uspCountPatients", "error 916: The server principal \"norole\" is not able to access the database "
                                  "\"CID\" under the current security context."},
    });
}

TEST_F(Grants, SecurityStatementsInsideAProcedureNeedTheCallersPermission)
{
    // jdoe may run every procedure of the test schema, uspUpdateAccount included, but
    // moving roles is a security statement: the caller's ALTER ANY ROLE decides.
    MyADO db, boss;
    connect(db, server, "jdoe", kStaffPassword);
    connect(boss, server, "boss", kStaffPassword);
    EXPECT_EQ(answer(db, boxes, "EXEC uspUpdateAccount 'jdoe', 3"), "error 15247");
    EXPECT_EQ(scalar(admin, "select role as v from sys_role_members where member = 'jdoe'"), "QuorinUser");
    EXPECT_EQ(answer(boss, boxes, "EXEC uspUpdateAccount 'jdoe', 3"), "done");
    EXPECT_EQ(scalar(admin, "select role as v from sys_role_members where member = 'jdoe'"), "QuorinAdmin");
}

} // namespace

// SQLite copies the rows of `INSERT INTO t SELECT * FROM u` between tables of the same
// shape without reading their columns; the read of u is checked all the same, in the
// session's database and in another one named with three parts.
TEST(InsertSelect, ACopyOfAWholeTableNeedsSelectOnItsSource)
{
    TestServer server;
    ExecRaw(server.folder, "Quorin", "CREATE TABLE copyfrom(a INTEGER, b TEXT); CREATE TABLE copyto(a INTEGER, b TEXT); "
                                     "INSERT INTO copyfrom VALUES (1, 'one'), (2, 'two');");
    ExecRaw(server.folder, "CID", "CREATE TABLE donor(a INTEGER, b TEXT); INSERT INTO donor VALUES (1, 'one');");
    Boxes boxes;
    MyADO admin;
    connect(admin, server, kAdmin, kAdminPassword);
    ASSERT_EQ(admin.RunTextQuery("GRANT INSERT ON dbo.copyto TO norole"), 1);
    MyADO db;
    connect(db, server, "norole", kStaffPassword);
    expectAnswers(db, boxes, {
        {"INSERT INTO copyto SELECT * FROM copyfrom",
         "error 229: The SELECT permission was denied on the object 'copyfrom', database 'Quorin', schema 'dbo'."},
        {"INSERT INTO dbo.copyto SELECT * FROM dbo.copyfrom", "error 229"},
        {"INSERT INTO copyto(a, b) SELECT a, b FROM copyfrom", "error 229"},
        {"INSERT INTO Quorin.dbo.copyto SELECT * FROM Quorin.dbo.copyfrom", "error 229"},
        // Another database: no user there, then a user without the grant.
        {"INSERT INTO copyto SELECT * FROM CID.dbo.donor", "error 916"},
    });
    dalport::CreateDatabaseUser(server.folder, "CID", "norole", "");
    expectAnswers(db, boxes, {
        {"INSERT INTO copyto SELECT * FROM CID.dbo.donor",
         "error 229: The SELECT permission was denied on the object 'donor', database 'CID', schema 'dbo'."},
    });
    EXPECT_EQ(scalar(admin, "select count(*) as v from copyto"), "0");
    // With the grant the same statements copy every row.
    ASSERT_EQ(admin.RunTextQuery("GRANT SELECT ON dbo.copyfrom TO norole"), 1);
    EXPECT_EQ(answer(db, boxes, "INSERT INTO copyto SELECT * FROM copyfrom"), "done");
    EXPECT_EQ(scalar(admin, "select count(*) as v from copyto"), "2");
    EXPECT_EQ(scalar(admin, "select b as v from copyto where a = 2"), "two");
}
