// TGauge: a light control that shows an integer position between a minimum
// and a maximum as a horizontal or vertical bar, a pie, a needle or a blank
// face, optionally with the filled percentage as text.
//
// The face is built off-screen and copied to the widget in one step, so it
// never flickers. Property writes paint at once (RepaintNow) when they change
// what is shown and never otherwise.
#pragma once

#include "runtime/Controls.h"
#include "runtime/Graphics.h"

#include <QFont>
#include <QImage>

#include <cstdint>

enum TGaugeKind : std::uint8_t { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

// With bsSingle a 1-pixel black frame surrounds the face.
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

// The share of `Part` in `Whole` in whole percent: Part * 100 / Whole in
// 80-bit extended arithmetic, truncated toward zero; 0 when Whole is 0.
// Results beyond the int range saturate.
int PercentForPart(std::int32_t Part, std::int32_t Whole);

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
    QFont Font;
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
// A null image when either size is not positive. With a device pixel ratio
// above 1 the image has that many device pixels to a pixel, so that curves
// and text come out at the screen's own resolution.
QImage RenderGauge(const TGaugeLook& look, int width, int height, qreal devicePixelRatio = 1);

class TGauge : public TGraphicControl {
    Q_OBJECT
public:
    // 100 x 100 pixels, range 0 to 100 at 0, a horizontal bar with text and
    // frame, black on white, Color clWindow.
    explicit TGauge(QWidget* AOwner = nullptr);

    // Raises EInvalidOperation "Value must be between %d and %d" when the
    // value lies above MaxValue, except while loading, and keeps the old
    // value. Pushes Progress up to the new minimum.
    std::int32_t MinValue() const { return FMinValue; }
    void SetMinValue(std::int32_t value);
    // Raises EInvalidOperation "Value must be between %d and %d" when the
    // value lies below MinValue, except while loading, and keeps the old
    // value. Pulls Progress down to the new maximum.
    std::int32_t MaxValue() const { return FMaxValue; }
    void SetMaxValue(std::int32_t value);
    // Clamps into MinValue..MaxValue and never fails. Paints only when the
    // filled percentage changes.
    std::int32_t Progress() const { return FProgress; }
    void SetProgress(std::int32_t value);

    TGaugeKind Kind() const { return FKind; }
    void SetKind(TGaugeKind value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // The filled part and the pen.
    TColor ForeColor() const { return FForeColor; }
    void SetForeColor(TColor value);
    // The unfilled part.
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor value);

    // The filled share of the range in whole percent, 0 for an empty range.
    int FilledPercent() const;

    // The image that painting copies onto the widget, at the widget's device
    // pixel ratio.
    QImage FaceImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t FMinValue = 0;
    std::int32_t FMaxValue = 100;
    std::int32_t FProgress = 0;
    TGaugeKind FKind = gkHorizontalBar;
    bool FShowText = true;
    TBorderStyle FBorderStyle = bsSingle;
    TColor FForeColor = clBlack;
    TColor FBackColor = clWhite;
};
