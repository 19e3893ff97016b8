// The change history on the engine: a member's change is logged under the member's login,
// a statement that changes nothing logs nothing, nobody rewrites the log, and a server
// administrator's deletion from it is itself logged. The SQL Server triggers are the same
// table's.

#include "database/ChangeLog.h"
#include "database/ContractTable.h"
#include "database/RegistryFixture.h"
#include "support/RawRegistry.h"

#include <fstream>

namespace quorin::test {

namespace {

class ChangeLog : public RegistryTest {
protected:
    std::string log(const std::string& where) const
    {
        return RawRegistry(folder()).dump("select ChangeKind, TableName, RowKey, ColumnName, OldValue, NewValue, "
                                          "ChangedBy from changelog where " + where + " order by ChangeId");
    }
};

TEST_F(ChangeLog, AMembersChangeIsLoggedUnderTheirLoginAndNobodyRewritesTheLog)
{
    const auto member = connect("Quorin", "jsmith", "QuorinDemo-User1");
    const std::string partic = std::to_string(queryInt("select min(ParticId) as num from participationhistory"));
    const std::string contacted = std::to_string(queryInt("select Contacted as num from participationhistory where ParticId = " + partic));
    EXPECT_EQ(errorOf(*member, "update participationhistory set Contacted = Contacted where ParticId = " + partic), 0);
    EXPECT_EQ(log("1"), "");
    EXPECT_EQ(errorOf(*member, "update participationhistory set Contacted = 7 where ParticId = " + partic), 0);
    EXPECT_EQ(log("1"), "update|participationhistory|" + partic + "|Contacted|" + contacted + "|7|jsmith|\n");

    // Only a server administrator deletes from it, and that deletion is kept; the
    // history itself cannot be changed by anyone.
    EXPECT_EQ(errorOf(*member, "delete from changelog"), 229);
    EXPECT_NE(errorOf(m_db, "update changelog set ChangedBy = 'someone else'"), 0);
    EXPECT_EQ(errorOf(m_db, "delete from changelog where TableName = 'participationhistory'"), 0);
    EXPECT_EQ(RawRegistry(folder()).number("select count(*) from changelog where TableName = 'changelog' and "
                                           "ChangeKind = 'delete' and ChangedBy = 'admin' and OldValue like "
                                           "'% jsmith update participationhistory " + partic + " Contacted'"),
              1)
        << log("1");
}

// A registry made before the history gets it, with its rights, when it is next opened.
TEST_F(ChangeLog, ARegistryMadeBeforeTheHistoryGetsItWhenItIsOpened)
{
    std::string older;
    for (const auto& row : RawRegistry(folder()).rows("select name from sqlite_schema where type = 'trigger'"))
        older += "DROP TRIGGER \"" + row.at(0).value_or("") + "\";";
    // Before the history the point writers did not exist, and uspWriteCiData replaced the
    // whole row.
    ExecRaw(folder(), "Quorin",
            older + "DROP TABLE changelog; DELETE FROM sys_procedures WHERE name IN ('uspLoadChangeHistory', "
                    "'uspDeleteAudPoint', 'uspUpdateAudPoint'); DELETE FROM sys_permissions WHERE major_name IN "
                    "('changelog', 'uspLoadChangeHistory', 'uspDeleteAudPoint', 'uspUpdateAudPoint'); "
                    "UPDATE sys_procedures SET definition = replace(substr(definition, 1, instr(definition, "
                    "'ON CONFLICT') - 1), 'INSERT INTO cidata', 'INSERT OR REPLACE INTO cidata') "
                    "WHERE name = 'uspWriteCiData';");

    const auto member = connect("Quorin", "jsmith", "QuorinDemo-User1");
    ASSERT_TRUE(member->IsConnected());
    EXPECT_EQ(errorOf(*member, "update participationhistory set Contacted = 9 where ParticId = "
                                   "(select min(ParticId) from participationhistory)"),
              0);
    EXPECT_EQ(RawRegistry(folder()).number("select count(*) from changelog where ChangedBy = 'jsmith' and "
                                           "ColumnName = 'Contacted' and NewValue = '9'"),
              1);
    EXPECT_EQ(errorOf(*member, "select count(*) as num from changelog"), 229);
    EXPECT_EQ(errorOf(*member, "EXEC uspLoadChangeHistory 0"), 229);
    EXPECT_EQ(errorOf(m_db, "EXEC uspLoadChangeHistory 0"), 0);
    EXPECT_EQ(errorOf(*member, "EXEC uspDeleteAudPoint 0, 0, 0, 0, 0, 0"), 0) << "a member saves chart points";

    // Saving a subject's unchanged implant history logs nothing.
    const std::string writeCiData = "EXEC uspWriteCiData " + std::to_string(RawRegistry(folder()).number(
                                        "select min(SubjectId) from subjects"))
                                    + ", 1, 2, 'a', 'b', 'c', 'd', 'e', 'f', 1, 0, 3, 4, 5, 6, 'p', 'q'";
    const auto cidataRows = [&] {
        return RawRegistry(folder()).number("select count(*) from changelog where TableName = 'cidata'");
    };
    EXPECT_EQ(errorOf(*member, writeCiData), 0);
    const std::int64_t once = cidataRows();
    EXPECT_EQ(errorOf(*member, writeCiData), 0);
    EXPECT_EQ(cidataRows(), once);
}

TEST(ChangeLogScript, TheSqlServerTriggersAreWhatTheTableOfLoggedTablesGives)
{
    const std::string expected = sqlServerChangeLogScript(readSourceFile("embedded/quorin/schema.sql"));
    const std::string stored = readSourceFile("mssql/07-quorin-changelog.sql");
    if (stored != expected)
        std::ofstream("07-quorin-changelog.sql") << expected;
    EXPECT_TRUE(stored == expected) << "database/mssql/07-quorin-changelog.sql differs from what the table of logged "
                                       "tables gives; the expected text is in 07-quorin-changelog.sql in the test's "
                                       "working folder";
}

} // namespace

} // namespace quorin::test
