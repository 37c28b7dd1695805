// The gauge's face: geometry as pure functions, and the rendering of the
// finished image.
#include "gauge/Gauges.h"

#include "runtime/SysUtils.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr int kFullTurn = 360 * 16;  // QPainter's arc angles are in 1/16 degree

// nearbyint follows the current rounding mode, which is never changed from
// round-to-nearest-even here.
int RoundHalfEven(long double value)
{
    return static_cast<int>(std::nearbyint(value));
}

QColor ToQColor(TColor color)
{
    return QColor(ToQRgb(color));
}

// Covers Left..Right-1 and Top..Bottom-1, like every filled rectangle here.
// (drawRect would take one pixel more each way.)
void FillRect(QPainter& painter, const TRect& rect, TColor color)
{
    if (rect.Right > rect.Left && rect.Bottom > rect.Top)
        painter.fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToQColor(color));
}

// The ellipse boxes are (left, top, right, bottom) with the right and bottom
// edges excluded; an aliased QPainter outline of a QRect reaches one pixel
// past the QRect's width and height.
bool EllipseBox(const TRect& box, QRect& rect)
{
    if (box.Right - box.Left < 1 || box.Bottom - box.Top < 1)
        return false;
    rect = QRect(box.Left, box.Top, box.Width() - 1, box.Height() - 1);
    return true;
}

// QPainter takes an ellipse's angles as parameters of the ellipse, not as
// directions: the parameter at which the ellipse meets the radial through
// `point`, in 1/16 degree.
int RadialAngle(const QRect& rect, TPoint point)
{
    const double rx = rect.width() / 2.0;
    const double ry = rect.height() / 2.0;
    const double dx = point.X - (rect.left() + rx);
    const double dy = point.Y - (rect.top() + ry);
    return static_cast<int>(std::lround(std::atan2(-dy * rx, dx * ry) * 180 / std::numbers::pi * 16));
}

// The sector of the ellipse in `box` from the radial through `from`
// counter-clockwise to the radial through `to`. When the two radials
// coincide the sector is the whole ellipse or nothing, as `wholeWhenSame`
// says.
void DrawPie(QPainter& painter, const TRect& box, TPoint from, TPoint to, bool wholeWhenSame)
{
    QRect rect;
    if (!EllipseBox(box, rect))
        return;
    const int start = RadialAngle(rect, from);
    int span = ((RadialAngle(rect, to) - start) % kFullTurn + kFullTurn) % kFullTurn;
    if (span == 0 || from == to) {
        if (!wholeWhenSame)
            return;
        span = kFullTurn;
    }
    painter.drawPie(rect, start, span);
}

