// The time stamp in the Windows user's regional settings and in named
// locales, as the system's own date and time formatting makes it.
#include "runtime/DateTimeText.h"

#include "SystemSide.h"

#include <regex>

#include <gtest/gtest.h>

namespace {

const TLocalDateTime kEvening {2026, 12, 8, 20, 3, 7};
const TLocalDateTime kMorning {2026, 1, 2, 9, 4, 5};

TEST(Win32TimeStamp, NamedLocalesGiveTheirOwnFormats)
{
    EXPECT_EQ(FormatTimeStamp(kEvening, "en_US"), "12/8/2026   8:03:07 PM");
    EXPECT_EQ(FormatTimeStamp(kMorning, "en_US"), "1/2/2026   9:04:05 AM");
    EXPECT_EQ(LongTimeFormat("en_US"), "h:mm:ss tt");
    EXPECT_EQ(ShortDateFormat("en_US"), "M/d/yyyy");
}

TEST(Win32TimeStamp, GermanHasLeadingZerosInTheDate)
{
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine 8 ships German's short date as \"d.M.yyyy\" (\"" << ShortDateFormat("de_DE")
                     << "\" here), Windows as \"dd.MM.yyyy\"";
    EXPECT_EQ(FormatTimeStamp(kEvening, "de_DE"), "08.12.2026   20:03:07");
    EXPECT_EQ(FormatTimeStamp(kMorning, "de_DE.1252"), "02.01.2026   09:04:05");
    EXPECT_EQ(ShortDateFormat("de_DE"), "dd.MM.yyyy");
}

TEST(Win32TimeStamp, GermanHasDayFirstAnd24Hours)
{
    // What Wine and Windows agree on.
    EXPECT_EQ(FormatTime(kEvening, "de_DE"), "20:03:07");
    EXPECT_EQ(FormatTime(kMorning, "de_DE.1252"), "09:04:05");
    static const std::regex dayFirst(R"(0?8\.12\.2026)");
    EXPECT_TRUE(std::regex_match(FormatDate(kEvening, "de_DE"), dayFirst)) << FormatDate(kEvening, "de_DE");
}

TEST(Win32TimeStamp, TheUserSettingsAreTheRegionalSettingsWithTheUsersChanges)
{
    const std::string named = FormatTimeStamp(kEvening, RegionalLocale());
    const ScopedUserLocaleInfo date(LOCALE_SSHORTDATE, "yyyy/MM/dd");
    const ScopedUserLocaleInfo time(LOCALE_STIMEFORMAT, "HH'h'mm'm'ss's'");
    ASSERT_TRUE(date.Ok() && time.Ok());
    EXPECT_EQ(ShortDateFormat(kUserSettings), "yyyy/MM/dd");
    EXPECT_EQ(LongTimeFormat(kUserSettings), "HH'h'mm'm'ss's'");
    EXPECT_EQ(FormatTimeStamp(kMorning, kUserSettings), "2026/01/02   09h04m05s");
    EXPECT_EQ(FormatTimeStamp(kEvening, RegionalLocale()), named) << "a named locale keeps its own formats";

    static const std::regex shape(R"(\d{4}/\d\d/\d\d   \d\dh\d\dm\d\ds)");
    const std::string stamp = TimeStampText();
    EXPECT_TRUE(std::regex_match(stamp, shape)) << stamp;
}

TEST(Win32TimeStamp, TheUsersAmAndPmMarksAreUsed)
{
    const ScopedUserLocaleInfo time(LOCALE_STIMEFORMAT, "h:mm:ss tt");
    const ScopedUserLocaleInfo am(LOCALE_S1159, "vorm.");
    const ScopedUserLocaleInfo pm(LOCALE_S2359, "nachm.");
    ASSERT_TRUE(time.Ok() && am.Ok() && pm.Ok());
    EXPECT_EQ(FormatTime(kEvening, kUserSettings), "8:03:07 nachm.");
    EXPECT_EQ(FormatTime(kMorning, kUserSettings), "9:04:05 vorm.");
}

TEST(Win32TimeStamp, RegionalLocaleNamesTheUsersLocale)
{
    const std::string locale = RegionalLocale();
    static const std::regex name(R"([a-z]{2,3}(_[A-Za-z0-9]+)*)");
    EXPECT_TRUE(std::regex_match(locale, name)) << locale;
    // Unchanged settings are the locale's own.
    EXPECT_EQ(FormatTimeStamp(kEvening, locale), FormatTimeStamp(kEvening, kUserSettings))
        << "is " << locale << " changed in this user's settings?";
}

}  // namespace
