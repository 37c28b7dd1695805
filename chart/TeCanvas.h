// The chart's drawing surface (its pens and other tools: TeCanvasTools.h).
//
// Everything the chart draws goes through one TTeeCanvas3D. It draws on a
// target (TCanvas): its own off-screen bitmap while buffered, or whatever the
// caller hands it (a widget's painter inside its paint event, or a bitmap).
// These are its pixel rules, on every platform's painter:
//   - a filled rectangle covers Left..Right-1 and Top..Bottom-1;
//   - a one-pixel line paints the pixels nearest to the ideal line, one per
//     step along its longer axis, and never its end point, so a polyline
//     paints each corner once (which is what makes a not-xor rectangle
//     drawn twice vanish again);
//   - a tie between two pixels goes to the smaller coordinate, so a segment
//     covers the same pixels whichever way it runs.
// The platform's painter (runtime/Painter.h) draws what needs the window
// system; solid one-pixel lines in copy mode on a bitmap target are
// rasterised here straight into the bitmap's pixels.
#pragma once

#include "chart/TeCanvasRaster.h"
#include "chart/TeCanvasTools.h"
#include "runtime/Graphics.h"
#include "runtime/Painter.h"

#include <memory>
#include <optional>
#include <span>
#include <string>

// Background modes: whether the gaps of styled lines and hatched brushes and
// the cell behind text are filled with the background colour.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Where the surface draws: a bitmap, or an open painter that belongs to
// someone else. An empty TCanvas is nowhere: drawing on it does nothing.
// A TCanvas only points at its bitmap or painter; whoever makes it keeps that
// alive (and the bitmap's size unchanged) while the surface draws on it, and
// gives the surface another target, or an empty one, before it goes away.
//
// On a bitmap the surface keeps a painter of its own open while the bitmap
// is its target; on a painter it only changes that painter's pen, brush,
// font and clip. A chart widget's paint event, for example:
//
//     const auto painter = CreateWidgetPainter(*this);
//     const TCanvas window(*painter);
//     if (!canvas.RedrawFromBuffer(window)) {
//         const TRect drawing = canvas.PrepareSurface(window, &options, bounds, false);
//         ...draw...
//         canvas.FinishSurface(window, TCanvas(), bounds);
//     }
//     canvas.SetTarget(TCanvas());  // the painter ends with the paint
class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(TBitmap& bitmap) : FBitmap(&bitmap) {}
    explicit TCanvas(TPainter& painter) : FPainter(&painter) {}

    TBitmap* Bitmap() const { return FBitmap; }
    TPainter* Painter() const { return FPainter; }
    bool IsEmpty() const { return FBitmap == nullptr && FPainter == nullptr; }
    // Device pixels per pixel of the drawing: above 1 on a scaled screen
    // (and on a bitmap made for one); 1 for an empty canvas.
    double DevicePixelRatio() const;

    friend bool operator==(const TCanvas&, const TCanvas&) = default;

private:
    TBitmap* FBitmap = nullptr;
    TPainter* FPainter = nullptr;
};

// The base of drawing surfaces: pen, brush and font, text metrics, and the
// flat drawing operations. Coordinates are pixels of the target, y downward.
class TTeeCanvas {
public:
    TTeeCanvas();
    TTeeCanvas(const TTeeCanvas&) = delete;
    TTeeCanvas& operator=(const TTeeCanvas&) = delete;
    virtual ~TTeeCanvas();

