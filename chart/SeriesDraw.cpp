// TCustomSeries' drawing: the visible range, the points with their segments
// and markers, and the one-pass route for a plain solid line.
#include "chart/Series.h"
#include "chart/TeCanvas.h"
#include "chart/TeeLineRaster.h"


#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <typeinfo>

namespace {

// Marker corners beyond this stay there: a marker of absurd size still
// covers the plot, and no coordinate sum can overflow.
constexpr std::int64_t kMaxMarkerReach = std::int64_t{1} << 28;

TAxisPixelMap MapOf(const TCustomChartAxis& axis)
{
    return TAxisPixelMap(axis.WorkMin(), axis.WorkRange(), axis.AxisSize(), axis.StartPixel(), axis.EndPixel(),
                         axis.CenterPixel(), axis.IsHorizontal() ? axis.Inverted() : !axis.Inverted());
}

// The axis' own pixel for `value`, unless the value cannot be placed: then
// the axis would answer with its centre, which would draw the point in the
// middle of the plot.
int PixelOf(const TCustomChartAxis* axis, double value)
{
    int pixel = 0;
    if (axis == nullptr || !MapOf(*axis).Pixel(value, pixel))
        return TCustomSeries::kUnplaceablePixel;
    return axis->ValueToPixel(value);
}

bool IsDrawable(int pixel)
{
    return TCustomSeries::IsDrawablePixel(pixel);
}

int Offset(int a, int b)
{
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{a} + b, -kMaxMarkerReach, kMaxMarkerReach));
}

// DrawPoint's decisions for many points at once, with the segments handed
// to a TLinePlotter instead of the surface.
//
// Dense data puts hundreds of points into each pixel column, and there the
// segments need not be looked at one by one: a chain of vertical segments
// z0 -> z1 -> ... -> zk (each painting its start but not its end) covers
// every pixel between the lowest and highest of z0..zk, except zk itself
// when zk lies beyond all of the values before its own trailing repeats.
// The axis mapping is monotonic, so the extremes in pixels are the pixels of
// the extreme values: a run of a column costs a min/max pass over its values
// and a handful of mappings, and paints exactly what its segments paint.
class TFastLine {
public:
    TFastLine(const TCustomSeries& series, const TAxisPixelMap& xMap, const TAxisPixelMap& yMap,
              const TPixelSink& sink, const TRect& clip, TColor lineColor)
        : FSeries(series), FXMap(xMap), FYMap(yMap), FXs(*series.XValues()), FYs(*series.YValues()),
          FXScale(series.XValues()->Multiplier()), FYScale(series.YValues()->Multiplier()),
          FPlotter(sink, clip, ColorToPixel(lineColor)),
          FLineColor(lineColor)
    {
        // Runs need every point in the series' own colour, X values in
        // order (so that every point between a run's ends lies in its
        // column) and scales that keep the values' order.
        // Only the exact line kinds come here (see CanDrawFast), so without
        // colours of its own every point has the series' colour.
        FUniform = !series.ColorEachPoint() && !series.HasPointColors();
        FRunsAllowed = !series.ColorEachPoint() && !series.HasPointColors() && series.SeriesColor() != clNone &&
                       series.XValues()->InAscendingOrder() && FXScale > 0 && FYScale > 0 &&
                       FYs.Count() == FXs.Count();
    }

    void SetRunsWanted(bool value) { FRunsAllowed = FRunsAllowed && value; }

    void Start(int x, int y, TColor previousColor)
    {
        FPlotter.MoveTo(x, y);
        FPreviousColor = previousColor;
    }

    // The point as DrawPoint draws it.
    void DrawPoint(int index)
    {
        const TColor color = FUniform ? FLineColorOfSeries : FSeries.PointColor(index);
        int x = 0;
        int y = 0;
        FLastPlaced = XPixel(index, x) && YPixel(index, y);
        if (!FLastPlaced) {
            FPreviousColor = color;
            return;
        }
        FAnyPlaced = true;
        FLastColor = color;
        FLastDrewSegment = FPreviousColor != clNone && color != clNone && (x != FPlotter.X() || y != FPlotter.Y());
        if (FLastDrewSegment) {
            if (color != FLineColor) {
                FLineColor = color;
                FPlotter.SetColor(ColorToPixel(color));
            }
            FPlotter.LineTo(x, y);
            FAnySegment = true;
            FPenPosition = TPoint{x, y};
        } else {
            FPlotter.MoveTo(x, y);
        }
        FPreviousColor = color;
    }

