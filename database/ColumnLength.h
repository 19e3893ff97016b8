#pragma once
// The length of a registry text column, from the table generated out of the schema
// script at build time (generated/database/SchemaTextColumns.h).

#include "database/SchemaTextColumns.h"

#include <string_view>

namespace quorin::schema {

// Names compare as SQL Server compares them: case-insensitive.
constexpr bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] - 'A' + 'a') : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] - 'A' + 'a') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

// The column's length in characters; 0 for a column without one (varchar(max), a
// number) or one the schema lacks.
constexpr int FindColumnLength(std::string_view table, std::string_view column)
{
    for (const TextColumn& c : kTextColumns)
        if (SameName(c.table, table) && SameName(c.column, column))
            return c.length;
    return 0;
}

// The same where the column must have a length: a misspelt or unlimited column is a
// compile error, so no field is left without its limit by a typing slip.
consteval int ColumnLength(std::string_view table, std::string_view column)
{
    const int length = FindColumnLength(table, column);
    if (length <= 0)
        throw "not a registry text column with a length";
    return length;
}

} // namespace quorin::schema
