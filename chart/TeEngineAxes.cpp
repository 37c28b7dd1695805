// Axes: settings, range, mapping, label step and label text. Space and
// drawing are in TeEngineAxesDraw.cpp.
#include "chart/TeEngineAxes.h"

#include "chart/TeCanvas.h"
#include "chart/TeEngine.h"
#include "chart/TeeFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int kMaxAngle = 359;
constexpr double kMaxPixelDistance = 2147483647.0;
constexpr double kMinRangeWidth = 1e-10;

// round() of the engine: nearest, halves to the even neighbour (the default
// floating-point rounding mode).
std::int64_t RoundEven(double x)
{
    return static_cast<std::int64_t>(std::nearbyint(x));
}

int ClampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

bool IsSideAngle(int angle)
{
    return angle == 90 || angle == 270;
}

}  // namespace

double NextNiceStep(double x)
{
    if (!(x > 0) || !std::isfinite(x))
        return x;
    // Recursing by decades keeps the products exactly as the labels have
    // always been computed; a finite double is at most a few hundred
    // decades away from 1..10.
    if (x >= 10)
        return 10 * NextNiceStep(x * 0.1);
    if (x < 1)
        return 0.1 * NextNiceStep(x * 10);
    if (x < 2)
        return 2;
    if (x < 5)
        return 5;
    return 10;
}

double LabelStepFor(double workRange, int axisSize, int labelSize, double increment, int separationPercent)
{
    int fitting = 1;
    if (labelSize > 0) {
        const std::int64_t extra =
            separationPercent > 0 ? RoundEven(separationPercent * 0.01 * labelSize) : std::int64_t{0};
        fitting = ClampToInt(RoundEven(axisSize / static_cast<double>(labelSize + extra)));
    }
    if (fitting < 1)
        return kMinAxisIncrement;
    double step = increment > 0 ? increment : (std::fabs(workRange) >= 1 ? 1.0 : kMinAxisIncrement);
    if (separationPercent > 0) {
        std::int64_t count = std::int64_t{fitting} + 1;
        while (count > fitting && std::isfinite(step)) {
            const double q = workRange / step;
            if (std::fabs(q) < kMaxPixelDistance) {
                count = RoundEven(q);
                if (count > fitting)
                    step = NextNiceStep(step);
            } else {
                step = NextNiceStep(step);
            }
        }
    }
    return std::max(step, kMinAxisIncrement);
}

// ---- The title

TChartAxisTitle::TChartAxisTitle(TCustomChartAxis* axis, int defaultAngle)
    : TChartFontObject([axis] { axis->InvalidateChart(); }), FAxis(axis), FDefaultAngle(defaultAngle),
      FAngle(defaultAngle)
{
}

void TChartAxisTitle::SetAngle(int value)
{
    if (value < 0 || value > kMaxAngle)
        throw ChartException(Format("%s Angle must be between 0 and 359 degrees", "Axis Title"));
    if (StoreIfChanged(FAngle, value))
        FAxis->InvalidateChart();
}

void TChartAxisTitle::SetCaption(const std::string& value)
{
    if (StoreIfChanged(FCaption, value))
        FAxis->InvalidateChart();
}

// ---- Settings

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide)
    : FParentChart(chart), FIsHorizontal(horizontal), FIsOtherSide(otherSide),
      FAxisPen([this] { InvalidateChart(); }), FGrid([this] { InvalidateChart(); }),
      FMinorGrid([this] { InvalidateChart(); }), FTicks([this] { InvalidateChart(); }),
      FTicksInner([this] { InvalidateChart(); }), FMinorTicks([this] { InvalidateChart(); }),
      FLabelsFont([this] { InvalidateChart(); }), FTitle(this, horizontal ? 0 : (otherSide ? 270 : 90))
{
    FTickList.reserve(kMaxAxisTicks);
}

void TCustomChartAxis::InvalidateChart()
{
    if (FParentChart != nullptr)
        FParentChart->Invalidate();
}

bool TCustomChartAxis::ChartLoading() const
{
    return FParentChart != nullptr && FParentChart->Loading();
}

void TCustomChartAxis::SetAutomatic(bool value)
{
    if (ChartLoading()) {
        Change(FAutomatic, value);
        return;
    }
    if (FAutomatic == value && FAutomaticMinimum == value && FAutomaticMaximum == value)
        return;
    FAutomatic = value;
    FAutomaticMinimum = value;
    FAutomaticMaximum = value;
    InvalidateChart();
}

void TCustomChartAxis::SetAutomaticMinimum(bool value)
{
    if (FAutomaticMinimum == value)
        return;
    FAutomaticMinimum = value;
    if (!value || FAutomaticMaximum)
        FAutomatic = value;
    InvalidateChart();
}

void TCustomChartAxis::SetAutomaticMaximum(bool value)
{
    if (FAutomaticMaximum == value)
        return;
    FAutomaticMaximum = value;
    if (!value || FAutomaticMinimum)
        FAutomatic = value;
    InvalidateChart();
}

