// The one clock: fixed by tests, by QUORIN_CLOCK, or the system's.

#include "dalport/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

namespace {

TEST(Clock, FixedTimeIsWhatEveryoneReads)
{
    dalport::SetFixedClock("3/7/2009 14:05:09");
    const dalport::ClockTime t = dalport::ClockNow();
    EXPECT_EQ(t.year, 2009);
    EXPECT_EQ(t.month, 3);
    EXPECT_EQ(t.day, 7);
    EXPECT_EQ(t.hour, 14);
    EXPECT_EQ(dalport::ClockNowText(), "2009-03-07 14:05:09.000");
    dalport::ResetClock();
}

TEST(Clock, EnvironmentFixesItForTheProcess)
{
    ::setenv("QUORIN_CLOCK", "2012-02-29", 1);
    dalport::ResetClock();
    EXPECT_EQ(dalport::ClockNowText(), "2012-02-29 00:00:00.000");
    ::unsetenv("QUORIN_CLOCK");
    dalport::ResetClock();
    EXPECT_GE(dalport::ClockNow().year, 2024);
}

TEST(Clock, RefusesTextThatIsNoDate)
{
    EXPECT_THROW(dalport::SetFixedClock("2/30/2005"), std::invalid_argument);
    EXPECT_THROW(dalport::SetFixedClock("soon"), std::invalid_argument);
}

} // namespace
