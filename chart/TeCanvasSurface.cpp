// TTeeCanvas3D: targets, buffering, clipping, shapes and text. Lines are in
// TeCanvasLines.cpp.
#include "chart/TeCanvas.h"
#include "chart/TeCanvasPainting.h"
#include "chart/TeCanvasRaster.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

Qt::BrushStyle QtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case bsSolid: return Qt::SolidPattern;
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

QRect ToQRect(int left, int top, int right, int bottom)
{
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

}  // namespace

TTeeCanvas3D::TTeeCanvas3D() = default;

TTeeCanvas3D::~TTeeCanvas3D()
{
    EndTarget();
}

void TTeeCanvas3D::SetTarget(const TCanvas& target)
{
    if (target == FTarget && target.Painter() == nullptr)
        return;
    EndTarget();
    FTarget = target;
    FClip.reset();
    BeginTarget();
}

void TTeeCanvas3D::BeginTarget()
{
    FPainterClipStale = true;
    FLineKind = TLineKind::Unknown;
    if (QImage* image = FTarget.Image(); image != nullptr && !image->isNull()) {
        // Opened for as long as the image is the target: besides saving a
        // begin per primitive, an image being painted on is deep-copied
        // when someone copies it, so writing its pixels directly never
        // reaches into a copy that shares them.
        FOwnPainter = std::make_unique<QPainter>();
        if (!FOwnPainter->begin(image))
            FOwnPainter.reset();
        else if (HasDirectPixels(*image)) {
            FPixels = reinterpret_cast<QRgb*>(image->bits());
            FPixelsPerLine = image->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
        }
    }
    UpdateDrawableBounds();
}

void TTeeCanvas3D::EndTarget()
{
    // A painter that belongs to the caller is left alone: it may already be
    // gone once its paint event is over.
    if (FOwnPainter) {
        FOwnPainter->end();
        FOwnPainter.reset();
    }
    FPixels = nullptr;
    FPixelsPerLine = 0;
    FLineKind = TLineKind::Unknown;
}

