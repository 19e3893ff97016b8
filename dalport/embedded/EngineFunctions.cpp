#include "dalport/embedded/EngineFunctions.h"

#include "dalport/Clock.h"
#include "dalport/Registry.h"
#include "dalport/embedded/DateTime.h"
#include "dalport/embedded/OperatorFunctions.h"
#include "dalport/embedded/ValueConversion.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace dalport::embedded {

namespace {

std::string_view trimTrailingBlanks(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

int tsqlCollate(void*, int lenA, const void* a, int lenB, const void* b)
{
    return compareTsql(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lenA)),
                       std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lenB)));
}

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

// tsql_raiserror(message): a procedure body's refusal, as RAISERROR(message, 16, 1)
// reports it; the body's changes are rolled back with it.
void raiserrorFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    reportError(ctx, EngineError{50000, 16, 1, textOf(argv[0])});
}

// tsql_login_visible(name): whether the session may see a login in
// sys.server_principals. Raw handles (the registry's own tools) see every login; engine
// sessions replace it as they open.
void loginVisibleFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    sqlite3_result_int(ctx, 1);
}

// A text converted to char(length) or varchar(length): at most `length` characters, never
// part of one; char pads with blanks to its length.
void cutToLength(std::string& out, int length, bool pad)
{
    if (length <= 0)
        return;
    out.resize(leadingCharacters(out, static_cast<std::size_t>(length)).size());
    const std::size_t count = characterCount(out);
    if (pad && count < static_cast<std::size_t>(length))
        out.append(static_cast<std::size_t>(length) - count, ' ');
}

void resultText(sqlite3_context* ctx, std::string out, int length, bool pad)
{
    cutToLength(out, length, pad);
    sqlite3_result_text(ctx, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void getdateFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    const std::string now = ClockNowText();
    sqlite3_result_text(ctx, now.c_str(), static_cast<int>(now.size()), SQLITE_TRANSIENT);
}

// convert101(x [, length [, pad]]): CONVERT(char(length), x, 101). Dates become
// "MM/DD/YYYY"; any other text stays as it is (style 101 only applies to dates); char
// pads with blanks to its length (30 when none is given), varchar (pad 0) does not.
void convert101Function(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const int length = argc > 1 ? sqlite3_value_int(argv[1]) : 30;
    const bool pad = argc > 2 ? sqlite3_value_int(argv[2]) != 0 : true;
    std::string out;
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        const std::string text = textOf(argv[0]);
        DateTime t;
        out = readDate(text, t) == DateReading::Ok ? style101Text(t) : text;
    } else {
        out = textOf(argv[0]);
    }
    resultText(ctx, std::move(out), length, pad);
}

void datediffFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    try {
        const std::string unit = textOf(argv[0]);
        const auto a = toDateTime(argv[1]);
        const auto b = toDateTime(argv[2]);
        if (!a || !b) {
            sqlite3_result_null(ctx);
            return;
        }
        const auto diff = dateDiff(unit, *a, *b);
        if (!diff) {
            reportError(ctx, EngineError{155, 15, 1, "'" + unit + "' is not a recognized datediff option."});
            return;
        }
        sqlite3_result_int64(ctx, *diff);
    } catch (const EngineError& e) {
        reportError(ctx, e);
    }
}

void todateFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    try {
        const auto t = toDateTime(argv[0]);
        if (!t) {
            sqlite3_result_null(ctx);
            return;
        }
        const std::string text = canonicalText(*t);
        sqlite3_result_text(ctx, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    } catch (const EngineError& e) {
        reportError(ctx, e);
    }
}

