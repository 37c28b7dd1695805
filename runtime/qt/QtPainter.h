// The painter on Qt: QPainter on a QImage or on a widget.
#pragma once

#include "runtime/Painter.h"

#include <QImage>

#include <memory>

class QColor;
class QFont;
class QPainter;
class QWidget;

// A buffer on a QImage: its own, or one that someone else keeps alive (and
// at its size) for as long as the buffer is used.
class TQtBitmap final : public TBitmap {
public:
    explicit TQtBitmap(QImage& image) : FImage(&image) {}
    explicit TQtBitmap(QImage&& image) : FOwned(std::move(image)), FImage(&FOwned) {}
    TQtBitmap(const TQtBitmap&) = delete;
    TQtBitmap& operator=(const TQtBitmap&) = delete;

    QImage& Image() const { return *FImage; }

    double LogicalWidth() const override;
    double LogicalHeight() const override;
    double DevicePixelRatio() const override { return FImage->devicePixelRatio(); }
    TPixelBuffer Buffer() override;
    // Opened for as long as the painter lives: besides saving a begin per
    // primitive, an image being painted on is deep-copied when someone
    // copies it, so writing its pixels directly never reaches into a copy
    // that shares them.
    std::unique_ptr<TPainter> CreatePainter() override;

private:
    QImage FOwned;
    QImage* FImage;
};

// The image of a buffer made on Qt (every TBitmap here is a TQtBitmap).
const QImage& QtImage(const TBitmap& bitmap);

// The Qt font for a painter's font, and the painter's font for a Qt font: a size in points becomes pixels at 96
// pixels per inch, as on an image.
// The Qt colour of an RGB value (no system colours).
QColor ToQColor(TColor rgb);
QFont ToQFont(const TPainterFont& font);
TPainterFont PainterFontOf(const QFont& font);

// A painter on a QPainter that someone else keeps open while it is used
// (and whose clip and composition mode it changes).
std::unique_ptr<TPainter> CreateQtPainter(QPainter& painter);
// A painter that opens a QPainter on the widget, for its paint event.
std::unique_ptr<TPainter> CreateWidgetPainter(QWidget& widget);
