// The chart control's base panels: the window, its margins and 3D switches,
// and the one path by which every change asks for a repaint.
//
// Nothing in the chart engine paints inside a setter or a data change: all
// of them end in Invalidate(), which only queues a paint. The window system
// then paints once, however many changes came before.
#pragma once

#include "chart/TeCanvasTools.h"
#include "chart/TeeProcsZoom.h"
#include "runtime/Classes.h"
#include "runtime/Controls.h"
#include "runtime/Graphics.h"
#include "runtime/SysUtils.h"

#include <functional>
#include <memory>

class TCanvas;
class TChartAxis;
class TTeeCanvas3D;

// An event whose only argument is the sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Asked per axis and pan step with the bounds the axis is about to get; the
// handler may change them, or clear AllowScroll to leave the axis as it is.
using TChartAllowScrollEvent = std::function<void(TChartAxis* Sender, double& AMin, double& AMax, bool& AllowScroll)>;

// Raised by the chart engine for property values outside their range; the
// message is the fixed text of the check that failed.
class ChartException : public Exception {
public:
    using Exception::Exception;
};

// Which axes a pan drag with the mouse may move.
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// How a background picture fills the panel.
enum TBackImageMode { pbmStretch, pbmTile, pbmCenter };

// The panel's bevels: none, sunken, raised, or blank space.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// a * b / c rounded to the nearest integer (halves away from zero), without
// overflow in between; -1 when c is 0.
int MulDiv(int a, int b, int c);

// Something the chart draws with a font of its own (an axis title, a chart
// title). The font starts as the chart's default text font and tells the
// owner through `onChange` when it changes.
class TChartFontObject {
public:
    explicit TChartFontObject(TNotifyChange onChange);
    virtual ~TChartFontObject() = default;
    TChartFontObject(const TChartFontObject&) = delete;
    TChartFontObject& operator=(const TChartFontObject&) = delete;

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    // Whether the font differs from the default text font ("Arial", 8
    // points, black, no style) and so needs storing.
    bool IsFontStored() const { return !IsDefaultFont(FFont); }
    static bool IsDefaultFont(const TFont& font);

private:
    TFont FFont;
};

class TCustomTeePanel : public TCustomControl {
public:
    static constexpr int kDefaultWidth = 400;
    static constexpr int kDefaultHeight = 250;

    explicit TCustomTeePanel(TWinControl* parent = nullptr);
    ~TCustomTeePanel() override;

    // Marks the off-screen picture stale and asks the window system for a
    // repaint, returning at once; the paint follows from the event loop.
    // Ignored while the panel is being built or destroyed. Every setter of the engine that changes what is shown
    // ends here; none of them paints.
    void Invalidate() override;
    // How many repaint requests Invalidate has passed on since the panel
    // was built; lets callers (and tests) see whether a change asked for a
    // repaint without waiting for one.
    int InvalidateCount() const { return FInvalidateCount; }
    // True from the moment the chart starts to be destroyed: series leaving
    // it then ask for no repaint.
    bool Destroying() const { return FDestroying; }

    // The background colour; a change goes through Invalidate like every
    // other.
    void SetColor(TColor value) override;

    // Paints at once: Invalidate, then a synchronous paint when the panel is
    // visible. Only axis scrolling and label-style changes use it; every
    // other change merely invalidates.
    void Repaint();

    // The drawing surface the chart paints on, with its off-screen bitmap.
    TTeeCanvas3D& Canvas() const { return *FCanvas; }
    // Copies `font` into the surface's font (sizes stay in the surface's
    // fixed pixels per inch).
    virtual void SelectFont(const TFont& font);

    // Draws the whole chart onto `canvas` inside `rect`: with buffering
    // through the off-screen bitmap, which is then copied to rect's top-left
    // corner and becomes clean.
    virtual void DrawTo(const TCanvas& canvas, const TRect& rect);

