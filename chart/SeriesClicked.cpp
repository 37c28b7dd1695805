// Which point of a line series lies under the mouse.
#include "chart/Series.h"

#include <algorithm>
#include <cmath>

namespace {

double DistanceToSegment(double x, double y, double x0, double y0, double x1, double y1)
{
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((x - x0) * dx + (y - y0) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy));
}

}  // namespace

int TCustomSeries::Clicked(int x, int y) const
{
    const TCustomAxisPanel* chart = ParentChart();
    const TCustomChartAxis* horizontal = HorizontalAxis();
    if (chart == nullptr || horizontal == nullptr || VerticalAxis() == nullptr)
        return -1;
    // The series is drawn clipped to the plot.
    const TRect& plot = chart->PlotRect();
    if (x < plot.Left || x >= plot.Right || y < plot.Top || y >= plot.Bottom)
        return -1;
    const int count = PointCount();
    const int last = std::min(LastVisible(), count - 1);
    if (FirstVisible() < 0 || last < FirstVisible())
        return -1;
    // The segment into the first visible point enters the plot from its
    // left edge.
    int from = std::max(FirstVisible() - 1, 0);
    int to = last;

    // A click can only concern the points whose pixels lie near x and the
    // segments that reach them: with X values in order, those are found by
    // halving rather than by looking at every visible point.
    const TChartValueList& xs = *XValues();
    const int reach = kClickTolerance + std::max(FPointer.HorizSize(), LinePen().Width()) + 1;
    if (xs.InAscendingOrder() && xs.Multiplier() > 0) {
        const double a = horizontal->PixelToValue(x - reach);
        const double b = horizontal->PixelToValue(x + reach);
        const double low = std::min(a, b);
        const double high = std::max(a, b);
        if (std::isfinite(low) && std::isfinite(high)) {
            const int nearFirst = xs.FirstNotBelow(from, to + 1, low);
            const int beyond = xs.FirstNotBelow(from, to + 1, std::nextafter(high, HUGE_VAL));
            // One point more on each side: the segments leading in and out.
            // Points that cannot be drawn are joined over, so the line may
            // come from further back.
            int start = std::max(nearFirst - 1, from);
            while (start > from && !(IsDrawablePixel(XPixel(start)) && IsDrawablePixel(YPixel(start))))
                --start;
            from = start;
            to = std::min(beyond, to);
        }
    }

    const double tolerance = kClickTolerance + (LinePen().Width() - 1) / 2.0;
    bool hasPrevious = false;
    int previous = -1;
    int px = 0;
    int py = 0;
    TColor previousColor = clNone;
    for (int index = from; index <= to; ++index) {
        const TColor color = PointColor(index);
        const int cx = XPixel(index);
        const int cy = YPixel(index);
        if (!IsDrawablePixel(cx) || !IsDrawablePixel(cy)) {
            previousColor = color;
            continue;
        }
        if (FPointer.Visible() && std::abs(x - cx) <= FPointer.HorizSize() && std::abs(y - cy) <= FPointer.VertSize())
            return index;
        const bool segment = hasPrevious && previousColor != clNone && color != clNone && FDrawLine && FClickableLine;
        if (segment) {
            double distance = 0;
            if (!FStairs)
                distance = DistanceToSegment(x, y, px, py, cx, cy);
            else if (!FInvertedStairs)
                distance = std::min(DistanceToSegment(x, y, px, py, cx, py), DistanceToSegment(x, y, cx, py, cx, cy));
            else
                distance = std::min(DistanceToSegment(x, y, px, py, px, cy), DistanceToSegment(x, y, px, cy, cx, cy));
            if (distance <= tolerance)
                return std::hypot(x - cx, y - cy) <= std::hypot(x - px, y - py) ? index : previous;
        }
        hasPrevious = true;
        previous = index;
        px = cx;
        py = cy;
        previousColor = color;
    }
    return -1;
}
