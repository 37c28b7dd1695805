// Axes: the space they take around the plot and their painting.
#include "chart/TeEngineAxes.h"

#include "chart/TeCanvas.h"
#include "chart/TeEngine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Labels stop at this many steps in the range; so do the loops over them.
constexpr double kMaxLabelSteps = 10000;
constexpr double kLabelTolerance = 1.000000000001;
// Only the chart's own five axes take room from the plot.
constexpr int kStandardAxes = 5;
// A custom-label handler that never says stop is asked this often at most.
constexpr int kMaxCustomLabels = 10000;

std::int64_t RoundEven(double x)
{
    return static_cast<std::int64_t>(std::nearbyint(x));
}

// A multiple of `step` no larger in magnitude than `value`, or `value`
// itself when the quotient does not fit a 64-bit integer.
double TruncatedToStep(double value, double step)
{
    const double quotient = value / step;
    if (!(std::fabs(quotient) < 9.2e18))
        return value;
    return static_cast<double>(static_cast<std::int64_t>(quotient)) * step;
}

bool IsSideAngle(int angle)
{
    return angle == 90 || angle == 270;
}

bool IsFlatAngle(int angle)
{
    return angle == 0 || angle == 180;
}

}  // namespace

// ---- Space

int TCustomChartAxis::TickSize() const
{
    int size = (FAxisPen.Visible() ? FAxisPen.Width() : 0) + (FTicks.Visible() ? FTickLength : 0);
    if (FMinorTicks.Visible())
        size = std::max(size, FMinorTickLength);
    return size;
}

bool TCustomChartAxis::IsStandardAxis() const
{
    for (int i = 0; i < kStandardAxes && i < FParentChart->AxisCount(); ++i) {
        if (FParentChart->Axis(i) == this)
            return true;
    }
    return false;
}

bool TCustomChartAxis::ShowsDateTime() const
{
    for (const TChartSeries* series : FParentChart->SeriesList()) {
        if (series->Active() && series->AssociatedToAxis(this))
            return FIsHorizontal ? series->XValues()->DateTime() : series->YValues()->DateTime();
    }
    return false;
}

int TCustomChartAxis::TitleSizeNeeded() const
{
    if (FTitleSize != 0)
        return FTitleSize;
    FParentChart->SelectFont(FTitle.Font());
    const bool across = FIsHorizontal ? IsFlatAngle(FTitle.Angle()) : IsSideAngle(FTitle.Angle());
    return across ? FParentChart->Canvas().FontHeight() : FParentChart->Canvas().TextWidth(FTitle.Caption());
}

int TCustomChartAxis::LabelsSizeNeeded() const
{
    if (FLabelsSize != 0)
        return FLabelsSize;
    TTeeCanvas3D& canvas = FParentChart->Canvas();
    FParentChart->SelectFont(FLabelsFont);
    const bool across = FIsHorizontal ? IsFlatAngle(FLabelsAngle) : IsSideAngle(FLabelsAngle);
    if (across)
        return canvas.FontHeight();
    switch (ResolvedLabelStyle()) {
    case talValue: {
        double lo = FWorkMin;
        double hi = FWorkMax;
        if (FRoundFirstLabel || (FExactDateTime && ShowsDateTime())) {
            // The step depends on the labels' size in the canvas' font, so
            // it is taken only now that their font is in place.
            const double step = LabelStep();
            lo = TruncatedToStep(FWorkMin, step);
            hi = TruncatedToStep(FWorkMax, step);
        }
        // Measured as the axis formats them, whatever the chart's handler
        // would make of these two values.
        return std::max(WidestLine(FormatLabel(hi, false)), WidestLine(FormatLabel(lo, false))) +
               canvas.TextWidth(" ");
    }
    case talText:
    case talMark: {
        int widest = 0;
        for (const TChartSeries* series : FParentChart->SeriesList()) {
            if (!series->Active() || !series->AssociatedToAxis(this))
                continue;
            for (int i = 0; i < series->PointCount(); ++i)
                widest = std::max(widest, WidestLine(series->PointLabel(i)));
        }
        return widest;
    }
    default:
        return 0;
    }
}

