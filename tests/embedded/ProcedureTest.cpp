// Stored procedures: positional binding, conversion to the declared types, atomic
// bodies, three-part names and SQL Server's three procedure errors.

#include "TestServer.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

class Procedures : public ::testing::Test {
protected:
    void SetUp() override { connect(db, server, kAdmin, kAdminPassword); }

    dalport::ReportedError lastProviderError() const
    {
        const auto p = boxes.provider();
        return p.empty() ? dalport::ReportedError{} : p.back();
    }

    int addSubject(const char* last, const char* first, const char* birth)
    {
        db.BindStringParam("@last", last);
        db.BindStringParam("@first", first);
        db.BindStringParam("@birth", birth);
        const int ok = db.RunStoredProcedure("uspAddSubject");
        const int id = ok && !db.IsEOF() ? db.GetIntField("subjectid") : -1;
        db.RemoveParams();
        return id;
    }

    TestServer server;
    Boxes boxes;
    MyADO db;
};

TEST_F(Procedures, BindsByPositionWhateverTheNames)
{
    db.BindStringParam("@lastname", "Nguyen");  // declared @last
    db.BindStringParam("@firstName", "Minh");   // declared @first
    db.BindStringParam("@dob", "7/4/1976");     // declared @birth
    db.BindIntParam("@Status", 2);
    ASSERT_EQ(db.RunStoredProcedure("uspAddSubject"), 1);
    const int id = db.GetIntField("subjectid");
    db.RemoveParams();
    db.BindIntParam("@id", id);
    ASSERT_EQ(db.RunStoredProcedure("uspLoadSubjectbyId"), 1);
    EXPECT_EQ(db.GetStringField("lastname"), "Nguyen");
    EXPECT_EQ(db.GetStringField("firstname"), "Minh");
    EXPECT_EQ(db.GetStringField("birth"), "07/04/1976");
    EXPECT_EQ(db.GetIntField("status"), 2);
    EXPECT_TRUE(boxes.all.empty());
}

TEST_F(Procedures, EmptyDateIsTheFirstOfJanuary1900AndReadsAsEmpty)
{
    const int id = addSubject("Empty", "Date", "");
    ASSERT_GT(id, 0);
    db.BindIntParam("@id", id);
    ASSERT_EQ(db.RunStoredProcedure("uspLoadSubjectbyId"), 1);
    EXPECT_EQ(db.GetStringField("birth"), "");
    db.RemoveParams();
    EXPECT_EQ(scalar(db, "select convert(char, birthdate, 121) as v from subjects"), "1900-01-01 00:00:00.000");
}

TEST_F(Procedures, ConversionErrorsOfArguments)
{
    EXPECT_EQ(addSubject("Bad", "Date", "2/30/2005"), -1);
    EXPECT_EQ(lastProviderError().number, 242);
    boxes.clear();
    EXPECT_EQ(addSubject("Bad", "Date", "yesterday"), -1);
    EXPECT_EQ(lastProviderError().number, 241);
    boxes.clear();
    db.BindStringParam("@id", "12x");
    EXPECT_EQ(db.RunStoredProcedure("uspLoadSubjectbyId"), 0);
    EXPECT_EQ(lastProviderError().number, 245);
    EXPECT_EQ(lastProviderError().message, "Conversion failed when converting the varchar value '12x' to data type int.");
    db.RemoveParams();
    // A number given as text converts.
    const int id = addSubject("Text", "Number", "1/2/2003");
    db.BindStringParam("@id", " " + std::to_string(id) + " ");
    ASSERT_EQ(db.RunStoredProcedure("uspLoadSubjectbyId"), 1);
    EXPECT_EQ(db.GetStringField("lastname"), "Text");
}

TEST_F(Procedures, CharParametersArePaddedAndTruncated)
{
    db.BindStringParam("@name", "ab");
    ASSERT_EQ(db.RunStoredProcedure("uspShortName"), 1);
    EXPECT_EQ(db.GetStringField("v"), "ab   |");
    db.RemoveParams();
    db.BindStringParam("@name", "abcdefgh");
    ASSERT_EQ(db.RunStoredProcedure("uspShortName"), 1);
    EXPECT_EQ(db.GetStringField("v"), "abcde|");
    // Lengths count characters: never cut inside one, padded by characters.
    db.RemoveParams();
    db.BindStringParam("@name", "aüüüüüüü");
    ASSERT_EQ(db.RunStoredProcedure("uspShortName"), 1);
    EXPECT_EQ(db.GetStringField("v"), "aüüüü|");
    db.RemoveParams();
    db.BindStringParam("@name", "ßé");
    ASSERT_EQ(db.RunStoredProcedure("uspShortName"), 1);
    EXPECT_EQ(db.GetStringField("v"), "ßé   |");
}

