#include "dalport/embedded/DateTime.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <vector>

namespace dalport::embedded {

namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m)
{
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[static_cast<std::size_t>(m - 1)];
}

// Howard Hinnant's civil-from-days arithmetic, shifted so that 1900-01-01 is day 0.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

const std::int64_t kEpoch1900 = daysFromCivil(1900, 1, 1);

int monthFromName(std::string_view word)
{
    static constexpr std::array<const char*, 12> names{"jan", "feb", "mar", "apr", "may", "jun",
                                                       "jul", "aug", "sep", "oct", "nov", "dec"};
    if (word.size() < 3)
        return 0;
    std::string lower;
    for (char c : word)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static constexpr std::array<const char*, 12> full{"january", "february", "march", "april", "may", "june",
                                                      "july", "august", "september", "october", "november", "december"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (lower == names[i] || lower == full[i] || (lower == "sept" && i == 8))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// A small scanner over the text; tokens are runs of digits, runs of letters and single
// punctuation characters, with blanks remembered as separators.
struct Token {
    enum Kind { Number, Word, Punct, Blank } kind;
    std::string text;
};

std::vector<Token> scan(std::string_view s)
{
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t j = i + 1;
        Token::Kind kind;
        if (std::isdigit(c)) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            kind = Token::Number;
        } else if (std::isalpha(c)) {
            while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j])))
                ++j;
            kind = Token::Word;
        } else if (std::isspace(c)) {
            while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j])))
                ++j;
            kind = Token::Blank;
        } else {
            kind = Token::Punct;
        }
        out.push_back({kind, std::string(s.substr(i, j - i))});
        i = j;
    }
    return out;
}

int toInt(const std::string& digits)
{
    int v = 0;
    for (char c : digits) {
        v = v * 10 + (c - '0');
        if (v > 100000)
            return 100000; // far out of any range; keeps the arithmetic small
    }
    return v;
}

int expandYear(const std::string& digits)
{
    const int y = toInt(digits);
    if (digits.size() <= 2)
        return y < 50 ? 2000 + y : 1900 + y; // two-digit year cut-off 2049
    return y;
}

// Writes v's digits into a field of zeros ending at `last`; v fits the field.
void putDigits(std::string& s, std::size_t last, int v)
{
    for (std::size_t i = last; v > 0; --i, v /= 10)
        s[i] = static_cast<char>('0' + v % 10);
}

DateReading validDate(const DateTime& t)
{
    if (t.year < 1753 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1
        || t.day > daysInMonth(t.year, t.month))
        return DateReading::OutOfRange;
    if (t.hour > 23 || t.minute > 59 || t.second > 59 || t.millisecond > 999)
        return DateReading::OutOfRange;
    return DateReading::Ok;
}

} // namespace

bool hasStoredShape(std::string_view s)
{
    static constexpr std::string_view shape = "dddd-dd-dd dd:dd:dd.ddd";
    if (s.size() != shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = s[i] >= '0' && s[i] <= '9';
        if (shape[i] == 'd' ? !digit : s[i] != shape[i])
            return false;
    }
    return true;
}

namespace {

// The engine's own stored form "YYYY-MM-DD HH:MM:SS.fff", read without the general
// reader: nearly every date read is a stored value, and tokenizing each one was most of
// a date-heavy report's time. Anything else, or a value out of range, is left to the
// reader, which says what is wrong.
bool readStoredForm(std::string_view s, DateTime& out)
{
    if (!hasStoredShape(s))
        return false;
    const auto number = [&](std::size_t at, std::size_t length) {
        int v = 0;
        for (std::size_t i = at; i < at + length; ++i)
            v = v * 10 + (s[i] - '0');
        return v;
    };
    DateTime t;
    t.year = number(0, 4);
    t.month = number(5, 2);
    t.day = number(8, 2);
    t.hour = number(11, 2);
    t.minute = number(14, 2);
    t.second = number(17, 2);
    t.millisecond = number(20, 3);
    if (validDate(t) != DateReading::Ok)
        return false;
    out = t;
    return true;
}

class Reader {
public:
    explicit Reader(std::vector<Token> tokens) : m_t(std::move(tokens)) {}

