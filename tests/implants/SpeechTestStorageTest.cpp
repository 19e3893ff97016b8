// Speech, language and literacy tests through the real procedures.

#include "app/DocumentFixture.h"
#include "implants/store/SpeechTestEditing.h"

#include <set>

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

CSpeechTest Distinct(const char* name, int tempId)
{
    return {.TestId = tempId, .TestName = name, .TestDate = "03/15/2008", .AgeAtTest = "5yrs 0mos",
            .TestedBy = "slp", .Lab = "Psychoacoustics Lab", .Screening = "Pass", .RawScore = "41",
            .StandardScore = "102", .AgeEquivalent = 55, .Percentile = "55th", .SD = "0.3", .Other = "other",
            .Comments = "it's fine"};
}

QStringList Fields(const CSpeechTest& t)
{
    return {t.TestName, t.TestDate,  t.AgeAtTest, t.TestedBy, t.Lab,   t.Screening, t.RawScore,
            t.StandardScore, QString::number(t.AgeEquivalent), t.Percentile, t.SD, t.Other, t.Comments};
}

} // namespace

TEST_F(DocumentTest, NewSpeechTestsGetStoredIdsLoadBackEqualAndAreStoredAllOrNone)
{
    doc->m_subject = DistinctSubject();
    doc->m_speechTestList = {Distinct("CELF", -100), Distinct("PPVT-III", -99)};
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_EQ(doc->m_speechTestList.size(), 2u);
    EXPECT_GE(doc->m_speechTestList[0].TestId, 1);
    EXPECT_GE(doc->m_speechTestList[1].TestId, 1);

    ASSERT_NE(doc->LoadSubjectById(doc->m_subject.SubjectID), 0);
    ASSERT_EQ(doc->m_speechTestList.size(), 2u);
    EXPECT_EQ(Fields(doc->m_speechTestList[0]), Fields(Distinct("CELF", 0)));

    // A stored test is updated, not added again.
    doc->m_speechTestList[0].Comments = "changed";
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from speech"), 2);
    EXPECT_EQ(Scalar("Quorin", "select comments from speech where testname = 'CELF'", "comments"), "changed");

    // One test the registry refuses fails them all: nothing stored, every row kept as typed.
    registry.ExecRaw("Quorin", "create trigger refuse_test before insert on speech "
                               "when new.TestName = 'GFTA' begin select raise(abort, 'refused'); end");
    doc->m_speechTestList[0].Comments = "not stored";
    doc->m_speechTestList.push_back(Distinct("GFTA", -98));
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    ASSERT_EQ(doc->m_speechTestList.size(), 3u);
    EXPECT_EQ(doc->m_speechTestList[0].Comments, "not stored");
    EXPECT_EQ(Count("Quorin", "select count(*) as num from speech"), 2);
    EXPECT_EQ(Scalar("Quorin", "select comments from speech where testname = 'CELF'", "comments"), "changed");
}

TEST_F(DocumentTest, MoreThanAHundredNewTestsNeverTakeAStoredIdOfAnotherSubject)
{
    doc->m_subject = DistinctSubject();
    doc->m_speechTestList = {Distinct("Rosetti", -100)};
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_EQ(doc->m_speechTestList[0].TestId, 1);
    const int owner = doc->m_subject.SubjectID;

    doc->ClearDocument();
    doc->m_subject = DistinctSubject();
    doc->m_subject.Lastname = "OTHER";
    doc->m_subject.Firstname = "ANOTHER";
    doc->m_subject.Unit = "990077";
    const quorin::SpeechTestEditor typing = [](CSpeechTest& t) {
        t.TestName = QStringLiteral("CASL");
        return true;
    };
    for (int i = 0; i < 102; ++i)
        ASSERT_TRUE(quorin::AddSpeechTest(*doc, typing));
    std::set<int> ids;
    for (const CSpeechTest& t : doc->m_speechTestList)
        ids.insert(t.TestId);
    EXPECT_EQ(ids.size(), 102u);
    EXPECT_LT(*ids.rbegin(), 1);
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from speech where SubjectId = %1")
                                  .arg(doc->m_subject.SubjectID)),
              102);
    EXPECT_EQ(Scalar("Quorin", "select SubjectId from speech where TestId = 1", "SubjectId").toInt(), owner);
}
