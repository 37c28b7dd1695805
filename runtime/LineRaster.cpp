#include "runtime/LineRaster.h"

#include <algorithm>
#include <cstdint>

namespace {

// Coordinates are 32-bit, so products such as 2 * step * |dminor| need up to
// 67 bits. The planning arithmetic keeps them in a 128-bit value of its own
// (32-bit targets have no 128-bit integer), the walk in 64; the divisors
// are below 2^35 and the quotients that matter are step indexes. Clipped
// lines are common (a chart's line leaves its plot), so values that fit in
// 64 bits take the native arithmetic.
class TWide {
public:
    static TWide Product(std::int64_t a, std::int64_t b)
    {
        // Lines on the screen stay far below 2^31 on both counts.
        constexpr std::int64_t kSmall = std::int64_t{1} << 31;
        if (a > -kSmall && a < kSmall && b > -kSmall && b < kSmall)
            return FromInt64(a * b);
        const bool negative = (a < 0) != (b < 0);
        const std::uint64_t x = Magnitude(a);
        const std::uint64_t y = Magnitude(b);
        const std::uint64_t x0 = x & 0xFFFFFFFFu, x1 = x >> 32;
        const std::uint64_t y0 = y & 0xFFFFFFFFu, y1 = y >> 32;
        const std::uint64_t low = x0 * y0;
        const std::uint64_t middle1 = x1 * y0 + (low >> 32);
        const std::uint64_t middle2 = x0 * y1 + (middle1 & 0xFFFFFFFFu);
        TWide result;
        result.FHi = x1 * y1 + (middle1 >> 32) + (middle2 >> 32);
        result.FLo = (middle2 << 32) | (low & 0xFFFFFFFFu);
        return negative ? result.Negated() : result;
    }

    TWide Plus(std::int64_t value) const
    {
        TWide result;
        const std::uint64_t add = static_cast<std::uint64_t>(value);
        result.FLo = FLo + add;
        result.FHi = FHi + (value < 0 ? ~std::uint64_t{0} : 0) + (result.FLo < FLo ? 1 : 0);
        return result;
    }

    bool IsNegative() const { return (FHi >> 63) != 0; }

    // floor(this / divisor) for 0 < divisor < 2^63, held to +-2^62 (far
    // beyond any step index, so comparisons with them stay right).
    std::int64_t FloorDiv(std::int64_t divisor) const
    {
        if (FitsInt64()) {
            const auto value = static_cast<std::int64_t>(FLo);
            const std::int64_t quotient = value / divisor;
            return quotient - (value % divisor != 0 && value < 0 ? 1 : 0);
        }
        std::uint64_t remainder = 0;
        const TWide magnitude = IsNegative() ? Negated() : *this;
        const std::uint64_t quotient = magnitude.DivideMagnitude(static_cast<std::uint64_t>(divisor), remainder);
        if (!IsNegative())
            return static_cast<std::int64_t>(quotient);
        return -static_cast<std::int64_t>(quotient) - (remainder != 0 ? 1 : 0);
    }
    std::int64_t CeilDiv(std::int64_t divisor) const { return -Negated().FloorDiv(divisor); }
    // For a value that is not negative.
    std::int64_t Remainder(std::int64_t divisor) const
    {
        if (FitsInt64())
            return static_cast<std::int64_t>(FLo) % divisor;
        std::uint64_t remainder = 0;
        DivideMagnitude(static_cast<std::uint64_t>(divisor), remainder);
        return static_cast<std::int64_t>(remainder);
    }

private:
    static TWide FromInt64(std::int64_t value)
    {
        TWide result;
        result.FLo = static_cast<std::uint64_t>(value);
        result.FHi = value < 0 ? ~std::uint64_t{0} : 0;
        return result;
    }

    // The high word only repeats the sign of the low one.
    bool FitsInt64() const { return FHi == ((FLo >> 63) != 0 ? ~std::uint64_t{0} : 0); }

    static constexpr std::uint64_t kQuotientLimit = std::uint64_t{1} << 62;

    static std::uint64_t Magnitude(std::int64_t value)
    {
        return value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    }

    TWide Negated() const
    {
        TWide result;
        result.FLo = ~FLo + 1;
        result.FHi = ~FHi + (result.FLo == 0 ? 1 : 0);
        return result;
    }

    // Bit by bit, for lines beyond the 64-bit products (coordinates in the
    // billions); the divisor stays below 2^63, so the running remainder
    // never overflows when shifted.
    std::uint64_t DivideMagnitude(std::uint64_t divisor, std::uint64_t& remainder) const
    {
        std::uint64_t quotientHi = 0;
        std::uint64_t quotientLo = 0;
        remainder = 0;
        for (int bit = 127; bit >= 0; --bit) {
            const std::uint64_t word = bit >= 64 ? FHi : FLo;
            remainder = (remainder << 1) | ((word >> (bit & 63)) & 1);
            quotientHi = (quotientHi << 1) | (quotientLo >> 63);
            quotientLo <<= 1;
            if (remainder >= divisor) {
                remainder -= divisor;
                quotientLo |= 1;
            }
        }
        return quotientHi != 0 || quotientLo > kQuotientLimit ? kQuotientLimit : quotientLo;
    }

    std::uint64_t FHi = 0;
    std::uint64_t FLo = 0;
};

}  // namespace