// tsql_convert(x, length, pad, style): CONVERT(char(length), x, style) for the styles
// the engine knows. A stored date (canonical text) takes the style; other values keep
// their text.
std::string styledDate(const DateTime& t, int style)
{
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char buf[48];
    switch (style) {
    case 1: std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", t.month, t.day, t.year % 100); break;
    case 101: return style101Text(t);
    case 3: std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", t.day, t.month, t.year % 100); break;
    case 103: std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", t.day, t.month, t.year); break;
    case 12: std::snprintf(buf, sizeof buf, "%02d%02d%02d", t.year % 100, t.month, t.day); break;
    case 112: std::snprintf(buf, sizeof buf, "%04d%02d%02d", t.year, t.month, t.day); break;
    case 20:
    case 120:
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                      t.second);
        break;
    case 21:
    case 121: return canonicalText(t);
    case 23: std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day); break;
    default: { // 0 and 100: "Mar  7 2009 12:00AM"
        const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        std::snprintf(buf, sizeof buf, "%s %2d %04d %2d:%02d%s", months[t.month - 1], t.day, t.year, h12, t.minute,
                      t.hour < 12 ? "AM" : "PM");
    }
    }
    return buf;
}

void tsqlConvertFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    std::string text = textOf(argv[0]);
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT && hasStoredShape(text)) {
        DateTime t;
        if (readDate(text, t) == DateReading::Ok)
            text = styledDate(t, sqlite3_value_int(argv[3]));
    }
    resultText(ctx, std::move(text), sqlite3_value_int(argv[1]), sqlite3_value_int(argv[2]) != 0);
}

// CONVERT(int, x): text must be a whole number ('' is 0), reals are truncated.
void tointFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0])); return;
    case SQLITE_FLOAT: sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(sqlite3_value_double(argv[0]))); return;
    default: break;
    }
    try {
        sqlite3_result_int64(ctx, intFromText(textOf(argv[0])));
    } catch (const EngineError& e) {
        reportError(ctx, e);
    }
}

void tofloatFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: sqlite3_result_double(ctx, sqlite3_value_double(argv[0])); return;
    default: break;
    }
    try {
        sqlite3_result_double(ctx, floatFromText(textOf(argv[0])));
    } catch (const EngineError& e) {
        reportError(ctx, e);
    }
}

// LEN counts characters, trailing blanks not included.
void tsqlLenFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string text = textOf(argv[0]);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(characterCount(trimTrailingBlanks(text))));
}

// tsql_store(x, type, length, table, column): x as it is written to a column of the stored
// type (a StoredType) and length, converted with SQL Server's rules or refused (245, 8114,
// 241, 8115, 2628) whatever it comes from.
void storeInteger(sqlite3_context* ctx, sqlite3_value* v, StoredType type)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: sqlite3_result_int64(ctx, checkedInteger(sqlite3_value_int64(v), type)); return;
    case SQLITE_FLOAT: {
        const double d = std::trunc(sqlite3_value_double(v));
        if (!(std::fabs(d) < 9.2e18))
            checkedInteger(d > 0 ? INT64_MAX : INT64_MIN, StoredType::Int); // throws 8115
        sqlite3_result_int64(ctx, checkedInteger(static_cast<long long>(d), type));
        return;
    }
    default: sqlite3_result_int64(ctx, checkedInteger(intFromText(textOf(v)), type));
    }
}

void storeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    try {
        const auto type = static_cast<StoredType>(sqlite3_value_int(argv[1]));
        switch (type) {
        case StoredType::Text: {
            const int length = sqlite3_value_int(argv[2]);
            const std::string text = textOf(v);
            const std::string_view kept = fittedText(text, length, textOf(argv[3]), textOf(argv[4]));
            if (kept.size() == text.size())
                sqlite3_result_value(ctx, v);
            else
                sqlite3_result_text(ctx, kept.data(), static_cast<int>(kept.size()), SQLITE_TRANSIENT);
            return;
        }
        case StoredType::Float:
            sqlite3_result_double(ctx, sqlite3_value_type(v) == SQLITE_TEXT || sqlite3_value_type(v) == SQLITE_BLOB
                                           ? floatFromText(textOf(v))
                                           : sqlite3_value_double(v));
            return;
        case StoredType::Date: {
            const std::string text = canonicalText(*toDateTime(v));
            sqlite3_result_text(ctx, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            return;
        }
        default: storeInteger(ctx, v, type); return;
        }
    } catch (const EngineError& e) {
        reportError(ctx, e);
    }
}

