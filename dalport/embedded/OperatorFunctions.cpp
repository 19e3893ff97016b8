#include "dalport/embedded/OperatorFunctions.h"

#include "dalport/embedded/Collation.h"
#include "dalport/embedded/DateTime.h"
#include "dalport/embedded/EngineError.h"

#include <algorithm>
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/LikePattern.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <string>

namespace dalport::embedded {

namespace {

std::string textOf(sqlite3_value* v)
{
    const unsigned char* t = sqlite3_value_text(v);
    return t ? std::string(reinterpret_cast<const char*>(t), static_cast<std::size_t>(sqlite3_value_bytes(v)))
             : std::string();
}

void reportError(sqlite3_context* ctx, const EngineError& e)
{
    sqlite3_result_error(ctx, encodeForSqlite(e).c_str(), -1);
}

bool isNumber(int type) { return type == SQLITE_INTEGER || type == SQLITE_FLOAT; }

bool fitsInt(long long v) { return v >= INT_MIN && v <= INT_MAX; }

EngineError overflow(const char* type)
{
    return EngineError{8115, 16, 2, std::string("Arithmetic overflow error converting expression to data type ") + type
                                        + "."};
}

// varchar to int as SQL Server converts it: blanks around, '' is 0, a sign and digits.
long long textToInt(const std::string& text)
{
    const std::size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos)
        return 0;
    const std::string core = text.substr(b, text.find_last_not_of(' ') - b + 1);
    const std::size_t digits = (core[0] == '-' || core[0] == '+') ? 1 : 0;
    if (digits >= core.size() || core.find_first_not_of("0123456789", digits) != std::string::npos
        || core.size() > 11)
        throw errors::intConversion(text);
    const long long v = std::stoll(core);
    if (!fitsInt(v))
        throw errors::intConversion(text);
    return v;
}

double textToFloat(const std::string& text)
{
    if (text.find_first_not_of(' ') == std::string::npos)
        return 0.0;
    try {
        std::size_t used = 0;
        const double v = std::stod(text, &used);
        if (text.find_first_not_of(' ', used) == std::string::npos && std::isfinite(v))
            return v;
    } catch (const std::exception&) {
    }
    throw errors::floatConversion();
}

void resultDate(sqlite3_context* ctx, const DateTime& base, double days)
{
    // datetime spans about 3 million days; anything beyond cannot be a date.
    if (!std::isfinite(days) || std::fabs(days) > 4.0e6)
        throw overflow("datetime");
    const double whole = std::floor(days);
    DateTime t = fromDayNumber(dayNumber(base.year, base.month, base.day) + static_cast<std::int64_t>(whole));
    long long ms = ((base.hour * 60LL + base.minute) * 60 + base.second) * 1000 + base.millisecond
        + std::llround((days - whole) * 86400000.0);
    if (ms >= 86400000LL) {
        t = fromDayNumber(dayNumber(t.year, t.month, t.day) + 1);
        ms -= 86400000LL;
    }
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    if (t.year < 1753 || t.year > 9999)
        throw overflow("datetime");
    const std::string text = canonicalText(roundToTicks(t));
    sqlite3_result_text(ctx, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Numbers: a + sign * b with SQL Server's overflow rules (int when both fit an int).
void arithmetic(sqlite3_context* ctx, sqlite3_value* a, sqlite3_value* b, int sign)
{
    const int ta = sqlite3_value_type(a);
    const int tb = sqlite3_value_type(b);
    if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
        const long long x = sqlite3_value_int64(a);
        const long long y = sqlite3_value_int64(b);
        long long r = 0;
        const bool overflowed = sign > 0 ? __builtin_add_overflow(x, y, &r) : __builtin_sub_overflow(x, y, &r);
        if (fitsInt(x) && fitsInt(y) && (overflowed || !fitsInt(r)))
            throw overflow("int");
        if (overflowed)
            throw overflow("bigint");
        sqlite3_result_int64(ctx, r);
        return;
    }
    const double r = sqlite3_value_double(a) + sign * sqlite3_value_double(b);
    if (!std::isfinite(r))
        throw overflow("float");
    sqlite3_result_double(ctx, r);
}

// The text operand converted to the type of the number it meets.
void mixed(sqlite3_context* ctx, sqlite3_value* a, sqlite3_value* b, int sign, bool textFirst)
{
    sqlite3_value* text = textFirst ? a : b;
    sqlite3_value* number = textFirst ? b : a;
    const std::string s = textOf(text);
    if (hasStoredShape(s)) {
        // A datetime and a number of days.
        DateTime t;
        if (readDate(s, t) == DateReading::Ok) {
            if (!textFirst && sign < 0)
                throw EngineError{8117, 16, 1, "Operand data type datetime is invalid for subtract operator."};
            resultDate(ctx, t, sign * sqlite3_value_double(number));
            return;
        }
    }
    const bool integer = sqlite3_value_type(number) == SQLITE_INTEGER;
    const double converted = integer ? static_cast<double>(textToInt(s)) : textToFloat(s);
    const long long convertedInt = integer ? static_cast<long long>(converted) : 0;
    if (integer) {
        const long long n = sqlite3_value_int64(number);
        const long long x = textFirst ? convertedInt : n;
        const long long y = textFirst ? n : convertedInt;
        long long r = 0;
        const bool overflowed = sign > 0 ? __builtin_add_overflow(x, y, &r) : __builtin_sub_overflow(x, y, &r);
        if (overflowed || (fitsInt(n) && !fitsInt(r)))
            throw overflow(fitsInt(n) ? "int" : "bigint");
        sqlite3_result_int64(ctx, r);
        return;
    }
    const double n = sqlite3_value_double(number);
    const double r = textFirst ? converted + sign * n : n + sign * converted;
    if (!std::isfinite(r))
        throw overflow("float");
    sqlite3_result_double(ctx, r);
}

void plusOrMinus(sqlite3_context* ctx, sqlite3_value** argv, int sign)
{
    sqlite3_value* a = argv[0];
    sqlite3_value* b = argv[1];
    const int ta = sqlite3_value_type(a);
    const int tb = sqlite3_value_type(b);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    try {
        if (isNumber(ta) && isNumber(tb)) {
            arithmetic(ctx, a, b, sign);
        } else if (!isNumber(ta) && !isNumber(tb)) {
            if (sign < 0)
                throw EngineError{402, 16, 1, "The data types varchar and varchar are incompatible in the subtract "
                                              "operator."};
            std::string joined = textOf(a);
            joined += textOf(b);
            sqlite3_result_text(ctx, joined.c_str(), static_cast<int>(joined.size()), SQLITE_TRANSIENT);
        } else {
            mixed(ctx, a, b, sign, !isNumber(ta));
        }
    } catch (const EngineError& e) {
        reportError(ctx, e);
    }
}

void addFunction(sqlite3_context* ctx, int, sqlite3_value** argv) { plusOrMinus(ctx, argv, 1); }
void subtractFunction(sqlite3_context* ctx, int, sqlite3_value** argv) { plusOrMinus(ctx, argv, -1); }

void deletePattern(void* p) { delete static_cast<LikePattern*>(p); }

// like(pattern, text[, escape]): SQLite calls it for "text LIKE pattern".
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL
        || (argc > 2 && sqlite3_value_type(argv[2]) == SQLITE_NULL)) {
        sqlite3_result_null(ctx);
        return;
    }
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        std::optional<std::int32_t> escape;
        if (argc > 2) {
            const std::string e = textOf(argv[2]);
            const std::vector<std::int32_t> cps = codePoints(e);
            if (cps.size() != 1) {
                reportError(ctx, EngineError{506, 16, 1, "The invalid escape character \"" + e
                                                             + "\" was specified in a LIKE predicate."});
                return;
            }
            escape = cps.front();
        }
        pattern = new LikePattern(textOf(argv[0]), escape);
        // SQLite keeps it with the statement while the pattern stays the same (or frees it).
        sqlite3_set_auxdata(ctx, 0, pattern, deletePattern);
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            LikePattern once(textOf(argv[0]), escape);
            sqlite3_result_int(ctx, once.matches(textOf(argv[1])) ? 1 : 0);
            return;
        }
    }
    sqlite3_result_int(ctx, pattern->matches(textOf(argv[1])) ? 1 : 0);
}

