// A subject written with the save's parameters reads back unchanged through the loads:
// texts as given, numbers as numbers, dates as MM/DD/YYYY.
#include "database/RegistryFixture.h"

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

struct Field {
    const char* parameter;
    bool isInt;
    const char* value;    // as bound
    const char* column;   // the column the load reads it from ("" when none does)
    const char* expected; // as read back
};

// The save's 45 parameters in binding order (the six availability flags are item 28).
const Field kSubject[] = {
    {"@last", false, "O'BRIEN", "Lastname", "O'BRIEN"},
    {"@first", false, "FIONA", "Firstname", "FIONA"},
    {"@unit", true, "123457", "unit", "123457"},
    {"@birth", false, "3/7/2009", "Birth", "03/07/2009"},
    {"@sex", false, "Female", "Sex", "Female"},
    {"@ethnicity", false, "Not Hispanic or Latino", "Ethnicity", "Not Hispanic or Latino"},
    {"@race", false, "White", "Race", "White"},
    {"@address", false, "12 Oak Ave", "Address", "12 Oak Ave"},
    {"@city", false, "Madison", "City", "Madison"},
    {"@state", false, "WI", "state", "WI"},
    {"@zip", true, "53705", "zip", "53705"},
    {"@phone1", false, "608-555-0101", "Phone1", "608-555-0101"},
    {"@phone1type", false, "Home", "Phone1Type", "Home"},
    {"@phone2", false, "608-555-0102", "Phone2", "608-555-0102"},
    {"@phone2type", false, "Cell", "Phone2Type", "Cell"},
    {"@email", false, "fiona@example.org", "Email", "fiona@example.org"},
    {"@primarylang", false, "Spanish", "PrimaryLang", "Spanish"},
    {"@patImpress", false, "Hearing Impaired", "PatImpression", "Hearing Impaired"},
    {"@DateofEntry", false, "1/15/2010", "DateEntry", "01/15/2010"},
    {"@LastUpdate", false, "12/1/2010", "DateUpdate", "12/01/2010"},
    {"@Enteredby", false, "jsmith", "EnteredBy", "jsmith"},
    {"@status", true, "2", "Status", "2"},
    {"@InitialDate", false, "01/15/2010", "DateInitial", "01/15/2010"},
    {"@LastDate", false, "6/30/2010", "DateLast", "06/30/2010"},
    {"@Notes", false, "Needs an interpreter.", "Notes", "Needs an interpreter."},
    {"@zone", true, "4", "", ""},
    {"@longterm", true, "1", "Longterm", "1"},
    {"@shortterm", true, "0", "Shortterm", "0"},
    {"@workday", true, "1", "Workday", "1"},
    {"@Evenings", true, "0", "Evenings", "0"},
    {"@weekends", true, "1", "Weekends", "1"},
    {"@other", true, "0", "Other", "0"},
    {"@recruitment", false, "Flyer", "Recruitment", "Flyer"},
    {"@screening", false, "Hearing Impaired", "ScreeningImpr", "Hearing Impaired"},
    {"@parent", false, "MARY O'BRIEN", "Parent", "MARY O'BRIEN"},
    {"@contact", false, "U.S. Mail", "Contact", "U.S. Mail"},
    {"@sent", false, "2/1/2010", "dSent", "02/01/2010"},
    {"@returned", false, "01/01/1901", "dReturned", "01/01/1901"},
    {"@bilingual", false, "Yes", "Bilingual", "Yes"},
    {"@losstype", false, "Bilateral", "LossType", "Bilateral"},
    {"@cochlear", false, "Sequential", "Cochlear", "Sequential"},
    {"@school", false, "Home Schooled", "School", "Home Schooled"},
    {"@pastspeech", false, "No", "PastSpeech", "No"},
    {"@currentspeech", false, "Unknown", "CurrentSpeech", "Unknown"},
    {"@cochlearyesno", false, "No", "CochlearImplant", "No"},
};
static_assert(std::size(kSubject) == 45);