    // Draws the points after `first` (just drawn) that share its pixel
    // column, as far as `to`, and returns the last index drawn (`first`
    // when there are none, or when the run does not qualify).
    int DrawColumnRun(int first, int to);

    void Finish() { FPlotter.Finish(); }
    int X() const { return FPlotter.X(); }
    int Y() const { return FPlotter.Y(); }
    TColor PreviousColor() const { return FPreviousColor; }
    TColor LineColor() const { return FLineColor; }
    TColor LastColor() const { return FLastColor; }
    bool AnySegment() const { return FAnySegment; }
    bool AnyPlaced() const { return FAnyPlaced; }
    bool LastDrewSegment() const { return FLastDrewSegment; }
    TPoint PenPosition() const { return FPenPosition; }

private:
    bool XPixel(int index, int& x) const
    {
        return FXMap.Pixel(FXs.RawAt(static_cast<std::size_t>(index)) * FXScale, x) && IsDrawable(x);
    }
    bool YPixel(int index, int& y) const
    {
        return FYMap.Pixel(FYs.RawAt(static_cast<std::size_t>(index)) * FYScale, y) && IsDrawable(y);
    }
    // Whether every value of a summarised block lies in pixel row `row`:
    // both its extremes do, the mapping being monotonic.
    bool BlockInRow(std::size_t block, int row) const
    {
        double smallest = 0;
        double largest = 0;
        int a = 0;
        int b = 0;
        return FYs.BlockRange(block, smallest, largest) && FYMap.Pixel(smallest * FYScale, a) && a == row &&
               FYMap.Pixel(largest * FYScale, b) && b == row && IsDrawable(row);
    }
    bool InColumn(int index, int column) const
    {
        int x = 0;
        return XPixel(index, x) && x == column;
    }
    // The pixel rows covered by the values of points first..last, when
    // every one of them can be placed.
    bool RowsOf(int first, int last, int& low, int& high) const;

    const TCustomSeries& FSeries;
    const TAxisPixelMap FXMap;
    const TAxisPixelMap FYMap;
    const TChartValueList& FXs;
    const TChartValueList& FYs;
    const double FXScale;
    const double FYScale;
    TLinePlotter FPlotter;
    bool FRunsAllowed = false;
    bool FUniform = false;
    const TColor FLineColorOfSeries = FSeries.SeriesColor();

    TColor FLineColor;
    TColor FPreviousColor = clNone;
    TColor FLastColor = clNone;
    bool FLastPlaced = false;
    bool FAnySegment = false;
    bool FAnyPlaced = false;
    bool FLastDrewSegment = false;
    TPoint FPenPosition;
};

bool TFastLine::RowsOf(int first, int last, int& low, int& high) const
{
    double smallest = 0;
    double largest = 0;
    int a = 0;
    int b = 0;
    if (!FYs.RawRange(static_cast<std::size_t>(first), static_cast<std::size_t>(last), smallest, largest) ||
        !FYMap.Pixel(smallest * FYScale, a) || !FYMap.Pixel(largest * FYScale, b) || !IsDrawable(a) ||
        !IsDrawable(b))
        return false;
    low = std::min(a, b);
    high = std::max(a, b);
    return true;
}

