#include "dalport/embedded/EngineError.h"

#include <cstdlib>
#include <optional>
#include <stdexcept>

namespace dalport::embedded {

namespace {

EngineError make(long number, int level, std::string message, int state = 1)
{
    return EngineError{number, level, state, std::move(message)};
}

constexpr const char* kMarker = "\x1fMSG ";

} // namespace

namespace errors {

EngineError loginFailed(const std::string& login)
{
    return make(18456, 14, "Login failed for user '" + login + "'.");
}

EngineError inTheMiddleOfARestore(const std::string& database)
{
    return make(927, 14, "Database '" + database + "' cannot be opened. It is in the middle of a restore.");
}

EngineError cannotOpenDatabase(const std::string& database)
{
    return make(4060, 11, "Cannot open database \"" + database + "\" requested by the login. The login failed.");
}

EngineError serverNotFound()
{
    return make(17, 16, "SQL Server does not exist or access denied.");
}

EngineError permissionDenied(const std::string& action, const std::string& object, const std::string& database)
{
    return make(229, 14, "The " + action + " permission was denied on the object '" + object + "', database '"
                             + database + "', schema 'dbo'.");
}

EngineError noSecurityPermission()
{
    return make(15247, 16, "User does not have permission to perform this action.");
}

EngineError procedureNotFound(const std::string& name)
{
    return make(2812, 16, "Could not find stored procedure '" + name + "'.", 62);
}

EngineError tooManyArguments(const std::string& procedure)
{
    return make(8144, 16, "Procedure or function " + procedure + " has too many arguments specified.", 2);
}

EngineError parameterMissing(const std::string& procedure, const std::string& parameter)
{
    return make(201, 16,
                "Procedure or function '" + procedure + "' expects parameter '" + parameter
                    + "', which was not supplied.",
                4);
}

EngineError dateMalformed()
{
    return make(241, 16, "Conversion failed when converting date and/or time from character string.");
}

EngineError dateOutOfRange()
{
    return make(242, 16,
                "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value.",
                3);
}

EngineError intConversion(const std::string& value)
{
    return make(245, 16, "Conversion failed when converting the varchar value '" + value + "' to data type int.");
}

EngineError floatConversion()
{
    return make(8114, 16, "Error converting data type varchar to float.", 5);
}

EngineError syntaxNear(const std::string& token)
{
    return make(102, 15, "Incorrect syntax near '" + token + "'.");
}

EngineError syntaxAtEnd()
{
    return make(102, 15, "Incorrect syntax near the end of the statement.");
}

EngineError nestedTooDeeply()
{
    return make(191, 15, "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up into "
                         "smaller queries.");
}

EngineError commitWithoutBegin()
{
    return make(3902, 16, "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION.");
}

EngineError rollbackWithoutBegin()
{
    return make(3903, 16, "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION.");
}

EngineError principalExists(const std::string& name)
{
    return make(15025, 16, "The server principal '" + name + "' already exists.");
}

EngineError userExists(const std::string& name)
{
    return make(15023, 16, "User, group, or role '" + name + "' already exists in the current database.");
}

EngineError notAValidLogin(const std::string& name)
{
    return make(15007, 16, "'" + name + "' is not a valid login or you do not have permission.");
}

EngineError cannotDrop(const std::string& what, const std::string& name)
{
    return make(15151, 16,
                "Cannot drop the " + what + " '" + name + "', because it does not exist or you do not have permission.");
}

EngineError cannotAlterLogin(const std::string& name)
{
    return make(15151, 16,
                "Cannot alter the login '" + name + "', because it does not exist or you do not have permission.");
}

EngineError roleNotFound(const std::string& name)
{
    return make(15410, 11, "User or role '" + name + "' does not exist in this database.");
}

EngineError emptyPassword()
{
    return make(15116, 16, "Password validation failed. The password does not meet the operating system policy "
                           "requirements because it is too short.");
}

EngineError ddlDenied(const std::string& statement, const std::string& database)
{
    return make(262, 14, statement + " permission denied in database '" + database + "'.");
}

} // namespace errors

std::string encodeForSqlite(const EngineError& e)
{
    return std::string(kMarker) + std::to_string(e.number) + " " + std::to_string(e.level) + " "
        + std::to_string(e.state) + " " + e.message;
}

EngineError fromSqlite(sqlite3* db, int rc)
{
    return fromSqliteMessage(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc), rc);
}