class SubjectRoundTrip : public BareRegistryTest {
protected:
    void bindSubject(const Field* fields, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            if (fields[i].isInt)
                m_db.BindIntParam(fields[i].parameter, std::stoi(fields[i].value));
            else
                m_db.BindStringParam(fields[i].parameter, fields[i].value);
        }
    }

    int newSubjectId(const char* last, const char* first, const char* birth, int unit)
    {
        m_db.BindStringParam("@last", last);
        m_db.BindStringParam("@first", first);
        m_db.BindStringParam("@birth", birth);
        m_db.BindIntParam("@unit", unit);
        int id = -1;
        if (m_db.RunStoredProcedure("uspGetNewSubjectId") && !m_db.IsEOF())
            id = m_db.GetIntField("SubjectId");
        m_db.RemoveParams();
        return id;
    }

    void expectLoaded(int id, const Field* fields, std::size_t count)
    {
        m_db.BindIntParam("@id", id);
        ASSERT_EQ(m_db.RunStoredProcedure("uspLoadSubjectbyId"), 1) << errorText();
        ASSERT_FALSE(m_db.IsEOF());
        EXPECT_EQ(m_db.GetIntField("SubjectID"), id);
        for (std::size_t i = 0; i < count; ++i) {
            const Field& f = fields[i];
            if (*f.column == '\0')
                continue;
            if (f.isInt)
                EXPECT_EQ(m_db.GetIntField(f.column), std::stoi(f.expected)) << f.column;
            else
                EXPECT_EQ(m_db.GetStringField(f.column), f.expected) << f.column;
        }
        m_db.RemoveParams();
    }
};

TEST_F(SubjectRoundTrip, NewSubjectReadsBackEveryValue)
{
    bindSubject(kSubject, std::size(kSubject));
    ASSERT_EQ(m_db.RunStoredProcedure("uspWriteNewSubject"), 1) << errorText();
    m_db.RemoveParams();
    const int id = newSubjectId("O'BRIEN", "FIONA", "3/7/2009", 123457);
    ASSERT_GT(id, 0);
    expectLoaded(id, kSubject, std::size(kSubject));
    EXPECT_EQ(queryInt("select Zone as num from subjects where SubjectId = " + std::to_string(id)), 4);
    EXPECT_TRUE(errors().empty()) << errorText();
}

TEST_F(SubjectRoundTrip, AgeIsWholeMonthsAtTheClocksToday)
{
    bindSubject(kSubject, std::size(kSubject));
    ASSERT_EQ(m_db.RunStoredProcedure("uspWriteNewSubject"), 1);
    m_db.RemoveParams();
    m_db.BindIntParam("@id", newSubjectId("O'BRIEN", "FIONA", "3/7/2009", 123457));
    ASSERT_EQ(m_db.RunStoredProcedure("uspLoadSubjectbyId"), 1);
    // Born 7 March 2009, today 15 June 2026: 17 years 3 months.
    EXPECT_EQ(m_db.GetIntField("age"), 17 * 12 + 3);
}

TEST_F(SubjectRoundTrip, UpdateTakesTheIdFirstAndRewritesEveryValue)
{
    bindSubject(kSubject, std::size(kSubject));
    ASSERT_EQ(m_db.RunStoredProcedure("uspWriteNewSubject"), 1);
    m_db.RemoveParams();
    const int id = newSubjectId("O'BRIEN", "FIONA", "3/7/2009", 123457);

    Field changed[std::size(kSubject)];
    std::copy(std::begin(kSubject), std::end(kSubject), changed);
    changed[4] = {"@sex", false, "Not Reported", "Sex", "Not Reported"};
    changed[21] = {"@status", true, "1", "Status", "1"};
    changed[36] = {"@sent", false, "", "dSent", ""};
    changed[37] = {"@returned", false, "", "dReturned", ""};
    changed[10] = {"@zip", true, "0", "zip", "0"};
    m_db.BindIntParam("@id", id);
    bindSubject(changed, std::size(changed));
    ASSERT_EQ(m_db.RunStoredProcedure("uspUpdateSubject"), 1) << errorText();
    m_db.RemoveParams();
    expectLoaded(id, changed, std::size(changed));
    EXPECT_EQ(queryInt("select count(*) as num from subjects"), 1);
}

