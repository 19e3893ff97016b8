#pragma once
// Running the same texts through a session that keeps plans by statement shape and one
// that keeps them by exact text (QUORIN_PLAN_CACHE=off), and what each answered: rows,
// column names, counts and every box, so two answers compare as a whole.

#include "TestServer.h"
#include "support/WholeResultReader.h"

#include <string>
#include <vector>

namespace testing_embedded {

using WholeSession = WholeResultReader;

// Connects `session` with plans kept by exact text only.
void connectByExactText(MyADO& session, const std::string& folder, const char* login, const char* password,
                        const char* database = "Quorin");

// Everything a text's run showed: success, each result's columns, count and rows (typed
// values), and the boxes it raised.
std::vector<std::string> outcomeOf(WholeSession& session, Boxes& boxes, const std::string& text);

// The text with every literal changed: `variant` 1 and up pick other numbers and texts
// (longer, empty, a number, a date, a day that does not exist, ...).
std::string withOtherLiterals(const std::string& text, int variant);
inline constexpr int kLiteralVariants = 5;

} // namespace testing_embedded
