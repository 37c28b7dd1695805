// The pixels of a one-pixel line, computed with integers only.
//
// A line from (x0, y0) to (x1, y1) paints n = max(|dx|, |dy|) pixels, one per
// step along its longer (major) axis, starting with (x0, y0) and stopping
// before (x1, y1). At step i the other (minor) coordinate is the ideal line's
// value rounded to the nearest integer, a tie going to the smaller
// coordinate. Clipping does not move a single pixel: a clipped line paints
// exactly those pixels of the whole line that lie inside the clip.
#pragma once

#include "runtime/Graphics.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

struct TLineWalk {
    int X = 0;                // first pixel painted
    int Y = 0;
    std::int64_t First = 0;   // its step index along the whole line
    std::int64_t Count = 0;   // pixels painted
    std::int64_t Length = 0;  // pixels of the whole line, n
    bool XMajor = true;
    int MajorStep = 1;   // +1 or -1 along the major axis
    int MinorStep = 1;   // +1 or -1 along the minor axis
    // Error term: the minor coordinate moves by MinorStep whenever Rem,
    // advanced by Inc each step, reaches Wrap (and Wrap is taken off).
    std::int64_t Rem = 0;
    std::int64_t Inc = 0;
    std::int64_t Wrap = 1;
};

// Plans the line clipped to `clip` (Left..Right-1, Top..Bottom-1). Returns
// false when it paints nothing: a zero-length line or one outside the clip.
bool PlanLine(int x0, int y0, int x1, int y1, const TRect& clip, TLineWalk& walk);

// Calls pixel(x, y) for every pixel of a planned line, in order.
template <typename F>
void WalkLine(const TLineWalk& walk, F&& pixel)
{
    int major = walk.XMajor ? walk.X : walk.Y;
    int minor = walk.XMajor ? walk.Y : walk.X;
    std::int64_t rem = walk.Rem;
    for (std::int64_t k = 0; k < walk.Count; ++k) {
        if (walk.XMajor)
            pixel(major, minor);
        else
            pixel(minor, major);
        major += walk.MajorStep;
        rem += walk.Inc;
        if (rem >= walk.Wrap) {
            rem -= walk.Wrap;
            minor += walk.MinorStep;
        }
    }
}

// Calls run(left, top, width, height, on) for every stretch of a planned
// line's pixels that lie in one row (or, for a line that runs more up or
// down than across, one column) and for which on(step) gives the same
// answer; step counts the line's pixels from its whole line's start.
template <typename On, typename Run>
void WalkLineRuns(const TLineWalk& walk, On&& on, Run&& run)
{
    int runX = 0;
    int runY = 0;
    int runLength = 0;
    bool runOn = true;
    const auto flush = [&] {
        if (runLength == 0)
            return;
        const int start = walk.MajorStep > 0 ? 0 : runLength - 1;
        if (walk.XMajor)
            run(runX - start, runY, runLength, 1, runOn);
        else
            run(runX, runY - start, 1, runLength, runOn);
    };
    std::int64_t step = walk.First;
    WalkLine(walk, [&](int x, int y) {
        const bool pixelOn = on(step++);
        if (runLength > 0 && pixelOn == runOn && (walk.XMajor ? y == runY : x == runX)) {
            ++runLength;
            return;
        }
        flush();
        runX = x;
        runY = y;
        runLength = 1;
        runOn = pixelOn;
    });
    flush();
}

// Paints a planned line of `color` into 32-bit pixels (`pixelsPerLine` of them
// a row). The plan must lie inside the image, which PlanLine guarantees when
// the clip does.
void PaintLine(std::uint32_t* pixels, std::ptrdiff_t pixelsPerLine, const TLineWalk& walk, std::uint32_t color);

// The intersection of two rectangles; empty (Right <= Left or Bottom <= Top)
// when they do not overlap.
TRect IntersectRects(const TRect& a, const TRect& b);
inline bool IsEmptyRect(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

// The on/off pixel sequence of a one-pixel styled pen, starting "on".
struct TDashPattern {
    int Length = 0;  // 0: solid
    std::array<bool, 24> On{};

    constexpr TDashPattern() = default;
    constexpr TDashPattern(std::initializer_list<int> runs)
    {
        bool on = true;
        for (int run : runs) {
            for (int i = 0; i < run; ++i)
                On[static_cast<std::size_t>(Length++)] = on;
            on = !on;
        }
    }
    bool IsSolid() const { return Length == 0; }
};
