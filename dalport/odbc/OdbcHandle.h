#pragma once
// An ODBC handle that frees itself, and the diagnostics it holds.

#include "dalport/Backend.h"

#include <sql.h>
#include <sqlext.h>

#include <utility>
#include <vector>

namespace dalport::odbc {

class Handle {
public:
    Handle() = default;
    Handle(SQLSMALLINT type, SQLHANDLE parent);
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : m_type(other.m_type), m_handle(std::exchange(other.m_handle, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other) {
            release();
            m_type = other.m_type;
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    ~Handle() { release(); }

    SQLHANDLE get() const { return m_handle; }
    SQLSMALLINT type() const { return m_type; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    void release();

    SQLSMALLINT m_type = 0;
    SQLHANDLE m_handle = nullptr;
};

// Every diagnostic record of a handle, in the driver's order.
std::vector<ProviderError> diagnostics(SQLSMALLINT type, SQLHANDLE handle);

inline bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

std::string fromUtf16(const SQLWCHAR* text, std::size_t length);
std::vector<SQLWCHAR> toUtf16(const std::string& utf8);

} // namespace dalport::odbc