void DrawEllipse(QPainter& painter, const TRect& box)
{
    QRect rect;
    if (EllipseBox(box, rect))
        painter.drawEllipse(rect);
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

// Curves and the needle stay inside the face: a curve's outline may stray
// half a pixel past its box, and a needle's tip may lie on the frame (line
// drawing elsewhere leaves out the end point; QPainter's does not always).
void ClipToFace(QPainter& painter, const TRect& face)
{
    painter.setClipRect(QRect(face.Left, face.Top, face.Width(), face.Height()));
}

// A 1-pixel pen whose lines stop before their end point and whose corners
// stay on the outline.
void UsePenAndBrush(QPainter& painter, TColor pen, TColor brush)
{
    painter.setPen(QPen(ToQColor(pen), 1, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    painter.setBrush(ToQColor(brush));
}

void DrawPieFace(QPainter& painter, const TGaugeLook& look, const TRect& face)
{
    int w, h;
    FaceExtent(face, look.BorderStyle, w, h);
    FillRect(painter, face, look.Color);
    ClipToFace(painter, face);
    UsePenAndBrush(painter, look.ForeColor, look.BackColor);
    const TRect box{face.Left, face.Top, w, h};
    DrawEllipse(painter, box);
    if (look.Percent > 0) {
        UsePenAndBrush(painter, look.ForeColor, look.ForeColor);
        // Small shares on a small face can round onto the top point itself;
        // that is an empty sector, while a full one is 100 %.
        DrawPie(painter, box, PieStartPoint(face, look.BorderStyle, look.Percent), TPoint{w / 2, 0},
                look.Percent >= 50);
    }
}

void DrawNeedleFace(QPainter& painter, const TGaugeLook& look, const TRect& face, int controlWidth)
{
    const int x = face.Left;
    const int y = face.Top;
    int w, h;
    FaceExtent(face, look.BorderStyle, w, h);
    FillRect(painter, face, look.Color);
    UsePenAndBrush(painter, look.ForeColor, look.BackColor);
    // The base line lies just below the face: on the frame's bottom row when
    // there is one.
    painter.drawLine(x, face.Bottom, x + w, face.Bottom);
    ClipToFace(painter, face);
    // The upper half of an ellipse twice the face's height: the dial.
    DrawPie(painter, TRect{x, y, w, 2 * h - 1}, TPoint{x + w, face.Bottom - 1}, TPoint{x, face.Bottom - 1}, true);
    if (look.Percent > 0) {
        const TPoint tip = NeedleTip(controlWidth, face, look.Percent);
        painter.drawLine(controlWidth / 2, face.Bottom - 1, tip.X, tip.Y);
    }
}

void DrawFace(QPainter& painter, const TGaugeLook& look, const TRect& face, int controlWidth)
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

// The percentage in white on black, centred on the face and clipped to it.
QImage TextOverlay(const TGaugeLook& look, const TRect& face, const QImage& image)
{
    QImage overlay(image.size(), QImage::Format_RGB32);
    overlay.setDevicePixelRatio(image.devicePixelRatio());
    overlay.fill(Qt::black);
    QPainter painter(&overlay);
    // Smoothed glyph edges would come out as stray colours once combined by
    // exclusive-or; whole pixels invert cleanly.
    QFont font = look.Font;
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QString text = QString::fromStdString(Format("%d%%", look.Percent));
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = (face.Right - face.Left + 1 - metrics.horizontalAdvance(text)) / 2;
    const int y = (face.Bottom - face.Top + 1 - metrics.height()) / 2;
    painter.setClipRect(QRect(face.Left, face.Top, face.Width(), face.Height()));
    painter.drawText(x, y + metrics.ascent(), text);
    return overlay;
}

// Every lit pixel of the overlay inverts the image's colour beneath it.
void XorInto(QImage& image, const QImage& overlay)
{
    for (int row = 0; row < image.height(); ++row) {
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(row));
        const auto* source = reinterpret_cast<const QRgb*>(overlay.constScanLine(row));
        for (int column = 0; column < image.width(); ++column)
            target[column] = (target[column] ^ source[column]) | 0xFF000000;
    }
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

QImage RenderGauge(const TGaugeLook& look, int width, int height, qreal devicePixelRatio)
{
    if (width <= 0 || height <= 0 || !(devicePixelRatio > 0))
        return QImage();
    const double deviceWidth = std::ceil(width * devicePixelRatio);
    const double deviceHeight = std::ceil(height * devicePixelRatio);
    if (deviceWidth > std::numeric_limits<int>::max() || deviceHeight > std::numeric_limits<int>::max())
        return QImage();
    // The image starts black, so the frame is what the face leaves alone;
    // the face goes straight into it (combining a face overlay into black by
    // exclusive-or would give the overlay itself).
    QImage image(static_cast<int>(deviceWidth), static_cast<int>(deviceHeight), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::black);
    const TRect face = GaugeFaceRect(width, height, look.BorderStyle);
    // A gauge no larger than its frame has no face to draw on (and QPainter
    // takes an empty clip rectangle for no clipping at all).
    if (face.Width() <= 0 || face.Height() <= 0)
        return image;
    {
        QPainter painter(&image);
        DrawFace(painter, look, face, width);
    }
    if (look.ShowText)
        XorInto(image, TextOverlay(look, face, image));
    return image;
}
