#include "chart/TeCanvasRaster.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {

// Coordinates are 32-bit, so products such as 2 * step * |dminor| need up to
// 66 bits; the planning arithmetic is done in 128 bits, the walk in 64.
using Wide = __int128;

Wide FloorDiv(Wide a, Wide b)  // b > 0
{
    Wide q = a / b;
    if (a % b != 0 && a < 0)
        --q;
    return q;
}

Wide CeilDiv(Wide a, Wide b)  // b > 0
{
    return -FloorDiv(-a, b);
}

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
    Wide lo = 0;
    Wide hi = n;
    if (majorStep > 0) {
        lo = std::max<Wide>(lo, majorLo - major0);
        hi = std::min<Wide>(hi, majorHi - major0);
    } else {
        lo = std::max<Wide>(lo, major0 - majorHi + 1);
        hi = std::min<Wide>(hi, major0 - majorLo + 1);
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
        const Wide twoN = Wide{2} * n;
        const Wide twoA = Wide{2} * a;
        lo = std::max(lo, CeilDiv(twoN * kLo - bias, twoA));
        hi = std::min(hi, FloorDiv(twoN * kHi - 1 - bias, twoA) + 1);
        if (lo >= hi)
            return false;
    }

    const Wide numerator = Wide{2} * lo * a + bias;
    const Wide wrap = Wide{2} * n;
    const std::int64_t f = static_cast<std::int64_t>(numerator / wrap);
    const std::int64_t major = major0 + majorStep * static_cast<std::int64_t>(lo);
    const std::int64_t minor = minor0 + minorStep * f;
    walk.X = static_cast<int>(xMajor ? major : minor);
    walk.Y = static_cast<int>(xMajor ? minor : major);
    walk.First = static_cast<std::int64_t>(lo);
    walk.Count = static_cast<std::int64_t>(hi - lo);
    walk.Rem = static_cast<std::int64_t>(numerator % wrap);
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

bool HasDirectPixels(const QImage& image)
{
    if (image.devicePixelRatio() != 1)
        return false;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        return false;
    }
}

void TPixelSink::Column(int x, int top, int bottom, std::uint32_t color) const
{
    if (top > bottom)
        return;
    if (FPixels != nullptr) {
        std::uint32_t* at = FPixels + static_cast<std::ptrdiff_t>(top) * FPixelsPerLine + x;
        for (int y = top; y <= bottom; ++y, at += FPixelsPerLine)
            *at = color;
    } else if (FPainter != nullptr) {
        FPainter->fillRect(QRect(x, top, 1, bottom - top + 1), QColor::fromRgb(color));
    }
}

void TPixelSink::Line(const TLineWalk& walk, std::uint32_t color) const
{
    if (FPixels != nullptr) {
        PaintLine(FPixels, FPixelsPerLine, walk, color);
        return;
    }
    if (FPainter == nullptr || walk.Count == 0)
        return;
    // Pixels that share a row (or column) go as one rectangle.
    const QColor qColor = QColor::fromRgb(color);
    WalkLineRuns(
        walk, [](std::int64_t) { return true; },
        [&](int left, int top, int width, int height, bool) { FPainter->fillRect(left, top, width, height, qColor); });
}
