#include "dalport/embedded/ExpressionText.h"

#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/SqlQuoting.h"

#include <cmath>
#include <cstdio>
#include <set>

namespace dalport::embedded {

std::string dateLiteral(const std::string& text) { return quoteString(canonicalText(dateFromText(text))); }

std::string typedLiteral(const std::string& text, ColumnType type)
{
    const std::size_t b = text.find_first_not_of(' ');
    const std::string core = b == std::string::npos ? std::string() : text.substr(b, text.find_last_not_of(' ') - b + 1);
    switch (type) {
    case ColumnType::Date: return dateLiteral(text);
    case ColumnType::Integer: {
        if (core.empty())
            return "0";
        const std::size_t digits = (core[0] == '-' || core[0] == '+') ? 1 : 0;
        if (digits >= core.size() || core.find_first_not_of("0123456789", digits) != std::string::npos
            || core.size() > 11)
            throw errors::intConversion(text);
        const long long v = std::stoll(core);
        if (v > 2147483647LL || v < -2147483648LL)
            throw errors::intConversion(text);
        return std::to_string(v);
    }
    case ColumnType::Float: {
        if (core.empty())
            return "0.0";
        try {
            std::size_t used = 0;
            const double v = std::stod(core, &used);
            if (used == core.size() && std::isfinite(v)) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%.17g", v);
                std::string out = buf;
                if (out.find_first_of(".eEn") == std::string::npos)
                    out += ".0";
                return out;
            }
        } catch (const std::exception&) {
        }
        throw errors::floatConversion();
    }
    case ColumnType::Text: break;
    }
    return quoteString(text) + " COLLATE TSQL";
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
