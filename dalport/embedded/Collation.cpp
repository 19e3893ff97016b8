#include "dalport/embedded/Collation.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/utf8.h>

#include <memory>
#include <stdexcept>

namespace dalport::embedded {

namespace {

struct CollatorClose {
    void operator()(UCollator* c) const { ucol_close(c); }
};

// A collator per thread: ICU collators must not be shared between threads.
UCollator* collator()
{
    thread_local std::unique_ptr<UCollator, CollatorClose> c = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* opened = ucol_open("", &status);
        if (U_FAILURE(status) || !opened)
            throw std::runtime_error("The text collation could not be loaded; check the ICU installation.");
        ucol_setStrength(opened, UCOL_SECONDARY);
        return std::unique_ptr<UCollator, CollatorClose>(opened);
    }();
    return c.get();
}

std::string_view trimTrailingBlanks(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// Equal ignoring ASCII case, both plain ASCII: the collation says equal as well.
bool asciiEqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca >= 0x80 || cb >= 0x80)
            return false;
        if (ca != cb && (ca | 0x20) != (cb | 0x20))
            return false;
        if (ca != cb && !((ca | 0x20) >= 'a' && (ca | 0x20) <= 'z'))
            return false;
    }
    return true;
}

template <typename Map>
std::string mapText(std::string_view in, Map map)
{
    std::string out;
    out.reserve(in.size());
    const auto* s = reinterpret_cast<const uint8_t*>(in.data());
    const auto length = static_cast<int32_t>(in.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            out.append(in.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
            continue;
        }
        const UChar32 mapped = map(c);
        uint8_t buf[U8_MAX_LENGTH];
        int32_t n = 0;
        UBool error = false;
        U8_APPEND(buf, n, U8_MAX_LENGTH, mapped, error);
        (void)error;
        out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
    }
    return out;
}

} // namespace

int compareTsql(std::string_view a, std::string_view b)
{
    a = trimTrailingBlanks(a);
    b = trimTrailingBlanks(b);
    if (asciiEqualIgnoringCase(a, b))
        return 0;
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(collator(), a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status))
        return a < b ? -1 : (a == b ? 0 : 1);
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
}

int compareCharacters(std::int32_t a, std::int32_t b)
{
    UChar sa[2], sb[2];
    int32_t na = 0, nb = 0;
    UBool error = false;
    U16_APPEND(sa, na, 2, a, error);
    U16_APPEND(sb, nb, 2, b, error);
    (void)error;
    const UCollationResult r = ucol_strcoll(collator(), sa, na, sb, nb);
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
}

std::int32_t foldCase(std::int32_t c) { return u_foldCase(c, U_FOLD_CASE_DEFAULT); }

std::string upperText(std::string_view utf8)
{
    return mapText(utf8, [](UChar32 c) { return u_toupper(c); });
}

std::string lowerText(std::string_view utf8)
{
    return mapText(utf8, [](UChar32 c) { return u_tolower(c); });
}

} // namespace dalport::embedded
