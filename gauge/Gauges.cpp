#include "gauge/Gauges.h"

#include "runtime/Classes.h"
#include "runtime/SysUtils.h"

#include <QPainter>

#include <cmath>
#include <limits>

// The gauge's arithmetic is pinned to the x87 extended format: its results
// (one pixel short at some exact multiples) depend on it.
static_assert(std::numeric_limits<long double>::digits == 64, "long double must be the 80-bit extended type");

namespace {

// The extended value nearest to 0.01, just below it.
constexpr long double kHundredth = 0.01L;

int TruncToInt(long double value)
{
    const long double whole = std::trunc(value);
    if (whole <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (whole >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(whole);
}

// Parts and wholes of up to 33 bits are exact in the 64-bit mantissa, and so
// is part * 100; only the division rounds.
int PercentOf(std::int64_t part, std::int64_t whole)
{
    if (whole == 0)
        return 0;
    return TruncToInt(static_cast<long double>(part) * 100 / static_cast<long double>(whole));
}

}  // namespace

int PercentForPart(std::int32_t Part, std::int32_t Whole)
{
    return PercentOf(Part, Whole);
}

int SizeForPercent(std::int32_t Percent, std::int32_t Size)
{
    const long double share = static_cast<long double>(Percent) * kHundredth;
    return TruncToInt(static_cast<long double>(Size) * share);
}

TGauge::TGauge(QWidget* AOwner) : TGraphicControl(AOwner)
{
    // The face covers every pixel of the widget: nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    SetColor(clWindow);
    resize(100, 100);
}

int TGauge::FilledPercent() const
{
    // In 64 bits: the range of two 32-bit ends may not fit in 32.
    return PercentOf(std::int64_t{FProgress} - FMinValue, std::int64_t{FMaxValue} - FMinValue);
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

QImage TGauge::FaceImage() const
{
    TGaugeLook look;
    look.Kind = FKind;
    look.BorderStyle = FBorderStyle;
    look.ShowText = FShowText;
    look.ForeColor = FForeColor;
    look.BackColor = FBackColor;
    look.Color = Color();
    look.Percent = FilledPercent();
    look.Font = font();
    return RenderGauge(look, width(), height(), devicePixelRatioF());
}

void TGauge::paintEvent(QPaintEvent*)
{
    const QImage image = FaceImage();
    if (image.isNull())
        return;
    QPainter(this).drawImage(0, 0, image);
}
