#include "subjects/record/CSubject.h"
#include "subjects/record/CSubjectLink.h"

#include "app/DocumentFixture.h"

#include <gtest/gtest.h>

TEST(SubjectRecord, ClearRestoresEveryDefault)
{
    CSubject s = quorin::test::DistinctSubject();
    s.Modified = 1;
    s.AudiogramClean = 0;
    s.SubjectID = 12;
    s.Clear();
    EXPECT_EQ(s.SubjectID, -1);
    EXPECT_EQ(s.Status, -1);
    EXPECT_EQ(s.AudiogramClean, 1);
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(s.Longterm + s.Shortterm + s.Workday + s.Evenings + s.Weekends + s.Other, 0);
    EXPECT_TRUE(s.Lastname.isEmpty());
    EXPECT_TRUE(s.Unit.isEmpty());
    EXPECT_TRUE(s.PastSpeech.isEmpty());
}

TEST(SubjectRecord, LinkDefaults)
{
    CSubjectLink l;
    EXPECT_EQ(l.SubjectId, -1);
    EXPECT_EQ(l.PatientId, -1);
    EXPECT_TRUE(l.Unit.isEmpty());
}
