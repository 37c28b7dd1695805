#include "chart/TeeProcs.h"

#include "chart/TeCanvas.h"

#include <QPainter>

namespace {

constexpr int kMinChart3DPercent = 1;
constexpr int kMaxChart3DPercent = 100;

}  // namespace

TCustomTeePanel::TCustomTeePanel(QWidget* parent) : TControl(parent), FCanvas(std::make_unique<TTeeCanvas3D>())
{
    FCanvas->SetOnRepaintRequest([this] { Invalidate(); });
    resize(kDefaultWidth, kDefaultHeight);
    // Every pixel comes from the chart's own drawing: no erase before a
    // paint, so a repaint never flashes the window's background.
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    update();
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

void TCustomTeePanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const TCanvas window(painter);
    if (!FCanvas->RedrawFromBuffer(window)) {
        const TRect bounds = Rect(0, 0, width(), height());
        const TRect drawing = FCanvas->PrepareSurface(window, nullptr, bounds, false);
        DrawChart(drawing);
        FCanvas->ResetDrawingState();
        FCanvas->FinishSurface(window, TCanvas(), bounds);
    }
    // The painter ends with this paint; the surface must not keep it.
    FCanvas->SetTarget(TCanvas());
}

void TCustomTeePanel::resizeEvent(QResizeEvent*)
{
    // Qt repeats resize events for a hidden widget without a size change;
    // only a picture of another size is stale.
    const QImage* picture = FCanvas->Bitmap();
    if (picture != nullptr && picture->size() != size())
        Invalidate();
}

void TCustomTeePanel::DrawChart(const TRect& rect)
{
    FCanvas->Brush().SetColor(Color());
    FCanvas->Brush().SetStyle(bsSolid);
    FCanvas->FillRect(rect);
}

TCustomTeePanelExtended::TCustomTeePanelExtended(QWidget* parent) : TCustomTeePanel(parent) {}
