// The painter on Qt. QPainter's own rules differ from the window system's
// (a drawn rectangle is one pixel larger, a line paints its end point, its
// dashes scale with the pen), so one-pixel lines are rasterised here with
// the project's line raster and handed to QPainter as runs of pixels, which
// applies the pen mode and the device pixel ratio; wider pens, curves and
// text are QPainter's.
#include "runtime/qt/QtPainter.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Text can be measured only once a GUI application has set up the fonts.
bool CanMeasureText()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

constexpr int kFullTurn = 360 * 16;  // QPainter's arc angles are in 1/16 degree

// QPainter takes an ellipse's angles as parameters of the ellipse, not as
// directions: the parameter at which the ellipse meets the radial through
// `point`, in 1/16 degree.
int RadialAngle(const QRectF& rect, TPoint point)
{
    const double rx = rect.width() / 2;
    const double ry = rect.height() / 2;
    const double dx = point.X - (rect.left() + rx);
    const double dy = point.Y - (rect.top() + ry);
    return static_cast<int>(std::lround(std::atan2(-dy * rx, dx * ry) * 180 / std::numbers::pi * 16));
}

// The sector's angles on `rect`: from the radial through `from` on to the one
// through `to`, a full turn when they coincide.
void PieAngles(const QRectF& rect, TPoint from, TPoint to, int& start, int& span)
{
    start = RadialAngle(rect, from);
    span = ((RadialAngle(rect, to) - start) % kFullTurn + kFullTurn) % kFullTurn;
    if (span == 0)
        span = kFullTurn;
}

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, std::max(0, r.Right - r.Left), std::max(0, r.Bottom - r.Top));
}

// The raster operation of a pen mode; pmCopy draws over (colours are opaque).
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

// Whether `image` keeps each pixel as one 32-bit word that the line raster
// can write: one device pixel per pixel, in a 32-bit format.
bool Is32Bit(const QImage& image)
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

class TQtTextMetrics final : public TTextMetrics {
public:
    explicit TQtTextMetrics(const TPainterFont& font) : FMetrics(ToQFont(font)) {}
    int Width(const std::string& text) const override
    {
        return FMetrics.horizontalAdvance(QString::fromStdString(text));
    }
    int Height() const override { return FMetrics.height(); }
    int Ascent() const override { return FMetrics.ascent(); }

private:
    QFontMetrics FMetrics;
};

class TQtPainter final : public TPainter {
public:
    // On a painter that stays someone else's.
    explicit TQtPainter(QPainter& painter) : FPainter(&painter) { UpdateBounds(); }
    // With a QPainter of its own on `device`: an image (`image`) or a widget.
    TQtPainter(QPaintDevice& device, QImage* image) : FOwn(std::make_unique<QPainter>()), FImage(image)
    {
        if (FOwn->begin(&device))
            FPainter = FOwn.get();
        UpdateBounds();
    }
    ~TQtPainter() override
    {
        if (FPainter == FOwn.get() && FOwn)
            FOwn->end();
    }

    bool IsOpen() const { return FPainter != nullptr; }

    TPixelBuffer Pixels() const override
    {
        if (FImage == nullptr || FPainter == nullptr || FImage->devicePixelRatio() != 1 || !Is32Bit(*FImage))
            return TPixelBuffer();
        return TPixelBuffer{reinterpret_cast<std::uint32_t*>(FImage->bits()),
                            FImage->bytesPerLine() / static_cast<qsizetype>(sizeof(std::uint32_t)), FImage->width(),
                            FImage->height(), 1};
    }
    TRect Bounds() const override { return FBounds; }
    double DevicePixelRatio() const override
    {
        if (FImage != nullptr)
            return FImage->devicePixelRatio();
        if (FPainter != nullptr && FPainter->device() != nullptr)
            return FPainter->device()->devicePixelRatioF();
        return 1;
    }