template <int Part>
void datePartFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    try {
        const auto t = toDateTime(argv[0]);
        if (!t) {
            sqlite3_result_null(ctx);
            return;
        }
        sqlite3_result_int(ctx, Part == 0 ? t->year : Part == 1 ? t->month : t->day);
    } catch (const EngineError& e) {
        reportError(ctx, e);
    }
}

} // namespace

DateTime dateFromText(std::string_view text)
{
    DateTime t;
    switch (readDate(text, t)) {
    case DateReading::Ok: return roundToTicks(t);
    case DateReading::Malformed: throw errors::dateMalformed();
    case DateReading::OutOfRange: throw errors::dateOutOfRange();
    }
    throw errors::dateMalformed();
}

std::optional<DateTime> toDateTime(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return std::nullopt;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
        // A number counts days; datetime spans about 3 million of them.
        const double d = sqlite3_value_double(v);
        if (!std::isfinite(d) || std::fabs(d) > 4.0e6)
            throw EngineError{8115, 16, 2, "Arithmetic overflow error converting expression to data type datetime."};
        if (sqlite3_value_type(v) == SQLITE_INTEGER)
            return fromDayNumber(sqlite3_value_int64(v));
        const double day = std::floor(d);
        DateTime t = fromDayNumber(static_cast<std::int64_t>(day));
        const auto ms = static_cast<std::int64_t>(std::llround((d - day) * 86400000.0));
        t.hour = static_cast<int>(ms / 3600000);
        t.minute = static_cast<int>(ms / 60000 % 60);
        t.second = static_cast<int>(ms / 1000 % 60);
        t.millisecond = static_cast<int>(ms % 1000);
        return roundToTicks(t);
    }
    default: return dateFromText(textOf(v));
    }
}

// original_login(): NULL on a raw handle (the demo maker, bulk fills), so that the
// change log's triggers record only what a session changes; a session puts its login in.
void noLoginFunction(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_null(ctx); }

void registerEngineFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8;
    const int pure = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_collation(db, "TSQL", SQLITE_UTF8, nullptr, tsqlCollate);
    sqlite3_create_function(db, "getdate", 0, flags, nullptr, getdateFunction, nullptr, nullptr);
    sqlite3_create_function(db, "original_login", 0, flags, nullptr, noLoginFunction, nullptr, nullptr);
    sqlite3_create_function(db, "convert101", 1, pure, nullptr, convert101Function, nullptr, nullptr);
    sqlite3_create_function(db, "convert101", 2, pure, nullptr, convert101Function, nullptr, nullptr);
    sqlite3_create_function(db, "convert101", 3, pure, nullptr, convert101Function, nullptr, nullptr);
    sqlite3_create_function(db, "datediff", 3, pure, nullptr, datediffFunction, nullptr, nullptr);
    sqlite3_create_function(db, "todate", 1, pure, nullptr, todateFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_convert", 4, pure, nullptr, tsqlConvertFunction, nullptr, nullptr);
    sqlite3_create_function(db, "toint", 1, pure, nullptr, tointFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tofloat", 1, pure, nullptr, tofloatFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_len", 1, pure, nullptr, tsqlLenFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_store", 5, pure, nullptr, storeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_year", 1, pure, nullptr, datePartFunction<0>, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_month", 1, pure, nullptr, datePartFunction<1>, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_day", 1, pure, nullptr, datePartFunction<2>, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_raiserror", 1, flags, nullptr, raiserrorFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_login_visible", 1, flags, nullptr, loginVisibleFunction, nullptr, nullptr);
    registerOperatorFunctions(db);
}

} // namespace dalport::embedded

void dalport::RegisterEngineFunctions(void* sqlite3db)
{
    embedded::registerEngineFunctions(static_cast<sqlite3*>(sqlite3db));
}
