// The line series on the main window's chart: which points are drawn, the
// pixels of segments, gaps, the entry at the plot's edge, clipping, stairs,
// markers, readings that cannot be placed, and the one-pass route against
// drawing point by point.
#include "chart/Chart.h"
#include "chart/Series.h"
#include "chart/TeCanvas.h"
#include "chart/TeCanvasRaster.h"
#include "chart/TeeLineRaster.h"

#include "MainWindowChart.h"
#include "ControlWidgets.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr TColor kReading = 0xFF8000;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

using Pixels = std::set<std::pair<int, int>>;

class LineChart : public TChart {
public:
    LineChart() : series(SetUpLikeTheMainWindow(*this)) {}

    QImage Picture() { return Grab(*this).convertToFormat(QImage::Format_RGB32); }

    void Add(const std::vector<double>& readings)
    {
        for (double reading : readings)
            series->AddPoint(series->PointCount(), reading, "", clDefault);
    }

    TPoint At(int index) const { return {series->XPixel(index), series->YPixel(index)}; }
    // Where ClipPlot lets the series draw.
    TRect Clip() const { return {PlotRect().Left + 1, PlotRect().Top + 1, PlotRect().Right, PlotRect().Bottom - 1}; }

    TLineSeries* series = nullptr;
};

Pixels PixelsOf(const QImage& image, TColor color)
{
    Pixels found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (ColorToPixel(color) & 0xFFFFFF))
                found.insert({x, y});
        }
    }
    return found;
}

// The pixels of the given segments as the surface draws one-pixel lines.
Pixels Walked(const std::vector<std::pair<TPoint, TPoint>>& segments, const TRect& clip)
{
    Pixels pixels;
    for (const auto& [from, to] : segments) {
        TLineWalk walk;
        if (PlanLine(from.X, from.Y, to.X, to.Y, clip, walk))
            WalkLine(walk, [&](int x, int y) { pixels.insert({x, y}); });
    }
    return pixels;
}

TEST(SeriesDrawTest, TwoPointsDrawOneSegmentInTheSecondPointsColour)
{
    LineChart chart;
    chart.series->AddPoint(0, 18, "", clDefault);
    chart.series->AddPoint(1, 22, "", clRed);
    const QImage picture = chart.Picture();
    EXPECT_EQ(PixelsOf(picture, clRed), Walked({{chart.At(0), chart.At(1)}}, chart.Clip()));
    EXPECT_TRUE(PixelsOf(picture, kReading).empty());
}

TEST(SeriesDrawTest, ASinglePointDrawsNothingWithoutMarkers)
{
    LineChart chart;
    chart.Add({20});
    const QImage picture = chart.Picture();
    EXPECT_TRUE(PixelsOf(picture, kReading).empty());
}

TEST(SeriesDrawTest, ANullPointBreaksTheLineOnBothSides)
{
    LineChart chart;
    chart.Add({17, 19, 21, 23, 18});
    chart.series->AddPoint(5, 20, "", clNone);
    chart.Add({16, 24});
    chart.Picture();
    chart.series->DeletePoint(2);  // a gap in the middle as well
    chart.series->AddPoint(2, 21, "", clNone);
    const QImage picture = chart.Picture();
    EXPECT_EQ(PixelsOf(picture, kReading),
              Walked({{chart.At(0), chart.At(1)}, {chart.At(3), chart.At(4)}, {chart.At(6), chart.At(7)}},
                     chart.Clip()));
}

TEST(SeriesDrawTest, ARangeStartingBetweenPointsEntersAtTheLeftEdgeAtTheInterpolatedHeight)
{
    LineChart chart;
    for (int i = 0; i < 30; ++i)
        chart.Add({20 + 4 * std::sin(i * 0.7)});
    chart.BottomAxis()->SetRange(10.5, 20.5);
    const QImage picture = chart.Picture();
    EXPECT_EQ(chart.series->FirstVisible(), 11);
    EXPECT_EQ(chart.series->LastVisible(), 21);

    const TChartAxis& bottom = *chart.BottomAxis();
    const double y10 = chart.series->YValue(10);
    const double y11 = chart.series->YValue(11);
    const double x = bottom.PixelToValue(chart.PlotRect().Left);
    const TPoint entry{chart.PlotRect().Left, chart.LeftAxis()->ValueToPixel(y10 + (y11 - y10) * (x - 10))};
    std::vector<std::pair<TPoint, TPoint>> segments{{entry, chart.At(11)}};
    for (int i = 12; i <= 21; ++i)
        segments.push_back({chart.At(i - 1), chart.At(i)});
    const Pixels drawn = PixelsOf(picture, kReading);
    EXPECT_EQ(drawn, Walked(segments, chart.Clip()));
    EXPECT_EQ(drawn.begin()->first, chart.Clip().Left) << "the line starts right at the edge";
    EXPECT_EQ(drawn.rbegin()->first, chart.Clip().Right - 1) << "and leaves the plot at the other";
}