TEST_F(SubjectRoundTrip, NewIdIsTheHighestOfIdenticalSubjects)
{
    for (int copy = 0; copy < 2; ++copy) {
        Field twin[std::size(kSubject)];
        std::copy(std::begin(kSubject), std::end(kSubject), twin);
        twin[2] = {"@unit", true, "0", "unit", "0"};
        bindSubject(twin, std::size(twin));
        ASSERT_EQ(m_db.RunStoredProcedure("uspWriteNewSubject"), 1);
        m_db.RemoveParams();
    }
    const int highest = queryInt("select max(SubjectId) as num from subjects");
    EXPECT_EQ(newSubjectId("o'brien", "fiona", "03/07/2009", 0), highest);
}

TEST_F(SubjectRoundTrip, LoadFindsByUnitOrByNameAndBirth)
{
    bindSubject(kSubject, std::size(kSubject));
    ASSERT_EQ(m_db.RunStoredProcedure("uspWriteNewSubject"), 1);
    m_db.RemoveParams();
    const auto load = [&](int unit, const char* last, const char* first, const char* birth) {
        m_db.BindIntParam("@unit", unit);
        m_db.BindStringParam("@last", last);
        m_db.BindStringParam("@first", first);
        m_db.BindStringParam("@birth", birth);
        EXPECT_EQ(m_db.RunStoredProcedure("uspLoadSubject"), 1);
        const std::string found = m_db.IsEOF() ? "" : m_db.GetStringField("Lastname");
        m_db.RemoveParams();
        return found;
    };
    EXPECT_EQ(load(123457, "", "", ""), "O'BRIEN");
    EXPECT_EQ(load(0, "o'brien", "fiona ", ""), "O'BRIEN");   // case and trailing blanks do not matter
    EXPECT_EQ(load(0, "O'BRIEN", "FIONA", "03/07/2009"), "O'BRIEN");
    EXPECT_EQ(load(0, "O'BRIEN", "FIONA", "03/08/2009"), "");   // another birth date
    EXPECT_EQ(load(999, "O'BRIEN", "FIONA", ""), "");           // a unit decides alone
}

TEST_F(SubjectRoundTrip, LookupMatchesBothPatternsSortedByName)
{
    const char* names[][2] = {{"SMITH", "JOHN"}, {"SMITHERS", "ANN"}, {"SMITH", "ANNA"}, {"JONES", "JOHN"}};
    for (const auto& name : names) {
        Field f[std::size(kSubject)];
        std::copy(std::begin(kSubject), std::end(kSubject), f);
        f[0].value = name[0];
        f[1].value = name[1];
        bindSubject(f, std::size(f));
        ASSERT_EQ(m_db.RunStoredProcedure("uspWriteNewSubject"), 1);
        m_db.RemoveParams();
    }
    m_db.BindStringParam("@last", "SMITH%");
    m_db.BindStringParam("@first", "%");
    ASSERT_EQ(m_db.RunStoredProcedure("uspLookup"), 1);
    std::vector<std::string> found;
    for (; !m_db.IsEOF(); m_db.MoveNext()) {
        found.push_back(m_db.GetStringField("Lastname") + ", " + m_db.GetStringField("Firstname"));
        EXPECT_EQ(m_db.GetStringField("age"), "03/07/2009");
        EXPECT_EQ(m_db.GetIntField("Unit"), 123457);
        EXPECT_GT(m_db.GetIntField("SubjectId"), 0);
    }
    EXPECT_EQ(found, (std::vector<std::string>{"SMITH, ANNA", "SMITH, JOHN", "SMITHERS, ANN"}));
}

} // namespace
} // namespace quorin::test
