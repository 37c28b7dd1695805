// TTeeCanvas3D's lines. Solid one-pixel lines in copy mode on a bitmap go
// straight into its pixels with the line raster (runtime/LineRaster.h); the
// others go to the target's painter, which paints the same pixels for a
// one-pixel pen and applies the pen mode and the device pixel ratio.
#include "chart/TeCanvas.h"
#include "chart/TeCanvasRaster.h"

#include <algorithm>
#include <cstdlib>

void TTeeCanvas3D::MoveTo(int x, int y)
{
    FPenPos = TPoint{x, y};
    FPatternPos = 0;
}

void TTeeCanvas3D::LineTo(int x, int y)
{
    const TPoint from = FPenPos;
    FPenPos = TPoint{x, y};
    DrawLine(from.X, from.Y, x, y);
}

void TTeeCanvas3D::Line(int x0, int y0, int x1, int y1)
{
    MoveTo(x0, y0);
    LineTo(x1, y1);
}

void TTeeCanvas3D::HorizontalLine(int left, int right, int y, int)
{
    Line(left, y, right, y);
}

void TTeeCanvas3D::VerticalLine(int x, int top, int bottom, int)
{
    Line(x, top, x, bottom);
}

void TTeeCanvas3D::LineAtDepth(int x0, int y0, int x1, int y1, int)
{
    Line(x0, y0, x1, y1);
}

void TTeeCanvas3D::DepthLine(int x, int y, int, int)
{
    Line(x, y, x, y);
}

void TTeeCanvas3D::Polyline(std::span<const TPoint> points)
{
    // A polyline neither uses nor moves the current position, and its dash
    // pattern starts afresh.
    const int saved = FPatternPos;
    FPatternPos = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        DrawLine(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y);
    FPatternPos = saved;
}

void TTeeCanvas3D::UpdateLineKind()
{
    const TPen& pen = Pen();
    FPenPixel = ColorToPixel(pen.Color());
    if (FTarget.IsEmpty() || pen.Style() == psClear || pen.Mode() == pmNop)
        FLineKind = TLineKind::None;
    else if (FPixels != nullptr && pen.Width() <= 1 && (pen.Style() == psSolid || pen.Style() == psInsideFrame) &&
             pen.Mode() == pmCopy)
        FLineKind = TLineKind::Direct;
    else
        FLineKind = TLineKind::Painter;
    // The painter keeps the pen until it changes again (which comes back
    // here), so lines need not hand it over one by one.
    if (FLineKind == TLineKind::Painter)
        if (TPainter* painter = ActivePainter())
            PreparePen(*painter);
}

void TTeeCanvas3D::DrawLine(int x0, int y0, int x1, int y1)
{
    if (FLineKind == TLineKind::Unknown)
        UpdateLineKind();
    if (FLineKind == TLineKind::Direct) {
        TLineWalk walk;
        if (PlanLine(x0, y0, x1, y1, FDrawable, walk))
            PaintLine(FPixels, FPixelsPerLine, walk, FPenPixel);
        return;
    }
    if (FLineKind != TLineKind::Painter)
        return;
    const int patternStart = FPatternPos;
    if (const TDashPattern& pattern = DashPatternFor(Pen().Style()); Pen().Width() <= 1 && !pattern.IsSolid()) {
        // The pattern runs on into the next LineTo, as along a polyline.
        const std::int64_t length = std::max(std::abs(std::int64_t{x1} - x0), std::abs(std::int64_t{y1} - y0));
        FPatternPos = static_cast<int>((patternStart + length) % pattern.Length);
    }
    if (IsEmptyRect(FDrawable))
        return;
    if (TPainter* painter = ActivePainter())
        painter->Line(TPoint{x0, y0}, TPoint{x1, y1}, patternStart);
}