    // The rectangles of the last paint (kept until the next one): the whole
    // drawing area, and the plot area inside margins, titles and axes.
    const TRect& ChartBoundsRect() const { return FChartBoundsRect; }
    const TRect& PlotRect() const { return FPlotRect; }
    int PlotWidth() const { return FPlotWidth; }
    int PlotHeight() const { return FPlotHeight; }
    int ChartXCenter() const { return FChartXCenter; }
    int ChartYCenter() const { return FChartYCenter; }

    TView3DOptions& View3DOptions() { return FView3DOptions; }
    const TView3DOptions& View3DOptions() const { return FView3DOptions; }

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value) { ChangeProperty(FBevelOuter, value); }
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value) { ChangeProperty(FBevelInner, value); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value) { ChangeProperty(FBevelWidth, value); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value) { ChangeProperty(FBorderWidth, value); }

    int MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(int value) { ChangeProperty(FMarginLeft, value); }
    int MarginTop() const { return FMarginTop; }
    void SetMarginTop(int value) { ChangeProperty(FMarginTop, value); }
    int MarginRight() const { return FMarginRight; }
    void SetMarginRight(int value) { ChangeProperty(FMarginRight, value); }
    int MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(int value) { ChangeProperty(FMarginBottom, value); }
    bool View3D() const { return FView3D; }
    void SetView3D(bool value) { ChangeProperty(FView3D, value); }
    // Depth of the 3D effect in percent. Raises ChartException "3D effect
    // percent must be between 1 and 100" outside that range, unchanged.
    int Chart3DPercent() const { return FChart3DPercent; }
    void SetChart3DPercent(int value);
    bool PrintProportional() const { return FPrintProportional; }
    void SetPrintProportional(bool value) { ChangeProperty(FPrintProportional, value); }

protected:
    // Stores `value` and invalidates when it differs from `field`.
    template <class T>
    void ChangeProperty(T& field, const T& value)
    {
        if (StoreIfChanged(field, value))
            Invalidate();
    }

    // Called first by the destructor of every panel level, so that nothing
    // torn down afterwards asks for a repaint.
    void BeginDestroy() { FDestroying = true; }

    // A paint with nothing changed copies the off-screen picture; otherwise
    // DrawTo draws the chart into it and copies it.
    void Paint(TPainter& painter) override;
    // A new size makes the old picture useless.
    void Resize() override;
    // Asks for a paint that copies the picture as it is (what is drawn over
    // it changed, not the chart).
    void RequestPaint() { TCustomControl::Invalidate(); }

    // Lays out the plot rectangle inside `rect` (the surface's drawing
    // rectangle, which becomes ChartBoundsRect) by the margins and the
    // border, then paints the chart with PaintChart.
    virtual void DrawChart(const TRect& rect);
    // Everything drawn in one paint, in order. The base panel paints the
    // background with its bevels and resets the surface's drawing state.
    virtual void PaintChart(const TRect& rect);
    // FillBackground, DrawBackImage, PaintBevels.
    virtual void PaintBackground(const TRect& rect);
    // A solid fill in the panel's Color.
    virtual void FillBackground(const TRect& rect);
    // The panel has no background picture: nothing.
    virtual void DrawBackImage(const TRect&) {}
    // The outer bevel, the border in the panel's Color and the inner bevel,
    // from the edge inwards.
    virtual void PaintBevels(const TRect& rect);

    // Replaces the plot rectangle and normalises it.
    void SetPlotRect(const TRect& rect);
    // Keeps the plot rectangle inside ChartBoundsRect's top-left corner and
    // at least one pixel wide and high, then updates its size and centre.
    void NormalizePlotRect();

