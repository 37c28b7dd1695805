// The gauge's face: geometry as pure functions, and the finished face drawn
// on the platform's painter.
#include "gauge/GaugeFace.h"

#include "runtime/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace {

// nearbyint follows the current rounding mode, which is never changed from
// round-to-nearest-even here.
int RoundHalfEven(long double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// Covers Left..Right-1 and Top..Bottom-1, like every filled rectangle here.
void FillRect(TPainter& painter, const TRect& rect, TColor color)
{
    if (rect.Right > rect.Left && rect.Bottom > rect.Top)
        painter.FillRect(rect, ColorToRGB(color));
}

// The extent of the pie and needle boxes: the face's size, one more with a
// frame (so that the box ends where the face does).
void FaceExtent(const TRect& face, TBorderStyle border, int& width, int& height)
{
    width = face.Right - face.Left;
    height = face.Bottom - face.Top;
    if (border == bsSingle) {
        ++width;
        ++height;
    }
}

// A one-pixel pen and a solid brush.
void UsePenAndBrush(TPainter& painter, TColor pen, TColor brush)
{
    painter.SetPen(TPainterPen{ColorToRGB(pen), 1, psSolid, pmCopy});
    painter.SetBrush(TPainterBrush{ColorToRGB(brush), bsSolid});
}

// Curves and the needle stay inside the face: a curve's outline may stray
// half a pixel past its box, and a needle's tip may lie on the frame.
void DrawPieFace(TPainter& painter, const TGaugeLook& look, const TRect& face)
{
    int w, h;
    FaceExtent(face, look.BorderStyle, w, h);
    FillRect(painter, face, look.Color);
    painter.SetClip(face);
    UsePenAndBrush(painter, look.ForeColor, look.BackColor);
    const TRect box{face.Left, face.Top, w, h};
    painter.Ellipse(box);
    if (look.Percent > 0) {
        UsePenAndBrush(painter, look.ForeColor, look.ForeColor);
        // Small shares on a small face can round onto the top point itself;
        // that is an empty sector, while a full one is 100 %.
        const TPoint from = PieStartPoint(face, look.BorderStyle, look.Percent);
        const TPoint to{w / 2, 0};
        if (from != to || look.Percent >= 50)
            painter.Pie(box, from, to);
    }
}

void DrawNeedleFace(TPainter& painter, const TGaugeLook& look, const TRect& face, int controlWidth)
{
    const int x = face.Left;
    const int y = face.Top;
    int w, h;
    FaceExtent(face, look.BorderStyle, w, h);
    FillRect(painter, face, look.Color);
    UsePenAndBrush(painter, look.ForeColor, look.BackColor);
    // The base line lies just below the face: on the frame's bottom row when
    // there is one.
    painter.Line(TPoint{x, face.Bottom}, TPoint{x + w, face.Bottom}, 0);
    painter.SetClip(face);
    // The upper half of an ellipse twice the face's height: the dial.
    painter.Pie(TRect{x, y, w, 2 * h - 1}, TPoint{x + w, face.Bottom - 1}, TPoint{x, face.Bottom - 1});
    if (look.Percent > 0) {
        const TPoint tip = NeedleTip(controlWidth, face, look.Percent);
        painter.Line(TPoint{controlWidth / 2, face.Bottom - 1}, tip, 0);
    }
}

void DrawFace(TPainter& painter, const TGaugeLook& look, const TRect& face, int controlWidth)
{
    switch (look.Kind) {
    case gkText:
        FillRect(painter, face, look.BackColor);
        break;
    case gkHorizontalBar:
    case gkVerticalBar:
        FillRect(painter, face, look.BackColor);
        FillRect(painter, BarFillRect(look.Kind, face, look.Percent), look.ForeColor);
        break;
    case gkPie:
        DrawPieFace(painter, look, face);
        break;
    case gkNeedle:
        DrawNeedleFace(painter, look, face, controlWidth);
        break;
    }
}

// The percentage in white on black, centred on the face and clipped to it,
// in a bitmap like the face's; null when none can be made.
std::unique_ptr<TBitmap> TextOverlay(const TGaugeLook& look, const TRect& face, const TPixelBuffer& size)
{
    std::unique_ptr<TBitmap> overlay = CreateBitmap(size.Width, size.Height, size.DevicePixelRatio, clBlack);
    if (!overlay)
        return overlay;
    const std::unique_ptr<TPainter> painter = overlay->CreatePainter();
    if (!painter)
        return nullptr;
    // Smoothed glyph edges would come out as stray colours once combined by
    // exclusive-or; whole pixels invert cleanly.
    TPainterFont font = look.Font;
    font.Smooth = false;
    font.Color = clWhite;
    const std::unique_ptr<TTextMetrics> metrics = CreateTextMetrics(font);
    if (!metrics)
        return overlay;
    const std::string text = Format("%d%%", look.Percent);
    const int x = (face.Right - face.Left + 1 - metrics->Width(text)) / 2;
    const int y = (face.Bottom - face.Top + 1 - metrics->Height()) / 2;
    painter->SetFont(font);
    painter->SetBackground(clBlack, false);
    painter->SetClip(face);
    painter->TextOut(x, y, 0, TA_LEFT | TA_TOP, text);
    return overlay;
}

}  // namespace