    // The surface listens to its own pen: leave the pen's OnChange alone.
    TPen& Pen() { return FPen; }
    const TPen& Pen() const { return FPen; }
    TBrush& Brush() { return FBrush; }
    const TBrush& Brush() const { return FBrush; }
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }

    virtual TColor BackColor() const = 0;
    virtual int BackMode() const = 0;
    virtual bool Monochrome() const = 0;
    virtual int TextAlign() const = 0;
    virtual bool UseBuffer() const = 0;
    // Any colour; it is drawn as its RGB value.
    virtual void SetBackColor(TColor value) = 0;
    // TRANSPARENT or OPAQUE.
    virtual void SetBackMode(int value) = 0;
    virtual void SetMonochrome(bool value) = 0;
    // The colour is converted to RGB; ignores the pen mode; honours clipping.
    virtual void SetPixel(int x, int y, TColor color) = 0;
    // TA_ flags.
    virtual void SetTextAlign(int value) = 0;
    virtual void SetUseBuffer(bool value) = 0;

    // Outlined with the pen, filled with the brush, inside Left..Right-1,
    // Top..Bottom-1.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    // The brush alone, copy mode, Left..Right-1 by Top..Bottom-1; an empty
    // or inverted rectangle paints nothing.
    virtual void FillRect(const TRect& rect) = 0;
    void EraseBackground(const TRect& rect) { FillRect(rect); }
    // A raised or sunken frame `width` pixels wide inside the rectangle: the
    // top and left edges in topColor, the bottom and right ones in
    // bottomColor. Leaves the pen one pixel wide (and in bottomColor).
    virtual void BevelFrame(const TRect& rect, TColor topColor, TColor bottomColor, int width) = 0;
    // A line from the current position, which does not paint (x, y); the
    // current position becomes (x, y).
    virtual void LineTo(int x, int y) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // Outlined with the pen, filled with the brush; a one-pixel outline lies on
    // Left..Right-1 and Top..Bottom-1, the fill inside it. Corners in either
    // order.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // UTF-8 text in the font's colour, placed by the text alignment; with an
    // OPAQUE background the text's cell is filled with the background colour
    // first. The pen mode does not apply.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    // Restricts drawing to the intersection of the current clip and `rect`.
    virtual void ClipRectangle(const TRect& rect) = 0;
    virtual void Unclip() = 0;
    // The next paint must draw the chart again rather than copy the buffer.
    virtual void MarkDirty() = 0;
    // MoveTo(x0, y0) then LineTo(x1, y1).
    virtual void Line(int x0, int y0, int x1, int y1) = 0;
    // A closed polygon, outlined with the pen and filled with the brush.
    virtual void Polygon(std::span<const TPoint> points) = 0;
    // TextOut along `angleDegrees` (counter-clockwise; 361 and more are reduced
    // by 360) around (x, y). Leaves the brush clear.
    virtual void RotatedText(int x, int y, int angleDegrees, const std::string& text) = 0;

    // The extent of the text in the current font; 0 when nothing can measure
    // text (no GUI application).
    virtual int TextWidth(const std::string& text) const;
    virtual int TextHeight(const std::string& text) const;
    int FontHeight() const { return TextHeight("W"); }

    // Pen black, width 1, solid; brush white and solid; font black, size 10;
    // background white and transparent. The pen mode and the text alignment
    // stay as they are.
    void ResetDrawingState();

    // Makes the pen draw as the chart pen says: an invisible chart pen only
    // clears the pen's style; a one-pixel chart pen with SmallDots becomes a
    // one-pixel pen in its colour that sets every other pixel; any other
    // takes the chart pen's colour, width, style and mode.
    void AssignChartPen(const TChartPen& pen);

protected:
    // The font's metrics, built again only after the font changed; null
    // when nothing can measure text.
    const TTextMetrics* FontMetrics() const;
    // Called after the pen changed (the surface keeps derived state).
    virtual void PenChanged() {}

private:
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    mutable std::unique_ptr<TTextMetrics> FMetrics;
};

// Adds the depth-aware operations. A flat chart (this surface never projects)
// ignores every depth coordinate.
class TCanvas3D : public TTeeCanvas {
public:
    // Starts one paint. Buffered, the target becomes the off-screen bitmap of
    // the bounds' size at the window's device pixel ratio (kept from the last
    // paint when both are the same) and the result is (0, 0, width, height);
    // unbuffered, the target becomes `window` and the result is `bounds`.
    virtual TRect PrepareSurface(const TCanvas& window, const TView3DOptions* options, const TRect& bounds,
                                 bool is3D) = 0;
    // Ends one paint. Buffered, copies the bitmap onto `destination` with its
    // top-left corner at userRect's and clears dirty. Then `next` becomes the
    // target.
    virtual void FinishSurface(const TCanvas& destination, const TCanvas& next, const TRect& userRect) = 0;
    // When the bitmap shows the chart's current state (not dirty), copies it
    // onto the target at (0, 0) and returns true; otherwise copies nothing
    // and returns false.
    virtual bool RedrawFromBuffer() = 0;
    // The same onto `target`, which becomes the target.
    virtual bool RedrawFromBuffer(const TCanvas& target) = 0;