int TFastLine::DrawColumnRun(int first, int to)
{
    int column = 0;
    if (!FRunsAllowed || first >= to || !FLastPlaced || FLineColor != FSeries.SeriesColor() ||
        !XPixel(first, column) || !InColumn(first + 1, column))
        return first;

    // The run's end: gallop, then halve.
    int inside = first + 1;
    int step = 1;
    while (inside + step <= to && InColumn(inside + step, column)) {
        inside += step;
        step *= 2;
    }
    int outside = std::min(inside + step, to + 1);
    while (outside - inside > 1) {
        const int middle = inside + (outside - inside) / 2;
        (InColumn(middle, column) ? inside : outside) = middle;
    }
    const int last = inside;

    int low = 0;
    int high = 0;
    if (!RowsOf(first, last, low, high)) {
        for (int index = first + 1; index <= last; ++index)
            DrawPoint(index);
        return last;
    }

    int end = 0;
    YPixel(last, end);
    // The trailing repeats of the last row paint nothing. A steady sky
    // repeats for long: whole summarised blocks in the row are passed at
    // once.
    constexpr int kBlock = static_cast<int>(TChartValueList::kSummaryBlock);
    int repeatsFrom = last;
    int row = 0;
    while (repeatsFrom > first) {
        if (repeatsFrom % kBlock == 0 && repeatsFrom - kBlock >= first &&
            BlockInRow(static_cast<std::size_t>(repeatsFrom / kBlock - 1), end)) {
            repeatsFrom -= kBlock;
            continue;
        }
        if (!YPixel(repeatsFrom - 1, row) || row != end)
            break;
        --repeatsFrom;
    }
    if (repeatsFrom > first) {
        // The extremes before the repeats are those of the whole run unless
        // the last row is one of them.
        if (end <= low || end >= high)
            RowsOf(first, repeatsFrom - 1, low, high);
        if (end < low)
            low = end + 1;
        else if (end > high)
            high = end - 1;
        FPlotter.ColumnTo(end, low, high);
        FAnySegment = true;
        FPenPosition = TPoint{column, end};
    }
    FLastDrewSegment = repeatsFrom == last;
    FLastColor = FSeries.SeriesColor();
    FPreviousColor = FLastColor;
    return last;
}

}  // namespace

void TCustomSeries::FindVisibleRange()
{
    FFirstVisible = -1;
    FLastVisible = -1;
    const int count = PointCount();
    if (count == 0)
        return;
    const TChartValueList& values = *XValues();
    const TCustomChartAxis* axis = HorizontalAxis();
    const TCustomAxisPanel* chart = ParentChart();
    if (values.Order() == loNone || axis == nullptr || chart == nullptr) {
        FFirstVisible = 0;
        FLastVisible = count - 1;
        return;
    }
    const TRect& plot = chart->PlotRect();
    const double low = axis->PixelToValue(axis->Inverted() ? plot.Right : plot.Left);
    const double high = axis->PixelToValue(axis->Inverted() ? plot.Left : plot.Right);
    // The first index from `from` on whose value is not below `limit`. On
    // values known to ascend (with a multiplier that keeps their order) a
    // binary search finds the same index the walk would.
    const bool sorted = values.InAscendingOrder() && values.Multiplier() > 0;
    const auto firstNotBelow = [&](int from, double limit) {
        if (sorted)
            return values.FirstNotBelow(from, count, limit);
        int index = from;
        while (index < count && values.ValueAt(index) < limit)
            ++index;
        return index;
    };
    const int first = firstNotBelow(0, low);
    if (first == count)
        return;
    FFirstVisible = first;
    if (!(values.ValueAt(count - 1) > high)) {
        FLastVisible = count - 1;
        return;
    }
    // The first point at or beyond the right end is kept: the segment
    // towards it leaves the plot at its edge.
    FLastVisible = std::min(firstNotBelow(first, high), count - 1);
}

void TCustomSeries::DrawAllPoints()
{
    // A BeforeDrawValues handler may have removed points since the range
    // was found.
    const int last = std::min(FLastVisible, PointCount() - 1);
    if (ParentChart() == nullptr || FFirstVisible < 0 || last < FFirstVisible)
        return;
    DrawPoint(FFirstVisible);
    if (FFirstVisible < last && CanDrawFast()) {
        DrawPointsFast(FFirstVisible + 1, last);
        return;
    }
    for (int index = FFirstVisible + 1; index <= last; ++index)
        DrawPoint(index);
}