    DateReading read(DateTime& out)
    {
        skipBlanks();
        bool haveDate = false;
        if (!atEnd() && !looksLikeTime()) {
            if (!readDatePart(out))
                return DateReading::Malformed;
            haveDate = true;
        }
        if (haveDate && !atEnd()) {
            // ISO 8601 puts a 'T' between date and time.
            if (peek().kind == Token::Word && (peek().text == "T" || peek().text == "t"))
                ++m_pos;
            else if (peek().kind != Token::Blank)
                return DateReading::Malformed;
        }
        skipBlanks();
        if (!atEnd() && !readTimePart(out))
            return DateReading::Malformed;
        skipBlanks();
        if (!atEnd())
            return DateReading::Malformed;
        return validate(out);
    }

private:
    bool atEnd() const { return m_pos >= m_t.size(); }
    const Token& peek(std::size_t ahead = 0) const
    {
        static const Token none{Token::Blank, ""};
        return m_pos + ahead < m_t.size() ? m_t[m_pos + ahead] : none;
    }
    void skipBlanks()
    {
        while (!atEnd() && m_t[m_pos].kind == Token::Blank)
            ++m_pos;
    }
    bool looksLikeTime() const
    {
        if (peek().kind != Token::Number)
            return false;
        const Token& next = peek(1);
        if (next.kind == Token::Punct && next.text == ":")
            return true;
        if (next.kind == Token::Word && isAmPm(next.text))
            return true;
        return next.kind == Token::Blank && peek(2).kind == Token::Word && isAmPm(peek(2).text);
    }
    static bool isAmPm(const std::string& w)
    {
        return w.size() == 2 && (w[0] == 'a' || w[0] == 'A' || w[0] == 'p' || w[0] == 'P')
            && (w[1] == 'm' || w[1] == 'M');
    }

    bool readDatePart(DateTime& out)
    {
        const Token& first = peek();
        if (first.kind == Token::Word)
            return readMonthNameFirst(out);
        if (first.kind != Token::Number)
            return false;
        const Token& sep = peek(1);
        if (sep.kind == Token::Punct && (sep.text == "/" || sep.text == "-" || sep.text == "."))
            return readSeparated(out);
        if (sep.kind == Token::Blank && peek(2).kind == Token::Word)
            return readDayMonthName(out);
        if (first.text.size() == 8 || first.text.size() == 6) {
            // Unseparated ISO: YYYYMMDD or YYMMDD.
            const std::string& d = first.text;
            const std::size_t yl = d.size() - 4;
            out.year = expandYear(d.substr(0, yl));
            out.month = toInt(d.substr(yl, 2));
            out.day = toInt(d.substr(yl + 2, 2));
            ++m_pos;
            return true;
        }
        return false;
    }

    bool readSeparated(DateTime& out)
    {
        const std::string sep = peek(1).text;
        if (peek(2).kind != Token::Number || peek(3).kind != Token::Punct || peek(3).text != sep
            || peek(4).kind != Token::Number)
            return false;
        const std::string a = peek().text, b = peek(2).text, c = peek(4).text;
        m_pos += 5;
        if (a.size() == 4) { // YYYY-MM-DD
            if (b.size() > 2 || c.size() > 2)
                return false;
            out.year = toInt(a);
            out.month = toInt(b);
            out.day = toInt(c);
            return true;
        }
        if (a.size() > 2 || b.size() > 2 || (c.size() != 2 && c.size() != 4))
            return false;
        out.month = toInt(a);
        out.day = toInt(b);
        out.year = expandYear(c);
        return true;
    }

    // "Mon D[,] YYYY" (also how SQL Server itself writes a datetime as text).
    bool readMonthNameFirst(DateTime& out)
    {
        out.month = monthFromName(peek().text);
        if (out.month == 0)
            return false;
        ++m_pos;
        skipBlanks();
        if (peek().kind != Token::Number || peek().text.size() > 2)
            return false;
        out.day = toInt(peek().text);
        ++m_pos;
        if (peek().kind == Token::Punct && peek().text == ",")
            ++m_pos;
        return readYearAfterMonthName(out);
    }