    // Copies the monochrome flag.
    virtual void Assign(const TCanvas3D& source);
    // Where a 3D chart's projection is centred. A flat surface projects
    // nothing, so it changes no coordinate.
    virtual void SetProjection(int depth, const TRect& bounds, const TRect& plot) = 0;
    // Clips to (Left + 1, Top + 1, Right, Bottom - 1): the plot's frame at
    // the left, top and bottom stays outside.
    virtual void ClipPlot(const TRect& rect, int z0, int z1) = 0;
    // From (left, y) to (right, y) / (x, top) to (x, bottom), end excluded.
    virtual void HorizontalLine(int left, int right, int y, int z = 0) = 0;
    virtual void VerticalLine(int x, int top, int bottom, int z = 0) = 0;
    // Along the depth: paints nothing in a flat chart; the current position
    // becomes (x, y).
    virtual void DepthLine(int x, int y, int z0, int z1) = 0;
    virtual void LineAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
    // A closed four-corner polygon through the rectangle's corners, outlined
    // and filled: the outline lies on Left..Right and Top..Bottom.
    virtual void RectangleAtDepth(const TRect& rect, int z) = 0;
    virtual void TextAtDepth(int x, int y, int z, const std::string& text) = 0;
    // Titles and legend are drawn flat: BeginFrontPlane clears the 3D switch
    // and EndFrontPlane restores it.
    virtual void BeginFrontPlane() = 0;
    virtual void EndFrontPlane() = 0;
};

// The surface the chart creates and owns.
class TTeeCanvas3D : public TCanvas3D {
public:
    TTeeCanvas3D();
    ~TTeeCanvas3D() override;

    // Called when a change of the surface itself needs the chart drawn again
    // (the monochrome flag).
    const TNotifyChange& OnRepaintRequest() const { return FOnRepaintRequest; }
    void SetOnRepaintRequest(TNotifyChange value) { FOnRepaintRequest = std::move(value); }

    // The current target; an empty one when there is none.
    const TCanvas& Target() const { return FTarget; }
    // Draw on `target` from now on. Clipping ends; the current position stays.
    // Handing in the current painter again takes it afresh (a new paint's
    // painter may live where the last one did).
    void SetTarget(const TCanvas& target);

    // The off-screen bitmap, or null before the first buffered paint and after
    // it was freed. Made anew only when the size or the device pixel ratio
    // changes. It holds BitmapSize() pixels of the drawing, each as
    // devicePixelRatio() device pixels square.
    const TBitmap* Bitmap() const { return FBitmap.get(); }
    // The bitmap's size in pixels of the drawing; empty without a bitmap.
    TSize BitmapSize() const { return FBitmap ? FBitmapSize : TSize(); }
    // The bitmap as a target, for drawing into the buffer between paints
    // (such as a not-xor zoom rectangle that a later RedrawFromBuffer shows);
    // empty while there is no bitmap.
    TCanvas BufferCanvas() { return FBitmap ? TCanvas(*FBitmap) : TCanvas(); }
    bool Dirty() const { return FDirty; }
    TPoint PenPos() const { return FPenPos; }

    // The rectangle given to the last PrepareSurface.
    const TRect& Bounds() const { return FBounds; }
    const TView3DOptions* View3DOptions() const { return FView3DOptions; }
    bool Is3D() const { return FIs3D; }
    bool IsOrthogonal() const { return FIsOrthogonal; }
    double ZoomFactor() const { return FZoomFactor; }
    bool ZoomText() const { return FZoomText; }

    TColor BackColor() const override { return FBackColor; }
    int BackMode() const override { return FBackMode; }
    bool Monochrome() const override { return FMonochrome; }
    int TextAlign() const override { return FTextAlign; }
    bool UseBuffer() const override { return FUseBuffer; }
    void SetBackColor(TColor value) override { FBackColor = value; }
    void SetBackMode(int value) override { FBackMode = value; }
    // Frees the bitmap, marks dirty and asks for a repaint. A monochrome
    // surface shows every pixel as black or white (by its grey level) once
    // FinishSurface copies it.
    void SetMonochrome(bool value) override;
    void SetPixel(int x, int y, TColor color) override;
    void SetTextAlign(int value) override { FTextAlign = value; }
    // Switching it off frees the bitmap and marks dirty.
    void SetUseBuffer(bool value) override;

