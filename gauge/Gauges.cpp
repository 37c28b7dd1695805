#include "gauge/Gauges.h"

#include "runtime/Classes.h"
#include "runtime/SysUtils.h"


TGauge::TGauge(TWinControl* AOwner) : TGraphicControl(AOwner)
{
    SetColor(clWindow);
    SetBounds(0, 0, 100, 100);
}

int TGauge::FilledPercent() const
{
    // In 64 bits: the range of two 32-bit ends may not fit in 32.
    return PercentOfSpan(std::int64_t{FProgress} - FMinValue, std::int64_t{FMaxValue} - FMinValue);
}

void TGauge::SetMinValue(std::int32_t value)
{
    if (value == FMinValue)
        return;
    // The bounds in the message are worked out in 64 bits so that they cannot
    // wrap at the ends of the int range. Its lower bound has always read
    // -2147483647, although the smallest int is accepted as well.
    if (value > FMaxValue && !Loading())
        throw EInvalidOperation(Format("Value must be between %lld and %lld", -2147483647LL,
                                       static_cast<long long>(FMaxValue) - 1));
    FMinValue = value;
    if (FProgress < value)
        FProgress = value;
    RepaintNow();
}

void TGauge::SetMaxValue(std::int32_t value)
{
    if (value == FMaxValue)
        return;
    if (value < FMinValue && !Loading())
        throw EInvalidOperation(Format("Value must be between %lld and %lld",
                                       static_cast<long long>(FMinValue) + 1, 2147483647LL));
    FMaxValue = value;
    if (FProgress > value)
        FProgress = value;
    RepaintNow();
}

void TGauge::SetProgress(std::int32_t value)
{
    const int percentBefore = FilledPercent();
    if (value < FMinValue)
        value = FMinValue;
    else if (value > FMaxValue)
        value = FMaxValue;
    if (value == FProgress)
        return;
    FProgress = value;
    // Readings move the position by small steps; most of them stay within
    // the same percent and would paint the very same face.
    if (FilledPercent() != percentBefore)
        RepaintNow();
}

void TGauge::SetKind(TGaugeKind value)
{
    if (StoreIfChanged(FKind, value))
        RepaintNow();
}

void TGauge::SetShowText(bool value)
{
    if (StoreIfChanged(FShowText, value))
        RepaintNow();
}

void TGauge::SetBorderStyle(TBorderStyle value)
{
    if (StoreIfChanged(FBorderStyle, value))
        RepaintNow();
}

void TGauge::SetForeColor(TColor value)
{
    if (StoreIfChanged(FForeColor, value))
        RepaintNow();
}

void TGauge::SetBackColor(TColor value)
{
    if (StoreIfChanged(FBackColor, value))
        RepaintNow();
}

std::unique_ptr<TBitmap> TGauge::FaceImage() const
{
    TGaugeLook look;
    look.Kind = FKind;
    look.BorderStyle = FBorderStyle;
    look.ShowText = FShowText;
    look.ForeColor = FForeColor;
    look.BackColor = FBackColor;
    look.Color = Color();
    look.Percent = FilledPercent();
    look.Font = Font();
    return RenderGauge(look, Width(), Height(), DevicePixelRatio());
}

void TGauge::Paint(TPainter& painter)
{
    if (const std::unique_ptr<TBitmap> face = FaceImage())
        painter.DrawBitmap(0, 0, *face, TPainter::TCopyMode::Copy);
}
