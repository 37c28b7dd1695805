// The chart control: the axis panel plus the walls around the plot.
#pragma once

#include "chart/TeEngine.h"

// A wall of the plot area. A Color of clDefault means the wall has no colour
// of its own. Each wall remembers the colour its chart gave it at creation
// as its default; only a different colour needs storing.
class TCustomChartWall {
public:
    TCustomChartWall(TCustomTeePanel* chart, TColor defaultColor);
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
};

class TChartWall : public TCustomChartWall {
public:
    using TCustomChartWall::TCustomChartWall;
};

class TCustomChart : public TCustomAxisPanel {
    Q_OBJECT
public:
    static constexpr TColor kLeftWallColor = 0x80FFFF;
    static constexpr TColor kBottomWallColor = clWhite;

    explicit TCustomChart(QWidget* parent = nullptr);
    ~TCustomChart() override;

    TChartWall& BackWall() { return FBackWall; }
    const TChartWall& BackWall() const { return FBackWall; }
    TChartWall& LeftWall() { return FLeftWall; }
    const TChartWall& LeftWall() const { return FLeftWall; }
    TChartWall& BottomWall() { return FBottomWall; }
    const TChartWall& BottomWall() const { return FBottomWall; }

    // The back wall's colour.
    TColor BackColor() const { return FBackWall.Color(); }
    void SetBackColor(TColor value) { FBackWall.SetColor(value); }
    bool BackImageInside() const { return FBackImageInside; }
    void SetBackImageInside(bool value) { ChangeProperty(FBackImageInside, value); }

    // A series colour must also differ from the back wall's.
    bool IsFreeSeriesColor(TColor color) const override;

private:
    TChartWall FBackWall{this, clDefault};
    TChartWall FLeftWall{this, kLeftWallColor};
    TChartWall FBottomWall{this, kBottomWallColor};
    bool FBackImageInside = false;
};

// The chart as placed on a form.
class TChart : public TCustomChart {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
};
