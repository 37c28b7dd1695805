// What only the Qt side of the timer does: Qt counts a timer's period in a
// signed int, so a longer one cannot start.
#include "runtime/ExtCtrls.h"

#include <gtest/gtest.h>

namespace {

TEST(Timer, UnusableIntervalIsOutOfResources)
{
    TTimer timer(nullptr);
    try {
        timer.SetInterval(0xFFFFFFFFu);
        FAIL() << "no exception";
    } catch (const EOutOfResources& error) {
        EXPECT_STREQ(error.what(), "Not enough timers available");
    }
    EXPECT_FALSE(timer.Running());
}

}  // namespace
