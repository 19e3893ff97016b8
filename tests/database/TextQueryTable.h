#pragma once
// The program's text queries, as it sends them, with the columns it reads from each.
// Values the program fills in appear as {unit}, {index}, {subject}, {cid}, {irb},
// {dataset}, {from}, {to}; the test puts demo values in their place.
// The plan test runs every entry too: a report or import built later adds its queries
// here, and its paths are kept off full scans from then on.

#include <map>
#include <string>
#include <vector>

class MyADO;

namespace quorin::test {

struct TextQuery {
    const char* database; // "Quorin", "Aud" or "CID"
    const char* sql;
    const char* columns;  // comma-separated; "" for statements without rows
};

// Queries that only read.
const std::vector<TextQuery>& readingQueries();
// Statements that change data, in the order a session may send them.
const std::vector<TextQuery>& changingStatements();

// Demo values for the placeholders, read from a demo registry through sessions to its
// three databases; a placeholder the registry cannot fill is left out.
std::map<std::string, std::string> textQueryValues(MyADO& quorin, MyADO& aud, MyADO& cid);
// The query with every placeholder replaced by its value.
std::string fillQuery(std::string sql, const std::map<std::string, std::string>& values);

} // namespace quorin::test
