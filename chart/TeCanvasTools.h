// The drawing tools of the chart: pens (the chart's pen family among them),
// brushes, fonts and the 3D view settings. Each notifies its owner through
// OnChange when a setter changes a value; the owner repaints.
#pragma once

#include "runtime/Graphics.h"
#include "runtime/Painter.h"

#include <functional>
#include <string>

using TNotifyChange = std::function<void()>;

// The window system's pen. Every setter that changes a value calls OnChange.
// Pens belong to one owner and are not copied; Assign copies the settings.
class TPen {
public:
    explicit TPen(TNotifyChange onChange = {});
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;
    virtual ~TPen() = default;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // 0 and 1 both draw one pixel wide.
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);

    // Copies colour, width, style and mode; one notification at most.
    void Assign(const TPen& source);

    const TNotifyChange& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyChange value) { FOnChange = std::move(value); }

protected:
    // For pens whose defaults differ; setting defaults notifies nobody.
    TPen(TNotifyChange onChange, TColor color, int width, TPenStyle style);
    void Changed();
    // Copies the settings without notifying; true when one changed.
    bool AssignValues(const TPen& source);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    TNotifyChange FOnChange;
};

// A chart's pen: the window system's pen plus SmallDots and Visible. The
// owner passes its repaint request as the change notification.
class TChartPen : public TPen {
public:
    explicit TChartPen(TNotifyChange onChange = {});

    // With width 1: every other pixel instead of the style's dots.
    bool SmallDots() const { return FSmallDots; }
    void SetSmallDots(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    using TPen::Assign;
    // Copies everything, SmallDots and Visible included; one notification at most.
    void Assign(const TChartPen& source);

protected:
    TChartPen(TNotifyChange onChange, TColor color, int width, TPenStyle style, bool visible);

private:
    bool FSmallDots = false;
    bool FVisible = true;
};

// Pens off by default (frames of titles and legend, an axis' minor grid).
class TChartHiddenPen : public TChartPen {
public:
    explicit TChartHiddenPen(TNotifyChange onChange = {});
};

// The axes' grid: grey dots.
class TDottedGrayPen : public TChartPen {
public:
    explicit TDottedGrayPen(TNotifyChange onChange = {});
};

// The axes' tick marks: grey.
class TDarkGrayPen : public TChartPen {
public:
    explicit TDarkGrayPen(TNotifyChange onChange = {});
};

// The axis line: two pixels wide.
class TChartAxisPen : public TChartPen {
public:
    explicit TChartAxisPen(TNotifyChange onChange = {});
};

// The arrow lines of value labels: white.
class TChartArrowPen : public TChartPen {
public:
    explicit TChartArrowPen(TNotifyChange onChange = {});
};

class TBrush {
public:
    explicit TBrush(TNotifyChange onChange = {});
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);
    void Assign(const TBrush& source);

    const TNotifyChange& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyChange value) { FOnChange = std::move(value); }

private:
    void Changed();

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TNotifyChange FOnChange;
};

// A font by name, size in points, colour and style. Sizes are turned into
// pixels at a fixed 96 pixels per inch, so text measures the same on every
// screen and in every image.
class TFont {
public:
    static constexpr int PixelsPerInch = 96;

    explicit TFont(TNotifyChange onChange = {});
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    int Size() const { return FSize; }
    void SetSize(int value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    void Assign(const TFont& source);

    // The painter's font that draws it (pixel size from Size, at least 1 pixel).
    TPainterFont PainterFont() const;

    const TNotifyChange& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyChange value) { FOnChange = std::move(value); }

private:
    void Changed();

    std::string FName = "Arial";
    int FSize = 8;
    TColor FColor = clBlack;
    TFontStyles FStyle = 0;
    TNotifyChange FOnChange;
};

// The chart's 3D settings. The surface keeps them for the chart; a flat chart
// ignores them. Every setter that changes a value calls OnChange.
class TView3DOptions {
public:
    explicit TView3DOptions(TNotifyChange onChange = {});
    TView3DOptions(const TView3DOptions&) = delete;
    TView3DOptions& operator=(const TView3DOptions&) = delete;

    int Elevation() const { return FElevation; }
    void SetElevation(int value);
    int HorizOffset() const { return FHorizOffset; }
    void SetHorizOffset(int value);
    bool Orthogonal() const { return FOrthogonal; }
    void SetOrthogonal(bool value);
    int Perspective() const { return FPerspective; }
    void SetPerspective(int value);
    int Rotation() const { return FRotation; }
    void SetRotation(int value);
    int Tilt() const { return FTilt; }
    void SetTilt(int value);
    int VertOffset() const { return FVertOffset; }
    void SetVertOffset(int value);
    int Zoom() const { return FZoom; }
    void SetZoom(int value);
    bool ZoomText() const { return FZoomText; }
    void SetZoomText(bool value);

    const TNotifyChange& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyChange value) { FOnChange = std::move(value); }

private:
    template <typename T>
    void Set(T& field, T value);

    int FElevation = 345;
    int FHorizOffset = 0;
    bool FOrthogonal = true;
    int FPerspective = 15;
    int FRotation = 345;
    int FTilt = 0;
    int FVertOffset = 0;
    int FZoom = 100;
    bool FZoomText = true;
    TNotifyChange FOnChange;
};
