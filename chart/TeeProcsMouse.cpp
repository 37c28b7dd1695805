// The chart's mouse: zoom drags, pan drags and the wheel. All of it works by
// changing the bounds of the axes and repainting; the series' data are never
// touched.
#include "chart/Chart.h"
#include "chart/TeCanvas.h"
#include "runtime/Dialogs.h"


#include <algorithm>

namespace {

bool Contains(const TRect& rect, int x, int y)
{
    return rect.Left <= x && x < rect.Right && rect.Top <= y && y < rect.Bottom;
}

bool KeysHeld(TShiftState held, TShiftState wanted)
{
    return (held & kKeyboardShift & wanted) == wanted;
}

}  // namespace

// ---- The drag rectangle

void TCustomTeePanelExtended::Paint(TPainter& painter)
{
    TCustomTeePanel::Paint(painter);
    if (FZoomRecord.Active)
        DrawZoomRectangle(TCanvas(painter));
}

void TCustomTeePanelExtended::DrawZoomRectangle(const TCanvas& window)
{
    TTeeCanvas3D& canvas = Canvas();
    TPen savedPen;
    savedPen.Assign(canvas.Pen());
    TBrush savedBrush;
    savedBrush.Assign(canvas.Brush());
    const TCanvas savedTarget = canvas.Target();

    canvas.SetTarget(window);
    canvas.Pen().SetColor(ZoomRectangleColor(Color()));
    canvas.Pen().SetMode(pmNotXor);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(FZoomRecord.X0, FZoomRecord.Y0, FZoomRecord.X1, FZoomRecord.Y1);

    // The next paint of the chart must not draw in not-xor.
    canvas.SetTarget(savedTarget);
    canvas.Pen().Assign(savedPen);
    canvas.Brush().Assign(savedBrush);
}

// ---- The mouse

void TCustomChart::MouseWheel(TShiftState, int delta, int, int)
{
    // Fine-grained wheels report parts of a notch; they scroll once a
    // whole notch has come together.
    FWheelTurn += delta;
    while (FWheelTurn <= -kWheelNotch) {
        FWheelTurn += kWheelNotch;
        ScrollVerticalAxes(kWheelScrollPercent);
    }
    while (FWheelTurn >= kWheelNotch) {
        FWheelTurn -= kWheelNotch;
        ScrollVerticalAxes(-kWheelScrollPercent);
    }
}

void TCustomChart::MouseLeave()
{
    RestoreCursor();
    PanningRecord().Active = false;
}

void TCustomChart::MouseCaptureLost()
{
    if (!ZoomRecord().Active && !PanningRecord().Active)
        return;
    if (ZoomRecord().Active) {
        ZoomRecord().Active = false;
        RequestPaint();
    }
    PanningRecord().Active = false;
    RestoreCursor();
}

// ---- Drags

void TCustomChart::MouseDown(TMouseButton button, TShiftState keys, int x, int y)
{
    if (ZoomRecord().Active || PanningRecord().Active)
        return;
    if (!CanDragAt(x, y))
        return;
    if (AllowZoom() && button == kZoomButton && KeysHeld(keys, kZoomKeys)) {
        ShowCursor(crDefault);
        ZoomRecord().Activate(x, y);
        RequestPaint();
    }
    if (AllowPanning() != pmNone && button == kPanningButton && KeysHeld(keys, kPanningKeys)) {
        ShowCursor(crDefault);
        PanningRecord().Activate(x, y);
    }
}

bool TCustomChart::CanDragAt(int x, int y) const
{
    for (int i = 0; i < SeriesCount(); ++i) {
        const TChartSeries& series = *Series(i);
        if (series.Active() && series.Clicked(x, y) >= 0)
            return true;
    }
    for (int i = 0; i < AxisCount(); ++i) {
        if (Axis(i)->AxisHit(x, y))
            return true;
    }
    return SeriesList().CountActive() > 0 && Contains(PlotRect(), x, y);
}

TCursor TCustomChart::SeriesCursorAt(int x, int y) const
{
    // Only a series with a cursor of its own is asked: finding the point
    // under the mouse on every move costs time that nothing else needs.
    for (int i = 0; i < SeriesCount(); ++i) {
        const TChartSeries& series = *Series(i);
        if (series.Active() && series.Cursor() != crDefault && series.Clicked(x, y) >= 0)
            return series.Cursor();
    }
    return Cursor();
}

void TCustomChart::MouseMove(TShiftState, int x, int y)
{
    TZoomPanningRecord& zoom = ZoomRecord();
    if (zoom.Active) {
        if (x == zoom.X1 && y == zoom.Y1)
            return;
        zoom.X1 = x;
        zoom.Y1 = y;
        RequestPaint();
        return;
    }
    TZoomPanningRecord& pan = PanningRecord();
    if (!pan.Active) {
        ShowCursor(SeriesCursorAt(x, y));
        return;
    }
    if (!Contains(PlotRect(), x, y)) {
        pan.Active = false;
        return;
    }
    if (x == pan.X1 && y == pan.Y1)
        return;
    SaveScalesOnce();
    const bool across = PanStep(true, x, pan.X1);
    const bool down = PanStep(false, y, pan.Y1);
    pan.X1 = x;
    pan.Y1 = y;
    if (across || down) {
        if (OnScroll())
            OnScroll()(this);
        Invalidate();
    }
}