TEST(SeriesDrawTest, AReadingAboveTheAxisIsCutAtTheTopEdge)
{
    LineChart chart;
    chart.Add({20, 26, 20});
    const QImage picture = chart.Picture();
    const Pixels drawn = PixelsOf(picture, kReading);
    EXPECT_LT(chart.At(1).Y, chart.Clip().Top);
    EXPECT_EQ(drawn, Walked({{chart.At(0), chart.At(1)}, {chart.At(1), chart.At(2)}}, chart.Clip()));
    int topmost = picture.height();
    for (const auto& pixel : drawn)
        topmost = std::min(topmost, pixel.second);
    EXPECT_EQ(topmost, chart.Clip().Top);
}

TEST(SeriesDrawTest, StairsRunAtTheOldHeightThenRise)
{
    for (const bool inverted : {false, true}) {
        LineChart chart;
        chart.series->SetStairs(true);
        chart.series->SetInvertedStairs(inverted);
        chart.Add({17, 18});
        const QImage picture = chart.Picture();
        const TPoint a = chart.At(0);
        const TPoint b = chart.At(1);
        const TPoint corner = inverted ? TPoint{a.X, b.Y} : TPoint{b.X, a.Y};
        EXPECT_EQ(PixelsOf(picture, kReading), Walked({{a, corner}, {corner, b}}, chart.Clip())) << inverted;
    }
}

TEST(SeriesDrawTest, ReadingsThatCannotBePlacedAreLeftOutAndTheLineJoinsTheirNeighbours)
{
    const double unplaceable[] = {kInfinity, -kInfinity, 1e300, -1e300, 1e6, 9e15};
    for (const double reading : unplaceable) {
        LineChart chart;
        chart.Add({18, reading, reading, 22});
        const QImage picture = chart.Picture();
        EXPECT_EQ(PixelsOf(picture, kReading), Walked({{chart.At(0), chart.At(3)}}, chart.Clip())) << reading;
        EXPECT_EQ(chart.series->PreviousX(), chart.At(3).X);
    }
}

TEST(SeriesDrawTest, AFirstReadingThatCannotBePlacedLeavesNoLineFromAnEarlierPosition)
{
    LineChart chart;
    chart.Add({kInfinity, 19, 21});
    const QImage first = chart.Picture();
    EXPECT_EQ(PixelsOf(first, kReading), Walked({{chart.At(1), chart.At(2)}}, chart.Clip()));

    // Scrolled so that an infinite reading just left of the plot precedes
    // the first visible point: the line starts at that point.
    chart.Add({kInfinity, 20, 23});
    chart.BottomAxis()->SetRange(3.5, 5);
    const QImage picture = chart.Picture();
    EXPECT_EQ(chart.series->FirstVisible(), 4);
    EXPECT_EQ(PixelsOf(picture, kReading), Walked({{chart.At(4), chart.At(5)}}, chart.Clip()));
}

