#include "chart/TeEngineAxes.h"

#include "chart/TeEngine.h"

namespace {

constexpr int kMaxAngle = 359;

}  // namespace

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide)
    : FParentChart(chart), FIsHorizontal(horizontal), FIsOtherSide(otherSide)
{
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

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart) : TCustomChartAxis(chart, false, true)
{
    SetIsDepth(true);
    InitVisible(false);
}
