#pragma once
// Quoting names and texts into SQLite statement text, and binding values to statements.

#include "dalport/Value.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace dalport::embedded {

inline std::string quoteName(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

inline std::string quoteString(std::string_view text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    return out + "'";
}

inline void bindValue(sqlite3_stmt* stmt, int index, const Value& v)
{
    switch (v.kind) {
    case Value::Kind::Null: sqlite3_bind_null(stmt, index); break;
    case Value::Kind::Int: sqlite3_bind_int64(stmt, index, v.i); break;
    case Value::Kind::Double: sqlite3_bind_double(stmt, index, v.d); break;
    case Value::Kind::Text:
    case Value::Kind::DateTime:
        sqlite3_bind_text(stmt, index, v.s.c_str(), static_cast<int>(v.s.size()), SQLITE_TRANSIENT);
        break;
    }
}

} // namespace dalport::embedded
