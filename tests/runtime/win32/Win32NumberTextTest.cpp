// The decimal point of the user's regional settings, as number text starts
// with it.
#include "runtime/NumberText.h"
#include "runtime/NumberTextSystem.h"

#include "SystemSide.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

const char* const kReportVariable = "UMBRASCOPE_TEST_REPORT_DECIMAL_SEPARATOR";

// Started again by the test below, this program answers with the separator
// its number text started with, before GoogleTest runs anything.
const bool kReported = [] {
    if (std::getenv(kReportVariable) != nullptr)
        std::exit(static_cast<unsigned char>(DecimalSeparator()));
    return false;
}();

TEST(Win32NumberText, TheUsersDecimalPointIsRead)
{
    const char before = UserDecimalPoint();
    {
        const ScopedUserLocaleInfo comma(LOCALE_SDECIMAL, ",");
        ASSERT_TRUE(comma.Ok());
        EXPECT_EQ(UserDecimalPoint(), ',');
    }
    {
        const ScopedUserLocaleInfo apostrophe(LOCALE_SDECIMAL, "'");
        ASSERT_TRUE(apostrophe.Ok());
        EXPECT_EQ(UserDecimalPoint(), '\'');
    }
    EXPECT_EQ(UserDecimalPoint(), before) << "the setting is back as it was";
}

TEST(Win32NumberText, APointThatIsNotOneVisibleCharacterIsAPeriod)
{
    for (const char* point : {"->", " ", "\xB7\xB7"}) {
        const ScopedUserLocaleInfo setting(LOCALE_SDECIMAL, point);
        ASSERT_TRUE(setting.Ok()) << point;
        EXPECT_EQ(UserDecimalPoint(), '.') << '"' << point << '"';
    }
}

// A program started after the change starts with the new point, whether the
// change came through SetLocaleInfoA or straight into the registry (which
// Wine reads only as a process starts).
TEST(Win32NumberText, NumberTextStartsWithTheUsersDecimalPoint)
{
    {
        const ScopedUserLocaleInfo comma(LOCALE_SDECIMAL, ",");
        ASSERT_TRUE(comma.Ok());
        EXPECT_EQ(RunThisProgramWith(kReportVariable, "1"), ',');
    }
    {
        const ScopedUserRegistryText semicolon("Control Panel\\International", "sDecimal", ";");
        ASSERT_TRUE(semicolon.Ok());
        EXPECT_EQ(RunThisProgramWith(kReportVariable, "1"), ';');
    }
    EXPECT_EQ(RunThisProgramWith(kReportVariable, "1"), UserDecimalPoint()) << "the setting is back as it was";
}

}  // namespace
