#include "dalport/ComError.h"

#include <cstdio>
#include <iterator>

namespace dalport {

namespace {

struct SystemMessage {
    unsigned long code;
    const char* text;
};

// The system's own texts for the codes this library raises or passes on.
constexpr SystemMessage kSystemMessages[] = {
    {0x80004005UL, "Unspecified error"},
    {0x80004001UL, "Not implemented"},
    {0x80020005UL, "Type mismatch."},
    {0x8002000AUL, "Out of present range."},
    {0x80070057UL, "The parameter is incorrect."},
    {0x8007000EUL, "Not enough storage is available to complete this operation."},
};

} // namespace

std::string ComError::ErrorMessage() const
{
    const auto code = static_cast<unsigned long>(m_code) & 0xFFFFFFFFUL;
    for (const auto& m : kSystemMessages)
        if (m.code == code)
            return m.text;

    char buffer[64];
    const unsigned long low = code & 0xFFFFUL;
    if (code >= 0x80040200UL && code <= 0x8004FFFFUL && low != 0x0200UL)
        std::snprintf(buffer, sizeof buffer, "IDispatch error #%d", static_cast<int>(low - 0x200UL));
    else
        std::snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX", code);
    return buffer;
}

} // namespace dalport