int TCustomChartAxis::PositionOffset(int coordinate, const TRect& rect) const
{
    if (FPositionPercent == 0)
        return coordinate;
    const int extent = FIsHorizontal ? rect.Height() : rect.Width();
    int offset = static_cast<int>(RoundEven(FPositionPercent * 0.01 * extent));
    if (FIsOtherSide)
        offset = -offset;
    return FIsHorizontal ? coordinate - offset : coordinate + offset;
}

void TCustomChartAxis::ReserveSpace(TRect& rect)
{
    if (FParentChart == nullptr)
        return;
    const bool hasTitle = !FTitle.Caption().empty();
    const int titleSize = hasTitle ? TitleSizeNeeded() : 0;
    const int labelsSize = FLabels ? LabelsSizeNeeded() : 0;
    // Which edge of `rect` this axis eats into, and which way is outward.
    int* edge = FIsHorizontal ? (FIsOtherSide ? &rect.Top : &rect.Bottom) : (FIsOtherSide ? &rect.Right : &rect.Left);
    const int inward = (FIsHorizontal ? FIsOtherSide : !FIsOtherSide) ? 1 : -1;

    if (!IsStandardAxis()) {
        // An added axis places itself outward from the edge without taking
        // room from the plot.
        FAxisLinePos = PositionOffset(*edge, rect);
        FLabelsPos = FAxisLinePos - inward * TickSize();
        FTitlePos = FLabelsPos - inward * labelsSize;
        return;
    }
    if (hasTitle) {
        *edge += inward * titleSize;
        FTitlePos = *edge;
    }
    if (FLabels) {
        *edge += inward * labelsSize;
        FLabelsPos = *edge;
    }
    const int ticks = TickSize() + FParentChart->WallSizeFor(this);
    if (ticks > 0)
        *edge += inward * ticks;
    FTitlePos = PositionOffset(FTitlePos, rect);
    FLabelsPos = PositionOffset(FLabelsPos, rect);
}

// ---- Drawing

void TCustomChartAxis::DrawAxis()
{
    if (FParentChart == nullptr)
        return;
    TCustomAxisPanel& chart = *FParentChart;
    chart.SelectFont(FLabelsFont);
    const double step = LabelStep();
    const TRect& plot = chart.PlotRect();
    const int edge = FIsHorizontal ? (FIsOtherSide ? plot.Top : plot.Bottom) : (FIsOtherSide ? plot.Right : plot.Left);
    FAxisLinePos = PositionOffset(edge, plot);

    if (!FTitle.Caption().empty())
        DrawTitle();
    FTickList.clear();
    if (step > 0 && FWorkMax >= FWorkMin)
        DrawLabels(step);
    DrawAxisLine();
    if (FTicks.Visible())
        DrawTicks(FTicks, FTickLength, false);
    if (FGrid.Visible())
        DrawGrid();
    if (FTicksInner.Visible())
        DrawTicks(FTicksInner, FTickInnerLength, true);
    if (!FTickList.empty())
        DrawMinorTicks();
}

void TCustomChartAxis::DrawTitle()
{
    TTeeCanvas3D& canvas = FParentChart->Canvas();
    FParentChart->SelectFont(FTitle.Font());
    canvas.Brush().SetColor(FParentChart->Color());
    canvas.Brush().SetStyle(bsClear);
    canvas.SetBackMode(TRANSPARENT);
    const int size = TitleSizeNeeded();
    // The title is centred along the axis inside its strip, which lies
    // outward of TitlePos; rotated text grows to the side of its top.
    int x = 0;
    int y = 0;
    if (FIsHorizontal) {
        x = FCenterPixel;
        y = FIsOtherSide ? FTitlePos - size : FTitlePos;
    } else {
        x = FIsOtherSide ? FTitlePos + size : FTitlePos - size;
        y = FCenterPixel;
    }
    canvas.SetTextAlign(TA_CENTER | TA_TOP);
    if (FTitle.Angle() == 0)
        canvas.TextAtDepth(x, y, 0, FTitle.Caption());
    else
        canvas.RotatedText(x, y, FTitle.Angle(), FTitle.Caption());
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    FParentChart->SelectFont(FLabelsFont);
}

void TCustomChartAxis::DrawLabels(double step)
{
    if (FParentChart->OnGetNextAxisLabel()) {
        DrawCustomLabels();
        return;
    }
    const TAxisLabelStyle style = ResolvedLabelStyle();
    if (style == talValue)
        DrawValueLabels(step);
    else if (style == talText || style == talMark)
        DrawSeriesLabels(style);
}