TRect IntersectRects(const TRect& a, const TRect& b)
{
    return TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                 std::min(a.Bottom, b.Bottom)};
}

namespace {

// The part of PlanLine for a line that crosses the clip's edge; kept out of
// the way of the usual case.
[[gnu::noinline]] bool PlanClippedLine(int x0, int y0, const TRect& clip, std::int64_t n, std::int64_t a,
                                       std::int64_t bias, TLineWalk& walk)
{
    if (IsEmptyRect(clip))
        return false;
    const bool xMajor = walk.XMajor;
    const int majorStep = walk.MajorStep;
    const int minorStep = walk.MinorStep;
    const std::int64_t major0 = xMajor ? x0 : y0;
    const std::int64_t minor0 = xMajor ? y0 : x0;
    const std::int64_t majorLo = xMajor ? clip.Left : clip.Top;
    const std::int64_t majorHi = xMajor ? clip.Right : clip.Bottom;
    const std::int64_t minorLo = xMajor ? clip.Top : clip.Left;
    const std::int64_t minorHi = xMajor ? clip.Bottom : clip.Right;

    // Steps whose major coordinate lies inside the clip, as [lo, hi).
    std::int64_t lo = 0;
    std::int64_t hi = n;
    if (majorStep > 0) {
        lo = std::max<std::int64_t>(lo, majorLo - major0);
        hi = std::min<std::int64_t>(hi, majorHi - major0);
    } else {
        lo = std::max<std::int64_t>(lo, major0 - majorHi + 1);
        hi = std::min<std::int64_t>(hi, major0 - majorLo + 1);
    }
    if (lo >= hi)
        return false;

    // f(i) must lie in [kLo, kHi) for the minor coordinate to be inside; f
    // never decreases, so that is one more range of steps.
    const std::int64_t kLo = minorStep > 0 ? minorLo - minor0 : minor0 - minorHi + 1;
    const std::int64_t kHi = minorStep > 0 ? minorHi - minor0 : minor0 - minorLo + 1;
    if (a == 0) {
        if (kLo > 0 || kHi <= 0)
            return false;
    } else {
        const std::int64_t twoN = 2 * n;
        const std::int64_t twoA = 2 * a;
        lo = std::max(lo, TWide::Product(twoN, kLo).Plus(-bias).CeilDiv(twoA));
        hi = std::min(hi, TWide::Product(twoN, kHi).Plus(-1 - bias).FloorDiv(twoA) + 1);
        if (lo >= hi)
            return false;
    }

    const TWide numerator = TWide::Product(2 * lo, a).Plus(bias);
    const std::int64_t wrap = 2 * n;
    const std::int64_t f = numerator.FloorDiv(wrap);
    const std::int64_t major = major0 + majorStep * lo;
    const std::int64_t minor = minor0 + minorStep * f;
    walk.X = static_cast<int>(xMajor ? major : minor);
    walk.Y = static_cast<int>(xMajor ? minor : major);
    walk.First = lo;
    walk.Count = hi - lo;
    walk.Rem = numerator.Remainder(wrap);
    return true;
}

}  // namespace

bool PlanLine(int x0, int y0, int x1, int y1, const TRect& clip, TLineWalk& walk)
{
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    const bool xMajor = adx >= ady;
    const std::int64_t n = xMajor ? adx : ady;
    if (n == 0)
        return false;
    const std::int64_t a = xMajor ? ady : adx;
    const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    // Step i lands on minor0 + minorStep * f(i), f(i) = floor((2ia + bias) / 2n):
    // bias n - 1 rounds a half down, n rounds it up; either way the tie goes
    // to the smaller coordinate.
    const std::int64_t bias = minorStep > 0 ? n - 1 : n;

    walk.XMajor = xMajor;
    walk.Length = n;
    walk.MajorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    walk.MinorStep = minorStep;
    walk.Inc = 2 * a;
    walk.Wrap = 2 * n;

    const auto inside = [&clip](int x, int y) {
        return x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom;
    };
    if (!inside(x0, y0) || !inside(x1, y1))
        return PlanClippedLine(x0, y0, clip, n, a, bias, walk);
    // The usual case, a segment inside the plot: no division at all.
    walk.X = x0;
    walk.Y = y0;
    walk.First = 0;
    walk.Count = n;
    walk.Rem = bias;
    return true;
}

void PaintLine(std::uint32_t* pixels, std::ptrdiff_t pixelsPerLine, const TLineWalk& walk, std::uint32_t color)
{
    std::ptrdiff_t at = static_cast<std::ptrdiff_t>(walk.Y) * pixelsPerLine + walk.X;
    if (walk.Inc == 0 && walk.XMajor) {
        // Axis lines and grid: one row.
        const std::ptrdiff_t start = walk.MajorStep > 0 ? at : at - (walk.Count - 1);
        std::fill_n(pixels + start, walk.Count, color);
        return;
    }
    const std::ptrdiff_t major = walk.XMajor ? walk.MajorStep : walk.MajorStep * pixelsPerLine;
    const std::ptrdiff_t minor = walk.XMajor ? walk.MinorStep * pixelsPerLine : walk.MinorStep;
    std::int64_t rem = walk.Rem;
    for (std::int64_t k = walk.Count; k > 0; --k) {
        pixels[at] = color;
        at += major;
        rem += walk.Inc;
        if (rem >= walk.Wrap) {
            rem -= walk.Wrap;
            at += minor;
        }
    }
}