void TCustomSeries::DrawPoint(int index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    const TColor color = PointColor(index);
    const int x = XPixel(index);
    const int y = YPixel(index);
    if (!IsDrawable(x) || !IsDrawable(y)) {
        // The line joins this point's neighbours. When it is the first
        // visible one, its successor has no neighbour to join: the position
        // left by the last paint must not become one.
        FPreviousColor = index == FFirstVisible ? clNone : color;
        return;
    }
    TTeeCanvas3D& canvas = chart->Canvas();
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetColor(color);
    if (FPreviousColor == clNone) {
        FPreviousX = x;
        FPreviousY = y;
    }
    const bool isLast = index == FLastVisible;
    if (index == FFirstVisible) {
        if (index > 0)
            EnterFromEdge(index, x, y, color);
        if (isLast && FPointer.Visible())
            PaintPointer(x, y, index, color);
    } else {
        DrawSegment(index, x, y, color, true, isLast);
    }
    FPreviousX = x;
    FPreviousY = y;
    FPreviousColor = color;
}

void TCustomSeries::EnterFromEdge(int index, int x, int y, TColor color)
{
    const TCustomChartAxis& axis = *HorizontalAxis();
    const TRect& plot = ParentChart()->PlotRect();
    const int edge = axis.Inverted() ? plot.Right : plot.Left;
    const int height = FStairs ? YPixel(index - 1) : YPixelAtX(index - 1, index, axis.PixelToValue(edge));
    if (height == kUnplaceablePixel) {
        // No height to enter at (the previous value is infinite, say): the
        // line starts at the point.
        FPreviousX = x;
        FPreviousY = y;
        return;
    }
    FPreviousX = edge;
    FPreviousY = height;
    if (!IsNullPoint(index - 1))
        DrawSegment(index, x, y, color, false, index == FLastVisible);
}

int TCustomSeries::XPixel(int index) const
{
    return PixelOf(HorizontalAxis(), XValue(index));
}

int TCustomSeries::YPixel(int index) const
{
    return PixelOf(VerticalAxis(), YValue(index));
}

int TCustomSeries::YPixelAtX(int from, int to, double x) const
{
    const double x0 = XValue(from);
    const double dx = XValue(to) - x0;
    if (dx == 0)
        return YPixel(from);
    const double y0 = YValue(from);
    return PixelOf(VerticalAxis(), (YValue(to) - y0) * (x - x0) / dx + y0);
}

void TCustomSeries::DrawSegment(int index, int x, int y, TColor color, bool markers, bool isLast)
{
    TTeeCanvas3D& canvas = ParentChart()->Canvas();
    if ((x != FPreviousX || y != FPreviousY) && color != clNone && FDrawLine) {
        PrepareLinePen(color);
        if (!FStairs) {
            canvas.Line(FPreviousX, FPreviousY, x, y);
        } else if (!FInvertedStairs) {
            canvas.HorizontalLine(FPreviousX, x, FPreviousY);
            canvas.LineTo(x, y);
        } else {
            canvas.VerticalLine(FPreviousX, FPreviousY, y);
            canvas.LineTo(x, y);
        }
    }
    if (markers && FPointer.Visible()) {
        if (FPreviousColor != clNone)
            PaintPointer(FPreviousX, FPreviousY, index - 1, FPreviousColor);
        if (isLast && color != clNone)
            PaintPointer(x, y, index, color);
    }
}

void TCustomSeries::PrepareLinePen(TColor color)
{
    TTeeCanvas3D& canvas = ParentChart()->Canvas();
    canvas.AssignChartPen(FLinePen);
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(color);
}

