#include "dalport/ValueConversion.h"

#include <cerrno>
#include <cfenv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace dalport {

namespace {

constexpr long kOverflow = static_cast<long>(0x8002000A); // DISP_E_OVERFLOW

[[noreturn]] void typeMismatch() { throw ComError(hr::TypeMismatch); }

// Days from 1899-12-30 (the platform's date serial) to a civil date.
long serialDay(int y, int m, int d)
{
    // Days from civil, after Howard Hinnant's algorithm.
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days1970 = era * 146097 + static_cast<long>(doe) - 719468;
    return days1970 + 25569; // 1899-12-30 is 25569 days before 1970-01-01
}

double isoToSerial(const std::string& iso)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    double s = 0;
    if (std::sscanf(iso.c_str(), "%d-%d-%d %d:%d:%lf", &y, &mo, &d, &h, &mi, &s) < 3)
        typeMismatch();
    return static_cast<double>(serialDay(y, mo, d)) + (h * 3600 + mi * 60 + s) / 86400.0;
}

// A text read as a number: blanks around it allowed, nothing else.
double parseNumber(const std::string& text)
{
    const char* begin = text.c_str();
    while (*begin == ' ' || *begin == '\t')
        ++begin;
    if (*begin == '\0')
        typeMismatch();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin)
        typeMismatch();
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0' || std::isnan(v) || std::isinf(v))
        typeMismatch();
    return v;
}

double toDouble(const Value& v)
{
    switch (v.kind) {
    case Value::Kind::Null: typeMismatch();
    case Value::Kind::Int: return static_cast<double>(v.i);
    case Value::Kind::Double: return v.d;
    case Value::Kind::Text: return parseNumber(v.s);
    case Value::Kind::DateTime: return isoToSerial(v.s);
    }
    typeMismatch();
}

} // namespace

std::string isoToDisplayDate(const std::string& iso)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    const int n = std::sscanf(iso.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
    if (n < 3)
        return iso;
    char buffer[64];
    if (h == 0 && mi == 0 && s == 0) {
        std::snprintf(buffer, sizeof buffer, "%d/%d/%d", mo, d, y);
    } else {
        const int h12 = h % 12 == 0 ? 12 : h % 12;
        std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d %s", mo, d, y, h12, mi, s, h < 12 ? "AM" : "PM");
    }
    return buffer;
}

std::string toText(const Value& v)
{
    switch (v.kind) {
    case Value::Kind::Null: typeMismatch();
    case Value::Kind::Text: return v.s;
    case Value::Kind::Int: return std::to_string(v.i);
    case Value::Kind::Double: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15G", v.d);
        return buffer;
    }
    case Value::Kind::DateTime: return isoToDisplayDate(v.s);
    }
    typeMismatch();
}

int toInt(const Value& v)
{
    if (v.kind == Value::Kind::Int) {
        if (v.i < INT_MIN || v.i > INT_MAX)
            throw ComError(kOverflow);
        return static_cast<int>(v.i);
    }
    // Reals round half to even, as the platform's conversion does.
    const double rounded = std::nearbyint(toDouble(v));
    if (rounded < static_cast<double>(INT_MIN) || rounded > static_cast<double>(INT_MAX))
        throw ComError(kOverflow);
    return static_cast<int>(rounded);
}

float toFloat(const Value& v)
{
    const double d = toDouble(v);
    if (std::fabs(d) > static_cast<double>(std::numeric_limits<float>::max()))
        throw ComError(kOverflow);
    return static_cast<float>(d);
}

} // namespace dalport