    // The year that ends both month-name forms: four digits, or two with the cut-off.
    bool readYearAfterMonthName(DateTime& out)
    {
        skipBlanks();
        if (peek().kind != Token::Number || (peek().text.size() != 4 && peek().text.size() != 2))
            return false;
        out.year = expandYear(peek().text);
        ++m_pos;
        return true;
    }

    // "D Mon YYYY".
    bool readDayMonthName(DateTime& out)
    {
        if (peek().text.size() > 2)
            return false;
        out.day = toInt(peek().text);
        m_pos += 2;
        out.month = monthFromName(peek().text);
        if (out.month == 0)
            return false;
        ++m_pos;
        return readYearAfterMonthName(out);
    }

    bool readTimePart(DateTime& out)
    {
        if (peek().kind != Token::Number || peek().text.size() > 2)
            return false;
        out.hour = toInt(peek().text);
        ++m_pos;
        if (peek().kind == Token::Punct && peek().text == ":") {
            ++m_pos;
            if (peek().kind != Token::Number || peek().text.size() > 2)
                return false;
            out.minute = toInt(peek().text);
            ++m_pos;
            if (peek().kind == Token::Punct && peek().text == ":") {
                ++m_pos;
                if (peek().kind != Token::Number || peek().text.size() > 2)
                    return false;
                out.second = toInt(peek().text);
                ++m_pos;
                if (peek().kind == Token::Punct && (peek().text == "." || peek().text == ":")) {
                    const bool fraction = peek().text == ".";
                    ++m_pos;
                    if (peek().kind != Token::Number)
                        return false;
                    std::string digits = peek().text;
                    ++m_pos;
                    if (fraction) {
                        // A decimal fraction of a second: keep milliseconds, round the rest.
                        digits.resize(std::max<std::size_t>(digits.size(), 4), '0');
                        out.millisecond = (toInt(digits.substr(0, 4)) + 5) / 10;
                    } else {
                        if (digits.size() > 3)
                            return false;
                        out.millisecond = toInt(digits);
                    }
                }
            }
        }
        skipBlanks();
        if (!atEnd() && peek().kind == Token::Word) {
            if (!isAmPm(peek().text))
                return false;
            const bool pm = peek().text[0] == 'p' || peek().text[0] == 'P';
            ++m_pos;
            if (out.hour < 1 || out.hour > 12) {
                out.hour = 99; // out of range, reported as such
                return true;
            }
            if (pm && out.hour != 12)
                out.hour += 12;
            if (!pm && out.hour == 12)
                out.hour = 0;
        }
        return true;
    }

    static DateReading validate(const DateTime& t) { return validDate(t); }