TEST(SeriesDrawTest, TheVisibleRangeFollowsTheHorizontalAxis)
{
    struct Case {
        double from, to;
        int first, last;
    } cases[] = {{0, 9, 0, 9}, {2, 5, 2, 5}, {2.5, 5.5, 3, 6}, {-5, 3.2, 0, 4}, {9.5, 20, -1, -1}, {3, 3.1, 3, 4}};
    for (const Case& c : cases) {
        LineChart chart;
        for (int i = 0; i < 10; ++i)
            chart.Add({20});
        chart.BottomAxis()->SetRange(c.from, c.to);
        chart.Picture();
        EXPECT_EQ(chart.series->FirstVisible(), c.first) << c.from << ".." << c.to;
        EXPECT_EQ(chart.series->LastVisible(), c.last) << c.from << ".." << c.to;
    }

    // Equal X values: the first of them starts the range.
    LineChart repeated;
    for (double x : {0.0, 1.0, 1.0, 1.0, 2.0, 3.0})
        repeated.series->AddPoint(x, 20, "", clDefault);
    repeated.BottomAxis()->SetRange(1, 2.5);
    repeated.Picture();
    EXPECT_EQ(repeated.series->FirstVisible(), 1);
    EXPECT_EQ(repeated.series->LastVisible(), 5);

    // A value changed out of order: the range is found by walking, as if
    // nothing were known about the order.
    LineChart changed;
    changed.Add({20, 20, 20, 20, 20});
    changed.series->XValues()->SetValueAt(1, 9);
    changed.BottomAxis()->SetRange(2, 3.5);
    changed.Picture();
    EXPECT_EQ(changed.series->FirstVisible(), 1);
    EXPECT_EQ(changed.series->LastVisible(), 1);

    LineChart unordered;
    unordered.series->XValues()->SetOrder(loNone);
    unordered.Add({20, 21, 22});
    unordered.BottomAxis()->SetRange(5, 6);
    unordered.Picture();
    EXPECT_EQ(unordered.series->FirstVisible(), 0);
    EXPECT_EQ(unordered.series->LastVisible(), 2);
}

TEST(SeriesDrawTest, AnEmptySeriesCallsNoDrawEvents)
{
    LineChart chart;
    int events = 0;
    chart.series->SetBeforeDrawValues([&](TObject*) { ++events; });
    chart.series->SetAfterDrawValues([&](TObject*) { ++events; });
    chart.Picture();
    EXPECT_EQ(events, 0);
    chart.Add({20});
    chart.Picture();
    EXPECT_EQ(events, 2);
}