EngineError fromSqliteMessage(const std::string& message, int rc)
{
    const auto marker = message.find(kMarker);
    if (marker != std::string::npos) {
        try {
            EngineError e;
            std::size_t pos = marker + std::char_traits<char>::length(kMarker);
            std::size_t used = 0;
            e.number = std::stol(message.substr(pos), &used);
            pos += used + 1;
            e.level = std::stoi(message.substr(pos), &used);
            pos += used + 1;
            e.state = std::stoi(message.substr(pos), &used);
            pos += used + 1;
            e.message = pos < message.size() ? message.substr(pos) : "";
            return e;
        } catch (const std::exception&) {
            // Not one of ours after all: read it as SQLite's own message.
        }
    }
    // SQLite's wording of the failures SQL Server has its own numbers for.
    auto after = [&](const char* prefix) -> std::optional<std::string> {
        const auto at = message.find(prefix);
        if (at == std::string::npos)
            return std::nullopt;
        return message.substr(at + std::char_traits<char>::length(prefix));
    };
    auto unqualified = [](const std::string& name) {
        const auto dot = name.rfind('.');
        return dot == std::string::npos ? name : name.substr(dot + 1);
    };
    if (auto name = after("no such table: "))
        return EngineError{208, 16, 1, "Invalid object name '" + unqualified(*name) + "'."};
    if (auto name = after("no such column: "))
        return EngineError{207, 16, 1, "Invalid column name '" + unqualified(*name) + "'."};
    if (auto name = after("ambiguous column name: "))
        return EngineError{209, 16, 1, "Ambiguous column name '" + unqualified(*name) + "'."};
    if (auto name = after("no such function: "))
        return EngineError{195, 15, 10, "'" + *name + "' is not a recognized built-in function name."};
    if (auto near = after("near \"")) {
        const auto close = near->rfind("\": syntax error");
        if (close != std::string::npos)
            return errors::syntaxNear(near->substr(0, close));
    }
    if (message.find("incomplete input") != std::string::npos)
        return errors::syntaxAtEnd();
    // What SQLite cannot parse or hold of a statement the translator let through.
    if (message.find("parser stack overflow") != std::string::npos
        || message.find("Expression tree is too large") != std::string::npos)
        return errors::nestedTooDeeply();
    if (auto what = after("UNIQUE constraint failed: ")) {
        const std::string table = what->substr(0, what->find('.'));
        return EngineError{2627, 14, 1, "Violation of PRIMARY KEY constraint. Cannot insert duplicate key in object 'dbo."
                                            + table + "'."};
    }
    if (auto what = after("NOT NULL constraint failed: ")) {
        const auto dot = what->find('.');
        const std::string table = what->substr(0, dot);
        const std::string column = dot == std::string::npos ? *what : what->substr(dot + 1);
        return EngineError{515, 16, 2, "Cannot insert the value NULL into column '" + column + "', table '" + table
                                           + "'; column does not allow nulls. INSERT fails."};
    }
    if (message.find("FOREIGN KEY constraint failed") != std::string::npos)
        return EngineError{547, 16, 0, "The statement conflicted with a FOREIGN KEY constraint. The statement has been terminated."};
    if (auto what = after("CHECK constraint failed: "))
        return EngineError{547, 16, 0, "The statement conflicted with the CHECK constraint \"" + *what
                                           + "\". The statement has been terminated."};
    if (message.find("values were supplied") != std::string::npos)
        return EngineError{213, 16, 1, "Column name or number of supplied values does not match table definition."};
    if (auto what = after(" values for ")) {
        // "N values for M columns" of an INSERT with a column list.
        const long values = std::atol(message.c_str());
        const long columns = std::atol(what->c_str());
        if (values > columns)
            return EngineError{110, 15, 1, "There are fewer columns in the INSERT statement than values specified in "
                                           "the VALUES clause. The number of values in the VALUES clause must match "
                                           "the number of columns specified in the INSERT statement."};
        return EngineError{109, 15, 1, "There are more columns in the INSERT statement than values specified in the "
                                       "VALUES clause. The number of values in the VALUES clause must match the number "
                                       "of columns specified in the INSERT statement."};
    }
    if (message.find("database is locked") != std::string::npos)
        return EngineError{1222, 16, 56, "Lock request time out period exceeded."};
    // No counterpart on SQL Server: a sentence the user can act on, never the storage
    // library's own words.
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return EngineError{1222, 16, 56, "Lock request time out period exceeded."};
    case SQLITE_FULL:
        return EngineError{50000, 16, 1, "The disk that holds the registry is full. Free some space and run the "
                                         "statement again."};
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return EngineError{50000, 16, 1, "The registry's files cannot be written. Check that the registry folder "
                                         "and its files belong to you and may be written."};
    case SQLITE_IOERR:
        return EngineError{50000, 16, 1, "The registry's files could not be read or written. Check the disk and the "
                                         "registry folder, then run the statement again."};
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return EngineError{50000, 16, 1, "A file of the registry is damaged. Restore the registry from its latest "
                                         "backup."};
    case SQLITE_TOOBIG:
        return EngineError{8152, 16, 14, "String or binary data would be truncated."};
    case SQLITE_MISMATCH:
        return EngineError{50000, 16, 1, "A value does not have the type its place in the statement needs. Check "
                                         "the numbers in the statement."};
    case SQLITE_NOMEM:
        return EngineError{701, 19, 1, "There is insufficient system memory to run this query."};
    default: break;
    }
    return EngineError{50000, 16, 1, "The embedded engine could not carry out this statement. Check its names and "
                                     "values against the registry's tables."};
}

} // namespace dalport::embedded