    void SetClip(const std::optional<TRect>& clip) override
    {
        FClip = clip;
        FClipStale = true;
        UpdateBounds();
    }
    void SetPen(const TPainterPen& pen) override
    {
        FPen = pen;
        FPenColor = ToQColor(pen.Color);
    }
    void SetBrush(const TPainterBrush& brush) override { FBrush = brush; }
    void SetBackground(TColor color, bool opaque) override
    {
        FBackColor = color;
        FBackQColor = ToQColor(color);
        FOpaque = opaque;
    }
    void SetFont(const TPainterFont& font) override
    {
        if (FFont && *FFont == font)
            return;
        FFont = font;
        FQFont = ToQFont(font);
        FMetrics.reset();
        if (CanMeasureText())
            FMetrics = std::make_unique<QFontMetrics>(FQFont);
    }

    void SetPixel(int x, int y, TColor color) override
    {
        if (QPainter* painter = Active()) {
            painter->setCompositionMode(QPainter::CompositionMode_Source);
            painter->fillRect(x, y, 1, 1, ToQColor(color));
        }
    }

    void FillRect(const TRect& rect, TColor color) override
    {
        if (QPainter* painter = Active()) {
            painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter->fillRect(ToQRect(rect), ToQColor(color));
        }
    }

    void FillBrushRect(const TRect& rect, TPenMode mode) override
    {
        if (QPainter* painter = Active()) {
            PrepareBrush(*painter, mode);
            painter->fillRect(ToQRect(rect), painter->brush());
        }
    }

    void FillPolygon(std::span<const TPoint> points, TPenMode mode) override
    {
        QPainter* painter = Active();
        if (painter == nullptr)
            return;
        QPolygon polygon;
        polygon.reserve(static_cast<qsizetype>(points.size()));
        for (const TPoint& point : points)
            polygon << QPoint(point.X, point.Y);
        PrepareBrush(*painter, mode);
        painter->setPen(Qt::NoPen);
        painter->drawPolygon(polygon, Qt::OddEvenFill);
    }

    void Line(TPoint from, TPoint to, int patternStart) override
    {
        if (FPen.Width > 1)
            WideLine(from, to);
        else
            CosmeticLine(from, to, patternStart);
    }