    std::vector<Token> m_t;
    std::size_t m_pos = 0;
};

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::int64_t totalMs(const DateTime& t)
{
    return ((dayNumber(t.year, t.month, t.day) * 24 + t.hour) * 60 + t.minute) * 60000LL + t.second * 1000LL
        + t.millisecond;
}

std::string lowerAscii(std::string_view s)
{
    std::string out;
    for (char c : s)
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

enum class Unit { Year, Quarter, Month, Day, Week, Hour, Minute, Second, Millisecond, None };

Unit unitFromName(std::string_view name)
{
    const std::string n = lowerAscii(name);
    struct Entry { const char* name; Unit unit; };
    static constexpr std::array<Entry, 26> table{{
        {"year", Unit::Year}, {"yy", Unit::Year}, {"yyyy", Unit::Year},
        {"quarter", Unit::Quarter}, {"qq", Unit::Quarter}, {"q", Unit::Quarter},
        {"month", Unit::Month}, {"mm", Unit::Month}, {"m", Unit::Month},
        {"dayofyear", Unit::Day}, {"dy", Unit::Day}, {"y", Unit::Day},
        {"day", Unit::Day}, {"dd", Unit::Day}, {"d", Unit::Day},
        {"week", Unit::Week}, {"wk", Unit::Week}, {"ww", Unit::Week},
        {"hour", Unit::Hour}, {"hh", Unit::Hour},
        {"minute", Unit::Minute}, {"mi", Unit::Minute}, {"n", Unit::Minute},
        {"second", Unit::Second}, {"ss", Unit::Second}, {"s", Unit::Second},
    }};
    for (const auto& e : table)
        if (n == e.name)
            return e.unit;
    if (n == "millisecond" || n == "ms")
        return Unit::Millisecond;
    return Unit::None;
}

} // namespace

DateReading readDate(std::string_view text, DateTime& out)
{
    if (readStoredForm(text, out))
        return DateReading::Ok;
    out = DateTime{};
    Reader reader(scan(text));
    return reader.read(out);
}

std::int64_t dayNumber(int year, int month, int day)
{
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch1900;
}

DateTime fromDayNumber(std::int64_t days)
{
    std::int64_t z = days + kEpoch1900 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    DateTime t;
    t.year = static_cast<int>(y + (m <= 2));
    t.month = static_cast<int>(m);
    t.day = static_cast<int>(d);
    return t;
}

DateTime roundToTicks(const DateTime& t)
{
    const int ticks = (t.millisecond * 3 + 5) / 10; // 1/300 s
    const int ms = (ticks * 10 + 1) / 3;
    if (ms < 1000) {
        DateTime r = t;
        r.millisecond = ms;
        return r;
    }
    const std::int64_t total = totalMs(t) - t.millisecond + 1000;
    DateTime r = fromDayNumber(floorDiv(total, 86400000));
    const std::int64_t inDay = total - floorDiv(total, 86400000) * 86400000;
    r.hour = static_cast<int>(inDay / 3600000);
    r.minute = static_cast<int>(inDay / 60000 % 60);
    r.second = static_cast<int>(inDay / 1000 % 60);
    r.millisecond = 0;
    return r;
}

std::string canonicalText(const DateTime& t)
{
    // Written digit by digit: formatting dates was a tenth of a date-heavy report's time.
    const auto fits = [](int v, int limit) { return v >= 0 && v < limit; };
    if (fits(t.year, 10000) && fits(t.month, 100) && fits(t.day, 100) && fits(t.hour, 100) && fits(t.minute, 100)
        && fits(t.second, 100) && fits(t.millisecond, 1000)) {
        std::string s = "0000-00-00 00:00:00.000";
        putDigits(s, 3, t.year);
        putDigits(s, 6, t.month);
        putDigits(s, 9, t.day);
        putDigits(s, 12, t.hour);
        putDigits(s, 15, t.minute);
        putDigits(s, 18, t.second);
        putDigits(s, 22, t.millisecond);
        return s;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.millisecond);
    return buf;
}

std::string style101Text(const DateTime& t)
{
    if (t.year >= 0 && t.year < 10000 && t.month >= 0 && t.month < 100 && t.day >= 0 && t.day < 100) {
        std::string s = "00/00/0000";
        putDigits(s, 1, t.month);
        putDigits(s, 4, t.day);
        putDigits(s, 9, t.year);
        return s;
    }
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", t.month, t.day, t.year);
    return buf;
}

bool isDateDiffUnit(std::string_view unit) { return unitFromName(unit) != Unit::None; }

std::optional<std::int64_t> dateDiff(std::string_view unit, const DateTime& a, const DateTime& b)
{
    const std::int64_t da = dayNumber(a.year, a.month, a.day);
    const std::int64_t db = dayNumber(b.year, b.month, b.day);
    switch (unitFromName(unit)) {
    case Unit::Year: return b.year - a.year;
    case Unit::Quarter: return (b.year * 4LL + (b.month - 1) / 3) - (a.year * 4LL + (a.month - 1) / 3);
    case Unit::Month: return (b.year * 12LL + b.month) - (a.year * 12LL + a.month);
    case Unit::Day: return db - da;
    // Weeks turn over on Sunday; 1900-01-01 was a Monday.
    case Unit::Week: return floorDiv(db + 1, 7) - floorDiv(da + 1, 7);
    case Unit::Hour: return (db * 24 + b.hour) - (da * 24 + a.hour);
    case Unit::Minute: return ((db * 24 + b.hour) * 60 + b.minute) - ((da * 24 + a.hour) * 60 + a.minute);
    case Unit::Second:
        return (((db * 24 + b.hour) * 60 + b.minute) * 60 + b.second)
            - (((da * 24 + a.hour) * 60 + a.minute) * 60 + a.second);
    case Unit::Millisecond: return totalMs(b) - totalMs(a);
    case Unit::None: break;
    }
    return std::nullopt;
}

} // namespace dalport::embedded
