// The main window's chart redrawn as it is after hours of readings at one a
// second: a full repaint of the 536 x 383 chart with 1,000 to 10,000,000
// points (a season), and one new reading (AddPoint plus the repaint it
// causes) on a chart that already holds a million or ten million, and the
// process' memory with ten million. For comparison: the same repaint drawn
// point by point.
#include "chart/Chart.h"
#include "chart/Series.h"
#include "chart/TeCanvas.h"
#include "runtime/qt/QtPainter.h"

#include "MainWindowChart.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
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
    series = SetUpLikeTheMainWindow(*chart);
    for (int i = 0; i < points; ++i)
        series->AddPoint(i, sky.Next(), "", clDefault);
    return chart;
}

// Repaints the main window's chart, holding state.range(0) readings, into
// `window` for every iteration.
void RepaintEachIteration(benchmark::State& state, QImage& window)
{
    NightSky sky;
    TLineSeries* series = nullptr;
    const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
    TQtBitmap windowBitmap(window);
    const TCanvas target(windowBitmap);
    for (auto _ : state) {
        chart->DrawTo(target, Rect(0, 0, kWidth, kHeight));
        benchmark::DoNotOptimize(window.constBits());
    }
}

void BM_FullRepaint(benchmark::State& state)
{
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    RepaintEachIteration(state, window);
}
BENCHMARK(BM_FullRepaint)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
// A season: filling the chart takes seconds, so few iterations.
BENCHMARK(BM_FullRepaint)->Arg(10'000'000)->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_OneNewReading(benchmark::State& state)
{
    NightSky sky;
    TLineSeries* series = nullptr;
    const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    TQtBitmap windowBitmap(window);
    const TCanvas target(windowBitmap);
    for (auto _ : state) {
        series->AddPoint(series->PointCount(), sky.Next(), "", clDefault);
        chart->DrawTo(target, Rect(0, 0, kWidth, kHeight));
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_OneNewReading)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneNewReading)->Arg(10'000'000)->Iterations(200)->Unit(benchmark::kMillisecond);

// Resident bytes of the whole process now, from the kernel's own count.
double ResidentBytes()
{
    long pages = 0;
    long resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return 0;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
        resident = 0;
    std::fclose(statm);
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

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
        QImage window(kWidth, kHeight, QImage::Format_RGB32);
        TQtBitmap windowBitmap(window);
        chart->DrawTo(TCanvas(windowBitmap), Rect(0, 0, kWidth, kHeight));
        state.counters["resident_MB"] = ResidentBytes() / 1e6;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) * 1024 / 1e6;
    }
}
BENCHMARK(BM_ProcessMemory)->Arg(10'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

// A screen at twice the density: the picture has four device pixels to a
// pixel, and lines go through the picture's painter as runs of pixels.
void BM_FullRepaintAtTwiceTheDensity(benchmark::State& state)
{
    QImage window(2 * kWidth, 2 * kHeight, QImage::Format_RGB32);
    window.setDevicePixelRatio(2);
    RepaintEachIteration(state, window);
}
BENCHMARK(BM_FullRepaintAtTwiceTheDensity)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Unbuffered, through a painter: every segment is a separate line call.
void BM_FullRepaintPointByPoint(benchmark::State& state)
{
    NightSky sky;
    TLineSeries* series = nullptr;
    const auto chart = MainWindowChart(static_cast<int>(state.range(0)), sky, series);
    chart->Canvas().SetUseBuffer(false);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&window);
    const auto qtPainter = CreateQtPainter(painter);
    const TCanvas target(*qtPainter);
    for (auto _ : state) {
        chart->DrawTo(target, Rect(0, 0, kWidth, kHeight));
        benchmark::DoNotOptimize(window.constBits());
    }
    chart->Canvas().SetTarget(TCanvas());
}
BENCHMARK(BM_FullRepaintPointByPoint)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