void TCustomChartAxis::DrawValueLabels(double step)
{
    // NaN (an unbounded range) counts as too many labels too.
    if (!(std::fabs(FWorkRange / step) < kMaxLabelSteps))
        return;
    double value = (FWorkMin == FWorkMax || !FRoundFirstLabel) ? FWorkMax : TruncatedToStep(FWorkMax, step);
    while (value > FWorkMax) {
        const double next = value - step;
        if (next == value)  // the step is lost in the value's precision
            return;
        value = next;
    }
    // A hair below the minimum, so that rounding never drops its label. The
    // tolerance widens the range on the negative side as on the positive.
    const double reach = FWorkMin - kMinAxisIncrement;
    const double lower = FWorkMin >= 0 ? reach / kLabelTolerance : reach * kLabelTolerance;
    while (value >= lower) {
        if (!PlaceLabel(value, nullptr))
            return;
        const double next = value - step;
        if (next == value)
            return;
        value = next;
    }
}

void TCustomChartAxis::DrawSeriesLabels(TAxisLabelStyle)
{
    for (const TChartSeries* series : FParentChart->SeriesList()) {
        if (!series->Active() || !series->AssociatedToAxis(this))
            continue;
        for (int i = 0; i < series->PointCount(); ++i) {
            const std::string& text = series->PointLabel(i);
            if (text.empty())
                continue;
            const double value = FIsHorizontal ? series->XValue(i) : series->YValue(i);
            if (value < FWorkMin || value > FWorkMax)
                continue;
            if (!PlaceLabel(value, &text))
                return;
        }
    }
}

void TCustomChartAxis::DrawCustomLabels()
{
    auto* sender = dynamic_cast<TChartAxis*>(this);
    for (int index = 0; index < kMaxCustomLabels; ++index) {
        double value = FWorkMin;
        bool stop = true;
        FParentChart->OnGetNextAxisLabel()(sender, index, value, stop);
        if (stop)
            return;
        if (value >= FWorkMin && value <= FWorkMax && !PlaceLabel(value, nullptr))
            return;
    }
}

bool TCustomChartAxis::PlaceLabel(double value, const std::string* text)
{
    const int position = ValueToPixel(value);
    if (!FLabelsOnAxis && !(FStartPixel < position && position < FEndPixel))
        return true;
    const bool full = static_cast<int>(FTickList.size()) >= kMaxAxisTicks;
    if (!FTickOnLabelsOnly) {
        if (full)
            return false;
        FTickList.push_back(position);
    }
    if (!FLabels)
        return true;
    if (FTickOnLabelsOnly) {
        if (full)
            return false;
        FTickList.push_back(position);
    }
    DrawLabelText(position, text != nullptr ? *text : LabelText(value));
    return true;
}

void TCustomChartAxis::DrawLabelText(int position, const std::string& text)
{
    const std::vector<std::string> lines = LabelLines(text);
    if (lines.empty())
        return;
    TTeeCanvas3D& canvas = FParentChart->Canvas();
    FParentChart->SelectFont(FLabelsFont);
    canvas.Brush().SetColor(FParentChart->Color());
    canvas.Brush().SetStyle(bsClear);
    canvas.SetBackMode(TRANSPARENT);

    const int h = canvas.FontHeight();
    const int n = static_cast<int>(lines.size());
    int x = 0;
    int y = 0;
    int align = TA_LEFT | TA_TOP;
    if (!FIsHorizontal) {
        x = FLabelsPos;
        y = position - h / 2 - static_cast<int>(RoundEven(h * 0.5 * (n + 1))) + h;
        align = (FIsOtherSide ? TA_LEFT : TA_RIGHT) | TA_TOP;
    } else if (!FIsOtherSide) {
        x = position;
        y = FLabelsPos;
        align = TA_CENTER | TA_TOP;
    } else {
        x = position;
        y = FLabelsPos - static_cast<int>(RoundEven(static_cast<double>(n) * h)) + h;
        align = TA_CENTER | TA_BOTTOM;
    }
    canvas.SetTextAlign(align);
    for (const std::string& line : lines) {
        if (FLabelsAngle == 0)
            canvas.TextAtDepth(x, y, 0, line);
        else
            canvas.RotatedText(x, y, FLabelsAngle, line);
        y += h;
    }
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
}