TEST(SeriesDrawTest, MarkersHaveTheShapeOfTheirStyle)
{
    struct Case {
        TSeriesPointerStyle style;
        int left, top, right, bottom;  // extent around the point, inclusive
    } cases[] = {{psRectangle, -4, -3, 4, 3}, {psCircle, -4, -3, 3, 2},  {psTriangle, -4, -3, 4, 3},
                 {psDownTriangle, -4, -3, 4, 3}, {psCross, -4, -3, 4, 3}, {psDiagCross, -4, -3, 4, 3},
                 {psStar, -4, -3, 4, 3},       {psDiamond, -4, -3, 4, 3}, {psSmallDot, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        LineChart chart;
        TSeriesPointer& pointer = chart.series->Pointer();
        pointer.SetVisible(true);
        pointer.SetStyle(c.style);
        pointer.SetVertSize(3);
        pointer.Pen().SetColor(clDefault);
        chart.Add({20});
        const QImage picture = chart.Picture();
        const Pixels drawn = PixelsOf(picture, kReading);
        ASSERT_FALSE(drawn.empty()) << c.style;
        const TPoint centre = chart.At(0);
        int left = 1000, top = 1000, right = -1000, bottom = -1000;
        for (const auto& [x, y] : drawn) {
            left = std::min(left, x - centre.X);
            right = std::max(right, x - centre.X);
            top = std::min(top, y - centre.Y);
            bottom = std::max(bottom, y - centre.Y);
        }
        EXPECT_EQ((std::vector<int>{left, top, right, bottom}), (std::vector<int>{c.left, c.top, c.right, c.bottom}))
            << "style " << c.style;
    }
}

TEST(SeriesDrawTest, OnGetPointerStyleChoosesEachMarker)
{
    LineChart chart;
    chart.series->Pointer().SetVisible(true);
    chart.series->Pointer().Pen().SetColor(clDefault);
    chart.series->SetOnGetPointerStyle([](TChartSeries*, int) { return psSmallDot; });
    chart.Add({18, 22});
    chart.series->LinePen().SetVisible(false);
    const QImage picture = chart.Picture();
    const Pixels drawn = PixelsOf(picture, kReading);
    EXPECT_EQ(drawn, (Pixels{{chart.At(0).X, chart.At(0).Y}, {chart.At(1).X, chart.At(1).Y}}));
}

TEST(SeriesDrawTest, TheMappingOfTheFastRouteEqualsTheAxes)
{
    LineChart chart;
    chart.Add({20, 21});
    for (const bool inverted : {false, true}) {
        chart.LeftAxis()->SetInverted(inverted);
        chart.BottomAxis()->SetInverted(inverted);
        chart.Picture();
        for (const TCustomChartAxis* axis : {static_cast<TCustomChartAxis*>(chart.LeftAxis()),
                                             static_cast<TCustomChartAxis*>(chart.BottomAxis())}) {
            const TAxisPixelMap map(axis->WorkMin(), axis->WorkRange(), axis->AxisSize(), axis->StartPixel(),
                                    axis->EndPixel(), axis->CenterPixel(),
                                    axis->IsHorizontal() ? inverted : !inverted);
            std::mt19937 random(7);
            std::uniform_real_distribution<double> spread(-1e4, 1e4);
            for (int i = 0; i < 40000; ++i) {
                // Every other value lies on a half pixel or a hair beside
                // one, where the rounding is decided.
                const double half = axis->WorkMin() + (std::floor(spread(random)) + 0.5) * axis->WorkRange() /
                                                          axis->AxisSize();
                const double beside = i % 3 == 0 ? half : std::nextafter(half, i % 3 == 1 ? kInfinity : -kInfinity);
                const double value = i % 2 == 0 ? beside : spread(random);
                int pixel = 0;
                ASSERT_TRUE(map.Pixel(value, pixel));
                ASSERT_EQ(pixel, axis->ValueToPixel(value)) << value;
            }
            int pixel = 0;
            EXPECT_FALSE(map.Pixel(kInfinity, pixel));
            EXPECT_FALSE(map.Pixel(std::nan(""), pixel));
            EXPECT_FALSE(map.Pixel(1e300, pixel));
        }
    }
}

// Dense and sparse stretches, null points, gaps, readings off the axis and
// readings that cannot be placed, drawn once into the chart's bitmap in one
// pass and once point by point through a painter.
// For each range of the bottom axis: the picture drawn in one pass into the
// chart's bitmap equals the one drawn point by point through a painter,
// and shows at least `minimumPixels` of the line.
void ExpectOnePassEqualsPointByPoint(LineChart& chart, const std::vector<std::pair<double, double>>& ranges,
                                     std::size_t minimumPixels)
{
    for (const auto& [from, to] : ranges) {
        chart.BottomAxis()->SetRange(from, to);
        chart.Canvas().SetUseBuffer(true);
        const QImage onePass = chart.Picture();
        chart.Canvas().SetUseBuffer(false);
        const QImage pointByPoint = chart.Picture();
        const TRect clip = chart.Clip();
        const QRect plot(clip.Left, clip.Top, clip.Right - clip.Left, clip.Bottom - clip.Top);
        EXPECT_GT(PixelsOf(onePass, kReading).size(), minimumPixels) << from;
        EXPECT_EQ(onePass.copy(plot), pointByPoint.copy(plot)) << from << ".." << to;
    }
}

TEST(SeriesDrawTest, TheOnePassRouteDrawsExactlyThePixelsOfDrawingPointByPoint)
{
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> percent(0, 99);
    std::normal_distribution<double> noise(0, 0.4);
    LineChart chart;
    double x = 0;
    double y = 20;
    int belowAnyPixel = 0;
    for (int i = 0; i < 20000; ++i) {
        const int roll = percent(random);
        x += i < 12000 ? 0.01 : 7;  // dense, then sparse
        y = std::clamp(y + noise(random), 13.0, 27.0);
        double reading = y;
        TColor color = clDefault;
        if (roll == 0) {
            // Unplaceable on either side: infinite, and finite but too far
            // below the axis for any pixel.
            reading = i % 2 == 0 ? kInfinity : -1e300;
            belowAnyPixel += i % 2;
        } else if (roll == 1)
            color = clNone;
        else if (roll == 2)
            reading = 1e9;
        else if (roll == 3 && i % 7 == 0)
            color = clRed;
        chart.series->AddPoint(x, reading, "", color);
    }
    ASSERT_GT(belowAnyPixel, 0);
    ExpectOnePassEqualsPointByPoint(chart, {{-50.0, 60000.0}, {33.3, 61.7}, {200.0, 30000.0}}, 300);
}

// Dense readings put many points into each pixel column, where the one-pass
// route works on whole columns at a time. Blocks of data make every shape a
// column can have: repeats, flat stretches, ramps whose last point is the
// extreme, outliers beyond the axis, and readings that cannot be placed.
TEST(SeriesDrawTest, WholeColumnsOfDenseReadingsDrawExactlyThePixelsOfDrawingPointByPoint)
{
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 0.3);
    std::uniform_int_distribution<int> shape(0, 5);
    LineChart chart;
    double y = 20;
    for (int i = 0; i < 60000; ++i) {
        if (i % 400 == 0)
            y = 20;
        switch ((i / 400 + shape(random) / 5) % 6) {
        case 0:  // a walk in quarter steps: many points share a row
            y = std::clamp(y + std::round(noise(random) * 4) / 4, 14.0, 26.0);
            break;
        case 1:  // flat
            break;
        case 2:  // a ramp: each column's last point is its highest
            y += 0.004;
            break;
        case 3:  // a falling ramp
            y -= 0.004;
            break;
        case 4:  // noise with outliers beyond the axis
            y = 20 + noise(random) * (i % 97 == 0 ? 30 : 1);
            break;
        default:  // now and then a reading that cannot be placed
            y = 20 + noise(random);
            if (i % 53 == 0)
                y = i % 2 == 0 ? kInfinity : std::numeric_limits<double>::quiet_NaN();
            break;
        }
        chart.series->AddPoint(i * 0.0123, y, "", clDefault);
    }
    // The line ends on a column whose last point is its highest: that end
    // point is the one pixel the line leaves out.
    for (int i = 0; i < 40; ++i)
        chart.series->AddPoint(739.5 + i * 0.001, 21 + i * 0.02, "", clDefault);
    ExpectOnePassEqualsPointByPoint(chart, {{0.0, 760.0}, {100.0, 250.0}, {-10.0, 2000.0}}, 3000);
}

