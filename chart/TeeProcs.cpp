#include "chart/TeeProcs.h"

#include "chart/TeCanvas.h"


#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kMinChart3DPercent = 1;
constexpr int kMaxChart3DPercent = 100;
constexpr int kDefaultFontSize = 8;
constexpr const char* kDefaultFontName = "Arial";

}  // namespace

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t product = std::int64_t{a} * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(std::int64_t{c}))
        quotient += (product < 0) == (c < 0) ? 1 : -1;
    return static_cast<int>(quotient);
}

TChartFontObject::TChartFontObject(TNotifyChange onChange) : FFont(std::move(onChange)) {}

bool TChartFontObject::IsDefaultFont(const TFont& font)
{
    return font.Size() == kDefaultFontSize && font.Name() == kDefaultFontName && font.Color() == clBlack &&
           font.Style() == 0;
}

TCustomTeePanel::TCustomTeePanel(TWinControl* parent)
    : TCustomControl(parent), FCanvas(std::make_unique<TTeeCanvas3D>()), FView3DOptions([this] { Invalidate(); })
{
    FCanvas->SetOnRepaintRequest([this] { Invalidate(); });
    SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
    FCanRepaint = true;
}

TCustomTeePanel::~TCustomTeePanel()
{
    BeginDestroy();
}

void TCustomTeePanel::Invalidate()
{
    if (!FCanRepaint || FDestroying)
        return;
    ++FInvalidateCount;
    FCanvas->MarkDirty();
    TCustomControl::Invalidate();
}

void TCustomTeePanel::Repaint()
{
    Invalidate();
    if (FCanRepaint && !FDestroying)
        Update();
}

void TCustomTeePanel::SetColor(TColor value)
{
    if (value == Color())
        return;
    TControl::SetColor(value);
    Invalidate();
}

void TCustomTeePanel::SetChart3DPercent(int value)
{
    if (value < kMinChart3DPercent || value > kMaxChart3DPercent)
        throw ChartException(Format("3D effect percent must be between %d and %d", kMinChart3DPercent, kMaxChart3DPercent));
    ChangeProperty(FChart3DPercent, value);
}

void TCustomTeePanel::SelectFont(const TFont& font)
{
    FCanvas->Font().Assign(font);
}

void TCustomTeePanel::Paint(TPainter& painter)
{
    const TCanvas window(painter);
    if (!FCanvas->RedrawFromBuffer(window))
        DrawTo(window, ClientRect());
    // The painter ends with this paint; the surface must not keep it.
    FCanvas->SetTarget(TCanvas());
}

void TCustomTeePanel::Resize()
{
    // Only a picture of another size is stale.
    if (FCanvas->Bitmap() != nullptr && FCanvas->BitmapSize() != TSize{Width(), Height()})
        Invalidate();
}

void TCustomTeePanel::DrawTo(const TCanvas& canvas, const TRect& rect)
{
    const TRect drawing = FCanvas->PrepareSurface(canvas, &FView3DOptions, rect, FView3D);
    DrawChart(drawing);
    FCanvas->FinishSurface(canvas, TCanvas(), rect);
}

void TCustomTeePanel::DrawChart(const TRect& rect)
{
    FChartBoundsRect = rect;
    const int width = rect.Width();
    const int height = rect.Height();
    FPlotRect = TRect{rect.Left + MulDiv(FMarginLeft, width, 100) + FBorderWidth,
                      rect.Top + MulDiv(FMarginTop, height, 100) + FBorderWidth,
                      rect.Right - FBorderWidth - MulDiv(FMarginRight, width, 100),
                      rect.Bottom - FBorderWidth - MulDiv(FMarginBottom, height, 100)};
    NormalizePlotRect();
    PaintChart(rect);
}

void TCustomTeePanel::SetPlotRect(const TRect& rect)
{
    FPlotRect = rect;
    NormalizePlotRect();
}

void TCustomTeePanel::NormalizePlotRect()
{
    TRect& r = FPlotRect;
    if (r.Left < FChartBoundsRect.Left)
        r.Left = FChartBoundsRect.Left;
    if (r.Top < FChartBoundsRect.Top)
        r.Top = FChartBoundsRect.Top;
    if (r.Right < r.Left)
        r.Right = r.Left + 1;
    else if (r.Right == r.Left)
        r.Right = r.Left + Width();
    if (r.Bottom < r.Top)
        r.Bottom = r.Top + 1;
    else if (r.Bottom == r.Top)
        r.Bottom = r.Top + Height();
    FPlotWidth = r.Right - r.Left;
    FPlotHeight = r.Bottom - r.Top;
    FChartXCenter = (r.Left + r.Right) / 2;
    FChartYCenter = (r.Top + r.Bottom) / 2;
}

void TCustomTeePanel::PaintChart(const TRect& rect)
{
    PaintBackground(rect);
    FCanvas->ResetDrawingState();
}

void TCustomTeePanel::PaintBackground(const TRect& rect)
{
    FillBackground(rect);
    DrawBackImage(rect);
    PaintBevels(rect);
}

void TCustomTeePanel::FillBackground(const TRect& rect)
{
    FCanvas->Brush().SetColor(Color());
    FCanvas->Brush().SetStyle(bsSolid);
    FCanvas->FillRect(rect);
}

void TCustomTeePanel::PaintBevels(const TRect& rect)
{
    TTeeCanvas3D& canvas = *FCanvas;
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetMode(pmCopy);
    canvas.Brush().SetStyle(bsClear);
    TRect frame = rect;
    const auto shrink = [&frame](int by) {
        frame = TRect{frame.Left + by, frame.Top + by, frame.Right - by, frame.Bottom - by};
    };
    const auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        // Only a lowered bevel is sunken; blank space draws like a raised one.
        const bool raised = cut != bvLowered;
        canvas.BevelFrame(frame, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
                          FBevelWidth);
        shrink(FBevelWidth);
    };
    bevel(FBevelOuter);
    canvas.BevelFrame(frame, Color(), Color(), FBorderWidth);
    shrink(FBorderWidth);
    bevel(FBevelInner);
}

TCustomTeePanelExtended::TCustomTeePanelExtended(TWinControl* parent) : TCustomTeePanel(parent) {}
