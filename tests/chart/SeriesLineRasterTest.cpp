// The one-pass polyline writer against the segment-by-segment line walk it
// must equal, pixel for pixel.
#include "chart/TeeLineRaster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 90;
constexpr std::uint32_t kPaper = 0xFFFFFFFF;

struct Step {
    enum Kind { Move, Line, Colour } kind;
    int x;
    int y;
    std::uint32_t color;
};

std::vector<std::uint32_t> Blank()
{
    return std::vector<std::uint32_t>(static_cast<std::size_t>(kWidth) * kHeight, kPaper);
}

// Every segment walked and painted on its own, in order.
std::vector<std::uint32_t> PaintOneByOne(const std::vector<Step>& steps, const TRect& clip, std::uint32_t color)
{
    std::vector<std::uint32_t> pixels = Blank();
    int x = 0;
    int y = 0;
    for (const Step& step : steps) {
        if (step.kind == Step::Colour) {
            color = step.color;
            continue;
        }
        TLineWalk walk;
        if (step.kind == Step::Line && PlanLine(x, y, step.x, step.y, clip, walk))
            PaintLine(pixels.data(), kWidth, walk, color);
        x = step.x;
        y = step.y;
    }
    return pixels;
}

std::vector<std::uint32_t> PaintWithPlotter(const std::vector<Step>& steps, const TRect& clip, std::uint32_t color)
{
    std::vector<std::uint32_t> pixels = Blank();
    TLinePlotter plotter(pixels.data(), kWidth, clip, color);
    for (const Step& step : steps) {
        if (step.kind == Step::Colour)
            plotter.SetColor(step.color);
        else if (step.kind == Step::Move)
            plotter.MoveTo(step.x, step.y);
        else
            plotter.LineTo(step.x, step.y);
    }
    plotter.Finish();
    return pixels;
}

// A night of readings squeezed into few columns, with sparse stretches,
// jumps far off the buffer, breaks and colour changes.
std::vector<Step> RandomPolyline(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> jitter(-6, 6);
    std::vector<Step> steps{{Step::Move, 5, 40, 0}};
    int x = 5;
    int y = 40;
    for (int i = 0; i < 3000; ++i) {
        const int roll = percent(random);
        if (roll < 70) {
            y += jitter(random);  // dense: stays in its column
        } else if (roll < 85) {
            x += 1 + percent(random) % 3;
        } else if (roll < 90) {
            x += percent(random) % 40 - 20;  // sparse stretch, either way
            y = percent(random) - 5;
        } else if (roll < 93) {
            y = roll % 2 == 0 ? -40000 : 40000;  // far off the buffer
        } else if (roll < 96) {
            steps.push_back({Step::Move, x, y, 0});
            continue;
        } else if (roll < 98) {
            steps.push_back({Step::Colour, 0, 0, 0xFF000000u | static_cast<std::uint32_t>(random() & 0xFFFFFF)});
            continue;
        }
        steps.push_back({Step::Line, x, y, 0});
        if (x > kWidth + 20 || x < -20)
            x = 5;
        if (y < -1000 || y > 1000)
            y = 40;
    }
    return steps;
}

TEST(LinePlotterTest, EqualsTheSegmentBySegmentWalkOnRandomPolylines)
{
    const TRect clips[] = {{0, 0, kWidth, kHeight}, {10, 7, 101, 80}, {30, 30, 31, 60}, {50, 50, 50, 60}};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const std::vector<Step> steps = RandomPolyline(seed);
        for (const TRect& clip : clips) {
            ASSERT_EQ(PaintWithPlotter(steps, clip, 0xFF0080FF), PaintOneByOne(steps, clip, 0xFF0080FF))
                << "seed " << seed << " clip " << clip.Left << "," << clip.Top << "," << clip.Right << ","
                << clip.Bottom;
        }
    }
}

TEST(LinePlotterTest, AColumnOfSegmentsLeavesOutOnlyTheLastEndPoint)
{
    const std::uint32_t ink = 0xFF000000;
    const TRect clip{0, 0, kWidth, kHeight};
    struct Case {
        std::vector<Step> steps;
        int top;  // the column's painted rows, inclusive
        int bottom;
    } cases[] = {
        {{{Step::Move, 7, 20, 0}, {Step::Line, 7, 30, 0}}, 20, 29},
        {{{Step::Move, 7, 20, 0}, {Step::Line, 7, 10, 0}}, 11, 20},
        {{{Step::Move, 7, 20, 0}, {Step::Line, 7, 30, 0}, {Step::Line, 7, 25, 0}}, 20, 30},
        {{{Step::Move, 7, 20, 0}, {Step::Line, 7, 30, 0}, {Step::Line, 7, 35, 0}, {Step::Line, 7, 12, 0}}, 13, 35},
        {{{Step::Move, 7, 20, 0}, {Step::Line, 7, 20, 0}}, 0, -1},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint32_t> pixels = PaintWithPlotter(c.steps, clip, ink);
        for (int y = 0; y < kHeight; ++y) {
            const bool inside = y >= c.top && y <= c.bottom;
            EXPECT_EQ(pixels[static_cast<std::size_t>(y) * kWidth + 7] == ink, inside) << "row " << y;
        }
        EXPECT_EQ(pixels, PaintOneByOne(c.steps, clip, ink));
    }
}

}  // namespace