TRect GaugeFaceRect(int width, int height, TBorderStyle border)
{
    const int inset = border == bsSingle ? 1 : 0;
    return TRect{inset, inset, width - inset, height - inset};
}

TRect BarFillRect(TGaugeKind kind, const TRect& face, int percent)
{
    const int w = face.Right - face.Left + 1;
    const int h = face.Bottom - face.Top + 1;
    if (kind == gkHorizontalBar) {
        const int filled = std::min(SizeForPercent(percent, w), w);
        return filled > 0 ? TRect{face.Left, face.Top, filled, h} : TRect{};
    }
    if (kind == gkVerticalBar) {
        int filled = SizeForPercent(percent, h);
        if (filled >= h)
            filled = h - 1;
        return TRect{face.Left, h - filled, w, h};
    }
    return TRect{};
}

TPoint PieStartPoint(const TRect& face, TBorderStyle border, int percent)
{
    int w, h;
    FaceExtent(face, border, w, h);
    const long double mx = w / 2;
    const long double my = h / 2;
    const double angle = static_cast<double>(std::numbers::pi_v<long double> * (percent / 50.0L + 0.5L));
    return TPoint{RoundHalfEven(mx * (1 - std::cos(static_cast<long double>(angle)))),
                  RoundHalfEven(my * (1 - std::sin(static_cast<long double>(angle))))};
}

TPoint NeedleTip(int controlWidth, const TRect& face, int percent)
{
    const long double m = controlWidth / 2;
    const long double bottom = face.Bottom - 1;
    const double angle = static_cast<double>(std::numbers::pi_v<long double> * percent / 100);
    return TPoint{RoundHalfEven(m * (1 - std::cos(static_cast<long double>(angle)))),
                  RoundHalfEven(bottom * (1 - std::sin(static_cast<long double>(angle))))};
}

std::unique_ptr<TBitmap> RenderGauge(const TGaugeLook& look, int width, int height, double devicePixelRatio)
{
    if (width <= 0 || height <= 0 || !(devicePixelRatio > 0))
        return nullptr;
    const double deviceWidth = std::ceil(width * devicePixelRatio);
    const double deviceHeight = std::ceil(height * devicePixelRatio);
    if (deviceWidth > std::numeric_limits<int>::max() || deviceHeight > std::numeric_limits<int>::max())
        return nullptr;
    // The bitmap starts black, so the frame is what the face leaves alone;
    // the face goes straight into it (combining a face overlay into black by
    // exclusive-or would give the overlay itself).
    std::unique_ptr<TBitmap> image =
        CreateBitmap(static_cast<int>(deviceWidth), static_cast<int>(deviceHeight), devicePixelRatio, clBlack);
    if (!image)
        return image;
    const TRect face = GaugeFaceRect(width, height, look.BorderStyle);
    // A gauge no larger than its frame has no face to draw on.
    if (face.Width() <= 0 || face.Height() <= 0)
        return image;
    const std::unique_ptr<TPainter> painter = image->CreatePainter();
    if (!painter)
        return nullptr;
    DrawFace(*painter, look, face, width);
    if (look.ShowText) {
        if (const std::unique_ptr<TBitmap> overlay = TextOverlay(look, face, image->Buffer()))
            painter->DrawBitmap(0, 0, *overlay, TPainter::TCopyMode::Invert);
    }
    return image;
}
