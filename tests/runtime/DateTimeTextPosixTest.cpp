// The time-stamp text in a few regional settings as Linux has them, and the
// user's settings from the environment.
#include "runtime/DateTimeText.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

const TLocalDateTime kEvening {2026, 12, 8, 20, 3, 7};
const TLocalDateTime kMorning {2026, 1, 2, 9, 4, 5};

TLocalDateTime MomentOf(const QDateTime& moment)
{
    return {moment.date().year(), moment.date().month(), moment.date().day(),
            moment.time().hour(), moment.time().minute(), moment.time().second()};
}

// Splits a time stamp at its three-blank separator.
std::pair<std::string, std::string> DateAndTime(const std::string& stamp)
{
    const std::size_t at = stamp.find("   ");
    EXPECT_NE(at, std::string::npos) << stamp;
    EXPECT_GT(at, 0u) << stamp;
    if (at == std::string::npos)
        return {stamp, {}};
    return {stamp.substr(0, at), stamp.substr(at + 3)};
}

TEST(TimeStamp, UnitedStatesShowsMonthFirstAndAmPm)
{
    EXPECT_EQ(FormatTimeStamp(kEvening, "en_US"), "12/8/26   8:03:07 PM");
    EXPECT_EQ(FormatTimeStamp(kMorning, "en_US"), "1/2/26   9:04:05 AM");
    EXPECT_EQ(ShortDateFormat("en_US"), "M/d/yy");
}

TEST(TimeStamp, GermanShowsDayFirstAnd24Hours)
{
    EXPECT_EQ(FormatTimeStamp(kEvening, "de_DE"), "08.12.26   20:03:07");
    EXPECT_EQ(FormatTimeStamp(kMorning, "de_DE.UTF-8"), "02.01.26   09:04:05");
}

TEST(TimeStamp, NoLocaleShowsATimeZone)
{
    // Every locale's long time carries a zone that must go, wherever it stands.
    for (const char* locale : {"en_GB", "zh_CN", "fi_FI", "ja_JP", "ar_EG"}) {
        const std::string format = LongTimeFormat(locale);
        EXPECT_EQ(format.find('t'), std::string::npos) << format;
        EXPECT_NE(format.find('s'), std::string::npos) << format;
        EXPECT_EQ(QString::fromStdString(format), QString::fromStdString(format).trimmed());
        const auto [date, time] = DateAndTime(FormatTimeStamp(kEvening, locale));
        EXPECT_FALSE(date.empty());
        EXPECT_TRUE(time.find("UTC") == std::string::npos && time.find("GMT") == std::string::npos) << time;
    }
}

// The user's settings come from the environment as the C library reads it.
class RegionalSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            FSaved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
    }
    void TearDown() override
    {
        for (const auto& [name, value] : FSaved) {
            if (value)
                ::setenv(name, value->c_str(), 1);
            else
                ::unsetenv(name);
        }
    }

    static constexpr const char* kNames[] = {"LC_ALL", "LC_TIME", "LANG"};
    std::vector<std::pair<const char*, std::optional<std::string>>> FSaved;
};

TEST_F(RegionalSettings, AllOverridesTimeWhichOverridesLang)
{
    EXPECT_EQ(RegionalLocale(), "C");
    ::setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(RegionalLocale(), "de_DE");
    ::setenv("LC_TIME", "en_US.UTF-8@x", 1);
    EXPECT_EQ(RegionalLocale(), "en_US");
    ::setenv("LC_ALL", "POSIX", 1);
    EXPECT_EQ(RegionalLocale(), "C");
    ::setenv("LC_ALL", "C.UTF-8", 1);
    EXPECT_EQ(RegionalLocale(), "C");
}

TEST_F(RegionalSettings, TheUserSettingsAreThoseOfTheEnvironment)
{
    ::setenv("LC_TIME", "en_US.UTF-8", 1);
    EXPECT_EQ(FormatTimeStamp(kEvening, kUserSettings), "12/8/26   8:03:07 PM");
    ::setenv("LC_TIME", "de_DE.UTF-8", 1);
    EXPECT_EQ(FormatTimeStamp(kEvening, kUserSettings), "08.12.26   20:03:07");
    EXPECT_EQ(LongTimeFormat(kUserSettings), "HH:mm:ss");
    ::unsetenv("LC_TIME");
    EXPECT_EQ(FormatTimeStamp(kEvening, kUserSettings), "2026-12-08   20:03:07");
}

TEST_F(RegionalSettings, TimeStampTextReadsTheClockInTheUserFormat)
{
    ::setenv("LC_TIME", "de_DE.UTF-8", 1);
    const QDateTime before = QDateTime::currentDateTime();
    const std::string stamp = TimeStampText();
    const QDateTime after = QDateTime::currentDateTime();
    static const QRegularExpression shape(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d   \\d\\d:\\d\\d:\\d\\d$"));
    EXPECT_TRUE(shape.match(QString::fromStdString(stamp)).hasMatch()) << stamp;
    EXPECT_TRUE(stamp == FormatTimeStamp(MomentOf(before), "de_DE") || stamp == FormatTimeStamp(MomentOf(after), "de_DE"))
        << stamp;
}

}  // namespace