TEST_F(Procedures, TheThreeProcedureErrors)
{
    EXPECT_EQ(db.RunStoredProcedure("uspNoSuchThing"), 0);
    EXPECT_EQ(lastProviderError().number, 2812);
    EXPECT_EQ(lastProviderError().message, "Could not find stored procedure 'uspNoSuchThing'.");
    boxes.clear();
    db.BindIntParam("@id", 1);
    db.BindIntParam("@extra", 2);
    EXPECT_EQ(db.RunStoredProcedure("uspLoadSubjectbyId"), 0);
    EXPECT_EQ(lastProviderError().number, 8144);
    EXPECT_EQ(lastProviderError().message, "Procedure or function uspLoadSubjectbyId has too many arguments specified.");
    db.RemoveParams();
    boxes.clear();
    db.BindStringParam("@last", "Only");
    EXPECT_EQ(db.RunStoredProcedure("uspAddSubject"), 0);
    EXPECT_EQ(lastProviderError().number, 201);
    EXPECT_EQ(lastProviderError().message,
              "Procedure or function 'uspAddSubject' expects parameter '@first', which was not supplied.");
}

TEST_F(Procedures, BodyRunsAllOrNothing)
{
    addSubject("First", "Row", "1/1/2000"); // takes subject id 1
    db.BindStringParam("@last", "Halfway");
    EXPECT_EQ(db.RunStoredProcedure("uspFailHalfway"), 0);
    EXPECT_EQ(lastProviderError().number, 2627);
    db.RemoveParams();
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname = 'Halfway'"), "0");
}

TEST_F(Procedures, ReachOtherDatabasesByThreePartNames)
{
    ASSERT_EQ(db.RunTextQuery("insert into CID.dbo.patient(PatientId, Lastname, Firstname, Dob, Unit) "
                              "values (5, 'Implant', 'Ivy', '9/9/1999', '1234')"),
              1);
    ASSERT_EQ(db.RunStoredProcedure("uspCountPatients"), 1);
    EXPECT_EQ(db.GetIntField("num"), 1);
    db.BindIntParam("@id", 5);
    ASSERT_EQ(db.RunStoredProcedure("dbo.uspCopyPatient"), 1);
    db.RemoveParams();
    EXPECT_EQ(scalar(db, "select convert(char, birthdate, 101) as v from subjects where lastname = 'Implant'"), "09/09/1999");
    // From a session on another database the body's unqualified names would read that
    // database's tables: the call is refused, never run on the wrong ones.
    MyADO cid;
    connect(cid, server, kAdmin, kAdminPassword, "CID");
    EXPECT_EQ(cid.RunStoredProcedure("Quorin.dbo.uspCountPatients"), 0);
    ASSERT_FALSE(boxes.provider().empty());
    EXPECT_EQ(boxes.provider().back().message, "The embedded engine runs the procedure uspCountPatients of database "
                                                "Quorin only from a session connected to Quorin.");
}

TEST_F(Procedures, BodyMovesALoginBetweenRoles)
{
    MyADO staff;
    connect(staff, server, "norole", kStaffPassword);
    EXPECT_EQ(staff.RunTextQuery("select count(*) as num from subjects"), 0);
    db.BindStringParam("@user", "norole");
    db.BindIntParam("@status", 0);
    ASSERT_EQ(db.RunStoredProcedure("uspUpdateAccount"), 1);
    EXPECT_EQ(scalar(db, "select role as v from sys_role_members where member = 'norole'"), "QuorinUser");
    MyADO later;
    connect(later, server, "norole", kStaffPassword);
    EXPECT_EQ(scalar(later, "select count(*) as v from subjects"), "0");
}

TEST_F(Procedures, ExecWithLiteralArguments)
{
    ASSERT_EQ(db.RunTextQuery("EXEC uspAddSubject 'Exec', 'Literal', '3/3/2003', 1"), 1);
    EXPECT_EQ(db.GetIntField("subjectid"), 1);
    ASSERT_EQ(db.RunTextQuery("exec uspLoadSubjectbyId @id = 1"), 1);
    EXPECT_EQ(db.GetStringField("birth"), "03/03/2003");
}

} // namespace
