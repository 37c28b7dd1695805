// The gauge's percentages and filled sizes, in extended arithmetic.
#include "gauge/GaugeFace.h"

#include <cmath>
#include <limits>

// The gauge's arithmetic is pinned to the x87 extended format: its results
// (one pixel short at some exact multiples) depend on it.
static_assert(std::numeric_limits<long double>::digits == 64, "long double must be the 80-bit extended type");

namespace {

// The extended value nearest to 0.01, just below it.
constexpr long double kHundredth = 0.01L;

int TruncToInt(long double value)
{
    const long double whole = std::trunc(value);
    if (whole <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (whole >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(whole);
}

}  // namespace

// Parts and wholes of up to 33 bits are exact in the 64-bit mantissa, and so
// is part * 100; only the division rounds.
int PercentOfSpan(std::int64_t part, std::int64_t whole)
{
    if (whole == 0)
        return 0;
    return TruncToInt(static_cast<long double>(part) * 100 / static_cast<long double>(whole));
}

int PercentForPart(std::int32_t Part, std::int32_t Whole)
{
    return PercentOfSpan(Part, Whole);
}

int SizeForPercent(std::int32_t Percent, std::int32_t Size)
{
    const long double share = static_cast<long double>(Percent) * kHundredth;
    return TruncToInt(static_cast<long double>(Size) * share);
}
