// The time stamp's shape and its fallback where no regional settings apply,
// the same on every system, and the local clock.
#include "runtime/DateTimeText.h"

#include <ctime>

#include <gtest/gtest.h>

namespace {

const TLocalDateTime kEvening {2026, 12, 8, 20, 3, 7};
const TLocalDateTime kMorning {2026, 1, 2, 9, 4, 5};

TEST(TimeStamp, NoSettingsGiveANumericDateAndSeconds)
{
    EXPECT_EQ(FormatTimeStamp(kEvening, "C"), "2026-12-08   20:03:07");
    EXPECT_EQ(FormatTimeStamp(kMorning, "C"), "2026-01-02   09:04:05") << "leading zeros";
    EXPECT_EQ(FormatTimeStamp(kMorning, "POSIX"), "2026-01-02   09:04:05");
    EXPECT_EQ(FormatTimeStamp(kMorning, "C.UTF-8"), "2026-01-02   09:04:05");
    EXPECT_EQ(ShortDateFormat("C"), "yyyy-MM-dd");
    EXPECT_EQ(LongTimeFormat("C"), "HH:mm:ss");
}

TEST(TimeStamp, ALocaleTheSystemDoesNotKnowIsNoSettings)
{
    EXPECT_EQ(FormatTimeStamp(kEvening, "qx_QX"), "2026-12-08   20:03:07");
    EXPECT_EQ(ShortDateFormat("qx_QX"), "yyyy-MM-dd");
    EXPECT_EQ(LongTimeFormat("qx_QX"), "HH:mm:ss");
}

TEST(TimeStamp, DateAndTimeAreTheStampsTwoHalves)
{
    for (const std::string& locale : {std::string("C"), RegionalLocale(), std::string(kUserSettings)})
        EXPECT_EQ(FormatTimeStamp(kEvening, locale), FormatDate(kEvening, locale) + "   " + FormatTime(kEvening, locale))
            << '"' << locale << '"';
}

// The moment as the C library's local time reads it, in seconds since 1970.
std::time_t SecondsOf(const TLocalDateTime& moment)
{
    std::tm parts {};
    parts.tm_year = moment.Year - 1900;
    parts.tm_mon = moment.Month - 1;
    parts.tm_mday = moment.Day;
    parts.tm_hour = moment.Hour;
    parts.tm_min = moment.Minute;
    parts.tm_sec = moment.Second;
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

TEST(LocalClock, NowIsTheLocalTimeNotUniversalTime)
{
    const std::time_t before = std::time(nullptr);
    const TLocalDateTime now = LocalNow();
    const std::time_t after = std::time(nullptr);
    EXPECT_GE(SecondsOf(now), before);
    EXPECT_LE(SecondsOf(now), after);
}

TEST(LocalClock, TheTextsOfNowAreInTheUserSettings)
{
    const TLocalDateTime before = LocalNow();
    const std::string stamp = TimeStampText();
    const std::string date = DateText();
    const std::string time = TimeText();
    const TLocalDateTime after = LocalNow();
    EXPECT_TRUE(stamp == FormatTimeStamp(before, kUserSettings) || stamp == FormatTimeStamp(after, kUserSettings))
        << stamp;
    EXPECT_TRUE(date == FormatDate(before, kUserSettings) || date == FormatDate(after, kUserSettings)) << date;
    EXPECT_TRUE(time == FormatTime(before, kUserSettings) || time == FormatTime(after, kUserSettings)) << time;
}

}  // namespace
