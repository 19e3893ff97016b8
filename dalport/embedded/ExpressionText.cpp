#include "dalport/embedded/ExpressionText.h"

#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/ValueConversion.h"

#include <cstdio>
#include <set>

namespace dalport::embedded {

std::string dateLiteral(const std::string& text) { return quoteString(canonicalText(dateFromText(text))); }

std::string typedLiteral(const std::string& text, ColumnType type)
{
    switch (type) {
    case ColumnType::Date: return dateLiteral(text);
    case ColumnType::Integer: return std::to_string(intFromText(text));
    case ColumnType::Float: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", floatFromText(text));
        std::string out = buf;
        if (out.find_first_of(".eEn") == std::string::npos)
            out += ".0";
        return out;
    }
    case ColumnType::Text: break;
    }
    return quoteString(text) + " COLLATE TSQL";
}

std::string storedValueText(const std::string& value, const ColumnInfo& column, const std::string& table)
{
    const StoredType type = storedTypeOf(column.declared);
    const int length = declaredLength(column.declared);
    if (type == StoredType::Text && length < 0)
        return value;
    return "tsql_store(" + value + ", " + std::to_string(static_cast<int>(type)) + ", " + std::to_string(length) + ", "
        + quoteString(table) + ", " + quoteString(column.name) + ")";
}

std::string conversionText(const std::string& type, const std::string& spelled, int length, const std::string& expr,
                           std::optional<int> style)
{
    const bool isChar = type == "char" || type == "nchar";
    const bool isVarchar = type == "varchar" || type == "nvarchar";
    if (isChar || isVarchar) {
        // char and varchar without a length are 30 characters long in CONVERT and CAST.
        const int n = length < 0 ? 30 : length;
        const std::string pad = isChar ? "1" : "0";
        if (style && *style == 101)
            return "convert101(" + expr + ", " + std::to_string(n) + ", " + pad + ")";
        const int s = style.value_or(0);
        static const std::set<int> known{0, 100, 1, 101, 3, 103, 12, 112, 20, 120, 21, 121, 23};
        if (!known.count(s))
            throw EngineError{281, 16, 1, std::to_string(s) + " is not a valid style number when converting from "
                                                             "datetime to a character string."};
        return "tsql_convert(" + expr + ", " + std::to_string(n) + ", " + pad + ", " + std::to_string(s) + ")";
    }
    if (type == "int" || type == "integer" || type == "bigint" || type == "smallint" || type == "tinyint")
        return "toint(" + expr + ")";
    if (type == "float" || type == "real" || type == "decimal" || type == "numeric" || type == "money")
        return "tofloat(" + expr + ")";
    if (type == "datetime" || type == "smalldatetime" || type == "datetime2")
        return "todate(" + expr + ")";
    if (type == "date")
        return "(substr(todate(" + expr + "), 1, 10) || ' 00:00:00.000')";
    throw EngineError{243, 16, 1, "Type " + spelled + " is not a defined system type."};
}

} // namespace dalport::embedded
