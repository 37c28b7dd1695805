// Reading the meter's number text, and the process-wide decimal separator.
#include "runtime/NumberText.h"

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(NumberText, ReadsTheNumberSyntax)
{
    const std::pair<const char*, long double> table[] = {
        {"19.53", 19.53L}, {"+19.5", 19.5L}, {"-1.00", -1.0L}, {"30", 30.0L},  {".5", 0.5L},
        {"5.", 5.0L},      {".", 0.0L},      {"+.", 0.0L},     {"-.", 0.0L},   {"1e3", 1000.0L},
        {"1E+2", 100.0L},  {"25e-1", 2.5L},  {"1e", 1.0L},     {"1e+", 1.0L},  {"2E-", 2.0L},
        {".e5", 0.0L},     {"007", 7.0L},    {"0.000", 0.0L},  {"1.5e0003", 1500.0L},
    };
    for (const auto& [text, expected] : table) {
        const auto value = TryStrToReading(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(*value, expected) << text;
    }
}

TEST(NumberText, RefusesEverythingElse)
{
    for (const char* text : {"", "-", "+", "e5", "E", "1.2.3", " 1", "1 ", "1 .5", "inf", "-inf", "nan", "INF",
                             "0x1A", "1,5", "1,000", "1e5.0", "1e+-2", "++1", "HELLO", "ERROR", "9.53#", "1e1e1",
                             "\t1", "1d", "1f"})
        EXPECT_FALSE(TryStrToReading(text).has_value()) << '"' << text << '"';
}

TEST(NumberText, ValueIsTheNearestExtended)
{
    // 16.05 is not exact in binary: times 100 it lies just below 1605,
    // which decides the gauge's position.
    const long double reading = *TryStrToReading("16.05");
    EXPECT_EQ(std::trunc(reading * 100), 1604.0L);
    EXPECT_EQ(reading, 16.05L);
    EXPECT_NE(static_cast<double>(reading), 16.05L) << "extended, not double, precision";
    EXPECT_EQ(std::trunc(*TryStrToReading("19.53") * 100), 1953.0L);
    // Nineteen significant digits need the full 64-bit mantissa.
    EXPECT_EQ(*TryStrToReading("1.234567890123456789"), 1.234567890123456789L);
    EXPECT_EQ(*TryStrToReading("0.1"), 0.1L);
}

// A library of the process (one the file chooser loads, say) may switch
// the C locale to one with a decimal comma; readings keep their point.
TEST(NumberText, ThePointStaysWhateverTheCLocaleSays)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE", "German_Germany.1252", "German", "deu"})
        if (std::setlocale(LC_ALL, name) != nullptr && std::string(std::localeconv()->decimal_point) == ",") {
            comma = true;
            break;
        }
    if (!comma) {
        std::setlocale(LC_ALL, before.c_str());
        GTEST_SKIP() << "no C locale with a decimal comma here";
    }
    const auto reading = TryStrToReading("19.53");
    const auto scaled = TryStrToReading("-1.5e1");
    const auto localSpelling = TryStrToReading("19,53");
    std::setlocale(LC_ALL, before.c_str());
    ASSERT_TRUE(reading.has_value());
    EXPECT_EQ(*reading, 19.53L);
    ASSERT_TRUE(scaled.has_value());
    EXPECT_EQ(*scaled, -15.0L);
    EXPECT_FALSE(localSpelling.has_value()) << "the meter's syntax has no comma";
}

TEST(NumberText, SignedZeroAndLimits)
{
    const long double negativeZero = *TryStrToReading("-0");
    EXPECT_EQ(negativeZero, 0.0L);
    EXPECT_TRUE(std::signbit(negativeZero));

    // The largest extended value is about 1.18973e4932.
    EXPECT_FALSE(TryStrToReading("1e4933").has_value()) << "too large for extended";
    EXPECT_FALSE(TryStrToReading("1.19e4932").has_value());
    EXPECT_EQ(*TryStrToReading("1.18e4932"), 1.18e4932L);
    EXPECT_FALSE(TryStrToReading("-1e99999999999999999999").has_value());
    const auto largest = TryStrToReading("1e4931");
    ASSERT_TRUE(largest.has_value());
    EXPECT_TRUE(std::isfinite(*largest));

    const auto tiny = TryStrToReading("1e-4950");
    ASSERT_TRUE(tiny.has_value()) << "underflow is a (subnormal) number, not a failure";
    EXPECT_GT(*tiny, 0.0L);
    EXPECT_LT(*tiny, std::numeric_limits<long double>::min());
    EXPECT_EQ(*TryStrToReading("1e-5000"), 0.0L);
}

TEST(NumberText, TrimControlsCutsCodesUpTo32AtBothEnds)
{
    EXPECT_EQ(TrimControls(" 9.53"), "9.53");
    EXPECT_EQ(TrimControls("\r\n\t 19.5\x01\x1f "), "19.5");
    EXPECT_EQ(TrimControls(std::string_view("\0\0" "1 2\0", 6)), "1 2") << "inner blanks stay; zero bytes go";
    EXPECT_EQ(TrimControls("   "), "");
    EXPECT_EQ(TrimControls(""), "");
    EXPECT_EQ(TrimControls("\x7f" "1"), "\x7f" "1") << "DEL (127) is not a control here";
    EXPECT_EQ(TrimControls("\xA0" "1"), "\xA0" "1") << "codes above 127 are characters";
}

TEST(NumberText, DecimalSeparatorHoldsWhatWasSet)
{
    const char initial = DecimalSeparator();
    EXPECT_GT(static_cast<unsigned char>(initial), 32) << "starts as the locale's point, a visible character";
    SetDecimalSeparator(',');
    EXPECT_EQ(DecimalSeparator(), ',');
    SetDecimalSeparator('.');
    EXPECT_EQ(DecimalSeparator(), '.');
    SetDecimalSeparator(initial);
}

}  // namespace
