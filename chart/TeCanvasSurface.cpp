// TTeeCanvas3D: targets, buffering, clipping, shapes and text. Lines are in
// TeCanvasLines.cpp.
#include "chart/TeCanvas.h"
#include "chart/TeCanvasRaster.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

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
    FPainterBackStale = true;
    FLineKind = TLineKind::Unknown;
    if (TBitmap* bitmap = FTarget.Bitmap(); bitmap != nullptr) {
        // Opened for as long as the bitmap is the target.
        FOwnPainter = bitmap->CreatePainter();
        if (FOwnPainter) {
            const TPixelBuffer pixels = FOwnPainter->Pixels();
            FPixels = pixels.Pixels;
            FPixelsPerLine = pixels.Stride;
        }
    }
    UpdateDrawableBounds();
}

void TTeeCanvas3D::EndTarget()
{
    // A painter that belongs to the caller is left alone: it may already be
    // gone once its paint event is over.
    FOwnPainter.reset();
    FPixels = nullptr;
    FPixelsPerLine = 0;
    FLineKind = TLineKind::Unknown;
}

void TTeeCanvas3D::UpdateDrawableBounds()
{
    TRect device;
    if (FOwnPainter) {
        // The own bitmap may hold a part of a device pixel more than the
        // drawing asked for.
        device = FTarget.Bitmap() == FBitmap.get() ? TRect{0, 0, FBitmapSize.Width, FBitmapSize.Height}
                                                   : FOwnPainter->Bounds();
    } else if (TPainter* painter = FTarget.Painter(); painter != nullptr) {
        device = painter->Bounds();
    }
    FDrawable = FClip ? IntersectRects(device, *FClip) : device;
}

TPixelSink TTeeCanvas3D::LineSink()
{
    if (FTarget.Bitmap() == nullptr)
        return TPixelSink();
    if (FPixels != nullptr)
        return TPixelSink(FPixels, FPixelsPerLine);
    TPainter* painter = ActivePainter();
    if (painter == nullptr)
        return TPixelSink();
    return TPixelSink(*painter);
}

TPainter* TTeeCanvas3D::ActivePainter()
{
    TPainter* painter = FOwnPainter ? FOwnPainter.get() : FTarget.Painter();
    if (painter == nullptr)
        return nullptr;
    if (FPainterClipStale) {
        painter->SetClip(FClip);
        FPainterClipStale = false;
    }
    // Handed over when it changed: lines come by the million.
    const TColor back = ColorToRGB(BackColor());
    const bool opaque = BackMode() == OPAQUE;
    if (FPainterBackStale || back != FPainterBack || opaque != FPainterOpaque) {
        painter->SetBackground(back, opaque);
        FPainterBack = back;
        FPainterOpaque = opaque;
        FPainterBackStale = false;
    }
    return painter;
}

void TTeeCanvas3D::FreeBitmap()
{
    if (!FBitmap)
        return;
    if (FTarget.Bitmap() == FBitmap.get())
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
    const double ratio = window.DevicePixelRatio();
    if (FBitmap && (FBitmapSize != TSize{width, height} || FBitmap->DevicePixelRatio() != ratio))
        FreeBitmap();
    if (!FBitmap && width > 0 && height > 0) {
        // Text and curves are drawn at the screen's own resolution; a
        // pixel of the drawing covers ratio x ratio device pixels.
        const double deviceWidth = std::ceil(width * ratio);
        const double deviceHeight = std::ceil(height * ratio);
        constexpr double kMaxSide = std::numeric_limits<int>::max();
        if (deviceWidth <= kMaxSide && deviceHeight <= kMaxSide)
            FBitmap = CreateBitmap(static_cast<int>(deviceWidth), static_cast<int>(deviceHeight), ratio, clWhite);
        if (FBitmap)
            FBitmapSize = TSize{width, height};
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
        if (destination.Bitmap() != FBitmap.get()) {
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
    if (FDirty || !FBitmap || FBitmap->DevicePixelRatio() != FTarget.DevicePixelRatio())
        return false;
    if (FTarget.Bitmap() != FBitmap.get())
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
    if (TPainter* painter = ActivePainter())
        painter->DrawBitmap(x, y, *FBitmap, TPainter::TCopyMode::Copy);
}

void TTeeCanvas3D::MakeMonochrome()
{
    const TPixelBuffer buffer = FBitmap->Buffer();
    if (buffer.Pixels == nullptr)
        return;
    for (int y = 0; y < buffer.Height; ++y) {
        std::uint32_t* row = buffer.Pixels + static_cast<std::ptrdiff_t>(y) * buffer.Stride;
        for (int x = 0; x < buffer.Width; ++x) {
            // The grey level weighs green most and blue least, as the eye does.
            const std::uint32_t pixel = row[x];
            const std::uint32_t grey = ((pixel >> 16 & 0xFF) * 11 + (pixel >> 8 & 0xFF) * 16 + (pixel & 0xFF) * 5) / 32;
            row[x] = grey >= 128 ? 0xFFFFFFFF : 0xFF000000;
        }
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
    if (FPixels != nullptr) {
        FPixels[static_cast<std::ptrdiff_t>(y) * FPixelsPerLine + x] = ColorToPixel(color);
        return;
    }
    if (TPainter* painter = ActivePainter())
        painter->SetPixel(x, y, ColorToRGB(color));
}

void TTeeCanvas3D::PrepareBrush(TPainter& painter)
{
    painter.SetBrush(TPainterBrush{ColorToRGB(Brush().Color()), Brush().Style()});
}

void TTeeCanvas3D::PreparePen(TPainter& painter)
{
    const TPen& pen = Pen();
    painter.SetPen(TPainterPen{ColorToRGB(pen.Color()), pen.Width(), pen.Style(), pen.Mode()});
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
    if (TPainter* painter = ActivePainter()) {
        PrepareBrush(*painter);
        painter->FillBrushRect(TRect{left, top, right, bottom}, penMode ? Pen().Mode() : pmCopy);
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
    TPainter* painter = ActivePainter();
    if (painter == nullptr || IsEmptyRect(FDrawable))
        return;
    PreparePen(*painter);
    painter->WideRectangle(TRect{left, top, right, bottom});
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
    TPainter* painter = ActivePainter();
    if (painter == nullptr)
        return;
    if (Brush().Style() != bsClear && Pen().Mode() != pmNop) {
        // Corners on pixel corners: the fill covers the pixels whose centres
        // lie inside, which leaves out the right and bottom edges.
        PrepareBrush(*painter);
        painter->FillPolygon(points, Pen().Mode());
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
    PreparePen(*painter);
    painter->WidePolygon(points);
}

void TTeeCanvas3D::Ellipse(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (left == right || top == bottom || IsEmptyRect(FDrawable))
        return;
    if (TPainter* painter = ActivePainter()) {
        PreparePen(*painter);
        PrepareBrush(*painter);
        painter->Ellipse(TRect{left, top, right, bottom});
    }
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

void TTeeCanvas3D::DrawText(int x, int y, int angleDegrees, const std::string& text)
{
    if (IsEmptyRect(FDrawable))
        return;
    if (TPainter* painter = ActivePainter()) {
        painter->SetFont(Font().PainterFont());
        painter->TextOut(x, y, angleDegrees, TextAlign(), text);
    }
}

void TTeeCanvas3D::TextOut(int x, int y, const std::string& text)
{
    DrawText(x, y, 0, text);
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
    DrawText(x, y, angleDegrees, text);
}