void TCustomSeries::PaintPointer(int x, int y, int index, TColor color)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    TTeeCanvas3D& canvas = chart->Canvas();
    const TChartPen& pen = FPointer.Pen();
    canvas.AssignChartPen(pen);
    if (pen.Visible() && pen.Color() == clDefault)
        canvas.Pen().SetColor(color);
    canvas.Brush().Assign(FPointer.Brush());
    if (FPointer.Brush().Color() == clDefault)
        canvas.Brush().SetColor(color);

    const TSeriesPointerStyle style = FOnGetPointerStyle ? FOnGetPointerStyle(this, index) : FPointer.Style();
    const int h = FPointer.HorizSize();
    const int w = FPointer.VertSize();
    const int left = Offset(x, -h);
    const int right = Offset(x, h);
    const int top = Offset(y, -w);
    const int bottom = Offset(y, w);
    const auto cross = [&] {
        canvas.VerticalLine(x, top, Offset(bottom, 1));
        canvas.HorizontalLine(left, Offset(right, 1), y);
    };
    const auto diagonalCross = [&] {
        canvas.Line(left, top, Offset(right, 1), Offset(bottom, 1));
        canvas.Line(right, top, Offset(left, -1), Offset(bottom, 1));
    };
    switch (style) {
    case psRectangle:
        canvas.Rectangle(left, top, Offset(right, 1), Offset(bottom, 1));
        break;
    case psCircle:
        canvas.Ellipse(left, top, right, bottom);
        break;
    case psTriangle: {
        const std::array<TPoint, 3> corners{{{left, bottom}, {right, bottom}, {x, top}}};
        canvas.Polygon(corners);
        break;
    }
    case psDownTriangle: {
        const std::array<TPoint, 3> corners{{{left, top}, {right, top}, {x, bottom}}};
        canvas.Polygon(corners);
        break;
    }
    case psCross:
        canvas.Pen().SetColor(color);
        cross();
        break;
    case psDiagCross:
        canvas.Pen().SetColor(color);
        diagonalCross();
        break;
    case psStar:
        canvas.Pen().SetColor(color);
        cross();
        diagonalCross();
        break;
    case psDiamond: {
        const std::array<TPoint, 4> corners{{{left, y}, {x, top}, {right, y}, {x, bottom}}};
        canvas.Polygon(corners);
        break;
    }
    case psSmallDot:
        canvas.SetPixel(x, y, color);
        break;
    }
}

bool TCustomSeries::CanDrawFast() const
{
    // The pass places and draws points itself, so a kind that changes how
    // points are placed or drawn (by overriding XPixel, DrawPoint, ...) goes
    // point by point.
    if (typeid(*this) != typeid(TLineSeries) && typeid(*this) != typeid(TCustomSeries))
        return false;
    const TCustomAxisPanel* chart = ParentChart();
    if (chart->View3D() || HorizontalAxis() == nullptr || VerticalAxis() == nullptr)
        return false;
    if (!FDrawLine || FDrawArea || FStairs || FPointer.Visible())
        return false;
    // The pens that the surface itself draws straight into the bitmap.
    const TChartPen& pen = FLinePen;
    if (!pen.Visible() || pen.SmallDots() || pen.Width() > 1 || pen.Mode() != pmCopy ||
        (pen.Style() != psSolid && pen.Style() != psInsideFrame))
        return false;
    return chart->Canvas().DrawsOnBitmap();
}

void TCustomSeries::DrawPointsFast(int from, int to)
{
    TTeeCanvas3D& canvas = ParentChart()->Canvas();
    TRect clip = canvas.DrawableRect();
    if (IsEmptyRect(clip))
        clip = TRect{};

    TFastLine line(*this, MapOf(*HorizontalAxis()), MapOf(*VerticalAxis()), canvas.LineSink(), clip,
                   PointColor(from));
    // Column runs pay off from a few points a column on; below that,
    // looking for them costs more than it saves.
    line.SetRunsWanted(to - from >= 4 * std::max(clip.Width(), 1));
    line.Start(FPreviousX, FPreviousY, FPreviousColor);
    for (int index = from; index <= to; ++index) {
        line.DrawPoint(index);
        index = line.DrawColumnRun(index, to);
    }
    line.Finish();
    FPreviousX = line.X();
    FPreviousY = line.Y();
    FPreviousColor = line.PreviousColor();

    // Leave the surface as drawing point by point leaves it.
    if (line.AnySegment()) {
        PrepareLinePen(line.LineColor());
        canvas.MoveTo(line.PenPosition().X, line.PenPosition().Y);
    }
    if (line.AnyPlaced()) {
        canvas.Brush().SetColor(line.LastColor());
        canvas.Pen().SetColor(line.LastDrewSegment() ? line.LastColor() : clBlack);
    }
}