bool TCustomChart::PanStep(bool horizontal, int now, int before)
{
    if (now == before)
        return false;
    const TPanningMode direction = horizontal ? pmHorizontal : pmVertical;
    if (AllowPanning() != direction && AllowPanning() != pmBoth)
        return false;
    // By index: a scroll handler may add an axis.
    for (int i = 0; i < AxisCount(); ++i) {
        auto* axis = dynamic_cast<TChartAxis*>(Axis(i));
        if (axis == nullptr || axis->IsDepth() || axis->IsHorizontal() != horizontal)
            continue;
        const double delta = axis->PixelToValue(before) - axis->PixelToValue(now);
        double newMinimum = axis->Minimum() + delta;
        double newMaximum = axis->Maximum() + delta;
        bool allow = true;
        if (OnAllowScroll())
            OnAllowScroll()(axis, newMinimum, newMaximum, allow);
        if (allow)
            axis->SetRange(newMinimum, newMaximum);
    }
    return true;
}

void TCustomChart::MouseUp(TMouseButton button, TShiftState, int x, int y)
{
    TZoomPanningRecord& zoom = ZoomRecord();
    if (zoom.Active && button == kZoomButton) {
        zoom.Active = false;
        RequestPaint();
        zoom.X1 = x;
        zoom.Y1 = y;
        switch (ZoomDragResult(zoom)) {
        case TZoomDragResult::Zoom:
            ZoomToRectangle();
            Invalidate();
            break;
        case TZoomDragResult::Undo:
            UndoZoom();
            Invalidate();
            break;
        case TZoomDragResult::None:
            break;
        }
    }
    PanningRecord().Active = false;
}

void TCustomChart::ScrollVerticalAxes(double percent)
{
    for (int i = 0; i < AxisCount(); ++i) {
        TCustomChartAxis* axis = Axis(i);
        if (!axis->IsHorizontal())
            axis->ScrollBy((axis->Maximum() - axis->Minimum()) * percent / 100.0, false);
    }
}

// ---- Zoom and undo

std::array<TChartAxis*, 4> TCustomChart::SideAxes() const
{
    return {TopAxis(), LeftAxis(), RightAxis(), BottomAxis()};
}

void TCustomChart::SaveScalesOnce()
{
    if (!FScalesRestored)
        return;
    const auto axes = SideAxes();
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const TChartAxis& axis = *axes[i];
        FSavedScales[i] = {axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(), axis.Minimum(),
                           axis.Maximum()};
    }
    FScalesRestored = false;
}

void TCustomChart::ZoomToRectangle()
{
    TZoomPanningRecord& zoom = ZoomRecord();
    zoom.Normalize();
    const std::array<TChartAxis*, 4> axes = {LeftAxis(), RightAxis(), TopAxis(), BottomAxis()};
    std::array<TAxisBounds, 4> targets;
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const TChartAxis& axis = *axes[i];
        // Screen y grows downward: the lower edge holds the smaller value.
        const double a = axis.IsHorizontal() ? axis.PixelToValue(zoom.X0) : axis.PixelToValue(zoom.Y1);
        const double b = axis.IsHorizontal() ? axis.PixelToValue(zoom.X1) : axis.PixelToValue(zoom.Y0);
        // An inverted axis gives them the other way round; in order, the
        // steps of an animation close in on the target instead of crossing.
        targets[i] = {std::min(a, b), std::max(a, b)};
    }
    SaveScalesOnce();
    if (AnimatedZoom()) {
        for (int step = 1; step < AnimatedZoomSteps(); ++step) {
            for (std::size_t i = 0; i < axes.size(); ++i) {
                const TAxisBounds next = AnimatedZoomStep({axes[i]->Minimum(), axes[i]->Maximum()}, targets[i]);
                axes[i]->SetRange(next.Minimum, next.Maximum);
            }
            Repaint();
        }
    }
    for (std::size_t i = 0; i < axes.size(); ++i)
        axes[i]->SetRange(targets[i].Minimum, targets[i].Maximum);
    SetZoomed(true);
    if (OnZoom())
        OnZoom()(this);
}

void TCustomChart::UndoZoom()
{
    if (!FScalesRestored) {
        const auto axes = SideAxes();
        for (std::size_t i = 0; i < axes.size(); ++i) {
            TChartAxis& axis = *axes[i];
            const TSavedScale& saved = FSavedScales[i];
            axis.SetAutomatic(saved.Automatic);
            axis.SetAutomaticMinimum(saved.AutomaticMinimum);
            axis.SetAutomaticMaximum(saved.AutomaticMaximum);
            if (!axis.Automatic()) {
                axis.SetRange(saved.Minimum, saved.Maximum);
                // SetRange fixes both ends; an end that followed the series
                // before the zoom follows them again.
                axis.SetAutomaticMinimum(saved.AutomaticMinimum);
                axis.SetAutomaticMaximum(saved.AutomaticMaximum);
            }
        }
        FScalesRestored = true;
    }
    if (OnUndoZoom())
        OnUndoZoom()(this);
    Invalidate();
    SetZoomed(false);
}
