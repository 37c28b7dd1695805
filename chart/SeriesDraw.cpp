// TCustomSeries' drawing: the visible range, the points with their segments
// and markers, and the one-pass route for a plain solid line.
#include "chart/Series.h"
#include "chart/TeCanvas.h"
#include "chart/TeeLineRaster.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
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
    return pixel >= -TCustomSeries::kMaxDrawablePixel && pixel <= TCustomSeries::kMaxDrawablePixel;
}

int Offset(int a, int b)
{
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{a} + b, -kMaxMarkerReach, kMaxMarkerReach));
}

bool HasDirectPixels(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        return false;
    }
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
    int first = 0;
    while (first < count && values.ValueAt(first) < low)
        ++first;
    if (first == count)
        return;
    FFirstVisible = first;
    if (!(values.ValueAt(count - 1) > high)) {
        FLastVisible = count - 1;
        return;
    }
    // The first point at or beyond the right end is kept: the segment
    // towards it leaves the plot at its edge.
    int last = first;
    while (last < count && values.ValueAt(last) < high)
        ++last;
    FLastVisible = std::min(last, count - 1);
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
    const QImage* image = chart->Canvas().Target().Image();
    return image != nullptr && image->paintingActive() && HasDirectPixels(*image);
}

void TCustomSeries::DrawPointsFast(int from, int to)
{
    TTeeCanvas3D& canvas = ParentChart()->Canvas();
    QImage& image = *canvas.Target().Image();
    TRect clip{0, 0, image.width(), image.height()};
    if (const std::optional<TRect> clipRect = canvas.ClipRect())
        clip = IntersectRects(clip, *clipRect);
    if (IsEmptyRect(clip))
        clip = TRect{};
    const TAxisPixelMap xMap = MapOf(*HorizontalAxis());
    const TAxisPixelMap yMap = MapOf(*VerticalAxis());
    const TChartValueList& xValues = *XValues();
    const TChartValueList& yValues = *YValues();

    // The same decisions as DrawPoint makes, point by point, with the
    // segments handed to the plotter instead of the surface.
    TColor lineColor = PointColor(from);
    TLinePlotter plotter(reinterpret_cast<std::uint32_t*>(image.bits()),
                         image.bytesPerLine() / static_cast<std::ptrdiff_t>(sizeof(std::uint32_t)), clip,
                         ToQRgb(lineColor));
    plotter.MoveTo(FPreviousX, FPreviousY);
    TColor previousColor = FPreviousColor;
    bool anySegment = false;
    bool lastDrewSegment = false;
    TColor lastColor = clNone;
    bool anyPlaced = false;
    TPoint penPosition;
    for (int index = from; index <= to; ++index) {
        const TColor color = PointColor(index);
        int x = 0;
        int y = 0;
        if (!xMap.Pixel(xValues.ValueAt(index), x) || !yMap.Pixel(yValues.ValueAt(index), y) || !IsDrawable(x) ||
            !IsDrawable(y)) {
            previousColor = color;
            continue;
        }
        anyPlaced = true;
        lastColor = color;
        lastDrewSegment = previousColor != clNone && color != clNone && (x != plotter.X() || y != plotter.Y());
        if (lastDrewSegment) {
            if (color != lineColor) {
                lineColor = color;
                plotter.SetColor(ToQRgb(color));
            }
            plotter.LineTo(x, y);
            anySegment = true;
            penPosition = TPoint{x, y};
        } else {
            plotter.MoveTo(x, y);
        }
        previousColor = color;
    }
    plotter.Finish();
    FPreviousX = plotter.X();
    FPreviousY = plotter.Y();
    FPreviousColor = previousColor;

    // Leave the surface as drawing point by point leaves it.
    if (anySegment) {
        PrepareLinePen(lineColor);
        canvas.MoveTo(penPosition.X, penPosition.Y);
    }
    if (anyPlaced) {
        canvas.Brush().SetColor(lastColor);
        canvas.Pen().SetColor(lastDrewSegment ? lastColor : clBlack);
    }
}