private:
    std::unique_ptr<TTeeCanvas3D> FCanvas;
    TView3DOptions FView3DOptions;
    bool FCanRepaint = false;
    bool FDestroying = false;
    int FInvalidateCount = 0;

    int FMarginLeft = 3;
    int FMarginTop = 4;
    int FMarginRight = 3;
    int FMarginBottom = 4;
    bool FView3D = true;
    int FChart3DPercent = 15;
    bool FPrintProportional = true;
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;

    TRect FChartBoundsRect;
    TRect FPlotRect;
    int FPlotWidth = 0;
    int FPlotHeight = 0;
    int FChartXCenter = 0;
    int FChartYCenter = 0;
};

// Adds the mouse zoom and pan settings and the background picture's mode.
class TCustomTeePanelExtended : public TCustomTeePanel {
public:
    explicit TCustomTeePanelExtended(TWinControl* parent = nullptr);

    bool AllowZoom() const { return FAllowZoom; }
    void SetAllowZoom(bool value) { ChangeProperty(FAllowZoom, value); }
    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode value) { ChangeProperty(FAllowPanning, value); }
    bool AnimatedZoom() const { return FAnimatedZoom; }
    void SetAnimatedZoom(bool value) { ChangeProperty(FAnimatedZoom, value); }
    int AnimatedZoomSteps() const { return FAnimatedZoomSteps; }
    void SetAnimatedZoomSteps(int value) { ChangeProperty(FAnimatedZoomSteps, value); }
    TBackImageMode BackImageMode() const { return FBackImageMode; }
    void SetBackImageMode(TBackImageMode value) { ChangeProperty(FBackImageMode, value); }

    // After a zoom.
    const TNotifyEvent& OnZoom() const { return FOnZoom; }
    void SetOnZoom(TNotifyEvent value) { FOnZoom = std::move(value); }
    // While an undo of zooming and panning runs.
    const TNotifyEvent& OnUndoZoom() const { return FOnUndoZoom; }
    void SetOnUndoZoom(TNotifyEvent value) { FOnUndoZoom = std::move(value); }
    // After a pan step moved the axes.
    const TNotifyEvent& OnScroll() const { return FOnScroll; }
    void SetOnScroll(TNotifyEvent value) { FOnScroll = std::move(value); }
    const TChartAllowScrollEvent& OnAllowScroll() const { return FOnAllowScroll; }
    void SetOnAllowScroll(TChartAllowScrollEvent value) { FOnAllowScroll = std::move(value); }

    // The drags in progress, in client pixels: the zoom rectangle being
    // dragged and the pan.
    TZoomPanningRecord& ZoomRecord() { return FZoomRecord; }
    const TZoomPanningRecord& ZoomRecord() const { return FZoomRecord; }
    TZoomPanningRecord& PanningRecord() { return FPanningRecord; }
    const TZoomPanningRecord& PanningRecord() const { return FPanningRecord; }
    // Set by a zoom, cleared by an undo; the chart itself never reads it.
    bool Zoomed() const { return FZoomed; }

protected:
    // The chart's picture, then, while a zoom drag is active, the drag
    // rectangle on top. The rectangle never enters the off-screen picture:
    // moving it costs one copy of the picture, and ending the drag only
    // needs a window update to remove it.
    void Paint(TPainter& painter) override;
    // Inverts the pixels along the zoom record's rectangle on `window`:
    // not-xor with ZoomRectangleColor(Color()), one pixel wide, no fill.
    // Leaves the surface's pen, brush and target as it found them.
    void DrawZoomRectangle(const TCanvas& window);
    void SetZoomed(bool value) { FZoomed = value; }

private:
    TNotifyEvent FOnZoom;
    TNotifyEvent FOnUndoZoom;
    TNotifyEvent FOnScroll;
    TChartAllowScrollEvent FOnAllowScroll;
    TZoomPanningRecord FZoomRecord;
    TZoomPanningRecord FPanningRecord;
    bool FZoomed = false;

    bool FAllowZoom = true;
    TPanningMode FAllowPanning = pmBoth;
    bool FAnimatedZoom = false;
    int FAnimatedZoomSteps = 8;
    TBackImageMode FBackImageMode = pbmStretch;
};
