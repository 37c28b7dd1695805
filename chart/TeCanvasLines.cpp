// TTeeCanvas3D's lines. One-pixel lines are rasterised here (TeCanvasRaster)
// so that every path paints the same pixels: solid ones in copy mode go
// straight into an image target's pixels (where it has one device pixel to
// a pixel), the others are handed to QPainter as runs of pixels, which
// applies the pen mode and the device pixel ratio. Wider pens are QPainter's.
#include "chart/TeCanvas.h"
#include "chart/TeCanvasPainting.h"
#include "chart/TeCanvasRaster.h"

#include <QPainter>

#include <algorithm>

namespace {

// Pixel runs of the window system's cosmetic pens.
constexpr TDashPattern kSolid{};
constexpr TDashPattern kDash{18, 6};
constexpr TDashPattern kDot{3, 3};
constexpr TDashPattern kDashDot{9, 6, 3, 6};
constexpr TDashPattern kDashDotDot{9, 3, 3, 3, 3, 3};
constexpr TDashPattern kAlternate{1, 1};

Qt::PenStyle QtPenStyle(TPenStyle style)
{
    switch (style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

}  // namespace

QPainter::CompositionMode CompositionFor(TPenMode mode)
{
    switch (mode) {
    case pmBlack: return QPainter::RasterOp_ClearDestination;
    case pmWhite: return QPainter::RasterOp_SetDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

const TDashPattern& DashPatternFor(TPenStyle style)
{
    switch (style) {
    case psDash: return kDash;
    case psDot: return kDot;
    case psDashDot: return kDashDot;
    case psDashDotDot: return kDashDotDot;
    case psAlternate: return kAlternate;
    default: return kSolid;
    }
}

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
    FPenRgb = ToQRgb(pen.Color());
    if (FTarget.IsEmpty() || pen.Style() == psClear || pen.Mode() == pmNop)
        FLineKind = TLineKind::None;
    else if (pen.Width() > 1)
        FLineKind = TLineKind::Wide;
    else if (FPixels != nullptr && (pen.Style() == psSolid || pen.Style() == psInsideFrame) && pen.Mode() == pmCopy)
        FLineKind = TLineKind::Direct;
    else
        FLineKind = TLineKind::Cosmetic;
}

void TTeeCanvas3D::DrawLine(int x0, int y0, int x1, int y1)
{
    if (FLineKind == TLineKind::Unknown)
        UpdateLineKind();
    switch (FLineKind) {
    case TLineKind::Direct: {
        TLineWalk walk;
        if (PlanLine(x0, y0, x1, y1, FDrawable, walk))
            PaintLine(FPixels, FPixelsPerLine, walk, FPenRgb);
        return;
    }
    case TLineKind::Cosmetic:
        DrawCosmeticLine(x0, y0, x1, y1);
        return;
    case TLineKind::Wide:
        DrawWideLine(x0, y0, x1, y1);
        return;
    default:
        return;
    }
}

void TTeeCanvas3D::DrawCosmeticLine(int x0, int y0, int x1, int y1)
{
    const TDashPattern& pattern = DashPatternFor(Pen().Style());
    const int patternStart = FPatternPos;
    TLineWalk walk;
    const bool visible = PlanLine(x0, y0, x1, y1, FDrawable, walk);
    if (!pattern.IsSolid()) {
        // The pattern runs on into the next LineTo, as along a polyline.
        const std::int64_t length = std::max(std::abs(std::int64_t{x1} - x0), std::abs(std::int64_t{y1} - y0));
        FPatternPos = static_cast<int>((patternStart + length) % pattern.Length);
    }
    if (!visible)
        return;
    QPainter* painter = ActivePainter();
    if (painter == nullptr)
        return;
    painter->setCompositionMode(CompositionFor(Pen().Mode()));
    const QColor penColor = QColor::fromRgb(FPenRgb);
    const bool opaque = BackMode() == OPAQUE;
    const QColor gapColor = QColor::fromRgb(ToQRgb(BackColor()));

    // Pixels in a row (or column) of the same kind go to QPainter as one
    // rectangle; the pen mode applies to each pixel once.
    WalkLineRuns(
        walk,
        [&](std::int64_t step) {
            return pattern.IsSolid() ||
                   pattern.On[static_cast<std::size_t>((patternStart + step) % pattern.Length)];
        },
        [&](int left, int top, int width, int height, bool on) {
            if (on || opaque)
                painter->fillRect(left, top, width, height, on ? penColor : gapColor);
        });
}

void TTeeCanvas3D::PreparePen(QPainter& painter)
{
    const TPen& pen = Pen();
    QPen qtPen(QColor::fromRgb(ToQRgb(pen.Color())));
    qtPen.setWidth(std::max(1, pen.Width()));
    qtPen.setStyle(QtPenStyle(pen.Style()));
    // The window system's wide pens are round at their ends and joins.
    qtPen.setCapStyle(Qt::RoundCap);
    qtPen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(qtPen);
    painter.setCompositionMode(CompositionFor(pen.Mode()));
    painter.setBackgroundMode(BackMode() == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    painter.setBackground(QColor::fromRgb(ToQRgb(BackColor())));
}

void TTeeCanvas3D::DrawWideLine(int x0, int y0, int x1, int y1)
{
    if ((x0 == x1 && y0 == y1) || IsEmptyRect(FDrawable))
        return;
    QPainter* painter = ActivePainter();
    if (painter == nullptr)
        return;
    PreparePen(*painter);
    // Through the pixel centres, as the one-pixel lines run.
    painter->drawLine(QPointF(x0 + 0.5, y0 + 0.5), QPointF(x1 + 0.5, y1 + 0.5));
}
