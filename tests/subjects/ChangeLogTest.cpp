// A save through the program writes the change history: the new subject as one row, then
// exactly the columns it changed with their old and new values, under the staff login.

#include "app/DocumentFixture.h"

#include "support/RawRegistry.h"

using quorin::test::DocumentTest;
using quorin::test::RawRegistry;

namespace {

constexpr const char* kLog = "select ChangeKind, TableName, ColumnName, OldValue, NewValue, ChangedBy from changelog "
                             "where TableName = 'subjects' order by ChangeId";

TEST_F(DocumentTest, ASubjectSaveLogsItsInsertThenOnlyTheColumnsThatChanged)
{
    doc->m_subject = quorin::test::DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    const RawRegistry log(registry.Folder());
    EXPECT_EQ(log.dump(kLog), "insert|subjects|<null>|<null>|<null>|staff|\n");

    ASSERT_EQ(doc->SaveSubject(), 1); // nothing changed: nothing more is written
    EXPECT_EQ(log.number("select count(*) from changelog"), 1);

    doc->m_subject.Lastname = "Lee-Morgan";
    doc->m_subject.Birth = "04/10/1987";
    doc->m_subject.Address = "";
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(log.dump(kLog + std::string(" limit -1 offset 1")),
              "update|subjects|Lastname|Lee|Lee-Morgan|staff|\n"
              "update|subjects|Birthdate|1987-04-09T00:00:00.000|1987-04-10T00:00:00.000|staff|\n"
              "update|subjects|Address|12 Elm Street||staff|\n");
    EXPECT_EQ(log.number("select count(*) from changelog where SubjectId = " + std::to_string(doc->m_subject.SubjectID)),
              4);
}

} // namespace