void TCustomChartAxis::DrawAxisLine()
{
    if (!FAxisPen.Visible())
        return;
    TTeeCanvas3D& canvas = FParentChart->Canvas();
    canvas.AssignChartPen(FAxisPen);
    if (FIsHorizontal)
        canvas.HorizontalLine(FStartPixel, FEndPixel, FAxisLinePos);
    else
        canvas.VerticalLine(FAxisLinePos, FStartPixel, FEndPixel);
}

void TCustomChartAxis::DrawTickAt(int position, int length, bool inner)
{
    // Outward is left of a left axis, below a bottom axis, and so on.
    const int outward = (FIsHorizontal ? !FIsOtherSide : FIsOtherSide) ? 1 : -1;
    const int direction = inner ? -outward : outward;
    const int from = FAxisLinePos + direction;
    const int to = from + direction * length;
    TTeeCanvas3D& canvas = FParentChart->Canvas();
    if (FIsHorizontal)
        canvas.VerticalLine(position, from, to);
    else
        canvas.HorizontalLine(from, to, position);
}

void TCustomChartAxis::DrawTicks(const TChartPen& pen, int length, bool inner)
{
    FParentChart->Canvas().AssignChartPen(pen);
    for (int position : FTickList)
        DrawTickAt(position, length, inner);
}

void TCustomChartAxis::DrawGridLineAt(int position)
{
    const TRect& plot = FParentChart->PlotRect();
    TTeeCanvas3D& canvas = FParentChart->Canvas();
    if (FIsHorizontal)
        canvas.VerticalLine(position, plot.Top, plot.Bottom);
    else
        canvas.HorizontalLine(plot.Left, plot.Right, position);
}

namespace {

// Prepares the canvas for grid lines in `pen`: no fill, gaps left alone.
void PrepareGridPen(TTeeCanvas3D& canvas, const TChartPen& pen)
{
    canvas.Brush().SetStyle(bsClear);
    canvas.SetBackMode(TRANSPARENT);
    canvas.AssignChartPen(pen);
    if (canvas.Pen().Color() == clDefault)
        canvas.Pen().SetColor(clGray);
}

}  // namespace

void TCustomChartAxis::DrawGrid()
{
    TTeeCanvas3D& canvas = FParentChart->Canvas();
    PrepareGridPen(canvas, FGrid);
    for (std::size_t i = 0; i < FTickList.size(); ++i) {
        if (!FGridCentered)
            DrawGridLineAt(FTickList[i]);
        else if (i > 0)
            DrawGridLineAt(static_cast<int>(RoundEven((FTickList[i] + FTickList[i - 1]) * 0.5)));
    }
    canvas.SetBackMode(OPAQUE);
}

void TCustomChartAxis::DrawMinorTicks()
{
    // More minor ticks than the axis has pixels cannot be told apart; the
    // cap keeps an absurd count from stalling the paint.
    const int count = std::min(FMinorTickCount, std::max(FAxisSize, 0));
    if (count < 1)
        return;
    const std::vector<int>& ticks = FTickList;
    const std::size_t k = ticks.size();
    const auto forEachPosition = [&](auto&& draw) {
        const auto inside = [&](std::int64_t p) {
            if (FStartPixel < p && p < FEndPixel)
                draw(static_cast<int>(p));
        };
        if (k > 1) {
            for (int j = 1; j <= count; ++j) {
                const std::int64_t d = RoundEven(j * double(ticks[1] - ticks[0]) / (count + 1));
                inside(ticks[0] - d);
                inside(ticks[k - 1] + d);
            }
        }
        for (std::size_t i = 1; i < k; ++i) {
            for (int j = 1; j <= count; ++j)
                inside(ticks[i] - RoundEven(j * double(ticks[i] - ticks[i - 1]) / (count + 1)));
        }
    };
    TTeeCanvas3D& canvas = FParentChart->Canvas();
    if (FMinorTicks.Visible()) {
        canvas.AssignChartPen(FMinorTicks);
        forEachPosition([&](int p) { DrawTickAt(p, FMinorTickLength, false); });
    }
    if (FMinorGrid.Visible()) {
        PrepareGridPen(canvas, FMinorGrid);
        forEachPosition([&](int p) { DrawGridLineAt(p); });
        canvas.SetBackMode(OPAQUE);
    }
}
