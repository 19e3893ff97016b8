// What the procedures do where the program leaves their meaning to the registry.
#include "database/RegistryFixture.h"

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

class ProcedureBehaviour : public RegistryTest {
protected:
    int rowsOf(const char* procedure)
    {
        int rows = 0;
        if (m_db.RunStoredProcedure(procedure))
            for (; !m_db.IsEOF(); m_db.MoveNext())
                ++rows;
        m_db.RemoveParams();
        return rows;
    }
};

// "none" for IRB and dataset loads every row of the subject; the update writes one row and stamps the date.
TEST_F(ProcedureBehaviour, FeedbackWithNoneGivesEveryRowOfTheSubjectAndTheUpdateStampsTheDate)
{
    const int subject = queryInt("select top 1 SubjectId as num from participationhistory order by ParticId");
    const std::string irb = queryText("select top 1 irb as v from participationhistory order by ParticId", "v");
    const std::string dataset = queryText("select top 1 dataset as v from participationhistory order by ParticId", "v");
    const int rows = queryInt("select count(*) as num from participationhistory where SubjectId = " + std::to_string(subject));
    const auto bind = [&](const std::string& i, const std::string& d) {
        m_db.BindIntParam("@SubjectId", subject);
        m_db.BindStringParam("@Irb", i);
        m_db.BindStringParam("@Dataset", d);
    };
    bind("none", "none");
    EXPECT_EQ(rowsOf("uspLoadFeedback"), rows);
    bind(irb, dataset);
    EXPECT_EQ(rowsOf("uspLoadFeedback"), 1);
    bind(irb, dataset);
    m_db.BindIntParam("@Contact", 3);
    m_db.BindStringParam("@ExContact", "No answer");
    m_db.BindIntParam("@Participated", 1);
    m_db.BindStringParam("@ExParticipated", "Moved away");
    m_db.BindStringParam("@Date1", "5/1/2026");
    m_db.BindStringParam("@Date2", "");
    for (const char* p : {"@Show", "@Appts", "@Completed", "@Call"})
        m_db.BindIntParam(p, -1);
    m_db.BindStringParam("@Lab", "CCD");
    m_db.BindIntParam("@Done", 0);
    m_db.BindIntParam("@Sessions", 2);
    m_db.BindStringParam("@Comments", "Called twice");
    ASSERT_EQ(m_db.RunStoredProcedure("uspUpdateFeedback"), 1) << errorText();
    m_db.RemoveParams();
    bind(irb, dataset);
    ASSERT_EQ(m_db.RunStoredProcedure("uspLoadFeedback"), 1);
    EXPECT_EQ(m_db.GetIntField("Contacted"), 3);
    EXPECT_EQ(m_db.GetStringField("ExPartic"), "Moved away");
    EXPECT_EQ(m_db.GetStringField("Date1"), "05/01/2026");
    EXPECT_EQ(m_db.GetStringField("Date2"), "");
    EXPECT_EQ(m_db.GetStringField("FDate"), "06/15/2026");
    EXPECT_EQ(m_db.GetIntField("Sessions"), 2);
    m_db.RemoveParams();
}

TEST_F(ProcedureBehaviour, RecruitmentMethodIsKeptOnceWhateverItsCase)
{
    const int before = queryInt("select count(*) as num from recruitment");
    for (const char* method : {"Radio Spot", "RADIO SPOT ", ""}) {
        m_db.BindStringParam("@method", method);
        EXPECT_EQ(m_db.RunStoredProcedure("uspWriteRecruitMethod"), 1) << errorText();
        m_db.RemoveParams();
    }
    EXPECT_EQ(queryInt("select count(*) as num from recruitment"), before + 1);
    m_db.BindStringParam("@method", "radio spot");
    EXPECT_EQ(m_db.RunStoredProcedure("uspDeleteRecruitMethod"), 1);
    m_db.RemoveParams();
    EXPECT_EQ(queryInt("select count(*) as num from recruitment"), before);
}

TEST_F(ProcedureBehaviour, CheckSubjectFindsByUnitOrNameInitialAndBirth)
{
    const std::string unit = queryText("select Unit as v from subjects where SubjectId = 1", "v");
    const std::string last = queryText("select Lastname as v from subjects where SubjectId = 1", "v");
    const std::string first = queryText("select Firstname as v from subjects where SubjectId = 1", "v");
    const std::string birth = queryText("select CONVERT(char(10), Birthdate, 101) as v from subjects where SubjectId = 1", "v");
    const auto check = [&](int u, const std::string& l, const std::string& f, const std::string& b) {
        m_db.BindIntParam("@unit", u);
        m_db.BindStringParam("@lastname", l);
        m_db.BindStringParam("@firstname", f);
        m_db.BindStringParam("@birth", b);
        EXPECT_EQ(m_db.RunStoredProcedure("uspCheckSubject"), 1);
        const int found = m_db.IsEOF() ? -1 : m_db.GetIntField("unit");
        m_db.RemoveParams();
        return found;
    };
    EXPECT_EQ(check(std::stoi(unit), "", "", ""), std::stoi(unit));
    EXPECT_EQ(check(0, last, first.substr(0, 1), birth), std::stoi(unit));
    EXPECT_EQ(check(0, last, first.substr(0, 1), "1/1/1901"), -1);
}

} // namespace
} // namespace quorin::test
