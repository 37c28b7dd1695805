// Line series: the settings of lines, stairs and point markers. Changing any
// of them asks the series' chart for a repaint; none paints.
#pragma once

#include "chart/TeEngine.h"

#include <functional>

class TCustomSeries;

enum TSeriesPointerStyle {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot,
};

// The marker drawn at each point.
class TSeriesPointer {
public:
    explicit TSeriesPointer(TChartSeries* owner) : FOwner(owner) {}
    TSeriesPointer(const TSeriesPointer&) = delete;
    TSeriesPointer& operator=(const TSeriesPointer&) = delete;

    // Copies every setting of `source`.
    void Assign(const TSeriesPointer& source);

    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool value) { Change(FDark3D, value); }
    bool Draw3D() const { return FDraw3D; }
    void SetDraw3D(bool value) { Change(FDraw3D, value); }
    // Half sizes in pixels. Raise ChartException "Pointer size must be
    // greater than zero" below 1, unchanged.
    int HorizSize() const { return FHorizSize; }
    void SetHorizSize(int value);
    int VertSize() const { return FVertSize; }
    void SetVertSize(int value);
    // With a visible marker the axes leave room for half a marker at their
    // ends.
    bool InflateMargins() const { return FInflateMargins; }
    void SetInflateMargins(bool value) { Change(FInflateMargins, value); }
    TSeriesPointerStyle Style() const { return FStyle; }
    void SetStyle(TSeriesPointerStyle value) { Change(FStyle, value); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { Change(FVisible, value); }

private:
    template <class T>
    void Change(T& field, const T& value)
    {
        if (StoreIfChanged(field, value))
            FOwner->RequestRepaint();
    }

    TChartSeries* FOwner;
    bool FDark3D = true;
    bool FDraw3D = true;
    int FHorizSize = 4;
    int FVertSize = 4;
    bool FInflateMargins = true;
    TSeriesPointerStyle FStyle = psRectangle;
    bool FVisible = true;
};

using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

// A series drawn as points joined by lines, possibly as stairs, with an
// optional area below. Draws nothing by itself yet: the segments come from
// DrawPoint in a later step.
class TCustomSeries : public TChartSeries {
    Q_OBJECT
public:
    explicit TCustomSeries(QObject* AOwner = nullptr);

    // Copies the TChartSeries settings and, from another TCustomSeries, the
    // line, area and marker settings.
    void Assign(const TChartSeries& source) override;

    // Room for half a visible marker (when it inflates margins) and for the
    // line's width at the ends of stairs; LineHeight widens the bottom.
    void HorizMargins(int& left, int& right) const override;
    void VertMargins(int& top, int& bottom) const override;

    TSeriesPointer& Pointer() { return FPointer; }
    const TSeriesPointer& Pointer() const { return FPointer; }
    bool Stairs() const { return FStairs; }
    void SetStairs(bool value) { Change(FStairs, value); }
    // With Stairs: rise first, then run.
    bool InvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool value) { Change(FInvertedStairs, value); }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool value) { Change(FDark3D, value); }
    int LineHeight() const { return FLineHeight; }
    void SetLineHeight(int value) { Change(FLineHeight, value); }
    bool ClickableLine() const { return FClickableLine; }
    void SetClickableLine(bool value) { Change(FClickableLine, value); }
    TColor AreaColor() const { return FAreaColor; }
    void SetAreaColor(TColor value) { Change(FAreaColor, value); }
    // Whether segments are drawn between points, and whether the area
    // under them is filled; set by the series kind.
    bool DrawLine() const { return FDrawLine; }
    bool DrawArea() const { return FDrawArea; }

    const TOnGetPointerStyle& OnGetPointerStyle() const { return FOnGetPointerStyle; }
    void SetOnGetPointerStyle(TOnGetPointerStyle value) { FOnGetPointerStyle = std::move(value); }

    // Where the previous point was drawn, carried from point to point and
    // from one paint to the next; PreviousColor clNone means that point
    // was null.
    int PreviousX() const { return FPreviousX; }
    int PreviousY() const { return FPreviousY; }
    TColor PreviousColor() const { return FPreviousColor; }

protected:
    void SetDrawLine(bool value) { Change(FDrawLine, value); }
    void SetDrawArea(bool value) { Change(FDrawArea, value); }

    int FPreviousX = 0;
    int FPreviousY = 0;
    TColor FPreviousColor = 0;

private:
    TSeriesPointer FPointer{this};
    bool FStairs = false;
    bool FInvertedStairs = false;
    bool FDark3D = true;
    int FLineHeight = 0;
    bool FClickableLine = true;
    TColor FAreaColor = clDefault;
    bool FDrawLine = false;
    bool FDrawArea = false;
    TOnGetPointerStyle FOnGetPointerStyle;
};

// The line series: lines on, markers hidden.
class TLineSeries : public TCustomSeries {
    Q_OBJECT
public:
    explicit TLineSeries(QObject* AOwner = nullptr);

    // Copies the settings of `source`, hides the markers unless it is a line
    // series too, and keeps the line on and the area off.
    void Assign(const TChartSeries& source) override;
};