// The main window's own series: X counts the readings, and hundreds of
// thousands share the plot's columns, so the summarised extremes of whole
// blocks decide most columns. Flat stretches longer than a column, NaN and
// infinity inside blocks, finite extremes far beyond the axis, flats that
// follow readings whose lowest is the flat's own height; then the same
// after changes in the middle, which the summary must follow.
TEST(SeriesDrawTest, ReadingsCountedFromZeroDrawExactlyThePixelsOfDrawingPointByPoint)
{
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0, 0.3);
    LineChart chart;
    std::vector<double> readings;
    double y = 20;
    for (int i = 0; i < 300000; ++i) {
        const int stretch = i / 3000 % 6;
        if (stretch == 0)
            y = std::clamp(y + noise(random), 14.0, 26.0);
        else if (stretch == 1 && i % 3000 == 0)
            y = std::round(y * 4) / 4;  // flat for a whole stretch
        else if (stretch == 2)
            y = 20 + noise(random) * (i % 1009 == 0 ? 1e6 : 1);
        else if (stretch == 3)
            y = i % 2111 == 0 ? (i % 2 == 0 ? std::numeric_limits<double>::max() : -1e300) : 20 + noise(random);
        else if (stretch == 4)
            y = i % 4099 == 0 ? std::numeric_limits<double>::quiet_NaN() : 18 + noise(random);
        else if (i % 1024 < 512)
            y = i % 256 == 0 ? 17 : 17 + std::abs(noise(random));  // lowest at the flat's height
        else
            y = 17;
        readings.push_back(y);
    }
    chart.Add(readings);
    ASSERT_TRUE(chart.series->XValues()->HoldsIndexes());
    const std::vector<std::pair<double, double>> ranges{
        {0.0, 300000.0}, {-50000.0, 150000.0}, {123456.5, 130000.25}, {140000.0, 140100.0}};
    ExpectOnePassEqualsPointByPoint(chart, ranges, 300);

    chart.series->YValues()->SetValueAt(61000, 25.5);
    chart.series->YValues()->SetValueAt(61001, 14.5);
    chart.series->DeletePoint(3000);
    ASSERT_FALSE(chart.series->XValues()->HoldsIndexes());
    ExpectOnePassEqualsPointByPoint(chart, ranges, 300);
}

}  // namespace
