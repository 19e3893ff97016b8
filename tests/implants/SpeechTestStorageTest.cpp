// Speech, language and literacy tests through the real procedures.

#include "app/DocumentFixture.h"

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

CSpeechTest Distinct(const char* name, int tempId)
{
    CSpeechTest t;
    t.TestId = tempId;
    t.TestName = name;
    t.TestDate = "03/15/2008";
    t.AgeAtTest = "5yrs 0mos";
    t.TestedBy = "slp";
    t.Lab = "Psychoacoustics Lab";
    t.Screening = "Pass";
    t.RawScore = "41";
    t.StandardScore = "102";
    t.AgeEquivalent = 55;
    t.Percentile = "55th";
    t.SD = "0.3";
    t.Other = "other";
    t.Comments = "it's fine";
    return t;
}

} // namespace

TEST_F(DocumentTest, NewSpeechTestsGetStoredIdsAndLoadBackEqual)
{
    doc->m_subject = DistinctSubject();
    doc->m_speechTestList = {Distinct("CELF", -100), Distinct("PPVT-III", -99)};
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_EQ(doc->m_speechTestList.size(), 2u);
    EXPECT_GE(doc->m_speechTestList[0].TestId, 1);
    EXPECT_GE(doc->m_speechTestList[1].TestId, 1);

    ASSERT_NE(doc->LoadSubjectById(doc->m_subject.SubjectID), 0);
    ASSERT_EQ(doc->m_speechTestList.size(), 2u);
    const CSpeechTest typed = Distinct("CELF", 0);
    const CSpeechTest& t = doc->m_speechTestList[0];
    EXPECT_EQ(t.TestName, typed.TestName);
    EXPECT_EQ(t.TestDate, typed.TestDate);
    EXPECT_EQ(t.AgeAtTest, typed.AgeAtTest);
    EXPECT_EQ(t.TestedBy, typed.TestedBy);
    EXPECT_EQ(t.Lab, typed.Lab);
    EXPECT_EQ(t.Screening, typed.Screening);
    EXPECT_EQ(t.RawScore, typed.RawScore);
    EXPECT_EQ(t.StandardScore, typed.StandardScore);
    EXPECT_EQ(t.AgeEquivalent, typed.AgeEquivalent);
    EXPECT_EQ(t.Percentile, typed.Percentile);
    EXPECT_EQ(t.SD, typed.SD);
    EXPECT_EQ(t.Other, typed.Other);
    EXPECT_EQ(t.Comments, typed.Comments);

    // A stored test is updated, not added again.
    doc->m_speechTestList[0].Comments = "changed";
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from speech"), 2);
    EXPECT_EQ(Scalar("Quorin", "select comments from speech where testname = 'CELF'", "comments"), "changed");
}

TEST_F(DocumentTest, AFailedSpeechTestWriteKeepsTheTypedTestsAndTheFlag)
{
    doc->m_subject = DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    registry.ExecRaw("Quorin", "create trigger refuse_test before insert on speech "
                               "when new.TestName = 'GFTA' begin select raise(abort, 'refused'); end");
    doc->m_subject.Modified = 1;
    doc->m_speechTestList = {Distinct("CELF", -100), Distinct("GFTA", -99)};
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(doc->m_subject.Modified, 1);
    ASSERT_EQ(doc->m_speechTestList.size(), 2u);
    EXPECT_EQ(doc->m_speechTestList[1].TestName, "GFTA");
    // All or nothing: the next save cannot store CELF twice.
    EXPECT_EQ(Count("Quorin", "select count(*) as num from speech"), 0);
}
