#include "database/demo/DemoDate.h"

#include "dalport/Clock.h"

#include <cstdio>

namespace quorin::demo {

namespace chr = std::chrono;

DemoDate::DemoDate(int y, unsigned m, unsigned d)
    : m_days(chr::sys_days{chr::year{y} / chr::month{m} / chr::day{d}})
{
}

DemoDate DemoDate::today()
{
    const auto now = dalport::ClockNow();
    return DemoDate(now.year, static_cast<unsigned>(now.month), static_cast<unsigned>(now.day));
}

DemoDate DemoDate::empty() { return DemoDate(1900, 1, 1); }
DemoDate DemoDate::notReturned() { return DemoDate(1901, 1, 1); }

DemoDate DemoDate::plusDays(int n) const
{
    DemoDate d;
    d.m_days = m_days + chr::days{n};
    return d;
}

DemoDate DemoDate::minusYears(int n) const
{
    chr::year_month_day ymd{m_days};
    ymd = ymd - chr::years{n};
    if (!ymd.ok()) // 29 February in a year without one
        ymd = ymd.year() / ymd.month() / chr::last;
    DemoDate d;
    d.m_days = chr::sys_days{ymd};
    return d;
}

int DemoDate::year() const { return static_cast<int>(chr::year_month_day{m_days}.year()); }
unsigned DemoDate::month() const { return static_cast<unsigned>(chr::year_month_day{m_days}.month()); }

std::string DemoDate::stored() const
{
    const chr::year_month_day ymd{m_days};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u 00:00:00.000", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return text;
}

} // namespace quorin::demo
