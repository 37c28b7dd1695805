// The chart control: the axis panel plus the walls around the plot, the
// title, the foot and the legend.
#pragma once

#include "chart/TeEngine.h"

#include <array>
#include <string>
#include <vector>

// A chart's brush: a colour of clDefault means the owner's colour applies.
class TChartBrush : public TBrush {
public:
    // Colour clDefault; `style` is set before `onChange` is attached, so
    // building a brush notifies nobody.
    explicit TChartBrush(TNotifyChange onChange, TBrushStyle style = bsSolid);
};

// A wall of the plot area. A Color of clDefault means the wall has no colour
// of its own. Each wall remembers the colour its chart gave it at creation
// as its default; only a different colour needs storing.
class TCustomChartWall {
public:
    TCustomChartWall(TCustomTeePanel* chart, TColor defaultColor, TBrushStyle brushStyle = bsSolid);
    virtual ~TCustomChartWall() = default;
    TCustomChartWall(const TCustomChartWall&) = delete;
    TCustomChartWall& operator=(const TCustomChartWall&) = delete;

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { Change(FColor, value); }
    TColor DefaultColor() const { return FDefaultColor; }
    bool IsColorStored() const { return FColor != FDefaultColor; }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool value) { Change(FDark3D, value); }
    int Size() const { return FSize; }
    void SetSize(int value) { Change(FSize, value); }
    // The outline (black, one pixel) and the fill; both repaint the chart
    // when changed.
    TChartPen& Pen() { return FPen; }
    const TChartPen& Pen() const { return FPen; }
    TChartBrush& Brush() { return FBrush; }
    const TChartBrush& Brush() const { return FBrush; }

private:
    template <class T>
    void Change(T& field, const T& value)
    {
        if (StoreIfChanged(field, value))
            FChart->Invalidate();
    }

    TCustomTeePanel* FChart;
    TColor FColor;
    TColor FDefaultColor;
    bool FDark3D = true;
    int FSize = 0;
    TChartPen FPen;
    TChartBrush FBrush;
};

class TChartWall : public TCustomChartWall {
public:
    using TCustomChartWall::TCustomChartWall;
};

// A block of text lines above (title) or below (foot) the plot.
class TChartTitle : public TChartFontObject {
public:
    explicit TChartTitle(TCustomTeePanel* chart);

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // One entry a line.
    const std::vector<std::string>& Text() const { return FText; }
    void SetText(const std::vector<std::string>& value);

private:
    TCustomTeePanel* FChart;
    bool FVisible = true;
    std::vector<std::string> FText;
};

// The legend's switch. The chart keeps it but draws no legend.
class TChartLegend {
public:
    explicit TChartLegend(TCustomTeePanel* chart) : FChart(chart) {}
    TChartLegend(const TChartLegend&) = delete;
    TChartLegend& operator=(const TChartLegend&) = delete;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value)
    {
        if (StoreIfChanged(FVisible, value))
            FChart->Invalidate();
    }

private:
    TCustomTeePanel* FChart;
    bool FVisible = true;
};

class TCustomChart : public TCustomAxisPanel {
public:
    static constexpr TColor kLeftWallColor = 0x80FFFF;
    static constexpr TColor kBottomWallColor = clWhite;

    explicit TCustomChart(TWinControl* parent = nullptr);
    ~TCustomChart() override;

    TChartWall& BackWall() { return FBackWall; }
    const TChartWall& BackWall() const { return FBackWall; }
    TChartWall& LeftWall() { return FLeftWall; }
    const TChartWall& LeftWall() const { return FLeftWall; }
    TChartWall& BottomWall() { return FBottomWall; }
    const TChartWall& BottomWall() const { return FBottomWall; }
    TChartTitle& Title() { return FTitle; }
    const TChartTitle& Title() const { return FTitle; }
    TChartTitle& Foot() { return FFoot; }
    const TChartTitle& Foot() const { return FFoot; }
    TChartLegend& Legend() { return FLegend; }
    const TChartLegend& Legend() const { return FLegend; }

