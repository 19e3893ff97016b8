#pragma once
// An error of the engine, numbered and worded as SQL Server numbers and words it.

#include <sqlite3.h>

#include <string>

namespace dalport::embedded {

struct EngineError {
    long number = 0;
    int level = 16;
    int state = 1;
    std::string message;
};

// SQL Server's own errors, one factory per number the engine raises.
namespace errors {
EngineError loginFailed(const std::string& login);                 // 18456
EngineError cannotOpenDatabase(const std::string& database);       // 4060
EngineError inTheMiddleOfARestore(const std::string& database);    // 927
EngineError serverNotFound();                                      // 17
EngineError permissionDenied(const std::string& action, const std::string& object,
                             const std::string& database);         // 229
EngineError noSecurityPermission();                                // 15247
EngineError procedureNotFound(const std::string& name);            // 2812
EngineError tooManyArguments(const std::string& procedure);        // 8144
EngineError parameterMissing(const std::string& procedure, const std::string& parameter); // 201
EngineError dateMalformed();                                       // 241
EngineError dateOutOfRange();                                      // 242
EngineError intConversion(const std::string& value);               // 245
EngineError floatConversion();                                     // 8114
EngineError syntaxNear(const std::string& token);                  // 102
EngineError syntaxAtEnd();                                         // 102, at the end of the text
EngineError nestedTooDeeply();                                     // 191
EngineError commitWithoutBegin();                                  // 3902
EngineError rollbackWithoutBegin();                                // 3903
EngineError principalExists(const std::string& name);              // 15025
EngineError userExists(const std::string& name);                   // 15023
EngineError notAValidLogin(const std::string& name);               // 15007
EngineError cannotDrop(const std::string& what, const std::string& name); // 15151
EngineError cannotAlterLogin(const std::string& name);             // 15151
EngineError roleNotFound(const std::string& name);                 // 15410 (user or role)
EngineError emptyPassword();                                       // 15116-like policy refusal
EngineError ddlDenied(const std::string& statement, const std::string& database); // 262
} // namespace errors

// SQLite functions report SQL Server errors through this text form, which
// fromSqlite() turns back into the numbered error.
std::string encodeForSqlite(const EngineError& e);

// The error of the last failing SQLite call on `db`, translated into SQL Server's
// number and wording where there is an equivalent.
EngineError fromSqlite(sqlite3* db, int rc);
EngineError fromSqliteMessage(const std::string& message, int rc);

} // namespace dalport::embedded
