// Column names read from a SELECT list, for backends that cannot name them.

#include "tools/quorin-sql/SelectListNames.h"

#include <gtest/gtest.h>

using quorin::tools::selectListNames;

TEST(SelectListNames, AliasesColumnsAndBrackets)
{
    EXPECT_EQ(selectListNames("select count(*) as num from subjects"), (std::vector<std::string>{"num"}));
    EXPECT_EQ(selectListNames("SELECT DISTINCT TOP 300 LastName AS Last, Info.[Date], CONVERT(char, BirthDate, 101) "
                              "AS Birth FROM Info"),
              (std::vector<std::string>{"Last", "Date", "Birth"}));
    EXPECT_EQ(selectListNames("select subjectid, 'a,b' x from t"), (std::vector<std::string>{"subjectid", "x"}));
    EXPECT_TRUE(selectListNames("select * from t").empty());
    EXPECT_TRUE(selectListNames("update t set a = 1").empty());
}
