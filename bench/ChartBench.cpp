// The main window's chart redrawn as it is after hours of readings at one a
// second: a full repaint of the 536 x 383 chart with 1,000 to 10,000,000
// points (a season), and one new reading (AddPoint plus the repaint it
// causes) on a chart that already holds a million or ten million, and the
// process' memory with ten million. For comparison: the same repaint drawn
// point by point with the system's own painter.
#include "chart/Chart.h"
#include "chart/Series.h"
#include "chart/TeCanvas.h"

#include "BenchSystem.h"
#include "MainWindowChart.h"

#include <benchmark/benchmark.h>

#include <cmath>
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
std::unique_ptr<TChartOnForm> MainWindowChart(int points, NightSky& sky, TLineSeries*& series)
{
    auto chart = std::make_unique<TChartOnForm>();
    series = SetUpLikeTheMainWindow(chart->Chart());
    for (int i = 0; i < points; ++i)
        series->AddPoint(i, sky.Next(), "", clDefault);
    return chart;
}

// The window's picture, `ratio` device pixels to a pixel, as the chart's
// buffer is copied into it on a paint.
std::unique_ptr<TBitmap> Window(double ratio = 1)
{
    return CreateBitmap(static_cast<int>(ratio * kWidth), static_cast<int>(ratio * kHeight), ratio, clWhite);
}

// Repaints the main window's chart, holding state.range(0) readings, into
// `window` for every iteration.
void RepaintEachIteration(benchmark::State& state, TBitmap& window)
{
    NightSky sky;
    TLineSeries* series = nullptr;
    const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
    const TCanvas target(window);
    for (auto _ : state) {
        chart->Chart().DrawTo(target, Rect(0, 0, kWidth, kHeight));
        benchmark::ClobberMemory();
    }
}

void BM_FullRepaint(benchmark::State& state)
{
    RepaintEachIteration(state, *Window());
}
BENCHMARK(BM_FullRepaint)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
// A season: filling the chart takes seconds, so few iterations.
BENCHMARK(BM_FullRepaint)->Arg(10'000'000)->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_OneNewReading(benchmark::State& state)
{
    NightSky sky;
    TLineSeries* series = nullptr;
    const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
    const auto window = Window();
    const TCanvas target(*window);
    for (auto _ : state) {
        series->AddPoint(series->PointCount(), sky.Next(), "", clDefault);
        chart->Chart().DrawTo(target, Rect(0, 0, kWidth, kHeight));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OneNewReading)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneNewReading)->Arg(10'000'000)->Iterations(200)->Unit(benchmark::kMillisecond);

// The process with the main window's chart holding state.range(0)
// readings, painted once: what it holds then, and the most it ever held
// (which counts any earlier benchmark of the same run; run it alone for the
// figure).
void BM_ProcessMemory(benchmark::State& state)
{
    for (auto _ : state) {
        NightSky sky;
        TLineSeries* series = nullptr;
        const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
        const auto window = Window();
        chart->Chart().DrawTo(TCanvas(*window), Rect(0, 0, kWidth, kHeight));
        const TProcessMemory memory = ProcessMemory();
        state.counters["resident_MB"] = memory.Bytes / 1e6;
        state.counters["peak_MB"] = memory.PeakBytes / 1e6;
    }
}
BENCHMARK(BM_ProcessMemory)->Arg(10'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

// A screen at twice the density: the picture has four device pixels to a
// pixel, and lines go through the picture's painter as runs of pixels.
void BM_FullRepaintAtTwiceTheDensity(benchmark::State& state)
{
    RepaintEachIteration(state, *Window(2));
}
BENCHMARK(BM_FullRepaintAtTwiceTheDensity)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Unbuffered, through the system's painter: every segment is a separate
// line call of QPainter or GDI.
void BM_FullRepaintPointByPoint(benchmark::State& state)
{
    NightSky sky;
    TLineSeries* series = nullptr;
    const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
    chart->Chart().Canvas().SetUseBuffer(false);
    const auto window = Window();
    const TSystemPaint paint(*window);
    const TCanvas target(paint.Painter());
    for (auto _ : state) {
        chart->Chart().DrawTo(target, Rect(0, 0, kWidth, kHeight));
        benchmark::ClobberMemory();
    }
    chart->Chart().Canvas().SetTarget(TCanvas());
}
BENCHMARK(BM_FullRepaintPointByPoint)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