void TCustomChartAxis::SetMinimum(double value)
{
    if (value == FMinimum)
        return;
    if (!ChartLoading() && value > FMaximum)
        throw AxisException("Axis Minimum Value must be <= Maximum");
    Change(FMinimum, value);
}

void TCustomChartAxis::SetMaximum(double value)
{
    if (value == FMaximum)
        return;
    if (!ChartLoading() && value < FMinimum)
        throw AxisException("Axis Maximum Value must be >= Minimum");
    Change(FMaximum, value);
}

void TCustomChartAxis::SetIncrement(double value)
{
    if (value < 0)
        throw AxisException("Axis increment must be >= 0");
    Change(FIncrement, value);
}

void TCustomChartAxis::SetLabelsAngle(int value)
{
    if (value < 0 || value > kMaxAngle)
        throw ChartException(Format("%s Angle must be between 0 and 359 degrees", "Axis Labels"));
    Change(FLabelsAngle, value);
}

void TCustomChartAxis::SetLabelsSeparation(int value)
{
    if (value < 0)
        throw AxisException("Labels Separation % must be greater than 0");
    Change(FLabelsSeparation, value);
}

void TCustomChartAxis::SetLabelStyle(TAxisLabelStyle value)
{
    if (StoreIfChanged(FLabelStyle, value) && FParentChart != nullptr)
        FParentChart->Repaint();
}

bool TCustomChartAxis::IsAxisValuesFormatStored() const
{
    return FAxisValuesFormat != kDefaultAxisValuesFormat;
}

// ---- Range and positions

void TCustomChartAxis::AdjustRange()
{
    const TValueDimension dimension = FIsHorizontal ? TValueDimension::X : TValueDimension::Y;
    if (FParentChart != nullptr) {
        if (FAutomatic || FAutomaticMaximum)
            FMaximum = FParentChart->SeriesMinMax(this, TMinMax::Largest, dimension);
        if (FAutomatic || FAutomaticMinimum)
            FMinimum = FParentChart->SeriesMinMax(this, TMinMax::Smallest, dimension);
    }
    FWorkMax = FMaximum;
    FWorkMin = FMinimum;
    FWorkRange = FWorkMax - FWorkMin;
}

void TCustomChartAxis::ComputePositions()
{
    if (FParentChart == nullptr)
        return;
    const TRect& plot = FParentChart->PlotRect();
    const int origin = FIsHorizontal ? plot.Left : plot.Top;
    const int length = FIsHorizontal ? FParentChart->PlotWidth() : FParentChart->PlotHeight();
    FStartPixel = ClampToInt(origin + RoundEven(length * 0.01 * FStartPosition));
    FEndPixel = ClampToInt(origin + RoundEven(length * 0.01 * FEndPosition));
    FAxisSize = FEndPixel - FStartPixel;
    FCenterPixel = static_cast<int>((std::int64_t{FStartPixel} + FEndPixel) / 2);
}

void TCustomChartAxis::ApplySeriesMargins(int left, int top, int right, int bottom)
{
    const int atStart = FIsHorizontal ? left : top;
    const int atEnd = FIsHorizontal ? right : bottom;
    const int start = FStartPixel;
    const int end = FEndPixel;
    FStartPixel = start + atStart;
    FEndPixel = end - atEnd;
    FAxisSize = FEndPixel - FStartPixel;
    const double valueAtStart = PixelToValue(start);
    const double valueAtEnd = PixelToValue(end);
    ComputePositions();
    FWorkMin = std::min(valueAtStart, valueAtEnd);
    FWorkMax = std::max(valueAtStart, valueAtEnd);
    FWorkRange = FWorkMax - FWorkMin;
}

int TCustomChartAxis::ValueToPixel(double value) const
{
    if (FWorkRange == 0)
        return FCenterPixel;
    const double t = (value - FWorkMin) * FAxisSize / FWorkRange;
    // NaN fails this test too: a value that cannot be placed goes to the
    // centre rather than to an arbitrary pixel.
    if (!(std::fabs(t) < kMaxPixelDistance))
        return FCenterPixel;
    const bool fromEnd = FIsHorizontal ? FInverted : !FInverted;
    return fromEnd ? ClampToInt(FEndPixel - RoundEven(t)) : ClampToInt(FStartPixel + RoundEven(t));
}

double TCustomChartAxis::PixelToValue(int pixel) const
{
    if (FAxisSize < 1)
        return 0;
    const std::int64_t offset = FInverted ? std::int64_t{FEndPixel} - pixel : std::int64_t{pixel} - FStartPixel;
    const double d = static_cast<double>(offset) * FWorkRange / FAxisSize;
    return FIsHorizontal ? FWorkMin + d : FWorkMax - d;
}

// ---- Labels

