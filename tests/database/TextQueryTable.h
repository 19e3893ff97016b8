#pragma once
// The program's text queries, as it sends them, with the columns it reads from each.
// Values the program fills in appear as {unit}, {index}, {subject}, {cid}, {irb},
// {dataset}, {from}, {to}; the test puts demo values in their place.

#include <vector>

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

} // namespace quorin::test