void TTeeCanvas3D::UpdateDrawableBounds()
{
    TRect device;
    if (const QImage* image = FTarget.Image(); image != nullptr && FOwnPainter) {
        // Only whole pixels of the drawing count; the rounding guard keeps a
        // quotient such as 537.9999999 from losing one.
        const QSizeF size = image == FBitmap.get() ? QSizeF(FBitmapSize) : image->deviceIndependentSize();
        device = TRect{0, 0, static_cast<int>(std::floor(size.width() + 1e-6)),
                       static_cast<int>(std::floor(size.height() + 1e-6))};
    } else if (QPainter* painter = FTarget.Painter(); painter != nullptr && painter->isActive()) {
        const QPaintDevice* paintDevice = painter->device();
        QRect area(0, 0, paintDevice->width(), paintDevice->height());
        bool invertible = false;
        const QTransform toLogical = painter->worldTransform().inverted(&invertible);
        if (invertible)
            area = toLogical.mapRect(area);
        device = TRect{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    }
    FDrawable = FClip ? IntersectRects(device, *FClip) : device;
}

TPixelSink TTeeCanvas3D::LineSink()
{
    if (FTarget.Image() == nullptr)
        return TPixelSink();
    if (FPixels != nullptr)
        return TPixelSink(FPixels, FPixelsPerLine);
    QPainter* painter = ActivePainter();
    if (painter == nullptr)
        return TPixelSink();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return TPixelSink(*painter);
}

QPainter* TTeeCanvas3D::ActivePainter()
{
    QPainter* painter = FOwnPainter ? FOwnPainter.get() : FTarget.Painter();
    if (painter == nullptr || !painter->isActive())
        return nullptr;
    if (FPainterClipStale) {
        if (FClip)
            painter->setClipRect(ToQRect(FClip->Left, FClip->Top, FClip->Right, FClip->Bottom));
        else
            painter->setClipping(false);
        FPainterClipStale = false;
    }
    painter->setRenderHint(QPainter::Antialiasing, false);
    return painter;
}

void TTeeCanvas3D::FreeBitmap()
{
    if (!FBitmap)
        return;
    if (FTarget.Image() == FBitmap.get())
        SetTarget(TCanvas());
    FBitmap.reset();
}

void TTeeCanvas3D::SetMonochrome(bool value)
{
    if (value == FMonochrome)
        return;
    FMonochrome = value;
    FreeBitmap();
    FDirty = true;
    if (FOnRepaintRequest)
        FOnRepaintRequest();
}

void TTeeCanvas3D::SetUseBuffer(bool value)
{
    if (value == FUseBuffer)
        return;
    FUseBuffer = value;
    if (!value) {
        FreeBitmap();
        FDirty = true;
    }
}

TRect TTeeCanvas3D::PrepareSurface(const TCanvas& window, const TView3DOptions* options, const TRect& bounds,
                                   bool is3D)
{
    FBounds = bounds;
    FView3DOptions = options;
    FIs3D = is3D;
    FIsOrthogonal = false;
    FZoomFactor = 1.0;
    if (is3D && options != nullptr) {
        FIsOrthogonal = options->Orthogonal();
        FZoomFactor = options->Zoom() * 0.01;
        FZoomText = options->ZoomText();
    }
    if (!FUseBuffer) {
        SetTarget(window);
        return bounds;
    }
    const int width = bounds.Width();
    const int height = bounds.Height();
    const qreal ratio = window.DevicePixelRatio();
    if (FBitmap && (FBitmapSize != QSize(width, height) || FBitmap->devicePixelRatio() != ratio))
        FreeBitmap();
    if (!FBitmap && width > 0 && height > 0) {
        // Text and curves are drawn at the screen's own resolution; a
        // pixel of the drawing covers ratio x ratio device pixels.
        const double deviceWidth = std::ceil(width * ratio);
        const double deviceHeight = std::ceil(height * ratio);
        constexpr double kMaxSide = std::numeric_limits<int>::max();
        if (deviceWidth <= kMaxSide && deviceHeight <= kMaxSide)
            FBitmap = std::make_unique<QImage>(static_cast<int>(deviceWidth), static_cast<int>(deviceHeight),
                                               QImage::Format_RGB32);
        if (FBitmap && FBitmap->isNull())  // more pixels than memory
            FBitmap.reset();
        if (FBitmap) {
            FBitmap->setDevicePixelRatio(ratio);
            FBitmap->fill(Qt::white);
            FBitmapSize = QSize(width, height);
        }
    }
    SetTarget(FBitmap ? TCanvas(*FBitmap) : TCanvas());
    return TRect{0, 0, width, height};
}

void TTeeCanvas3D::FinishSurface(const TCanvas& destination, const TCanvas& next, const TRect& userRect)
{
    const bool copy = FUseBuffer && FBitmap;
    SetTarget(TCanvas());  // closes the bitmap's painter before it is read
    if (copy) {
        if (FMonochrome)
            MakeMonochrome();
        if (destination.Image() != FBitmap.get()) {
            SetTarget(destination);
            CopyBitmap(userRect.Left, userRect.Top);
        }
        FDirty = false;
    }
    SetTarget(next);
}

bool TTeeCanvas3D::RedrawFromBuffer()
{
    // A window moved to a screen of another pixel density needs the picture
    // made again at that density.
    if (FDirty || !FBitmap || FBitmap->devicePixelRatio() != FTarget.DevicePixelRatio())
        return false;
    if (FTarget.Image() != FBitmap.get())
        CopyBitmap(0, 0);
    return true;
}

bool TTeeCanvas3D::RedrawFromBuffer(const TCanvas& target)
{
    SetTarget(target);
    return RedrawFromBuffer();
}

void TTeeCanvas3D::CopyBitmap(int x, int y)
{
    QPainter* painter = ActivePainter();
    if (painter == nullptr)
        return;
    painter->save();
    painter->setClipping(false);
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    painter->drawImage(x, y, *FBitmap);
    painter->restore();
}

void TTeeCanvas3D::MakeMonochrome()
{
    for (int y = 0; y < FBitmap->height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(FBitmap->scanLine(y));
        for (int x = 0; x < FBitmap->width(); ++x)
            row[x] = qGray(row[x]) >= 128 ? 0xFFFFFFFF : 0xFF000000;
    }
}

void TTeeCanvas3D::SetProjection(int, const TRect&, const TRect&)
{
    // This surface draws every chart flat: depth is ignored throughout.
}

void TTeeCanvas3D::BeginFrontPlane()
{
    FSavedIs3D = FIs3D;
    FIs3D = false;
}

void TTeeCanvas3D::EndFrontPlane()
{
    FIs3D = FSavedIs3D;
}

void TTeeCanvas3D::ClipRectangle(const TRect& rect)
{
    FClip = FClip ? IntersectRects(*FClip, rect) : rect;
    FPainterClipStale = true;
    UpdateDrawableBounds();
}

void TTeeCanvas3D::ClipPlot(const TRect& rect, int, int)
{
    ClipRectangle(TRect{rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1});
}

void TTeeCanvas3D::Unclip()
{
    FClip.reset();
    FPainterClipStale = true;
    UpdateDrawableBounds();
}

void TTeeCanvas3D::SetPixel(int x, int y, TColor color)
{
    if (x < FDrawable.Left || x >= FDrawable.Right || y < FDrawable.Top || y >= FDrawable.Bottom)
        return;
    const QRgb rgb = ToQRgb(color);
    if (FPixels != nullptr) {
        FPixels[static_cast<qsizetype>(y) * FPixelsPerLine + x] = rgb;
        return;
    }
    if (QPainter* painter = ActivePainter()) {
        painter->setCompositionMode(QPainter::CompositionMode_Source);
        painter->fillRect(x, y, 1, 1, QColor::fromRgb(rgb));
    }
}

void TTeeCanvas3D::PrepareBrush(QPainter& painter, bool penMode)
{
    painter.setCompositionMode(penMode ? CompositionFor(Pen().Mode()) : QPainter::CompositionMode_SourceOver);
    painter.setBrush(QBrush(QColor::fromRgb(ToQRgb(Brush().Color())), QtBrushStyle(Brush().Style())));
    // Gaps of hatched brushes show the background colour only when opaque.
    painter.setBackgroundMode(BackMode() == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    painter.setBackground(QColor::fromRgb(ToQRgb(BackColor())));
}

bool TTeeCanvas3D::PenDraws() const
{
    return Pen().Style() != psClear && Pen().Mode() != pmNop;
}

void TTeeCanvas3D::FillArea(int left, int top, int right, int bottom, bool penMode)
{
    if (Brush().Style() == bsClear || (penMode && Pen().Mode() == pmNop))
        return;
    if (IsEmptyRect(TRect{left, top, right, bottom}) || IsEmptyRect(FDrawable))
        return;
    if (QPainter* painter = ActivePainter()) {
        PrepareBrush(*painter, penMode);
        painter->fillRect(ToQRect(left, top, right, bottom), painter->brush());
    }
}

void TTeeCanvas3D::FillRect(const TRect& rect)
{
    FillArea(rect.Left, rect.Top, rect.Right, rect.Bottom, false);
}

void TTeeCanvas3D::Rectangle(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (left == right || top == bottom)
        return;
    if (!PenDraws()) {
        FillArea(left, top, right, bottom, true);
        return;
    }
    const int width = Pen().Width();
    if (width <= 1) {
        // The fill stays inside the outline so that no pixel is painted
        // twice, which matters in the combining pen modes.
        FillArea(left + 1, top + 1, right - 1, bottom - 1, true);
        if (right - left == 1 || bottom - top == 1) {
            const TPoint line[] = {{left, top}, {right - left == 1 ? left : right, right - left == 1 ? bottom : top}};
            Polyline(line);
        } else {
            const TPoint outline[] = {
                {left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}, {left, top}};
            Polyline(outline);
        }
        return;
    }
    FillArea(left, top, right, bottom, true);
    QPainter* painter = ActivePainter();
    if (painter == nullptr || IsEmptyRect(FDrawable))
        return;
    PreparePen(*painter);
    painter->setBrush(Qt::NoBrush);
    if (Pen().Style() == psInsideFrame)
        painter->drawRect(QRectF(left + width / 2.0, top + width / 2.0, right - left - width, bottom - top - width));
    else
        painter->drawRect(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

void TTeeCanvas3D::RectangleAtDepth(const TRect& rect, int)
{
    const TPoint corners[] = {
        {rect.Left, rect.Top}, {rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left, rect.Bottom}};
    Polygon(corners);
}

void TTeeCanvas3D::Polygon(std::span<const TPoint> points)
{
    if (points.size() < 2 || IsEmptyRect(FDrawable))
        return;
    QPainter* painter = ActivePainter();
    if (painter == nullptr)
        return;
    if (Brush().Style() != bsClear && Pen().Mode() != pmNop) {
        // Corners on pixel corners: the fill covers the pixels whose centres
        // lie inside, which leaves out the right and bottom edges.
        QPolygon polygon;
        polygon.reserve(static_cast<qsizetype>(points.size()));
        for (const TPoint& point : points)
            polygon << QPoint(point.X, point.Y);
        PrepareBrush(*painter, true);
        painter->setPen(Qt::NoPen);
        painter->drawPolygon(polygon, Qt::OddEvenFill);
    }
    if (!PenDraws())
        return;
    if (Pen().Width() <= 1) {
        const int saved = FPatternPos;
        FPatternPos = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TPoint& from = points[i];
            const TPoint& to = points[(i + 1) % points.size()];
            DrawLine(from.X, from.Y, to.X, to.Y);
        }
        FPatternPos = saved;
        return;
    }
    QPolygonF outline;
    for (const TPoint& point : points)
        outline << QPointF(point.X + 0.5, point.Y + 0.5);
    PreparePen(*painter);
    painter->setBrush(Qt::NoBrush);
    painter->drawPolygon(outline);
}

void TTeeCanvas3D::Ellipse(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (left == right || top == bottom || IsEmptyRect(FDrawable))
        return;
    QPainter* painter = ActivePainter();
    if (painter == nullptr)
        return;
    const bool withPen = PenDraws();
    if (Brush().Style() != bsClear && Pen().Mode() != pmNop) {
        PrepareBrush(*painter, true);
        painter->setPen(Qt::NoPen);
        painter->drawEllipse(QRectF(left, top, right - left, bottom - top));
    }
    if (!withPen)
        return;
    PreparePen(*painter);
    painter->setBrush(Qt::NoBrush);
    const int width = std::max(1, Pen().Width());
    if (Pen().Style() == psInsideFrame && width > 1)
        painter->drawEllipse(QRectF(left + width / 2.0, top + width / 2.0, right - left - width, bottom - top - width));
    else
        painter->drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

void TTeeCanvas3D::BevelFrame(const TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    Pen().SetWidth(1);
    int left = rect.Left;
    int top = rect.Top;
    int right = rect.Right - 1;
    int bottom = rect.Bottom - 1;
    for (int i = 0; i < width; ++i) {
        Pen().SetColor(topColor);
        const TPoint upper[] = {{left, bottom}, {left, top}, {right, top}};
        Polyline(upper);
        Pen().SetColor(bottomColor);
        const TPoint lower[] = {{right, top}, {right, bottom}, {left - 1, bottom}};
        Polyline(lower);
        ++left;
        ++top;
        --right;
        --bottom;
    }
}

void TTeeCanvas3D::DrawText(QPainter& painter, int x, int y, const std::string& text)
{
    const QFontMetrics* metrics = FontMetrics();
    if (metrics == nullptr || text.empty())
        return;
    const QString string = QString::fromStdString(text);
    const int width = metrics->horizontalAdvance(string);
    const int height = metrics->height();
    int left = x;
    switch (TextAlign() & TA_CENTER) {
    case TA_RIGHT: left = x - width; break;
    case TA_CENTER: left = x - width / 2; break;
    default: break;
    }
    int top = y;
    switch (TextAlign() & TA_BASELINE) {
    case TA_BOTTOM: top = y - height; break;
    case TA_BASELINE: top = y - metrics->ascent(); break;
    default: break;
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (BackMode() == OPAQUE)
        painter.fillRect(left, top, width, height, QColor::fromRgb(ToQRgb(BackColor())));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(CurrentQFont());
    painter.setPen(QColor::fromRgb(ToQRgb(Font().Color())));
    painter.drawText(left, top + metrics->ascent(), string);
}

void TTeeCanvas3D::TextOut(int x, int y, const std::string& text)
{
    if (IsEmptyRect(FDrawable))
        return;
    if (QPainter* painter = ActivePainter())
        DrawText(*painter, x, y, text);
}

void TTeeCanvas3D::TextAtDepth(int x, int y, int, const std::string& text)
{
    TextOut(x, y, text);
}

void TTeeCanvas3D::RotatedText(int x, int y, int angleDegrees, const std::string& text)
{
    Brush().SetStyle(bsClear);
    if (angleDegrees >= 361)
        angleDegrees -= 360;
    if (IsEmptyRect(FDrawable))
        return;
    QPainter* painter = ActivePainter();  // sets the clip before the turn
    if (painter == nullptr)
        return;
    painter->save();
    painter->translate(x, y);
    painter->rotate(-angleDegrees);  // counter-clockwise on a y-down screen
    DrawText(*painter, 0, 0, text);
    painter->restore();
}
