// The fast path of line drawing: values to pixels without a call per point,
// and a polyline of one-pixel solid segments in one colour written to a
// pixel sink (straight into 32-bit pixels where it can).
//
// The polyline gives exactly the pixels that drawing its segments one by one
// with PlanLine and PaintLine gives (which is what the surface's LineTo does
// with such a pen), but dense data costs next to nothing: consecutive
// segments that stay in one pixel column are vertical, and their pixels form
// one unbroken span of that column (each segment starts where the last one
// ended, next to the pixels it painted), so they are merged into that span
// and written once when the line leaves the column. Only segments that
// change column are walked pixel by pixel.
#pragma once

#include "chart/TeCanvasRaster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

// The value-to-pixel mapping of an axis in its working state: the same
// result as the axis' ValueToPixel, except for a value that cannot be
// placed (its distance from the range's start is 2^31 - 1 pixels or more, or
// it is not a number): the axis answers with its centre, this mapping says
// there is no pixel.
//
// The axis divides by the range for every value. Here the quotient is
// approximated by a product with the precomputed scale, which is within a
// millionth of a pixel of it for every distance that can be placed; only
// when that leaves the rounding in doubt (a value within that much of half
// a pixel, or magnitudes where the bound does not hold) is the division
// done, so the result is the axis' own.
class TAxisPixelMap {
public:
    static constexpr double kMaxDistance = 2147483647.0;

    TAxisPixelMap() = default;
    TAxisPixelMap(double workMin, double workRange, int axisSize, int startPixel, int endPixel, int centerPixel,
                  bool fromEnd)
        : FWorkMin(workMin), FWorkRange(workRange), FAxisSize(axisSize), FStartPixel(startPixel),
          FEndPixel(endPixel), FCenterPixel(centerPixel), FFromEnd(fromEnd)
    {
        const double range = std::fabs(workRange);
        FScaled = range > kTiny && range < kHuge && axisSize >= 0;
        FScale = FScaled ? axisSize / workRange : 0;
    }

    // Sets `pixel` and returns true, or returns false when `value` cannot
    // be placed.
    bool Pixel(double value, int& pixel) const
    {
        if (FWorkRange == 0) {
            pixel = FCenterPixel;
            return true;
        }
        const double distance = value - FWorkMin;
        const double magnitude = std::fabs(distance);
        double t = distance * FScale;
        double whole = RoundHalfEven(t);
        const bool sure = FScaled && magnitude < kHuge && (magnitude > kTiny || distance == 0) &&
                          std::fabs(t) < kMaxDistance - 1 && std::fabs(t - whole) < 0.5 - kSlack;
        if (!sure) {
            t = distance * FAxisSize / FWorkRange;
            if (!(std::fabs(t) < kMaxDistance))
                return false;
            whole = RoundHalfEven(t);
        }
        const std::int64_t offset = static_cast<std::int64_t>(whole);
        const std::int64_t p = FFromEnd ? FEndPixel - offset : FStartPixel + offset;
        pixel = static_cast<int>(
            std::clamp<std::int64_t>(p, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
        return true;
    }

private:
    // Within these magnitudes no product or quotient above overflows or
    // loses precision to underflow, so the approximation's error bound
    // (a few units in the last place) holds.
    static constexpr double kTiny = 1e-250;
    static constexpr double kHuge = 1e250;
    static constexpr double kSlack = 1e-5;

    // Nearest integer, halves to the even neighbour, as nearbyint does in
    // the default rounding mode, but without a library call: the sum with
    // 1.5 * 2^52 has no fraction bits, so the addition itself rounds (and
    // strict floating point, which the build keeps, never cancels the two
    // constants). Valid for |t| < 2^51; larger values are not used.
    static double RoundHalfEven(double t)
    {
        constexpr double kShift = 6755399441055744.0;
        return std::fabs(t) < kMaxDistance ? (t + kShift) - kShift : 0;
    }

    double FWorkMin = 0;
    double FWorkRange = 0;
    int FAxisSize = 0;
    int FStartPixel = 0;
    int FEndPixel = 0;
    int FCenterPixel = 0;
    bool FFromEnd = false;  // the pixel counts back from EndPixel
    bool FScaled = false;
    double FScale = 0;
};

// Draws a polyline into a pixel sink clipped to `clip`, which must lie
// inside the sink's pixels. Pixels held back for a column are written by the
// next MoveTo, the next segment that leaves the column, or Finish.
class TLinePlotter {
public:
    TLinePlotter(const TPixelSink& sink, const TRect& clip, std::uint32_t color)
        : FSink(sink), FClip(clip), FColor(color)
    {
    }
    TLinePlotter(std::uint32_t* pixels, std::ptrdiff_t pixelsPerLine, const TRect& clip, std::uint32_t color)
        : TLinePlotter(TPixelSink(pixels, pixelsPerLine), clip, color)
    {
    }
    TLinePlotter(const TLinePlotter&) = delete;
    TLinePlotter& operator=(const TLinePlotter&) = delete;
    ~TLinePlotter() { Finish(); }

    // A new piece of line starts at (x, y); nothing leads into it.
    void MoveTo(int x, int y)
    {
        FlushColumn();
        FX = x;
        FY = y;
    }

    // The segment from the current position to (x, y), without (x, y)
    // itself; a segment of no length paints nothing.
    void LineTo(int x, int y)
    {
        if (x == FX) {
            if (y != FY)
                ColumnTo(y, y > FY ? FY : y + 1, y > FY ? y - 1 : FY);
        } else {
            FlushColumn();
            PaintSegment(FX, FY, x, y);
        }
        FX = x;
        FY = y;
    }

    // The line goes on in the current column, covering the pixels `low` to
    // `high` of it (none when low > high), and ends at height `y`: what a
    // run of vertical segments there paints, merged by the caller.
    void ColumnTo(int y, int low, int high)
    {
        if (low <= high) {
            if (FHasColumn) {
                FLow = std::min(FLow, low);
                FHigh = std::max(FHigh, high);
            } else {
                FHasColumn = true;
                FLow = low;
                FHigh = high;
            }
        }
        FY = y;
    }

    // Writes the pixels still held back.
    void Finish() { FlushColumn(); }

    // Later segments in `color`. What is held back is written first, in the
    // old colour, so that segments still cover each other in their order.
    void SetColor(std::uint32_t color)
    {
        FlushColumn();
        FColor = color;
    }

    int X() const { return FX; }
    int Y() const { return FY; }

private:
    void FlushColumn()
    {
        if (FHasColumn) {
            FHasColumn = false;
            PaintColumn();
        }
    }
    void PaintColumn();
    void PaintSegment(int x0, int y0, int x1, int y1);

    TPixelSink FSink;
    TRect FClip;
    std::uint32_t FColor;
    int FX = 0;
    int FY = 0;
    // The span of column FX painted by the vertical segments since the
    // line came into the column, FLow..FHigh inclusive.
    bool FHasColumn = false;
    int FLow = 0;
    int FHigh = 0;
};
