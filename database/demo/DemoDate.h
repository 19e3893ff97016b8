#pragma once
// Calendar dates for the demo data, counted back from the clock's today so that the
// reports that measure against GETDATE() (consent renewal, additions per month) have
// something to show whenever the demo is made.

#include <chrono>
#include <string>

namespace quorin::demo {

class DemoDate {
public:
    DemoDate() = default;
    DemoDate(int year, unsigned month, unsigned day);

    static DemoDate today();  // the engine clock's date
    static DemoDate empty();  // SQL Server's empty date, 1900-01-01
    static DemoDate notReturned(); // 1901-01-01, a letter that did not come back

    DemoDate plusDays(int days) const;
    DemoDate minusDays(int days) const { return plusDays(-days); }
    DemoDate minusYears(int years) const;
    // Days from this date to the other (negative when the other is earlier).
    int daysUntil(const DemoDate& other) const { return static_cast<int>((other.m_days - m_days).count()); }
    int year() const;
    unsigned month() const;
    bool operator<(const DemoDate& other) const { return m_days < other.m_days; }

    // "YYYY-MM-DD 00:00:00.000", the engine's stored form.
    std::string stored() const;

private:
    std::chrono::sys_days m_days{};
};

} // namespace quorin::demo
