// The gauge's unit arithmetic: percentages and pixel shares in 80-bit
// extended precision.
#include "gauge/GaugeFace.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

TEST(GaugeArithmetic, HundredthIsTheNearestExtendedValueJustBelowIt)
{
    int exponent = 0;
    const long double fraction = std::frexp(0.01L, &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    // 0.01 = mantissa * 2^(exponent - 64) exactly would need 100 * mantissa
    // to equal 2^(64 - exponent).
    const unsigned __int128 one = static_cast<unsigned __int128>(1) << (64 - exponent);
    const unsigned __int128 below = one - static_cast<unsigned __int128>(mantissa) * 100;
    const unsigned __int128 above = static_cast<unsigned __int128>(mantissa + 1) * 100 - one;
    EXPECT_EQ(mantissa, 0xA3D70A3D70A3D70Aull);
    EXPECT_GT(below, 0u);
    EXPECT_LT(below, above);
}

TEST(GaugeArithmetic, SizeForPercentComesOneShortAtSomeExactMultiples)
{
    const struct {
        int percent, size, expected;
    } cases[] = {
        {20, 5, 0},   {10, 10, 0},   {30, 10, 2}, {60, 5, 2},     {40, 5, 1},
        {50, 10, 5},  {25, 4, 1},    {0, 353, 0}, {100, 1, 1},    {100, 5, 5},
        {100, 353, 353}, {100, 0, 0}, {100, INT_MAX, INT_MAX},    {-50, 10, -5},
        {INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MAX, INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeForPercent(c.percent, c.size), c.expected) << c.percent << " % of " << c.size;
}

TEST(GaugeArithmetic, SizeForPercentIsExactAtTheMainWindowsBarHeight)
{
    for (int percent = 0; percent <= 100; ++percent)
        EXPECT_EQ(SizeForPercent(percent, 353), 353 * percent / 100) << percent << " %";
}

TEST(GaugeArithmetic, PercentForPartTruncates)
{
    const struct {
        int part, whole, expected;
    } cases[] = {
        {0, 0, 0}, {7, 0, 0}, {1, 3, 33}, {2, 3, 66}, {3, 3, 100}, {-1, 3, -33},
        {INT_MAX, INT_MAX, 100}, {INT_MAX - 1, INT_MAX, 99}, {INT_MAX, 1, INT_MAX}, {INT_MIN, 1, INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PercentForPart(c.part, c.whole), c.expected) << c.part << " of " << c.whole;
    for (int whole = 1; whole <= 400; ++whole)
        for (int part = 0; part <= whole; ++part)
            ASSERT_EQ(PercentForPart(part, whole), part * 100 / whole) << part << " of " << whole;
}

TEST(GaugeArithmetic, BarFillRectangles)
{
    const struct {
        TGaugeKind kind;
        TRect face;
        int percent;
        TRect expected;
    } cases[] = {
        {gkVerticalBar, {1, 1, 16, 353}, 0, {1, 353, 16, 353}},
        {gkVerticalBar, {1, 1, 16, 353}, 45, {1, 195, 16, 353}},
        {gkVerticalBar, {1, 1, 16, 353}, 100, {1, 1, 16, 353}},
        {gkVerticalBar, {0, 0, 10, 20}, 100, {0, 1, 11, 21}},  // no frame: the top row stays
        {gkVerticalBar, {0, 0, 10, 20}, 0, {0, 21, 11, 21}},
        {gkHorizontalBar, {1, 1, 5, 9}, 20, {}},               // W 5: 20 % of it is 0
        {gkHorizontalBar, {1, 1, 5, 9}, 60, {1, 1, 2, 9}},
        {gkHorizontalBar, {1, 1, 5, 9}, 100, {1, 1, 5, 9}},
        {gkHorizontalBar, {0, 0, 10, 4}, 100, {0, 0, 11, 5}},
        {gkPie, {1, 1, 99, 99}, 50, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BarFillRect(c.kind, c.face, c.percent), c.expected) << int(c.kind) << " at " << c.percent;
}

TEST(GaugeArithmetic, PieAndNeedlePoints)
{
    const TRect face{1, 1, 99, 99};
    EXPECT_EQ(PieStartPoint(face, bsSingle, 25), (TPoint{98, 49}));
    EXPECT_EQ(PieStartPoint(face, bsSingle, 50), (TPoint{49, 98}));
    EXPECT_EQ(PieStartPoint(face, bsSingle, 75), (TPoint{0, 49}));
    EXPECT_EQ(PieStartPoint(face, bsSingle, 100), (TPoint{49, 0}));
    EXPECT_EQ(PieStartPoint(TRect{0, 0, 101, 101}, bsNone, 25), (TPoint{100, 50}));
    EXPECT_EQ(NeedleTip(100, face, 1), (TPoint{0, 95}));
    EXPECT_EQ(NeedleTip(100, face, 50), (TPoint{50, 0}));
    EXPECT_EQ(NeedleTip(100, face, 100), (TPoint{100, 98}));
}

}  // namespace
