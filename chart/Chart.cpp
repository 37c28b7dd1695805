#include "chart/Chart.h"

TCustomChartWall::TCustomChartWall(TCustomTeePanel* chart, TColor defaultColor)
    : FChart(chart), FColor(defaultColor), FDefaultColor(defaultColor)
{
}

TCustomChart::TCustomChart(QWidget* parent) : TCustomAxisPanel(parent) {}

TCustomChart::~TCustomChart()
{
    BeginDestroy();
}

bool TCustomChart::IsFreeSeriesColor(TColor color) const
{
    return TCustomAxisPanel::IsFreeSeriesColor(color) && color != FBackWall.Color();
}

TChart::TChart(QWidget* parent) : TCustomChart(parent) {}
