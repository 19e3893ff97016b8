// quorin-registry history as an administrator runs it on the demo registry: the filters
// reach the procedure, the rows come newest first with NULL apart from an empty text and
// formulas guarded, a member's refusal is a failure, and a --since that is no date stops
// the command before it logs in.

#include "NightlyFixture.h"
#include "support/RawRegistry.h"

using namespace quorin::test;

namespace {

constexpr const char* kAdminPassword = "QuorinDemo-Admin1";
// No demo subject has these numbers, so the demo's own history never mixes in.
constexpr const char* kPlanted =
    "INSERT INTO changelog (ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, "
    "ChangeKind) VALUES "
    "('2026-06-13 23:59:59.999', 'jsmith', 'subjects', '999999', 999999, NULL, NULL, NULL, 'insert'),"
    "('2026-06-14 09:30:00.250', 'jsmith', 'subjects', '999999', 999999, 'Notes', '', '=SUM(A1:A9)', 'update'),"
    "('2026-06-14 11:00:00.000', 'klee', 'aud', '5001', 999999, 'Comments', NULL, 'fine, thanks', 'update'),"
    "('2026-06-14 09:30:00.250', 'mgarcia', 'subjects', '999999', 999999, 'City', 'Ames', NULL, 'update'),"
    "('2026-06-14 12:00:00.000', 'jsmith', 'subjects', '999998', 999998, 'City', 'Ames', 'Boone', 'update');";

class HistoryCommand : public NightlyTest {
protected:
    ToolRun History(const std::string& login, const char* password, const std::string& args)
    {
        return Tool("history -S '" + folder + "' -U " + login + " " + args, password);
    }
};

TEST_F(HistoryCommand, AnAdministratorGetsOneSubjectsChangesSinceADayNewestFirstAsCsv)
{
    ExecRaw(folder, "Quorin", kPlanted);

    const ToolRun run = History("admin", kAdminPassword, "--subject 999999 --since 6/14/2026 --csv");

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // The day before is left out; rows of one moment come in the order they were logged,
    // last first. NULL is NULL, an empty text an empty field, a formula shows as text.
    EXPECT_EQ(run.out, "\xEF\xBB\xBF"
                       "When,Who,Table,Key,Subject,Column,Old,New,Kind\r\n"
                       "2026-06-14 11:00:00.000,klee,aud,5001,999999,Comments,NULL,\"fine, thanks\",update\r\n"
                       "2026-06-14 09:30:00.250,mgarcia,subjects,999999,999999,City,Ames,NULL,update\r\n"
                       "2026-06-14 09:30:00.250,jsmith,subjects,999999,999999,Notes,,'=SUM(A1:A9),update\r\n");
}

TEST_F(HistoryCommand, NoRowsIsASuccessThatShowsTheHeadings)
{
    ExecRaw(folder, "Quorin", kPlanted);

    const ToolRun run = History("admin", kAdminPassword, "--user nobody");

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "When Who Table Key Subject Column Old New Kind\n"
                       "---- --- ----- --- ------- ------ --- --- ----\n"
                       "\n"
                       "(0 rows affected)\n");
}

struct Refusal {
    const char* login;
    const char* password;
    const char* args;
    int status;
    const char* said; // on standard error
};

TEST_F(HistoryCommand, AMemberIsRefusedByTheServerAndAWrongFilterStopsBeforeTheLogin)
{
    ExecRaw(folder, "Quorin", kPlanted);
    const Refusal cases[] = {
        {kDemoUser, kDemoUserPassword, "", 1, "Msg 229, Level 14"},
        {kDemoUser, kDemoUserPassword, "--subject 999999 --csv", 1, "Msg 229, Level 14"},
        // No password is given: the date is refused before one would be needed.
        {"admin", nullptr, "--since yesterday", 2, "--since takes a date"},
        {"admin", nullptr, "--subject twelve", 2, "--subject takes a SubjectId"},
    };
    for (const Refusal& c : cases) {
        const ToolRun run = History(c.login, c.password, c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.out << run.err;
        EXPECT_EQ(run.out, "") << c.args;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << c.args << "\n" << run.err;
    }
}

} // namespace

namespace {

// Whatever makes a change, it is logged under the login that made it: a statement through
// quorin-sql (the administrator) and a nightly job (a member) alike.
TEST_F(HistoryCommand, ChangesThroughQuorinSqlAndANightlyJobAreLoggedUnderTheirLogins)
{
    Sql("Quorin", "update subjects set City = 'Logged' where SubjectId = 1");
    const ToolRun update = Registry("update", folder);
    ASSERT_EQ(update.status, 0) << update.err;
    const int imported = NumberIn(update.outLines().at(1));
    ASSERT_GT(imported, 0) << update.out;

    const RawRegistry log(folder);
    EXPECT_EQ(log.number("select count(*) from changelog where ChangedBy = 'admin' and TableName = 'subjects' and "
                         "RowKey = '1' and ColumnName = 'City' and NewValue = 'Logged' and ChangeKind = 'update'"),
              1);
    EXPECT_EQ(log.number("select count(*) from changelog where ChangedBy = 'jsmith' and TableName = 'aud' and "
                         "ChangeKind = 'insert'"),
              imported);
}

} // namespace
