#include "dalport/odbc/OdbcHandle.h"

namespace dalport::odbc {

Handle::Handle(SQLSMALLINT type, SQLHANDLE parent) : m_type(type)
{
    if (!succeeded(SQLAllocHandle(type, parent, &m_handle)))
        m_handle = nullptr;
}

void Handle::release()
{
    if (m_handle)
        SQLFreeHandle(m_type, std::exchange(m_handle, nullptr));
}

std::vector<ProviderError> diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    std::vector<ProviderError> errors;
    if (!handle)
        return errors;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[8] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[SQL_MAX_MESSAGE_LENGTH + 1] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRec(type, handle, record, state, &native, message, sizeof message, &length);
        if (!succeeded(rc))
            break;
        ProviderError e;
        e.number = native;
        e.description = reinterpret_cast<const char*>(message);
        // The server's own words follow the last "[...]" of the driver's prefix.
        const auto bracket = e.description.rfind(']');
        e.message = bracket == std::string::npos ? e.description : e.description.substr(bracket + 1);
        errors.push_back(std::move(e));
    }
    return errors;
}

std::string fromUtf16(const SQLWCHAR* text, std::size_t length)
{
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::vector<SQLWCHAR> toUtf16(const std::string& utf8)
{
    std::vector<SQLWCHAR> out;
    out.reserve(utf8.size() + 1);
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = b;
        int extra = 0;
        if (b >= 0xF0) { c = b & 0x07; extra = 3; }
        else if (b >= 0xE0) { c = b & 0x0F; extra = 2; }
        else if (b >= 0xC0) { c = b & 0x1F; extra = 1; }
        ++i;
        for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<SQLWCHAR>(0xD800 + (c >> 10)));
            out.push_back(static_cast<SQLWCHAR>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<SQLWCHAR>(c));
        }
    }
    out.push_back(0);
    return out;
}

} // namespace dalport::odbc
