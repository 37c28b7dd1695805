#include "chart/TeCanvas.h"

double TCanvas::DevicePixelRatio() const
{
    if (FBitmap != nullptr)
        return FBitmap->DevicePixelRatio();
    if (FPainter != nullptr)
        return FPainter->DevicePixelRatio();
    return 1;
}

TTeeCanvas::TTeeCanvas()
{
    FPen.SetOnChange([this] { PenChanged(); });
    FFont.SetOnChange([this] { FMetrics.reset(); });
}

TTeeCanvas::~TTeeCanvas() = default;

const TTextMetrics* TTeeCanvas::FontMetrics() const
{
    if (!FMetrics)
        FMetrics = CreateTextMetrics(FFont.PainterFont());
    return FMetrics.get();
}

int TTeeCanvas::TextWidth(const std::string& text) const
{
    const TTextMetrics* metrics = FontMetrics();
    return metrics == nullptr ? 0 : metrics->Width(text);
}

int TTeeCanvas::TextHeight(const std::string&) const
{
    // The window system's text extent is as high as the font's cell whatever
    // the characters.
    const TTextMetrics* metrics = FontMetrics();
    return metrics == nullptr ? 0 : metrics->Height();
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
