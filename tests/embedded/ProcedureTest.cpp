// Stored procedures: positional binding, conversion to the declared types and SQL
// Server's procedure errors.

#include "TestServer.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

class Procedures : public ::testing::Test {
protected:
    void SetUp() override { connect(db, server, kAdmin, kAdminPassword); }

    // uspShortName's answer for a name bound to its char(5) parameter.
    std::string shortName(const char* name)
    {
        db.BindStringParam("@name", name);
        const std::string v = db.RunStoredProcedure("uspShortName") ? db.GetStringField("v") : "<failed>";
        db.RemoveParams();
        return v;
    }

    TestServer server;
    Boxes boxes;
    MyADO db;
};

TEST_F(Procedures, BindsByPositionWhateverTheNamesAndConvertsToTheDeclaredTypes)
{
    db.BindStringParam("@lastname", "Nguyen");  // declared @last
    db.BindStringParam("@firstName", "Minh");   // declared @first
    db.BindStringParam("@dob", "7/4/1976");     // declared @birth
    db.BindIntParam("@Status", 2);
    ASSERT_EQ(db.RunStoredProcedure("uspAddSubject"), 1);
    const int id = db.GetIntField("subjectid");
    db.RemoveParams();
    db.BindStringParam("@id", " " + std::to_string(id) + " "); // a number given as text converts
    ASSERT_EQ(db.RunStoredProcedure("uspLoadSubjectbyId"), 1);
    EXPECT_EQ(db.GetStringField("lastname"), "Nguyen");
    EXPECT_EQ(db.GetStringField("firstname"), "Minh");
    EXPECT_EQ(db.GetStringField("birth"), "07/04/1976");
    EXPECT_EQ(db.GetIntField("status"), 2);
    db.RemoveParams();
    EXPECT_TRUE(boxes.all.empty());
    // EXEC with literal arguments in the declared order, and with a named one; the empty
    // date is the first of January 1900.
    ASSERT_EQ(db.RunTextQuery("EXEC uspAddSubject 'Exec', 'Literal', '', 1"), 1);
    ASSERT_EQ(db.RunTextQuery(("exec uspLoadSubjectbyId @id = " + std::to_string(db.GetIntField("subjectid"))).c_str()), 1);
    EXPECT_EQ(db.GetIntField("status"), 1);
    EXPECT_EQ(scalar(db, "select convert(char, birthdate, 121) as v from subjects where lastname = 'Exec'"),
              "1900-01-01 00:00:00.000");
}

TEST_F(Procedures, ArgumentsThatDoNotConvertAndWrongCallsGetTheServersErrors)
{
    expectAnswers(db, boxes, {
        {"exec uspAddSubject 'Bad', 'Date', '2/30/2005'", "error 242"},
        {"exec uspAddSubject 'Bad', 'Date', 'yesterday'", "error 241"},
        {"exec uspLoadSubjectbyId '12x'",
         "error 245: Conversion failed when converting the varchar value '12x' to data type int."},
        {"exec uspNoSuchThing", "error 2812: Could not find stored procedure 'uspNoSuchThing'."},
        {"exec uspLoadSubjectbyId 1, 2",
         "error 8144: Procedure or function uspLoadSubjectbyId has too many arguments specified."},
        {"exec uspAddSubject 'Only'",
         "error 201: Procedure or function 'uspAddSubject' expects parameter '@first', which was not supplied."},
        {"select count(*) as v from subjects", "0"},
    });
}

TEST_F(Procedures, CharParametersArePaddedAndTruncated)
{
    EXPECT_EQ(shortName("ab"), "ab   |");
    EXPECT_EQ(shortName("abcdefgh"), "abcde|");
    // Lengths count characters: never cut inside one, padded by characters.
    EXPECT_EQ(shortName("aüüüüüüü"), "aüüüü|");
    EXPECT_EQ(shortName("ßé"), "ßé   |");
}

} // namespace
