// The gauge's face: its geometry as pure functions, and the finished face
// drawn on the platform's painter.
#pragma once

#include "runtime/Graphics.h"
#include "runtime/Painter.h"

#include <cstdint>
#include <memory>

enum TGaugeKind : std::uint8_t { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

// With bsSingle a 1-pixel black frame surrounds the face.
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

// The share of `Part` in `Whole` in whole percent: Part * 100 / Whole in
// 80-bit extended arithmetic, truncated toward zero; 0 when Whole is 0.
// Results beyond the int range saturate.
int PercentForPart(std::int32_t Part, std::int32_t Whole);
// The same for a part and a whole of up to 33 bits (a position in a range
// with 32-bit bounds).
int PercentOfSpan(std::int64_t part, std::int64_t whole);

// `Percent` percent of `Size` pixels: Size * (Percent * 0.01L), each product
// rounded to extended precision, truncated toward zero. 0.01L lies just below
// 0.01, so some exact multiples come out one short (20 % of 5 is 0, 30 % of
// 10 is 2); 100 % of a size is the size. Results beyond the int range
// saturate.
int SizeForPercent(std::int32_t Percent, std::int32_t Size);

// Everything the finished face depends on.
struct TGaugeLook {
    TGaugeKind Kind = gkHorizontalBar;
    TBorderStyle BorderStyle = bsSingle;
    bool ShowText = true;
    TColor ForeColor = clBlack;
    TColor BackColor = clWhite;
    TColor Color = clWindow;  // background of the pie and needle faces
    int Percent = 0;
    // The percentage's font (its colour is not used: the text inverts).
    TPainterFont Font;
};

// The area inside the frame: (0, 0, width, height), 1 pixel smaller on each
// side with bsSingle.
TRect GaugeFaceRect(int width, int height, TBorderStyle border);

// The filled rectangle of a bar face (gkHorizontalBar or gkVerticalBar) at
// `percent`; empty (Right <= Left or Bottom <= Top) when nothing is filled
// or the kind is no bar. It may reach past the face on the side where the
// face has no frame; the image clips it.
TRect BarFillRect(TGaugeKind kind, const TRect& face, int percent);

// The point whose radial starts the pie's filled sector (the sector runs
// counter-clockwise from it to the top of the ellipse).
TPoint PieStartPoint(const TRect& face, TBorderStyle border, int percent);

// The needle's tip; the needle starts at (controlWidth div 2, face.Bottom - 1).
TPoint NeedleTip(int controlWidth, const TRect& face, int percent);

// The finished face of a gauge of width x height pixels: black frame (with
// bsSingle), the face of the kind, the text inverting what lies beneath it.
// Null when either size is not positive or no bitmap can be made. With a
// device pixel ratio above 1 the bitmap has that many device pixels to a
// pixel, so that curves and text come out at the screen's own resolution.
std::unique_ptr<TBitmap> RenderGauge(const TGaugeLook& look, int width, int height, double devicePixelRatio = 1);
