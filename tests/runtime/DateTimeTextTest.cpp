// The time-stamp text in a few regional settings.
#include "runtime/DateTimeText.h"

#include <QRegularExpression>

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

const QDateTime kEvening(QDate(2026, 12, 8), QTime(20, 3, 7));
const QDateTime kMorning(QDate(2026, 1, 2), QTime(9, 4, 5));

// Splits a time stamp at its three-blank separator.
std::pair<QString, QString> DateAndTime(const QString& stamp)
{
    const qsizetype at = stamp.indexOf(QLatin1String("   "));
    EXPECT_GT(at, 0) << stamp.toStdString();
    return {stamp.left(at), stamp.mid(at + 3)};
}

TEST(TimeStamp, UnitedStatesShowsMonthFirstAndAmPm)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(FormatTimeStamp(kEvening, us), QStringLiteral("12/8/26   8:03:07 PM"));
    EXPECT_EQ(FormatTimeStamp(kMorning, us), QStringLiteral("1/2/26   9:04:05 AM"));
}

TEST(TimeStamp, GermanShowsDayFirstAnd24Hours)
{
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(FormatTimeStamp(kEvening, de), QStringLiteral("08.12.26   20:03:07"));
    EXPECT_EQ(FormatTimeStamp(kMorning, de), QStringLiteral("02.01.26   09:04:05"));
}

TEST(TimeStamp, NoSettingsGiveANumericDateAndSeconds)
{
    EXPECT_EQ(FormatTimeStamp(kEvening, QLocale::c()), QStringLiteral("2026-12-08   20:03:07"));
}

TEST(TimeStamp, NoLocaleShowsATimeZone)
{
    // Every locale's long time carries a zone that must go, wherever it stands.
    for (const auto& [language, country] : {std::pair{QLocale::English, QLocale::UnitedKingdom},
                                            {QLocale::Chinese, QLocale::China},
                                            {QLocale::Finnish, QLocale::Finland},
                                            {QLocale::Japanese, QLocale::Japan},
                                            {QLocale::Arabic, QLocale::Egypt}}) {
        const QLocale locale(language, country);
        const QString format = LongTimeFormat(locale);
        EXPECT_FALSE(format.contains(QLatin1Char('t'))) << format.toStdString();
        EXPECT_TRUE(format.contains(QLatin1Char('s'))) << format.toStdString();
        EXPECT_EQ(format, format.trimmed());
        const auto [date, time] = DateAndTime(FormatTimeStamp(kEvening, locale));
        EXPECT_FALSE(date.isEmpty());
        EXPECT_FALSE(time.contains(QLatin1String("UTC")) || time.contains(QLatin1String("GMT"))) << time.toStdString();
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
    EXPECT_EQ(RegionalLocale(), QLocale::c());
    ::setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(RegionalLocale().language(), QLocale::German);
    ::setenv("LC_TIME", "en_US.UTF-8@x", 1);
    EXPECT_EQ(RegionalLocale().territory(), QLocale::UnitedStates);
    ::setenv("LC_ALL", "POSIX", 1);
    EXPECT_EQ(RegionalLocale(), QLocale::c());
    ::setenv("LC_ALL", "C.UTF-8", 1);
    EXPECT_EQ(RegionalLocale(), QLocale::c());
}

TEST_F(RegionalSettings, TimeStampTextReadsTheClockInTheUserFormat)
{
    ::setenv("LC_TIME", "de_DE.UTF-8", 1);
    const QDateTime before = QDateTime::currentDateTime();
    const QString stamp = TimeStampText();
    const QDateTime after = QDateTime::currentDateTime();
    static const QRegularExpression shape(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d   \\d\\d:\\d\\d:\\d\\d$"));
    EXPECT_TRUE(shape.match(stamp).hasMatch()) << stamp.toStdString();
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_TRUE(stamp == FormatTimeStamp(before, de) || stamp == FormatTimeStamp(after, de)) << stamp.toStdString();
}

}  // namespace
