// The chart draws every segment of its line on each repaint, so a million
// readings means a million segments per paint. These measure that on the
// chart's own size (536 x 383) inside its plot clip: solid one-pixel lines
// (straight into the bitmap's pixels), the same with the series' per-point
// pen set-up, the same through the system's painter (QPainter or GDI), a
// dotted pen (with the pen's raster operation), and the copy of a clean
// buffer into the window through the system's painter.
#include "chart/TeCanvas.h"
#include "runtime/Graphics.h"

#include "BenchSystem.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 536;
constexpr int kHeight = 383;
constexpr TRect kPlot{16, 15, 520, 368};
constexpr int kSegments = 1'000'000;

struct Segment {
    int x0, y0, x1, y1;
};

// A chart-like random walk: each segment 1 to 3 pixels to the right and up
// to 4 up or down, wandering a little beyond the plot at the top and bottom;
// at the right edge it starts again at the left.
const std::vector<Segment>& Segments()
{
    static const std::vector<Segment> segments = [] {
        std::vector<Segment> result;
        result.reserve(kSegments);
        std::mt19937 random(2024);
        std::uniform_int_distribution<int> run(1, 3);
        std::uniform_int_distribution<int> rise(-4, 4);
        int x = 10;
        int y = kHeight / 2;
        while (static_cast<int>(result.size()) < kSegments) {
            if (x > kWidth - 10)
                x = 10;
            const int nextX = x + run(random);
            const int nextY = std::clamp(y + rise(random), 5, kHeight - 5);
            result.push_back(Segment{x, y, nextX, nextY});
            x = nextX;
            y = nextY;
        }
        return result;
    }();
    return segments;
}

int PaintedPixels(const TBitmap& bitmap)
{
    // Buffer() is not const because it may first flush the system's queued
    // drawing into the pixels; only reading follows.
    const TPixelBuffer buffer = const_cast<TBitmap&>(bitmap).Buffer();
    const std::uint32_t white = ColorToPixel(clWhite);
    int count = 0;
    for (int y = 0; y < buffer.Height; ++y)
        for (int x = 0; x < buffer.Width; ++x)
            count += buffer.Pixels[y * buffer.Stride + x] != white;
    return count;
}

// One paint of all segments on `canvas`, which is already on its target.
template <typename Draw>
void DrawSegments(TTeeCanvas3D& canvas, Draw&& draw)
{
    canvas.ClipPlot(kPlot, 0, 0);
    for (const Segment& s : Segments())
        draw(s);
    canvas.Unclip();
}

void Report(benchmark::State& state, const TBitmap& image)
{
    state.SetItemsProcessed(state.iterations() * kSegments);
    // Time per segment.
    state.counters["per_segment"] = benchmark::Counter(
        kSegments, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    if (PaintedPixels(image) == 0)
        state.SkipWithError("nothing was painted");
}

void BM_SolidSegments(benchmark::State& state)
{
    TTeeCanvas3D canvas;
    canvas.Pen().SetColor(0xFF8000);
    for (auto _ : state) {
        canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, kWidth, kHeight}, false);
        DrawSegments(canvas, [&](const Segment& s) { canvas.Line(s.x0, s.y0, s.x1, s.y1); });
        canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});
    }
    Report(state, *canvas.Bitmap());
}
BENCHMARK(BM_SolidSegments)->Unit(benchmark::kMillisecond);

// As the line series draws: its pen assigned and its colour set per point.
void BM_SolidSegmentsWithPenSetUp(benchmark::State& state)
{
    TTeeCanvas3D canvas;
    TChartPen linePen;
    for (auto _ : state) {
        canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, kWidth, kHeight}, false);
        DrawSegments(canvas, [&](const Segment& s) {
            canvas.AssignChartPen(linePen);
            canvas.Brush().SetStyle(bsClear);
            canvas.Pen().SetColor(0xFF8000);
            canvas.Line(s.x0, s.y0, s.x1, s.y1);
        });
        canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});
    }
    Report(state, *canvas.Bitmap());
}
BENCHMARK(BM_SolidSegmentsWithPenSetUp)->Unit(benchmark::kMillisecond);

// Unbuffered onto the system's painter: the same pixels, handed to QPainter
// or GDI a line at a time.
void BM_SolidSegmentsThroughPainter(benchmark::State& state)
{
    const auto image = CreateBitmap(kWidth, kHeight, 1, clWhite);
    TTeeCanvas3D canvas;
    canvas.SetUseBuffer(false);
    canvas.Pen().SetColor(0xFF8000);
    for (auto _ : state) {
        const TSystemPaint paint(*image);
        canvas.PrepareSurface(TCanvas(paint.Painter()), nullptr, TRect{0, 0, kWidth, kHeight}, false);
        DrawSegments(canvas, [&](const Segment& s) { canvas.Line(s.x0, s.y0, s.x1, s.y1); });
        canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});
    }
    Report(state, *image);
}
BENCHMARK(BM_SolidSegmentsThroughPainter)->Unit(benchmark::kMillisecond);

void BM_DottedSegments(benchmark::State& state)
{
    TTeeCanvas3D canvas;
    const TDottedGrayPen grid;
    canvas.AssignChartPen(grid);
    for (auto _ : state) {
        canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, kWidth, kHeight}, false);
        DrawSegments(canvas, [&](const Segment& s) { canvas.Line(s.x0, s.y0, s.x1, s.y1); });
        canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});
    }
    Report(state, *canvas.Bitmap());
}
BENCHMARK(BM_DottedSegments)->Unit(benchmark::kMillisecond);

// A window paint with nothing changed.
void BM_RedrawFromBuffer(benchmark::State& state)
{
    const auto window = CreateBitmap(kWidth, kHeight, 1, clWhite);
    TTeeCanvas3D canvas;
    canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, kWidth, kHeight}, false);
    canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});
    for (auto _ : state) {
        const TSystemPaint paint(*window);
        if (!canvas.RedrawFromBuffer(TCanvas(paint.Painter())))
            state.SkipWithError("the buffer was not clean");
        canvas.SetTarget(TCanvas());
    }
}
BENCHMARK(BM_RedrawFromBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace
