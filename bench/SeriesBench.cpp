// The line series as the main window feeds it: one AddPoint per reading,
// x = 0, 1, 2, ..., y between 15 and 25, no text, the series' own colour.
// Reports the time per call and the bytes each point holds (capacity of
// every per-point store, so growth slack counts), alone and inside a chart.
#include "chart/Chart.h"
#include "chart/Series.h"

#include "MainWindowChart.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <string>

namespace {

constexpr int kReadings = 1'000'000;

// A reading between 15 and 25, varying like a night sky without a pattern
// the branch predictor could learn.
double Reading(int i)
{
    return 15.0 + static_cast<double>((static_cast<unsigned>(i) * 2654435761u) % 1001u) / 100.0;
}

// x = first + step * i; the main window's count is first 0, step 1.
void AddReadings(benchmark::State& state, TChart* chart, double first = 0, double step = 1)
{
    const std::string noText;
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto series = std::make_unique<TLineSeries>(nullptr);
        series->SetSeriesColor(0xFF8000);
        if (chart != nullptr)
            series->SetParentChart(chart);
        state.ResumeTiming();

        for (int i = 0; i < kReadings; ++i)
            benchmark::DoNotOptimize(series->AddPoint(first + step * i, Reading(i), noText, clDefault));

        state.PauseTiming();
        bytes = series->PointStorageBytes();
        if (series->PointCount() != kReadings)
            state.SkipWithError("points went missing");
        series.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_point"] = static_cast<double>(bytes) / kReadings;
    state.counters["time_per_call"] = benchmark::Counter(static_cast<double>(kReadings),
                                                         benchmark::Counter::kIsIterationInvariantRate |
                                                             benchmark::Counter::kInvert);
}

void BM_AddPointAlone(benchmark::State& state)
{
    AddReadings(state, nullptr);
}
BENCHMARK(BM_AddPointAlone)->Unit(benchmark::kMillisecond);

// Every AddPoint of an attached series asks the (hidden) chart to repaint.
void BM_AddPointInChart(benchmark::State& state)
{
    const TChartOnForm chart;
    AddReadings(state, &chart.Chart());
}
BENCHMARK(BM_AddPointInChart)->Unit(benchmark::kMillisecond);

// X values that are not the point indexes (a time axis, say): every X is
// stored.
void BM_AddPointOtherX(benchmark::State& state)
{
    AddReadings(state, nullptr, 45000.25, 1.0 / 86400);
}
BENCHMARK(BM_AddPointOtherX)->Unit(benchmark::kMillisecond);

// The handshake's ClearPoints on a full series: frees all of its storage.
void BM_ClearMillionPoints(benchmark::State& state)
{
    TLineSeries series;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kReadings; ++i)
            series.AddPoint(i, Reading(i), std::string(), clDefault);
        state.ResumeTiming();
        series.ClearPoints();
    }
}
BENCHMARK(BM_ClearMillionPoints)->Unit(benchmark::kMicrosecond);

// The automatic axis range reads the cached statistics after each reading:
// one value appended to a million, then LowestY / HighestY. Appending keeps
// the statistics current, so no read rescans the million.
void BM_StatisticsAfterEachReading(benchmark::State& state)
{
    TLineSeries series;
    for (int i = 0; i < kReadings; ++i)
        series.AddPoint(i, Reading(i), std::string(), clDefault);
    int x = kReadings;
    for (auto _ : state) {
        series.AddPoint(x, Reading(x), std::string(), clDefault);
        ++x;
        benchmark::DoNotOptimize(series.HighestY() - series.LowestY());
    }
}
BENCHMARK(BM_StatisticsAfterEachReading)->Iterations(200000);

}  // namespace
