#include "chart/TeCanvasTools.h"

#include <cmath>

namespace {

template <typename T>
bool Store(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

}  // namespace

TPen::TPen(TNotifyChange onChange) : FOnChange(std::move(onChange)) {}

TPen::TPen(TNotifyChange onChange, TColor color, int width, TPenStyle style)
    : FColor(color), FWidth(width), FStyle(style), FOnChange(std::move(onChange))
{
}

void TPen::Changed()
{
    if (FOnChange)
        FOnChange();
}

void TPen::SetColor(TColor value)
{
    if (Store(FColor, value))
        Changed();
}

void TPen::SetWidth(int value)
{
    if (Store(FWidth, value))
        Changed();
}

void TPen::SetStyle(TPenStyle value)
{
    if (Store(FStyle, value))
        Changed();
}

void TPen::SetMode(TPenMode value)
{
    if (Store(FMode, value))
        Changed();
}

bool TPen::AssignValues(const TPen& source)
{
    bool changed = Store(FColor, source.FColor);
    changed |= Store(FWidth, source.FWidth);
    changed |= Store(FStyle, source.FStyle);
    changed |= Store(FMode, source.FMode);
    return changed;
}

void TPen::Assign(const TPen& source)
{
    if (AssignValues(source))
        Changed();
}

TChartPen::TChartPen(TNotifyChange onChange) : TPen(std::move(onChange)) {}

TChartPen::TChartPen(TNotifyChange onChange, TColor color, int width, TPenStyle style, bool visible)
    : TPen(std::move(onChange), color, width, style), FVisible(visible)
{
}

void TChartPen::SetSmallDots(bool value)
{
    if (Store(FSmallDots, value))
        Changed();
}

void TChartPen::SetVisible(bool value)
{
    if (Store(FVisible, value))
        Changed();
}

void TChartPen::Assign(const TChartPen& source)
{
    // One notification for the whole copy: the owner repaints once.
    bool changed = AssignValues(source);
    changed |= Store(FSmallDots, source.FSmallDots);
    changed |= Store(FVisible, source.FVisible);
    if (changed)
        Changed();
}

TChartHiddenPen::TChartHiddenPen(TNotifyChange onChange)
    : TChartPen(std::move(onChange), clBlack, 1, psSolid, false)
{
}

TDottedGrayPen::TDottedGrayPen(TNotifyChange onChange) : TChartPen(std::move(onChange), clGray, 1, psDot, true) {}

TDarkGrayPen::TDarkGrayPen(TNotifyChange onChange) : TChartPen(std::move(onChange), clGray, 1, psSolid, true) {}

TChartAxisPen::TChartAxisPen(TNotifyChange onChange) : TChartPen(std::move(onChange), clBlack, 2, psSolid, true) {}

TChartArrowPen::TChartArrowPen(TNotifyChange onChange) : TChartPen(std::move(onChange), clWhite, 1, psSolid, true)
{
}

TBrush::TBrush(TNotifyChange onChange) : FOnChange(std::move(onChange)) {}

void TBrush::Changed()
{
    if (FOnChange)
        FOnChange();
}

void TBrush::SetColor(TColor value)
{
    if (Store(FColor, value))
        Changed();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (Store(FStyle, value))
        Changed();
}

void TBrush::Assign(const TBrush& source)
{
    bool changed = Store(FColor, source.FColor);
    changed |= Store(FStyle, source.FStyle);
    if (changed)
        Changed();
}

TFont::TFont(TNotifyChange onChange) : FOnChange(std::move(onChange)) {}

void TFont::Changed()
{
    if (FOnChange)
        FOnChange();
}

void TFont::SetName(const std::string& value)
{
    if (Store(FName, value))
        Changed();
}

void TFont::SetSize(int value)
{
    if (Store(FSize, value))
        Changed();
}

void TFont::SetColor(TColor value)
{
    if (Store(FColor, value))
        Changed();
}

void TFont::SetStyle(TFontStyles value)
{
    if (Store(FStyle, value))
        Changed();
}

void TFont::Assign(const TFont& source)
{
    bool changed = Store(FName, source.FName);
    changed |= Store(FSize, source.FSize);
    changed |= Store(FColor, source.FColor);
    changed |= Store(FStyle, source.FStyle);
    if (changed)
        Changed();
}

TPainterFont TFont::PainterFont() const
{
    // Points to pixels, rounded to the nearest like the window system does.
    const int pixels = static_cast<int>(std::lround(std::abs(FSize) * double{PixelsPerInch} / 72.0));
    return TPainterFont{FName, pixels < 1 ? 1 : pixels, FStyle, ColorToRGB(FColor)};
}

TView3DOptions::TView3DOptions(TNotifyChange onChange) : FOnChange(std::move(onChange)) {}

template <typename T>
void TView3DOptions::Set(T& field, T value)
{
    if (Store(field, value) && FOnChange)
        FOnChange();
}

void TView3DOptions::SetElevation(int value) { Set(FElevation, value); }
void TView3DOptions::SetHorizOffset(int value) { Set(FHorizOffset, value); }
void TView3DOptions::SetOrthogonal(bool value) { Set(FOrthogonal, value); }
void TView3DOptions::SetPerspective(int value) { Set(FPerspective, value); }
void TView3DOptions::SetRotation(int value) { Set(FRotation, value); }
void TView3DOptions::SetTilt(int value) { Set(FTilt, value); }
void TView3DOptions::SetVertOffset(int value) { Set(FVertOffset, value); }
void TView3DOptions::SetZoom(int value) { Set(FZoom, value); }
void TView3DOptions::SetZoomText(bool value) { Set(FZoomText, value); }
