// The platform's painter: what the drawing surfaces need from the window
// system, behind one small interface. Each platform provides the pixel
// buffers (32-bit pixels that the surfaces may also write themselves) and a
// painter that draws on a buffer or on a window. Coordinates are pixels of
// the drawing, y downward; the painter turns them into device pixels.
//
// Pixels hold 0x??RRGGBB: blue in the low byte, the top byte ignored (the
// surfaces write it as 0xFF).
#pragma once

#include "runtime/Graphics.h"
#include "runtime/LineRaster.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

enum TPenStyle {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    // Every other pixel: what AssignChartPen makes of a one-pixel pen with
    // SmallDots. Wider pens draw it solid.
    psAlternate,
};

// How the pen (and the brush of outlined shapes) combines with the pixels
// already there; "Not" applies to all RGB bits. pmNotXor: ~(pen ^ screen),
// so drawing the same thing twice restores the screen.
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor,
};

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross,
};

enum TFontStyle : unsigned {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};
using TFontStyles = unsigned;  // an or-ed set of TFontStyle

// Text alignment flags: one horizontal and one vertical flag or-ed together.
inline constexpr int TA_LEFT = 0;
inline constexpr int TA_RIGHT = 2;
inline constexpr int TA_CENTER = 6;
inline constexpr int TA_TOP = 0;
inline constexpr int TA_BOTTOM = 8;
inline constexpr int TA_BASELINE = 24;

// 32-bit pixels, Stride of them a row; Width and Height in device pixels.
// Pixels is null when there are none to write directly.
struct TPixelBuffer {
    std::uint32_t* Pixels = nullptr;
    std::ptrdiff_t Stride = 0;
    int Width = 0;
    int Height = 0;
    double DevicePixelRatio = 1;
};

// Colours are RGB values (no system colours): ColorToRGB first.
struct TPainterPen {
    TColor Color = clBlack;
    int Width = 1;  // 0 and 1 both draw one pixel wide
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
    friend bool operator==(const TPainterPen&, const TPainterPen&) = default;
};

struct TPainterBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    friend bool operator==(const TPainterBrush&, const TPainterBrush&) = default;
};

// A font by family name and cell height in pixels (at least 1).
struct TPainterFont {
    std::string Name = "Arial";
    int PixelSize = 11;
    TFontStyles Style = 0;
    TColor Color = clBlack;
    // False: glyphs of whole pixels only, no smoothed edges (text that is
    // combined by exclusive-or must leave no stray colours).
    bool Smooth = true;
    friend bool operator==(const TPainterFont&, const TPainterFont&) = default;
};

// A font's measures, apart from any painter.
class TTextMetrics {
public:
    virtual ~TTextMetrics() = default;
    // The advance of the UTF-8 text.
    virtual int Width(const std::string& text) const = 0;
    // The cell: ascent plus descent, whatever the characters.
    virtual int Height() const = 0;
    virtual int Ascent() const = 0;
};

// Null when nothing can measure text yet (no GUI application on Qt).
std::unique_ptr<TTextMetrics> CreateTextMetrics(const TPainterFont& font);

// The pixel runs of the window system's cosmetic pens, for painters that
// draw styled one-pixel lines themselves.
const TDashPattern& DashPatternFor(TPenStyle style);

class TBitmap;

// The painter on one target. Pen, brush, font and background are its state;
// drawing calls use them as they say.
class TPainter {
public:
    virtual ~TPainter() = default;

    // The target's pixels, when it keeps one 32-bit word per pixel of the
    // drawing (a buffer at device pixel ratio 1); empty otherwise. They stay
    // valid while the painter lives.
    virtual TPixelBuffer Pixels() const = 0;
    // The pixels of the drawing that the target covers.
    virtual TRect Bounds() const = 0;
    virtual double DevicePixelRatio() const = 0;

    // Drawing outside `clip` changes nothing; nullopt: no clip.
    virtual void SetClip(const std::optional<TRect>& clip) = 0;
    virtual void SetPen(const TPainterPen& pen) = 0;
    virtual void SetBrush(const TPainterBrush& brush) = 0;
    // Fills the gaps of styled lines and hatched brushes and the cell behind
    // text when opaque.
    virtual void SetBackground(TColor color, bool opaque) = 0;
    virtual void SetFont(const TPainterFont& font) = 0;

    // One pixel in `color`, copied.
    virtual void SetPixel(int x, int y, TColor color) = 0;
    // Left..Right-1 by Top..Bottom-1 in one colour, copied.
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    // The same with the brush, combined as `mode` says.
    virtual void FillBrushRect(const TRect& rect, TPenMode mode) = 0;
    // The brush over the pixels whose centres lie inside the polygon (odd-even),
    // corners on pixel corners; no outline.
    virtual void FillPolygon(std::span<const TPoint> points, TPenMode mode) = 0;

    // A line with the pen from `from` towards `to`, `to` itself left out. A
    // one-pixel pen paints the pixels nearest to the ideal line, one per
    // step along the longer axis, a tie going to the smaller coordinate.
    // patternStart: the step of the pen's dash pattern (DashPatternFor) that
    // `from` falls on, for painters that draw the pattern themselves.
    virtual void Line(TPoint from, TPoint to, int patternStart) = 0;
    // Outlines with a pen wider than one pixel, centred on the pixel
    // centres of Left..Right-1 and Top..Bottom-1 (psInsideFrame: inside the
    // rectangle); no fill.
    virtual void WideRectangle(const TRect& rect) = 0;
    virtual void WidePolygon(std::span<const TPoint> points) = 0;
    // Filled with the brush (in the pen's mode) and outlined with the pen,
    // inside Left..Right-1 and Top..Bottom-1.
    virtual void Ellipse(const TRect& rect) = 0;
    // The sector of that ellipse from the radial through `from`
    // counter-clockwise to the radial through `to`, filled and outlined as
    // Ellipse is; the whole ellipse when the radials coincide.
    virtual void Pie(const TRect& rect, TPoint from, TPoint to) = 0;

    // UTF-8 text in the font's colour, placed by `align` (TA_ flags) around
    // (x, y) along `angleDegrees` counter-clockwise; with an opaque
    // background its cell is filled first. Ignores the pen mode.
    virtual void TextOut(int x, int y, int angleDegrees, int align, const std::string& text) = 0;

    // Copies a buffer made by CreateBitmap with its top-left corner at
    // (x, y), clip ignored: over the pixels, or inverting those beneath the
    // set bits of the source (exclusive-or).
    enum class TCopyMode { Copy, Invert };
    virtual void DrawBitmap(int x, int y, const TBitmap& source, TCopyMode mode) = 0;
};

// A pixel buffer of the platform (a window-system bitmap) that painters draw
// on. Its pixels exist as long as it does.
class TBitmap {
public:
    virtual ~TBitmap() = default;
    // Pixels of the drawing across and down: the device size over the ratio.
    virtual double LogicalWidth() const = 0;
    virtual double LogicalHeight() const = 0;
    virtual double DevicePixelRatio() const = 0;
    // The device pixels; Pixels is null for a buffer that keeps them in
    // another format.
    virtual TPixelBuffer Buffer() = 0;
    // A painter on the buffer; null when none can be opened. One at a time.
    virtual std::unique_ptr<TPainter> CreatePainter() = 0;
};

// A 32-bit buffer of deviceWidth x deviceHeight device pixels at `ratio`,
// filled with `fill`; null when the system cannot make one that size.
std::unique_ptr<TBitmap> CreateBitmap(int deviceWidth, int deviceHeight, double ratio, TColor fill);
