// The main window's chart settings, for tests and benchmarks of the chart
// engine that run without the window, on either system.
#pragma once

#include "chart/Chart.h"
#include "chart/Series.h"
#include "runtime/Forms.h"

// Sets `chart` up as the main window's form sets up its chart: 536 x 383,
// white, flat, no title or legend, the bottom axis hidden, the left axis
// fixed at 15 to 25 with a one-pixel line and one minor tick between
// labels, and one blue line series without markers, which it returns.
inline TLineSeries* SetUpLikeTheMainWindow(TChart& chart)
{
    chart.BeginLoading();
    chart.SetBounds(0, 0, 536, 383);
    chart.SetColor(clWhite);
    chart.SetView3D(false);
    chart.Title().SetText({"TChart"});
    chart.Title().SetVisible(false);
    chart.Legend().SetVisible(false);
    chart.BackWall().Brush().SetColor(clWhite);
    chart.BackWall().Brush().SetStyle(bsClear);
    chart.BottomAxis()->SetVisible(false);
    TChartAxis& left = *chart.LeftAxis();
    left.SetAutomatic(false);
    left.SetAutomaticMaximum(false);
    left.SetAutomaticMinimum(false);
    left.Axis().SetWidth(1);
    left.SetMaximum(25.0);
    left.SetMinimum(15.0);
    left.SetMinorTickCount(1);
    auto* series = new TLineSeries(&chart);
    series->SetSeriesColor(0xFF8000);
    series->Pointer().SetStyle(psRectangle);
    series->Pointer().SetInflateMargins(true);
    series->Pointer().SetVisible(false);
    series->SetParentChart(&chart);
    chart.EndLoading();
    return series;
}

// A chart on a hidden form of its own, as the main window holds its chart:
// on Windows a control's window needs a parent window. The form frees it.
class TChartOnForm {
public:
    TChartOnForm() : FChart(new TChart(&FForm)) {}
    TChartOnForm(const TChartOnForm&) = delete;
    TChartOnForm& operator=(const TChartOnForm&) = delete;

    TChart& Chart() const { return *FChart; }

private:
    TForm FForm{536, 383};
    TChart* FChart;
};
