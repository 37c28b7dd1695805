// TGauge: a light control that shows an integer position between a minimum
// and a maximum as a horizontal or vertical bar, a pie, a needle or a blank
// face, optionally with the filled percentage as text.
//
// The face is built off-screen and copied to the control in one step, so it
// never flickers. Property writes paint at once (RepaintNow) when they change
// what is shown and never otherwise.
#pragma once

#include "gauge/GaugeFace.h"
#include "runtime/Controls.h"
#include "runtime/Graphics.h"

#include <cstdint>
#include <memory>

class TGauge : public TGraphicControl {
public:
    // 100 x 100 pixels, range 0 to 100 at 0, a horizontal bar with text and
    // frame, black on white, Color clWindow.
    explicit TGauge(TWinControl* AOwner = nullptr);

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

    // The picture that painting copies onto the control, at the control's
    // device pixel ratio; null when the control has no area.
    std::unique_ptr<TBitmap> FaceImage() const;

protected:
    void Paint(TPainter& painter) override;

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
