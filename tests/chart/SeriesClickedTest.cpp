// Which point of the line lies under the mouse: the segments a paint drew,
// within a few pixels, inside the plot, and the markers.
#include "chart/Chart.h"
#include "chart/Series.h"

#include "MainWindowChart.h"
#include "ControlWidgets.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

class ClickedSeries : public ::testing::Test {
protected:
    ClickedSeries() : series(SetUpLikeTheMainWindow(chart)) {}

    // What the mouse finds only exists once the chart has been drawn.
    void Paint() { Grab(chart); }
    QPoint At(int index) const { return {series->XPixel(index), series->YPixel(index)}; }
    int ClickedAt(QPoint at) const { return series->Clicked(at.x(), at.y()); }

    TChart chart;
    TLineSeries* series;
};

TEST_F(ClickedSeries, ASegmentAnswersWithItsNearerEndWithinThreePixels)
{
    // Steep segments, about 25 pixels wide and 145 high.
    for (int i = 0; i <= 20; ++i)
        series->AddPoint(i, i % 2 == 0 ? 18 : 22, "", clDefault);
    EXPECT_EQ(ClickedAt(At(1)), -1) << "nothing drawn yet";
    Paint();

    const QPoint a = At(4), b = At(5);
    const QPoint quarter = a + (b - a) / 4;
    EXPECT_EQ(ClickedAt(quarter), 4);
    EXPECT_EQ(ClickedAt(a + (b - a) * 3 / 4), 5);
    EXPECT_EQ(ClickedAt(At(7)), 7);
    // Sideways is nearly across the line.
    EXPECT_EQ(ClickedAt(quarter + QPoint(3, 0)), 4);
    EXPECT_EQ(ClickedAt(quarter - QPoint(3, 0)), 4);
    EXPECT_EQ(ClickedAt(quarter + QPoint(5, 0)), -1);
    // The last point sits on the plot's right edge, where the line is cut.
    EXPECT_EQ(At(20).x(), chart.PlotRect().Right);
    EXPECT_EQ(ClickedAt(At(20)), -1);
    EXPECT_EQ(ClickedAt(At(20) - QPoint(1, 0)), 20);
}

TEST_F(ClickedSeries, OnlyWhatThePaintShowsInsideThePlotCounts)
{
    // A reading above the axis' top: the line leaves the plot and is cut.
    series->AddPoint(0, 20, "", clDefault);
    series->AddPoint(1, 27, "", clDefault);
    series->AddPoint(2, 20, "", clDefault);
    Paint();
    const TRect plot = chart.PlotRect();
    ASSERT_LT(At(1).y(), plot.Top);
    EXPECT_EQ(ClickedAt(At(1)), -1);
    EXPECT_EQ(ClickedAt(QPoint(At(1).x(), plot.Top - 2)), -1);
    EXPECT_EQ(ClickedAt(QPoint(At(1).x(), plot.Top + 1)), -1) << "the peak lies above the plot";
    EXPECT_EQ(ClickedAt(At(0)), 0);
}

TEST_F(ClickedSeries, ANullPointLeavesAGapAndMarkersAnswerForTheirPoint)
{
    series->AddPoint(0, 18, "", clDefault);
    series->AddPoint(1, 20, "", clNone);
    series->AddPoint(2, 22, "", clDefault);
    series->AddPoint(3, 18, "", clDefault);
    Paint();
    // The line from point 0 to point 2 is not drawn.
    EXPECT_EQ(ClickedAt((At(0) + At(2)) / 2), -1);
    EXPECT_EQ(ClickedAt(At(2) + (At(3) - At(2)) / 4), 2);

    // With the line not clickable only the markers answer, over their size.
    series->SetClickableLine(false);
    EXPECT_EQ(ClickedAt((At(2) + At(3)) / 2), -1);
    series->Pointer().SetVisible(true);
    Paint();
    EXPECT_EQ(ClickedAt(At(3) + QPoint(4, -4)), 3);
    EXPECT_EQ(ClickedAt(At(3) + QPoint(5, 0)), -1);
}

TEST_F(ClickedSeries, StairsAnswerAlongTheirSteps)
{
    series->AddPoint(0, 17, "", clDefault);
    series->AddPoint(1, 23, "", clDefault);
    series->SetStairs(true);
    Paint();
    // Run first, then rise: the corner is at the first point's height.
    const QPoint corner(At(1).x(), At(0).y());
    EXPECT_EQ(ClickedAt(corner), 1);
    EXPECT_EQ(ClickedAt((At(0) + At(1)) / 2), -1);
    series->SetInvertedStairs(true);
    Paint();
    EXPECT_EQ(ClickedAt(QPoint(At(0).x() + 1, At(1).y())), 0);
    EXPECT_EQ(ClickedAt(corner), -1);
}

// With X in order the points near the mouse are found by halving; the
// answers are those of looking at every point.
TEST_F(ClickedSeries, HalvingFindsWhatLookingAtEveryPointFinds)
{
    for (int i = 0; i < 20000; ++i) {
        const double reading = 20 + 4 * std::sin(i / 700.0) + ((i * 7919) % 101) / 60.0;
        series->AddPoint(i, reading, "", i % 997 == 0 ? clNone : clDefault);
    }
    series->AddPoint(20000, 1e300, "", clDefault);
    series->AddPoint(20001, 19, "", clDefault);
    Paint();
    std::vector<int> halving;
    for (int y = 0; y < chart.Height(); y += 5)
        for (int x = 0; x < chart.Width(); x += 3)
            halving.push_back(series->Clicked(x, y));

    series->XValues()->SetOrder(loNone);
    Paint();
    std::vector<int> everyPoint;
    for (int y = 0; y < chart.Height(); y += 5)
        for (int x = 0; x < chart.Width(); x += 3)
            everyPoint.push_back(series->Clicked(x, y));

    int hits = 0;
    for (int answer : halving)
        hits += answer >= 0;
    EXPECT_GT(hits, 300);
    EXPECT_EQ(halving, everyPoint);
}

}  // namespace