template <bool Upper>
void caseFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string text = textOf(argv[0]);
    const std::string out = Upper ? upperText(text) : lowerText(text);
    sqlite3_result_text(ctx, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

// LEFT(s, n) and RIGHT(s, n), counting characters, not bytes; a negative length is
// SQL Server's 536.
std::size_t characterCount(const std::string& text)
{
    std::size_t n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80;
    return n;
}

// The byte offset of character `index` (the text's size when past its end).
std::size_t characterOffset(const std::string& text, std::size_t index)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (seen++ == index)
            return i;
    }
    return text.size();
}

template <bool Left>
void sideFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const sqlite3_int64 length = sqlite3_value_int64(argv[1]);
    if (length < 0) {
        reportError(ctx, EngineError{536, 16, 1, std::string("Invalid length parameter passed to the ")
                                                     + (Left ? "left" : "right") + " function."});
        return;
    }
    const std::string text = textOf(argv[0]);
    const std::size_t count = characterCount(text);
    const std::size_t keep = std::min<std::size_t>(count, static_cast<std::size_t>(length));
    const std::string out = Left ? text.substr(0, characterOffset(text, keep))
                                 : text.substr(characterOffset(text, count - keep));
    sqlite3_result_text(ctx, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

} // namespace

void registerOperatorFunctions(sqlite3* db)
{
    const int pure = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "tsql_add", 2, pure, nullptr, addFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_subtract", 2, pure, nullptr, subtractFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 2, pure, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, pure, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "upper", 1, pure, nullptr, caseFunction<true>, nullptr, nullptr);
    sqlite3_create_function(db, "lower", 1, pure, nullptr, caseFunction<false>, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_left", 2, pure, nullptr, sideFunction<true>, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_right", 2, pure, nullptr, sideFunction<false>, nullptr, nullptr);
}

} // namespace dalport::embedded