    void WideRectangle(const TRect& r) override
    {
        QPainter* painter = Active();
        if (painter == nullptr)
            return;
        PreparePen(*painter);
        painter->setBrush(Qt::NoBrush);
        const int width = FPen.Width;
        if (FPen.Style == psInsideFrame)
            painter->drawRect(
                QRectF(r.Left + width / 2.0, r.Top + width / 2.0, r.Right - r.Left - width, r.Bottom - r.Top - width));
        else
            painter->drawRect(QRectF(r.Left + 0.5, r.Top + 0.5, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
    }

    void WidePolygon(std::span<const TPoint> points) override
    {
        QPainter* painter = Active();
        if (painter == nullptr)
            return;
        QPolygonF outline;
        for (const TPoint& point : points)
            outline << QPointF(point.X + 0.5, point.Y + 0.5);
        PreparePen(*painter);
        painter->setBrush(Qt::NoBrush);
        painter->drawPolygon(outline);
    }

    void Ellipse(const TRect& r) override
    {
        QPainter* painter = Active();
        if (painter == nullptr)
            return;
        if (FBrush.Style != bsClear && FPen.Mode != pmNop) {
            PrepareBrush(*painter, FPen.Mode);
            painter->setPen(Qt::NoPen);
            painter->drawEllipse(QRectF(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top));
        }
        if (FPen.Style == psClear || FPen.Mode == pmNop)
            return;
        PreparePen(*painter);
        painter->setBrush(Qt::NoBrush);
        const int width = std::max(1, FPen.Width);
        if (FPen.Style == psInsideFrame && width > 1)
            painter->drawEllipse(
                QRectF(r.Left + width / 2.0, r.Top + width / 2.0, r.Right - r.Left - width, r.Bottom - r.Top - width));
        else
            painter->drawEllipse(QRectF(r.Left + 0.5, r.Top + 0.5, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
    }

    void Pie(const TRect& r, TPoint from, TPoint to) override
    {
        // The same boxes as Ellipse's, so that a sector lies on the ellipse
        // drawn in the same rectangle; both share one centre.
        QPainter* painter = Active();
        if (painter == nullptr || FPen.Mode == pmNop || r.Right <= r.Left || r.Bottom <= r.Top)
            return;
        int start = 0;
        int span = 0;
        if (FBrush.Style != bsClear) {
            const QRectF fill(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
            PieAngles(fill, from, to, start, span);
            PrepareBrush(*painter, FPen.Mode);
            painter->setPen(Qt::NoPen);
            painter->drawPie(fill, start, span);
        }
        if (FPen.Style == psClear)
            return;
        const QRectF outline(r.Left + 0.5, r.Top + 0.5, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
        PieAngles(outline, from, to, start, span);
        PreparePen(*painter);
        painter->setBrush(Qt::NoBrush);
        painter->drawPie(outline, start, span);
    }

    void TextOut(int x, int y, int angleDegrees, int align, const std::string& text) override
    {
        QPainter* painter = Active();  // sets the clip before any turn
        if (painter == nullptr)
            return;
        if (angleDegrees == 0) {
            DrawText(*painter, x, y, align, text);
            return;
        }
        painter->save();
        painter->translate(x, y);
        painter->rotate(-angleDegrees);  // counter-clockwise on a y-down screen
        DrawText(*painter, 0, 0, align, text);
        painter->restore();
    }

    void DrawBitmap(int x, int y, const TBitmap& source, TCopyMode mode) override
    {
        QPainter* painter = Active();
        if (painter == nullptr)
            return;
        const QImage& image = QtImage(source);
        if (mode == TCopyMode::Invert && FImage != nullptr && Is32Bit(*FImage) && Is32Bit(image)) {
            InvertInto(x, y, image);
            return;
        }
        painter->save();
        painter->setClipping(false);
        painter->setCompositionMode(mode == TCopyMode::Copy ? QPainter::CompositionMode_Source
                                                            : QPainter::RasterOp_SourceXorDestination);
        painter->drawImage(x, y, image);
        painter->restore();
    }

private:
    // The painter with the clip applied; null when it is not open.
    QPainter* Active()
    {
        if (FPainter == nullptr || !FPainter->isActive())
            return nullptr;
        if (FClipStale) {
            if (FClip)
                FPainter->setClipRect(ToQRect(*FClip));
            else
                FPainter->setClipping(false);
            FClipStale = false;
        }
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        return FPainter;
    }

    void UpdateBounds()
    {
        TRect device;
        if (FImage != nullptr && FPainter != nullptr) {
            // Only whole pixels of the drawing count; the rounding guard
            // keeps a quotient such as 537.9999999 from losing one.
            const QSizeF size = FImage->deviceIndependentSize();
            device = TRect{0, 0, static_cast<int>(std::floor(size.width() + 1e-6)),
                           static_cast<int>(std::floor(size.height() + 1e-6))};
        } else if (FPainter != nullptr && FPainter->isActive()) {
            const QPaintDevice* paintDevice = FPainter->device();
            QRect area(0, 0, paintDevice->width(), paintDevice->height());
            bool invertible = false;
            const QTransform toLogical = FPainter->worldTransform().inverted(&invertible);
            if (invertible)
                area = toLogical.mapRect(area);
            device = TRect{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
        }
        FBounds = device;
        FDrawable = FClip ? IntersectRects(device, *FClip) : device;
    }

    void PrepareBrush(QPainter& painter, TPenMode mode)
    {
        painter.setCompositionMode(CompositionFor(mode));
        painter.setBrush(QBrush(ToQColor(FBrush.Color), QtBrushStyle(FBrush.Style)));
        // Gaps of hatched brushes show the background colour only when opaque.
        painter.setBackgroundMode(FOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
        painter.setBackground(ToQColor(FBackColor));
    }

    // Every set bit of the source inverts the target's beneath it; the
    // target stays opaque.
    void InvertInto(int x, int y, const QImage& source)
    {
        const double ratio = FImage->devicePixelRatio();
        const int left = static_cast<int>(std::lround(x * ratio));
        const int top = static_cast<int>(std::lround(y * ratio));
        for (int row = std::max(0, -top); row < source.height() && top + row < FImage->height(); ++row) {
            auto* target = reinterpret_cast<std::uint32_t*>(FImage->scanLine(top + row));
            const auto* bits = reinterpret_cast<const std::uint32_t*>(source.constScanLine(row));
            for (int column = std::max(0, -left); column < source.width() && left + column < FImage->width();
                 ++column)
                target[left + column] = (target[left + column] ^ bits[column]) | 0xFF000000u;
        }
    }

    void PreparePen(QPainter& painter)
    {
        QPen qtPen(ToQColor(FPen.Color));
        qtPen.setWidth(std::max(1, FPen.Width));
        qtPen.setStyle(QtPenStyle(FPen.Style));
        // The window system's wide pens are round at their ends and joins.
        qtPen.setCapStyle(Qt::RoundCap);
        qtPen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(qtPen);
        painter.setCompositionMode(CompositionFor(FPen.Mode));
        painter.setBackgroundMode(FOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
        painter.setBackground(ToQColor(FBackColor));
    }

    void CosmeticLine(TPoint from, TPoint to, int patternStart)
    {
        const TDashPattern& pattern = DashPatternFor(FPen.Style);
        TLineWalk walk;
        if (!PlanLine(from.X, from.Y, to.X, to.Y, FDrawable, walk))
            return;
        QPainter* painter = Active();
        if (painter == nullptr)
            return;
        painter->setCompositionMode(CompositionFor(FPen.Mode));
        const QColor& penColor = FPenColor;
        const QColor& gapColor = FBackQColor;
        // Pixels in a row (or column) of the same kind go to QPainter as one
        // rectangle; the pen mode applies to each pixel once.
        WalkLineRuns(
            walk,
            [&](std::int64_t step) {
                return pattern.IsSolid() ||
                       pattern.On[static_cast<std::size_t>((patternStart + step) % pattern.Length)];
            },
            [&](int left, int top, int width, int height, bool on) {
                if (on || FOpaque)
                    painter->fillRect(left, top, width, height, on ? penColor : gapColor);
            });
    }

    void WideLine(TPoint from, TPoint to)
    {
        if (from == to || IsEmptyRect(FDrawable))
            return;
        QPainter* painter = Active();
        if (painter == nullptr)
            return;
        PreparePen(*painter);
        // Through the pixel centres, as the one-pixel lines run.
        painter->drawLine(QPointF(from.X + 0.5, from.Y + 0.5), QPointF(to.X + 0.5, to.Y + 0.5));
    }

    void DrawText(QPainter& painter, int x, int y, int align, const std::string& text)
    {
        if (FMetrics == nullptr || text.empty())
            return;
        const QString string = QString::fromStdString(text);
        const int width = FMetrics->horizontalAdvance(string);
        const int height = FMetrics->height();
        int left = x;
        switch (align & TA_CENTER) {
        case TA_RIGHT: left = x - width; break;
        case TA_CENTER: left = x - width / 2; break;
        default: break;
        }
        int top = y;
        switch (align & TA_BASELINE) {
        case TA_BOTTOM: top = y - height; break;
        case TA_BASELINE: top = y - FMetrics->ascent(); break;
        default: break;
        }
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (FOpaque)
            painter.fillRect(left, top, width, height, ToQColor(FBackColor));
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setFont(FQFont);
        painter.setPen(ToQColor(FFont->Color));
        painter.drawText(left, top + FMetrics->ascent(), string);
    }

    std::unique_ptr<QPainter> FOwn;
    QImage* FImage = nullptr;
    QPainter* FPainter = nullptr;
    TRect FBounds;
    TRect FDrawable;  // the bounds, clip included
    std::optional<TRect> FClip;
    bool FClipStale = true;

    TPainterPen FPen;
    QColor FPenColor = Qt::black;
    TPainterBrush FBrush;
    TColor FBackColor = clWhite;
    QColor FBackQColor = Qt::white;
    bool FOpaque = false;
    std::optional<TPainterFont> FFont;
    QFont FQFont;
    std::unique_ptr<QFontMetrics> FMetrics;
};

}  // namespace

QColor ToQColor(TColor rgb)
{
    return QColor::fromRgb(ColorToPixel(rgb));
}

QFont ToQFont(const TPainterFont& font)
{
    QFont result(QString::fromStdString(font.Name));
    result.setPixelSize(std::max(1, font.PixelSize));
    result.setBold((font.Style & fsBold) != 0);
    result.setItalic((font.Style & fsItalic) != 0);
    result.setUnderline((font.Style & fsUnderline) != 0);
    result.setStrikeOut((font.Style & fsStrikeOut) != 0);
    if (!font.Smooth)
        result.setStyleStrategy(QFont::NoAntialias);
    return result;
}

std::unique_ptr<TTextMetrics> CreateTextMetrics(const TPainterFont& font)
{
    if (!CanMeasureText())
        return nullptr;
    return std::make_unique<TQtTextMetrics>(font);
}

double TQtBitmap::LogicalWidth() const
{
    return FImage->deviceIndependentSize().width();
}

double TQtBitmap::LogicalHeight() const
{
    return FImage->deviceIndependentSize().height();
}

TPixelBuffer TQtBitmap::Buffer()
{
    if (FImage->isNull() || !Is32Bit(*FImage))
        return TPixelBuffer{nullptr, 0, FImage->width(), FImage->height(), FImage->devicePixelRatio()};
    return TPixelBuffer{reinterpret_cast<std::uint32_t*>(FImage->bits()),
                        FImage->bytesPerLine() / static_cast<qsizetype>(sizeof(std::uint32_t)), FImage->width(),
                        FImage->height(), FImage->devicePixelRatio()};
}

std::unique_ptr<TPainter> TQtBitmap::CreatePainter()
{
    if (FImage->isNull())
        return nullptr;
    auto painter = std::make_unique<TQtPainter>(*FImage, FImage);
    if (!painter->IsOpen())
        return nullptr;
    return painter;
}

const QImage& QtImage(const TBitmap& bitmap)
{
    return static_cast<const TQtBitmap&>(bitmap).Image();
}

std::unique_ptr<TBitmap> CreateBitmap(int deviceWidth, int deviceHeight, double ratio, TColor fill)
{
    if (deviceWidth <= 0 || deviceHeight <= 0)
        return nullptr;
    QImage image(deviceWidth, deviceHeight, QImage::Format_RGB32);
    if (image.isNull())  // more pixels than memory
        return nullptr;
    image.setDevicePixelRatio(ratio);
    image.fill(ToQColor(ColorToRGB(fill)));
    return std::make_unique<TQtBitmap>(std::move(image));
}

std::unique_ptr<TPainter> CreateQtPainter(QPainter& painter)
{
    return std::make_unique<TQtPainter>(painter);
}

TPainterFont PainterFontOf(const QFont& font)
{
    TPainterFont result;
    result.Name = font.family().toStdString();
    result.PixelSize =
        font.pixelSize() > 0 ? font.pixelSize() : static_cast<int>(std::lround(font.pointSizeF() * 96 / 72));
    result.Style = (font.bold() ? fsBold : 0u) | (font.italic() ? fsItalic : 0u) |
                   (font.underline() ? fsUnderline : 0u) | (font.strikeOut() ? fsStrikeOut : 0u);
    return result;
}

std::unique_ptr<TPainter> CreateWidgetPainter(QWidget& widget)
{
    return std::make_unique<TQtPainter>(widget, nullptr);
}
