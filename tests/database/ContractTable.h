#pragma once
// The one table of procedures (parameters in binding order, columns the program reads)
// that both the embedded procedures and the SQL Server script must honour, and readers
// for the procedure headers of both.

#include <string>
#include <vector>

namespace quorin::test {

struct ContractParameter {
    std::string name; // without the at-sign
    std::string type; // "int", "float" or "text"
    bool atSign = true; // bound as "@name" (one procedure's parameter goes without)
};

struct ContractProcedure {
    std::string name;
    std::vector<ContractParameter> parameters;
    std::vector<std::string> columns;
};

// database/contract.tsv, as the source tree holds it.
std::vector<ContractProcedure> loadContract();

// A procedure as a script declares it: parameter names and their kind as the program
// binds them (varchar, char, text and datetime are all bound as text).
struct DeclaredProcedure {
    std::string name;
    std::vector<ContractParameter> parameters;
    std::vector<std::string> declaredTypes; // the type words as written, e.g. "datetime"
    std::string body;
};

// Every "CREATE PROCEDURE" of a script text (one file of the embedded engine, or the
// SQL Server script with many).
std::vector<DeclaredProcedure> parseProcedures(const std::string& script);

std::string readSourceFile(const std::string& pathBelowDatabaseFolder);
std::string lowerCase(std::string text);

} // namespace quorin::test
