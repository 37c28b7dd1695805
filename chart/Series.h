// Line series: the settings of lines, stairs and point markers, and the
// drawing of the points into the chart's plot. Changing any setting asks the
// series' chart for a repaint; no setter paints.
#pragma once

#include "chart/Chart.h"
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
    explicit TSeriesPointer(TChartSeries* owner);
    TSeriesPointer(const TSeriesPointer&) = delete;
    TSeriesPointer& operator=(const TSeriesPointer&) = delete;

    // Copies every setting of `source`, pen and brush included.
    void Assign(const TSeriesPointer& source);

    // The outline; a visible pen of colour clDefault takes the point's
    // colour.
    TChartPen& Pen() { return FPen; }
    const TChartPen& Pen() const { return FPen; }
    // The fill; a colour of clDefault means the point's colour.
    TChartBrush& Brush() { return FBrush; }
    const TChartBrush& Brush() const { return FBrush; }

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
    TChartPen FPen;
    TChartBrush FBrush;
    bool FDark3D = true;
    bool FDraw3D = true;
    int FHorizSize = 4;
    int FVertSize = 4;
    bool FInflateMargins = true;
    TSeriesPointerStyle FStyle = psRectangle;
    bool FVisible = true;
};

using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

// A series drawn as points joined by lines, possibly as stairs, with
// optional markers. The chart draws it flat: each point draws the segment
// that leads to it from the previous point, in the point's colour, with
// LinePen's width and style; a null point (colour clNone) breaks the line and
// a point too far off the plot to be placed is left out, the line joining its
// neighbours.
class TCustomSeries : public TChartSeries {
public:
    // Pixel coordinates beyond this distance from the origin are not drawn.
    static constexpr int kMaxDrawablePixel = 32766;
    static bool IsDrawablePixel(int pixel) { return pixel >= -kMaxDrawablePixel && pixel <= kMaxDrawablePixel; }
    // What XPixel and YPixel give for a value that cannot be placed at all
    // (too far off the axis' range, or not a number).
    static constexpr int kUnplaceablePixel = -2147483647 - 1;

    explicit TCustomSeries(TComponent* AOwner = nullptr);

    // Copies the TChartSeries settings and, from another TCustomSeries, the
    // line, area and marker settings.
    void Assign(const TChartSeries& source) override;

    // Room for half a visible marker (when it inflates margins) and for the
    // line's width at the ends of stairs; LineHeight widens the bottom.
    void HorizMargins(int& left, int& right) const override;
    void VertMargins(int& top, int& bottom) const override;

    // The points whose X lies in the horizontal axis' current range, plus
    // the first one beyond its right end, so that the line leaves the plot
    // at its edge. Every point when the X values are unordered or the
    // series is not in a chart; -1 and -1 when none qualifies.
    void FindVisibleRange() override;
    // DrawPoint for FirstVisible to LastVisible, ascending; nothing when the
    // range is empty or the series is not in a chart. Pixels are exactly
    // those of that loop; for a solid one-pixel line without markers on the
    // chart's bitmap they are written in one pass instead.
    void DrawAllPoints() override;
    // Draws the segment that ends at the point (the first visible point:
    // the piece entering from the plot's left edge) and the markers.
    void DrawPoint(int index) override;
    // A visible point's marker, or (with ClickableLine) a segment of the
    // line within kClickTolerance pixels, inside the plot rectangle where
    // the series is drawn. A segment answers with its nearer end.
    int Clicked(int x, int y) const override;
    static constexpr int kClickTolerance = 3;

    // The point's pixels on the horizontal and vertical axis;
    // kUnplaceablePixel when its value cannot be placed.
    virtual int XPixel(int index) const;
    virtual int YPixel(int index) const;
    // Draws one marker centred on (x, y) in the pointer's style (or the one
    // OnGetPointerStyle gives for the point).
    virtual void PaintPointer(int x, int y, int index, TColor color);

    TSeriesPointer& Pointer() { return FPointer; }
    const TSeriesPointer& Pointer() const { return FPointer; }
    // The segments' pen; in a flat chart its colour gives way to each
    // point's colour.
    TChartPen& LinePen() { return FLinePen; }
    const TChartPen& LinePen() const { return FLinePen; }
    // The brush of lines drawn in 3D; a flat chart draws no brush.
    TBrushStyle LineBrush() const { return FLineBrush; }
    void SetLineBrush(TBrushStyle value) { Change(FLineBrush, value); }
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

    // The height, in pixels, of the line from point `from` to point `to` at
    // the X value `x`; kUnplaceablePixel when it cannot be placed.
    int YPixelAtX(int from, int to, double x) const;
    // The segment from (PreviousX, PreviousY) to (x, y) in `color`, then,
    // with `markers`, the markers of the previous point and, when `isLast`,
    // of this one.
    void DrawSegment(int index, int x, int y, TColor color, bool markers, bool isLast);
    // The surface's pen becomes LinePen in `color`, its brush clear.
    void PrepareLinePen(TColor color);

    int FPreviousX = 0;
    int FPreviousY = 0;
    TColor FPreviousColor = 0;

private:
    // The first visible point's predecessor lies left of the plot: the line
    // enters at the plot's edge, at the height it has there.
    void EnterFromEdge(int index, int x, int y, TColor color);
    // Whether DrawPointsFast gives exactly the pixels of DrawPoint: a flat
    // chart drawn into the surface's bitmap, a visible solid one-pixel
    // LinePen in copy mode, no markers, no stairs.
    bool CanDrawFast() const;
    // DrawPoint for `from` to `to` in one pass, writing the segments
    // straight into the bitmap.
    void DrawPointsFast(int from, int to);

    TSeriesPointer FPointer{this};
    TChartPen FLinePen{[this] { RequestRepaint(); }};
    TBrushStyle FLineBrush = bsSolid;
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
public:
    explicit TLineSeries(TComponent* AOwner = nullptr);

    // Copies the settings of `source`, hides the markers unless it is a line
    // series too, and keeps the line on and the area off.
    void Assign(const TChartSeries& source) override;
};
