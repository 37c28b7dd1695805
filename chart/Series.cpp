#include "chart/Series.h"

#include <algorithm>

namespace {

void CheckPointerSize(int value)
{
    if (value < 1)
        throw ChartException("Pointer size must be greater than zero");
}

}  // namespace

TSeriesPointer::TSeriesPointer(TChartSeries* owner)
    : FOwner(owner), FPen([owner] { owner->RequestRepaint(); }), FBrush([owner] { owner->RequestRepaint(); })
{
}

void TSeriesPointer::Assign(const TSeriesPointer& source)
{
    FPen.Assign(source.FPen);
    FBrush.Assign(source.FBrush);
    SetDark3D(source.FDark3D);
    SetDraw3D(source.FDraw3D);
    SetHorizSize(source.FHorizSize);
    SetVertSize(source.FVertSize);
    SetInflateMargins(source.FInflateMargins);
    SetStyle(source.FStyle);
    SetVisible(source.FVisible);
}

void TSeriesPointer::SetHorizSize(int value)
{
    CheckPointerSize(value);
    Change(FHorizSize, value);
}

void TSeriesPointer::SetVertSize(int value)
{
    CheckPointerSize(value);
    Change(FVertSize, value);
}

TCustomSeries::TCustomSeries(TComponent* AOwner) : TChartSeries(AOwner) {}

void TCustomSeries::Assign(const TChartSeries& source)
{
    TChartSeries::Assign(source);
    const auto* other = dynamic_cast<const TCustomSeries*>(&source);
    if (other == nullptr || other == this)
        return;
    FPointer.Assign(other->FPointer);
    FLinePen.Assign(other->FLinePen);
    SetLineBrush(other->FLineBrush);
    SetStairs(other->FStairs);
    SetInvertedStairs(other->FInvertedStairs);
    SetDark3D(other->FDark3D);
    SetLineHeight(other->FLineHeight);
    SetClickableLine(other->FClickableLine);
    SetAreaColor(other->FAreaColor);
    SetDrawLine(other->FDrawLine);
    SetDrawArea(other->FDrawArea);
}

void TCustomSeries::HorizMargins(int& left, int& right) const
{
    left = 0;
    right = 0;
    if (FPointer.Visible() && FPointer.InflateMargins()) {
        left = std::max(left, FPointer.HorizSize() + 1);
        right = std::max(right, FPointer.HorizSize() + 1);
    }
    if (FStairs && FDrawLine) {
        left = std::max(left, FLinePen.Width());
        right = std::max(right, FLinePen.Width());
    }
}

void TCustomSeries::VertMargins(int& top, int& bottom) const
{
    top = 0;
    bottom = 0;
    if (FPointer.Visible() && FPointer.InflateMargins()) {
        top = std::max(top, FPointer.VertSize() + 1);
        bottom = std::max(bottom, FPointer.VertSize() + 1);
    }
    if (FStairs && FDrawLine) {
        top = std::max(top, FLinePen.Width());
        bottom = std::max(bottom, FLinePen.Width() + 1);
    }
    if (FLineHeight > 0 && !FDrawArea && bottom < FLineHeight)
        bottom = FLineHeight;
}

TLineSeries::TLineSeries(TComponent* AOwner) : TCustomSeries(AOwner)
{
    SetDrawLine(true);
    Pointer().SetVisible(false);
}

void TLineSeries::Assign(const TChartSeries& source)
{
    TCustomSeries::Assign(source);
    if (dynamic_cast<const TLineSeries*>(&source) == nullptr)
        Pointer().SetVisible(false);
    SetDrawArea(false);
    SetDrawLine(true);
}
