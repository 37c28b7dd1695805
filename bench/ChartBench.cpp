// The main window's chart redrawn as it is after hours of readings at one a
// second: a full repaint of the 536 x 383 chart with 1,000 to 1,000,000
// points, and one new reading (AddPoint plus the repaint it causes) on a
// chart that already holds a million. For comparison: the same repaint
// drawn point by point, and the line's own pass over plain arrays, without
// the series' per-point lookups.
#include "chart/Chart.h"
#include "chart/Series.h"
#include "chart/TeCanvas.h"
#include "chart/TeeLineRaster.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 536;
constexpr int kHeight = 383;

// A night of readings: a slow swing between 16 and 24 with a small
// mean-reverting wander on top, from a fixed seed.
class NightSky {
public:
    double Next()
    {
        FWander = FWander * 0.998 + FNoise(FRandom);
        const double reading = 20 + 4 * std::sin(FIndex / 500.0) + FWander;
        ++FIndex;
        return reading;
    }

private:
    std::mt19937 FRandom{20240611};
    std::normal_distribution<double> FNoise{0.0, 0.02};
    double FWander = 0;
    int FIndex = 0;
};

// Set up as the main window's form sets up Chart1 and Series1.
std::unique_ptr<TChart> MainWindowChart(int points, NightSky& sky, TLineSeries*& series)
{
    auto chart = std::make_unique<TChart>();
    chart->BeginLoading();
    chart->resize(kWidth, kHeight);
    chart->SetColor(clWhite);
    chart->SetView3D(false);
    chart->Title().SetVisible(false);
    chart->Legend().SetVisible(false);
    chart->BackWall().Brush().SetColor(clWhite);
    chart->BackWall().Brush().SetStyle(bsClear);
    chart->BottomAxis()->SetVisible(false);
    TChartAxis& left = *chart->LeftAxis();
    left.SetAutomatic(false);
    left.SetAutomaticMaximum(false);
    left.SetAutomaticMinimum(false);
    left.Axis().SetWidth(1);
    left.SetMaximum(25.0);
    left.SetMinimum(15.0);
    left.SetMinorTickCount(1);
    series = new TLineSeries(chart.get());
    series->SetSeriesColor(16744448);
    series->Pointer().SetStyle(psRectangle);
    series->Pointer().SetInflateMargins(true);
    series->Pointer().SetVisible(false);
    series->SetParentChart(chart.get());
    chart->EndLoading();
    for (int i = 0; i < points; ++i)
        series->AddPoint(i, sky.Next(), "", clDefault);
    return chart;
}

void BM_FullRepaint(benchmark::State& state)
{
    NightSky sky;
    TLineSeries* series = nullptr;
    const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    const TCanvas target(window);
    for (auto _ : state) {
        chart->DrawTo(target, Rect(0, 0, kWidth, kHeight));
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_FullRepaint)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_OneNewReading(benchmark::State& state)
{
    NightSky sky;
    TLineSeries* series = nullptr;
    const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    const TCanvas target(window);
    for (auto _ : state) {
        series->AddPoint(series->PointCount(), sky.Next(), "", clDefault);
        chart->DrawTo(target, Rect(0, 0, kWidth, kHeight));
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_OneNewReading)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Unbuffered, through a painter: every segment is a separate line call.
void BM_FullRepaintPointByPoint(benchmark::State& state)
{
    NightSky sky;
    TLineSeries* series = nullptr;
    const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
    chart->Canvas().SetUseBuffer(false);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&window);
    const TCanvas target(painter);
    for (auto _ : state) {
        chart->DrawTo(target, Rect(0, 0, kWidth, kHeight));
        benchmark::DoNotOptimize(window.constBits());
    }
    chart->Canvas().SetTarget(TCanvas());
}
BENCHMARK(BM_FullRepaintPointByPoint)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The line alone from contiguous arrays of values: what the repaint costs
// beyond the background and axes once values need no call per point.
void BM_LinePassOverArrays(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    NightSky sky;
    std::vector<double> xs(static_cast<std::size_t>(count));
    std::vector<double> ys(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        xs[static_cast<std::size_t>(i)] = i;
        ys[static_cast<std::size_t>(i)] = sky.Next();
    }
    const TAxisPixelMap xMap(0, static_cast<double>(count - 1), 480, 40, 520, 280, false);
    const TAxisPixelMap yMap(15, 10, 353, 15, 368, 191, true);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    const TRect clip{41, 16, 520, 367};
    for (auto _ : state) {
        TLinePlotter plotter(reinterpret_cast<std::uint32_t*>(window.bits()), window.bytesPerLine() / 4, clip,
                             0xFF0080FF);
        int x = 0;
        int y = 0;
        xMap.Pixel(xs[0], x);
        yMap.Pixel(ys[0], y);
        plotter.MoveTo(x, y);
        for (std::size_t i = 1; i < xs.size(); ++i) {
            if (xMap.Pixel(xs[i], x) && yMap.Pixel(ys[i], y))
                plotter.LineTo(x, y);
        }
        plotter.Finish();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_LinePassOverArrays)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