    // The back wall's colour. Setting it on a chart that has a parent and
    // is not loading also makes the back wall's brush solid, so that the
    // colour shows.
    TColor BackColor() const { return FBackWall.Color(); }
    void SetBackColor(TColor value);
    // The back wall's outline.
    TChartPen& Frame() { return FBackWall.Pen(); }
    bool BackImageInside() const { return FBackImageInside; }
    void SetBackImageInside(bool value) { ChangeProperty(FBackImageInside, value); }

    // A series colour must also differ from the back wall's.
    bool IsFreeSeriesColor(TColor color) const override;
    // In a 3D chart with walls: the left wall's size beside the left axis,
    // the bottom wall's beside the bottom axis; otherwise 0.
    int WallSizeFor(const TCustomChartAxis* axis) const override;

    // Fixes the left, right, top and bottom axes to the values under the
    // zoom record's rectangle (normalising the record), in
    // AnimatedZoomSteps - 1 repainted steps first when AnimatedZoom; sets
    // Zoomed and calls OnZoom. Before the first zoom or pan since the
    // chart was made or last undone, it keeps the axes' scales for
    // UndoZoom.
    void ZoomToRectangle();
    // Gives the four side axes back the scales kept before the first zoom
    // or pan (their automatic flags, and fixed bounds where not
    // automatic), calls OnUndoZoom, invalidates and clears Zoomed. Wheel
    // scrolling on its own is not undone.
    void UndoZoom();

protected:
    // The mouse: a left drag towards the lower right zooms, one the other
    // way undoes, a right drag pans, the wheel scrolls the vertical axes.
    // A disabled chart gets none of it.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseWheel(TShiftState shift, int delta, int x, int y) override;
    // A zoom drag goes on outside the chart; a pan does not.
    void MouseLeave() override;
    // A drag whose release will never come ends as if it had not been
    // made: no zoom, no rectangle left on the chart.
    void MouseCaptureLost() override;

    // The title at the top, then the foot at the bottom, each taking its
    // lines' height off the plot.
    void DrawTextBlocks() override;
    // The back wall: its outline around the plot, filled by its brush.
    void PaintWalls() override;

private:
    // An axis' scale as it was before zooming and panning.
    struct TSavedScale {
        bool Automatic = true;
        bool AutomaticMinimum = true;
        bool AutomaticMaximum = true;
        double Minimum = 0;
        double Maximum = 0;
    };

    void DrawTitleBlock(const TChartTitle& title, bool atTop);

    // Whether a drag may start at (x, y): on a point of an active series,
    // on a shown axis, or inside the plot while a series is active.
    bool CanDragAt(int x, int y) const;
    // The cursor of the first active series with a cursor of its own whose
    // point lies at (x, y); the chart's own cursor when there is none.
    TCursor SeriesCursorAt(int x, int y) const;
    // Moves every axis of one direction by the values between two pixels;
    // true when the direction may pan at all.
    bool PanStep(bool horizontal, int now, int before);
    void ScrollVerticalAxes(double percent);
    // Top, left, right and bottom, the axes that zooming changes.
    std::array<TChartAxis*, 4> SideAxes() const;
    void SaveScalesOnce();

    std::array<TSavedScale, 4> FSavedScales;
    // True while no zoom or pan changed the axes since creation or the last
    // undo: FSavedScales then hold nothing of use.
    bool FScalesRestored = true;
    // Wheel turn not yet taken as a whole notch.
    int FWheelTurn = 0;

    // The back wall is see-through until given a colour.
    TChartWall FBackWall{this, clDefault, bsClear};
    TChartWall FLeftWall{this, kLeftWallColor};
    TChartWall FBottomWall{this, kBottomWallColor};
    TChartTitle FTitle{this};
    TChartTitle FFoot{this};
    TChartLegend FLegend{this};
    bool FBackImageInside = false;
};

// The chart as placed on a form.
class TChart : public TCustomChart {
public:
    explicit TChart(TWinControl* parent = nullptr);
};