    void Ellipse(int left, int top, int right, int bottom) override;
    void FillRect(const TRect& rect) override;
    void BevelFrame(const TRect& rect, TColor topColor, TColor bottomColor, int width) override;
    void LineTo(int x, int y) override;
    void MoveTo(int x, int y) override;
    using TTeeCanvas::Rectangle;
    void Rectangle(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, const std::string& text) override;
    void ClipRectangle(const TRect& rect) override;
    void Unclip() override;
    void MarkDirty() override { FDirty = true; }
    void Line(int x0, int y0, int x1, int y1) override;
    void Polygon(std::span<const TPoint> points) override;
    void RotatedText(int x, int y, int angleDegrees, const std::string& text) override;

    TRect PrepareSurface(const TCanvas& window, const TView3DOptions* options, const TRect& bounds,
                         bool is3D) override;
    void FinishSurface(const TCanvas& destination, const TCanvas& next, const TRect& userRect) override;
    bool RedrawFromBuffer() override;
    bool RedrawFromBuffer(const TCanvas& target) override;
    void SetProjection(int depth, const TRect& bounds, const TRect& plot) override;
    void ClipPlot(const TRect& rect, int z0, int z1) override;
    void HorizontalLine(int left, int right, int y, int z = 0) override;
    void VerticalLine(int x, int top, int bottom, int z = 0) override;
    void DepthLine(int x, int y, int z0, int z1) override;
    void LineAtDepth(int x0, int y0, int x1, int y1, int z) override;
    void RectangleAtDepth(const TRect& rect, int z) override;
    void TextAtDepth(int x, int y, int z, const std::string& text) override;
    void BeginFrontPlane() override;
    void EndFrontPlane() override;

    // The current clip in target pixels, if any.
    std::optional<TRect> ClipRect() const { return FClip; }
    // The part of the target that can be drawn on: its pixels, clip included.
    const TRect& DrawableRect() const { return FDrawable; }
    // Where a solid one-pixel line in copy mode may be written, inside
    // DrawableRect(), without going through LineTo; empty unless the target
    // is a bitmap. Valid until the next drawing call of the surface.
    TPixelSink LineSink();
    // Whether the target is a bitmap that the surface has open.
    bool DrawsOnBitmap() const { return FOwnPainter != nullptr; }

protected:
    void PenChanged() override { FLineKind = TLineKind::Unknown; }

private:
    // How LineTo draws with the current pen and target.
    enum class TLineKind { Unknown, None, Direct, Painter };

    // The painter of the target with the clip and background applied; null
    // without one.
    TPainter* ActivePainter();
    void BeginTarget();
    void EndTarget();
    void UpdateDrawableBounds();
    void FreeBitmap();
    void CopyBitmap(int x, int y);
    void MakeMonochrome();

    bool PenDraws() const;
    // Hands the pen, brush and font to the painter.
    void PreparePen(TPainter& painter);
    void PrepareBrush(TPainter& painter);
    // penMode: combine like the pen (outlined shapes) rather than copy.
    void FillArea(int left, int top, int right, int bottom, bool penMode);
    void DrawText(int x, int y, int angleDegrees, const std::string& text);

    void UpdateLineKind();
    void DrawLine(int x0, int y0, int x1, int y1);
    void Polyline(std::span<const TPoint> points);

    TCanvas FTarget;
    std::unique_ptr<TBitmap> FBitmap;
    TSize FBitmapSize;
    std::unique_ptr<TPainter> FOwnPainter;  // open on FTarget's bitmap
    // Direct pixel access of a bitmap target (32-bit pixels), else null.
    std::uint32_t* FPixels = nullptr;
    std::ptrdiff_t FPixelsPerLine = 0;
    TRect FDrawable;                        // target's pixels, clip included
    std::optional<TRect> FClip;
    bool FPainterClipStale = true;
    // The background last handed to the target's painter.
    bool FPainterBackStale = true;
    TColor FPainterBack = clWhite;
    bool FPainterOpaque = false;

    TLineKind FLineKind = TLineKind::Unknown;
    std::uint32_t FPenPixel = 0;
    TPoint FPenPos;
    int FPatternPos = 0;  // dash pattern position, carried from one LineTo to the next

    bool FUseBuffer = true;
    bool FDirty = true;
    bool FMonochrome = false;
    TColor FBackColor = clWhite;
    int FBackMode = OPAQUE;
    int FTextAlign = TA_LEFT | TA_TOP;

    TRect FBounds;
    const TView3DOptions* FView3DOptions = nullptr;
    bool FIs3D = false;
    bool FIsOrthogonal = false;
    bool FSavedIs3D = false;
    double FZoomFactor = 1.0;
    bool FZoomText = true;

    TNotifyChange FOnRepaintRequest;
};
