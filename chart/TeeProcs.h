// The chart control's base panels: the window, its margins and 3D switches,
// and the one path by which every change asks for a repaint.
//
// Nothing in the chart engine paints inside a setter or a data change: all
// of them end in Invalidate(), which only queues a paint. The window system
// then paints once, however many changes came before.
#pragma once

#include "runtime/Classes.h"
#include "runtime/Controls.h"
#include "runtime/SysUtils.h"

#include <functional>
#include <memory>

class TTeeCanvas3D;

// An event whose only argument is the sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

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

class TCustomTeePanel : public TControl {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = 400;
    static constexpr int kDefaultHeight = 250;

    explicit TCustomTeePanel(QWidget* parent = nullptr);
    ~TCustomTeePanel() override;

    // Marks the off-screen picture stale and asks the window system for a
    // repaint, returning at once; the paint follows from the event loop.
    // Ignored while the panel is being built or destroyed. Every setter of the engine that changes what is shown
    // ends here; none of them paints.
    void Invalidate();
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

    // The drawing surface the chart paints on, with its off-screen bitmap.
    TTeeCanvas3D& Canvas() const { return *FCanvas; }

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
    // the chart is drawn into it (DrawChart) and then copied.
    void paintEvent(QPaintEvent* event) override;
    // Draws the whole chart onto the surface's current target, whose drawing
    // rectangle is `rect`. The base panel paints its background only.
    virtual void DrawChart(const TRect& rect);
    // A new size makes the old picture useless.
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<TTeeCanvas3D> FCanvas;
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
};

// Adds the mouse zoom and pan settings and the background picture's mode.
class TCustomTeePanelExtended : public TCustomTeePanel {
    Q_OBJECT
public:
    explicit TCustomTeePanelExtended(QWidget* parent = nullptr);

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

private:
    bool FAllowZoom = true;
    TPanningMode FAllowPanning = pmBoth;
    bool FAnimatedZoom = false;
    int FAnimatedZoomSteps = 8;
    TBackImageMode FBackImageMode = pbmStretch;
};
