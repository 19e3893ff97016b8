// The one clock. A fixed time, when set, wins over the system's local time; the
// environment variable QUORIN_CLOCK fixes it for a whole process (tools, the program
// under test) without any code.

#include "dalport/Clock.h"
#include "dalport/embedded/DateTime.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace dalport {

namespace {

std::mutex g_mutex;
std::optional<ClockTime> g_fixed;
bool g_initialised = false;

std::optional<ClockTime> parse(const std::string& when)
{
    embedded::DateTime t;
    if (when.empty() || embedded::readDate(when, t) != embedded::DateReading::Ok)
        return std::nullopt;
    return t;
}

std::optional<ClockTime> fromEnvironment()
{
    const char* env = std::getenv("QUORIN_CLOCK");
    return env ? parse(env) : std::nullopt;
}

// Called with the mutex held.
void initialiseOnce()
{
    if (!g_initialised) {
        g_fixed = fromEnvironment();
        g_initialised = true;
    }
}

ClockTime systemNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t secs = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &secs);
#else
    localtime_r(&secs, &local);
#endif
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
            local.tm_sec, static_cast<int>(ms)};
}

} // namespace

void SetFixedClock(const std::string& when)
{
    auto t = parse(when);
    if (!t)
        throw std::invalid_argument("not a date: '" + when + "'");
    SetFixedClock(*t);
}

void SetFixedClock(const ClockTime& when)
{
    std::lock_guard lock(g_mutex);
    g_initialised = true;
    g_fixed = when;
}

void ResetClock()
{
    std::lock_guard lock(g_mutex);
    g_fixed = fromEnvironment();
    g_initialised = true;
}

ClockTime ClockNow()
{
    std::lock_guard lock(g_mutex);
    initialiseOnce();
    return g_fixed ? *g_fixed : systemNow();
}

std::optional<std::string> ClockEnvironmentProblem()
{
    const char* env = std::getenv("QUORIN_CLOCK");
    if (!env || !*env || parse(env))
        return std::nullopt;
    return "QUORIN_CLOCK is set to \"" + std::string(env)
        + "\", which is not a date. Set it as \"YYYY-MM-DD\" or \"YYYY-MM-DD HH:MM:SS\" (for example "
          "\"2009-03-07 10:30:00\"), or unset it to use the system's time.";
}

std::string ClockNowText()
{
    return embedded::canonicalText(embedded::roundToTicks(ClockNow()));
}

} // namespace dalport