std::vector<std::string> TCustomChartAxis::LabelLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\r', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string TCustomChartAxis::FormatLabel(double value, bool askChart) const
{
    std::string text = FormatFloat(FAxisValuesFormat, value);
    if (askChart && FParentChart != nullptr && FParentChart->OnGetAxisLabel()) {
        auto* sender = dynamic_cast<TChartAxis*>(const_cast<TCustomChartAxis*>(this));
        FParentChart->OnGetAxisLabel()(sender, nullptr, -1, text);
    }
    if (FLabelsMultiLine)
        std::replace(text.begin(), text.end(), ' ', '\r');
    return text;
}

std::string TCustomChartAxis::LabelText(double value) const
{
    return FormatLabel(value, true);
}

int TCustomChartAxis::WidestLine(const std::string& text) const
{
    int widest = 0;
    for (const std::string& line : LabelLines(text))
        widest = std::max(widest, FParentChart->Canvas().TextWidth(line));
    return widest;
}

int TCustomChartAxis::LabelWidth(double value) const
{
    const std::string text = LabelText(value);
    if (IsSideAngle(FLabelsAngle))
        return FParentChart->Canvas().FontHeight() * static_cast<int>(LabelLines(text).size());
    return WidestLine(text);
}

int TCustomChartAxis::LabelHeight(double value) const
{
    const std::string text = LabelText(value);
    if (IsSideAngle(FLabelsAngle))
        return WidestLine(text);
    return FParentChart->Canvas().FontHeight() * static_cast<int>(LabelLines(text).size());
}

double TCustomChartAxis::LabelStep() const
{
    if (FParentChart == nullptr)
        return kMinAxisIncrement;
    const int size = FIsHorizontal ? std::max(LabelWidth(FWorkMax), LabelWidth(FWorkMin))
                                   : std::max(LabelHeight(FWorkMax), LabelHeight(FWorkMin));
    return LabelStepFor(FWorkRange, FAxisSize, size, FIncrement, FLabelsSeparation);
}

TAxisLabelStyle TCustomChartAxis::ResolvedLabelStyle() const
{
    if (FLabelStyle != talAuto)
        return FLabelStyle;
    if (FParentChart == nullptr)
        return talNone;
    TAxisLabelStyle style = talNone;
    for (const TChartSeries* series : FParentChart->SeriesList()) {
        if (!series->Active() || !series->AssociatedToAxis(this))
            continue;
        // Texts label the axis along which the points are laid out.
        const bool alongPoints = series->MandatoryValueList() == series->YValues() ? FIsHorizontal : !FIsHorizontal;
        if (alongPoints && series->PointCount() > 0 && !series->PointLabel(0).empty())
            return talText;
        style = talValue;
    }
    return style;
}

// ---- Mouse zoom and scroll

void TCustomChartAxis::SetRange(double lo, double hi)
{
    FAutomatic = false;
    FAutomaticMinimum = false;
    FAutomaticMaximum = false;
    if (lo > hi)
        std::swap(lo, hi);
    FMinimum = lo;
    FMaximum = hi;
    if (FMaximum - FMinimum < kMinRangeWidth)
        FMaximum = FMinimum + kMinRangeWidth;
    InvalidateChart();
}

bool TCustomChartAxis::AxisHit(int x, int y) const
{
    if (FParentChart == nullptr || !FParentChart->IsAxisVisible(this))
        return false;
    int lo = 0;
    int hi = 0;
    if (FLabelsPos < FAxisLinePos) {
        lo = FLabelsPos;
        hi = FAxisLinePos + 3;
    } else {
        lo = FAxisLinePos - 3;
        hi = FLabelsPos;
    }
    const int along = FIsHorizontal ? x : y;
    const int across = FIsHorizontal ? y : x;
    const int start = std::min(FStartPixel, FEndPixel);
    const int end = std::max(FStartPixel, FEndPixel);
    return start <= along && along < end && lo <= across && across < hi;
}

void TCustomChartAxis::ScrollBy(double delta, bool checkLimits)
{
    if (checkLimits && FParentChart != nullptr) {
        const TValueDimension dimension = FIsHorizontal ? TValueDimension::X : TValueDimension::Y;
        if (delta == 0)
            return;
        if (delta > 0 && !(FParentChart->SeriesMinMax(this, TMinMax::Largest, dimension) > FMaximum))
            return;
        if (delta < 0 && !(FParentChart->SeriesMinMax(this, TMinMax::Smallest, dimension) < FMinimum))
            return;
    }
    FAutomatic = false;
    FAutomaticMinimum = false;
    FAutomaticMaximum = false;
    FMaximum += delta;
    FMinimum += delta;
    if (FParentChart != nullptr)
        FParentChart->Repaint();
}

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart) : TCustomChartAxis(chart, false, true)
{
    SetIsDepth(true);
    InitVisible(false);
    InitTitleAngle(0);
}
