#include "chart/TeCanvas.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QString>

namespace {

// Text can be measured only once a GUI application has set up the fonts.
bool CanMeasureText()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

qreal TCanvas::DevicePixelRatio() const
{
    if (FImage != nullptr)
        return FImage->devicePixelRatio();
    if (FPainter != nullptr && FPainter->device() != nullptr)
        return FPainter->device()->devicePixelRatioF();
    return 1;
}

TTeeCanvas::TTeeCanvas()
{
    FPen.SetOnChange([this] { PenChanged(); });
    FFont.SetOnChange([this] {
        FQFont.reset();
        FMetrics.reset();
    });
}

TTeeCanvas::~TTeeCanvas() = default;

const QFont& TTeeCanvas::CurrentQFont() const
{
    if (!FQFont)
        FQFont = FFont.ToQFont();
    return *FQFont;
}

const QFontMetrics* TTeeCanvas::FontMetrics() const
{
    if (!CanMeasureText())
        return nullptr;
    if (!FMetrics)
        FMetrics = std::make_unique<QFontMetrics>(CurrentQFont());
    return FMetrics.get();
}

int TTeeCanvas::TextWidth(const std::string& text) const
{
    const QFontMetrics* metrics = FontMetrics();
    return metrics == nullptr ? 0 : metrics->horizontalAdvance(QString::fromStdString(text));
}

int TTeeCanvas::TextHeight(const std::string&) const
{
    // The window system's text extent is as high as the font's cell whatever
    // the characters.
    const QFontMetrics* metrics = FontMetrics();
    return metrics == nullptr ? 0 : metrics->height();
}

void TTeeCanvas::ResetDrawingState()
{
    FPen.SetColor(clBlack);
    FPen.SetWidth(1);
    FPen.SetStyle(psSolid);
    FBrush.SetColor(clWhite);
    FBrush.SetStyle(bsSolid);
    FFont.SetColor(clBlack);
    FFont.SetSize(10);
    SetBackColor(clWhite);
    SetBackMode(TRANSPARENT);
}

void TTeeCanvas::AssignChartPen(const TChartPen& pen)
{
    if (!pen.Visible()) {
        FPen.SetStyle(psClear);
        return;
    }
    if (pen.SmallDots() && pen.Width() == 1) {
        FPen.SetColor(ColorToRGB(pen.Color()));
        FPen.SetWidth(1);
        FPen.SetStyle(psAlternate);
        return;
    }
    FPen.Assign(pen);
}

void TCanvas3D::Assign(const TCanvas3D& source)
{
    SetMonochrome(source.Monochrome());
}
