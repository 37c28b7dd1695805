// Series points: AddPoint and its events, ClearPoints and DeletePoint,
// colours and texts, dependent series, and the line series' settings.
#include "chart/Chart.h"
#include "chart/Series.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr TColor kReadingColor = 0xFF8000;

struct Point {
    double x;
    double y;
    std::string label;
    TColor color;
    friend bool operator==(const Point&, const Point&) = default;
};

std::ostream& operator<<(std::ostream& out, const Point& p)
{
    return out << "(" << p.x << ", " << p.y << ", \"" << p.label << "\", " << std::hex << p.color << std::dec << ")";
}

std::vector<Point> Points(const TChartSeries& series)
{
    std::vector<Point> points;
    for (int i = 0; i < series.PointCount(); ++i)
        points.push_back({series.XValue(i), series.YValue(i), series.PointLabel(i), series.PointColor(i)});
    return points;
}

// A line series attached to a chart, as the main window has it. The chart
// owns the series.
class SeriesOnChartTest : public ::testing::Test {
protected:
    SeriesOnChartTest()
    {
        series->SetSeriesColor(kReadingColor);
        series->SetParentChart(&chart);
    }

    int Invalidations() const { return chart.InvalidateCount(); }

    TChart chart;
    TLineSeries* series = new TLineSeries(nullptr);
};

// ---- AddPoint

TEST_F(SeriesOnChartTest, PointsStayAlignedAndEqualXKeepsArrivalOrder)
{
    EXPECT_EQ(series->AddPoint(1, 10, "a", clRed), 0);
    EXPECT_EQ(series->AddPoint(2, 20, "", clDefault), 1);
    EXPECT_EQ(series->AddPoint(1, 30, "c", clGreen), 1);
    EXPECT_EQ(series->AddPoint(0, 40, "", clDefault), 0);
    EXPECT_EQ(Points(*series), (std::vector<Point>{{0, 40, "", kReadingColor},
                                                   {1, 10, "a", clRed},
                                                   {1, 30, "c", clGreen},
                                                   {2, 20, "", kReadingColor}}));
}

TEST_F(SeriesOnChartTest, ReadingsAfterAHandshakeCountFromZeroAgain)
{
    for (int i = 0; i < 3; ++i)
        series->AddPoint(i, 19.5 + i, "", clDefault);
    series->ClearPoints();
    EXPECT_EQ(series->PointCount(), 0);
    EXPECT_EQ(series->AddPoint(0, 18.25, "", clDefault), 0);
    EXPECT_EQ(series->AddPoint(1, 18.5, "", clDefault), 1);
    EXPECT_EQ(Points(*series), (std::vector<Point>{{0, 18.25, "", kReadingColor}, {1, 18.5, "", kReadingColor}}));
}

TEST_F(SeriesOnChartTest, EachAddedPointAsksForOneRepaintWhileActive)
{
    const int before = Invalidations();
    series->AddPoint(0, 20, "", clDefault);
    EXPECT_EQ(Invalidations(), before + 1);
    series->SetActive(false);
    const int inactive = Invalidations();
    series->AddPoint(1, 20, "", clDefault);
    EXPECT_EQ(Invalidations(), inactive);
}

TEST_F(SeriesOnChartTest, RefusedAdditionStoresAndTellsNothing)
{
    series->AddPoint(0, 20, "", clDefault);
    int afterAdds = 0;
    series->SetOnAfterAdd([&](TChartSeries*, int) { ++afterAdds; });
    series->SetOnBeforeAdd([](TChartSeries*) { return false; });
    const int before = Invalidations();
    EXPECT_EQ(series->AddPoint(1, 21, "x", clRed), -1);
    EXPECT_EQ(series->PointCount(), 1);
    EXPECT_EQ(afterAdds, 0);
    EXPECT_EQ(Invalidations(), before);
    EXPECT_EQ(series->YValues()->HighestValue(), 20);
}

TEST_F(SeriesOnChartTest, BeforeAddSeesAndMayChangeThePendingValues)
{
    series->SetOnBeforeAdd([](TChartSeries* sender) {
        EXPECT_EQ(sender->XValues()->PendingValue(), 3);
        EXPECT_EQ(sender->YValues()->PendingValue(), 17.5);
        EXPECT_EQ(sender->PointCount(), 0);
        sender->XValues()->SetPendingValue(42);
        sender->YValues()->SetPendingValue(-1);
        return true;
    });
    EXPECT_EQ(series->AddPoint(3, 17.5, "", clDefault), 0);
    EXPECT_EQ(series->XValue(0), 42);
    EXPECT_EQ(series->YValue(0), -1);
}

TEST_F(SeriesOnChartTest, AfterAddGetsTheIndexWhereThePointWent)
{
    std::vector<int> indexes;
    series->SetOnAfterAdd([&](TChartSeries* sender, int index) {
        EXPECT_EQ(sender, series);
        EXPECT_EQ(sender->XValue(index), sender->XValues()->PendingValue());
        indexes.push_back(index);
    });
    for (double x : {5.0, 7.0, 6.0, 1.0})
        series->AddPoint(x, 20, "", clDefault);
    EXPECT_EQ(indexes, (std::vector<int>{0, 1, 1, 0}));
}

// ---- ClearPoints and DeletePoint

TEST_F(SeriesOnChartTest, ClearHandlerSeesAnEmptySeriesBeforeTheRepaintRequest)
{
    for (int pointsBefore : {3, 0}) {
        SCOPED_TRACE(pointsBefore);
        for (int i = 0; i < pointsBefore; ++i)
            series->AddPoint(i, 20, "t", clDefault);
        const int before = Invalidations();
        int calls = 0;
        series->SetOnClearValues([&](TChartSeries* sender) {
            ++calls;
            EXPECT_EQ(sender, series);
            EXPECT_EQ(sender->PointCount(), 0);
            EXPECT_EQ(sender->YValues()->Count(), 0);
            EXPECT_EQ(sender->PointStorageBytes(), 0u);
            EXPECT_EQ(Invalidations(), before) << "repaint requested before the handler ran";
        });
        series->ClearPoints();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(Invalidations(), before + 1);
    }
}

TEST_F(SeriesOnChartTest, ClearingAnInactiveSeriesAsksForNoRepaint)
{
    series->AddPoint(0, 20, "", clDefault);
    series->SetActive(false);
    const int before = Invalidations();
    series->ClearPoints();
    EXPECT_EQ(Invalidations(), before);
}

TEST_F(SeriesOnChartTest, DeletePointRemovesThePointFromEveryStore)
{
    series->AddPoint(0, 10, "zero", clRed);
    series->AddPoint(1, 11, "", clDefault);
    series->AddPoint(2, 12, "two", clNone);
    const int before = Invalidations();
    series->DeletePoint(0);
    EXPECT_EQ(Invalidations(), before + 1);
    EXPECT_EQ(Points(*series), (std::vector<Point>{{1, 11, "", kReadingColor}, {2, 12, "two", clNone}}));
    EXPECT_EQ(series->YValues()->LowestValue(), 11);

    EXPECT_THROW(series->DeletePoint(2), EListError);
    EXPECT_THROW(series->DeletePoint(-1), EListError);
    EXPECT_THROW(series->PointLabel(2), EListError);
    EXPECT_EQ(series->PointCount(), 2);
}

// ---- Colours

TEST_F(SeriesOnChartTest, PointColorResolvesStoredDefaultAndPaletteColours)
{
    for (int i = 0; i < 18; ++i)
        series->AddPoint(i, 20, "", clDefault);
    series->AddPoint(18, 20, "", clNone);
    series->AddPoint(19, 20, "", clRed);

    EXPECT_EQ(series->PointColor(17), kReadingColor);
    EXPECT_EQ(series->PointColor(19), clRed);
    EXPECT_TRUE(series->IsNullPoint(18));
    EXPECT_FALSE(series->IsNullPoint(17));
    // Indexes without a stored colour give the series' colour.
    EXPECT_EQ(series->PointColor(20), kReadingColor);
    EXPECT_EQ(series->PointColor(-1), kReadingColor);

    series->SetColorEachPoint(true);
    EXPECT_EQ(series->PointColor(0), 0x0000FFu);
    EXPECT_EQ(series->PointColor(17), 0x008000u);
    EXPECT_EQ(series->PointColor(15), 0x000000u);
    EXPECT_TRUE(series->IsNullPoint(18));
    EXPECT_EQ(series->PointColor(19), clRed);
}

TEST_F(SeriesOnChartTest, ColorEachPointOffResetsStoredColoursEvenWhenUnchanged)
{
    series->AddPoint(0, 20, "", clRed);
    series->AddPoint(1, 20, "", clNone);
    ASSERT_FALSE(series->ColorEachPoint());
    const int before = Invalidations();
    series->SetColorEachPoint(false);
    EXPECT_EQ(series->PointColor(0), kReadingColor);
    EXPECT_FALSE(series->IsNullPoint(1));
    EXPECT_EQ(Invalidations(), before + 2) << "one repaint request per reset point";
}

TEST(DefaultPaletteTest, IndexesWrapAroundSixteenEntries)
{
    EXPECT_EQ(DefaultPaletteColor(0), 0x0000FFu);
    EXPECT_EQ(DefaultPaletteColor(1), 0x008000u);
    EXPECT_EQ(DefaultPaletteColor(13), 0xC0C0C0u);
    EXPECT_EQ(DefaultPaletteColor(16), 0x0000FFu);
    EXPECT_EQ(DefaultPaletteColor(33), 0x008000u);
    EXPECT_EQ(DefaultPaletteColor(-1), 0x000000u);
}

// ---- Texts and storage

TEST(SeriesStorageTest, TextsColoursAndXValuesCostMemoryOnlyFromTheFirstPointThatNeedsThem)
{
    TLineSeries series;
    for (int i = 0; i < 1000; ++i)
        series.AddPoint(i, 20, "", clDefault);
    // X counting the points holds nothing: Y's 8 bytes a point, and room to
    // grow.
    EXPECT_GE(series.PointStorageBytes(), 1000u * 8);
    EXPECT_LE(series.PointStorageBytes(), 1000u * 9);

    const std::size_t indexesOnly = series.PointStorageBytes();
    series.AddPoint(500.5, 20, "a text long enough to need its own storage", clDefault);
    // Now X 8 and a text slot of 4 bytes a point.
    EXPECT_GT(series.PointStorageBytes(), indexesOnly + 1000 * 12);
    EXPECT_EQ(series.PointLabel(501), "a text long enough to need its own storage");
    EXPECT_EQ(series.PointLabel(500), "");
    EXPECT_EQ(series.PointLabel(502), "");
    EXPECT_EQ(series.XValue(502), 501);

    const std::size_t withTexts = series.PointStorageBytes();
    series.AddPoint(2000, 21, "", clRed);
    series.AddPoint(2001, 22, "", clDefault);
    EXPECT_GT(series.PointStorageBytes(), withTexts + 1000 * 4);
    EXPECT_EQ(series.PointColor(1001), clRed);
    EXPECT_EQ(series.PointColor(1002), series.SeriesColor());
    EXPECT_EQ(series.PointColor(7), series.SeriesColor());
    series.SetColorEachPoint(true);
    EXPECT_EQ(series.PointColor(17), DefaultPaletteColor(17)) << "a point stored before the first colour";
    EXPECT_EQ(series.PointColor(1001), clRed);

    series.ClearPoints();
    EXPECT_EQ(series.PointStorageBytes(), 0u);
}

TEST(SeriesStorageTest, TextsFollowTheirPointsThroughDeletionsAndReuse)
{
    TLineSeries series;
    series.AddPoint(0, 0, "zero", clDefault);
    series.AddPoint(1, 0, "", clDefault);
    series.AddPoint(2, 0, "two", clDefault);
    series.DeletePoint(0);
    series.AddPoint(0.5, 0, "half", clDefault);
    series.AddPoint(3, 0, "three", clDefault);
    std::vector<std::string> labels;
    for (int i = 0; i < series.PointCount(); ++i)
        labels.push_back(series.PointLabel(i));
    EXPECT_EQ(labels, (std::vector<std::string>{"half", "", "two", "three"}));
}

TEST(SeriesStorageTest, SortByOrderMovesEveryStoreTogether)
{
    TLineSeries series;
    series.XValues()->SetOrder(loNone);
    series.AddPoint(3, 30, "c", clRed);
    series.AddPoint(1, 10, "", clDefault);
    series.AddPoint(2, 20, "b", clGreen);
    series.AddPoint(1, 11, "a2", clDefault);
    series.SetSeriesColor(clBlue);

    series.XValues()->SetOrder(loAscending);
    series.XValues()->SortByOrder();
    EXPECT_EQ(Points(series), (std::vector<Point>{{1, 10, "", clBlue},
                                                  {1, 11, "a2", clBlue},
                                                  {2, 20, "b", clGreen},
                                                  {3, 30, "c", clRed}}));
    series.YValues()->SetOrder(loDescending);
    series.YValues()->SortByOrder();
    EXPECT_EQ(series.XValue(0), 3);
    EXPECT_EQ(series.PointLabel(0), "c");
    EXPECT_EQ(series.YValues()->LowestValue(), 10);
}

// ---- Dependent series

TEST(DependentSeriesTest, ADependentFollowsItsSourceWhileInAChart)
{
    TChart chart;
    auto* source = new TLineSeries(nullptr);
    auto* copy = new TLineSeries(nullptr);
    source->SetParentChart(&chart);
    source->AddPoint(0, 10, "first", clRed);
    copy->SetDataSource(source);
    copy->SetSeriesColor(source->SeriesColor());
    copy->SetParentChart(&chart);
    EXPECT_EQ(Points(*copy), Points(*source));

    source->AddPoint(1, 11, "", clDefault);
    source->AddPoint(2, 12, "", clDefault);
    source->DeletePoint(1);
    EXPECT_EQ(Points(*copy), Points(*source));
    source->YValues()->SetMultiplier(2);
    EXPECT_EQ(copy->YValue(1), 24);
    source->ClearPoints();
    EXPECT_EQ(copy->PointCount(), 0);

    copy->SetParentChart(nullptr);
    source->AddPoint(5, 5, "", clDefault);
    EXPECT_EQ(copy->PointCount(), 0) << "a series outside a chart does not follow";
    std::unique_ptr<TLineSeries> detached(copy);
    EXPECT_EQ(detached->DataSource(), source);
}

TEST(DependentSeriesTest, NoSeriesFeedsItself)
{
    TLineSeries a;
    TLineSeries b;
    b.SetDataSource(&a);
    EXPECT_THROW(a.SetDataSource(&a), ChartException);
    EXPECT_THROW(a.SetDataSource(&b), ChartException);
    EXPECT_EQ(a.DataSource(), nullptr);
}

TEST(DependentSeriesTest, DestroyingEitherEndUnlinksTheOther)
{
    TChart chart;
    auto source = std::make_unique<TLineSeries>(nullptr);
    auto* copy = new TLineSeries(nullptr);
    source->SetParentChart(&chart);
    copy->SetParentChart(&chart);
    copy->SetDataSource(source.get());
    source->AddPoint(0, 1, "", clDefault);
    source.reset();
    EXPECT_EQ(copy->DataSource(), nullptr);
    EXPECT_EQ(copy->PointCount(), 1);

    auto other = std::make_unique<TLineSeries>(nullptr);
    other->SetParentChart(&chart);
    {
        std::unique_ptr<TLineSeries> follower(new TLineSeries(nullptr));
        follower->SetParentChart(&chart);
        follower->SetDataSource(other.get());
    }
    other->AddPoint(0, 1, "", clDefault);
    EXPECT_EQ(chart.SeriesCount(), 2);
}

// ---- Line series settings

TEST(LineSeriesTest, DrawsLinesWithoutMarkersUnlikeItsBase)
{
    TLineSeries line;
    TCustomSeries custom;
    EXPECT_TRUE(line.DrawLine());
    EXPECT_FALSE(line.Pointer().Visible());
    EXPECT_FALSE(custom.DrawLine());
    EXPECT_TRUE(custom.Pointer().Visible());
    EXPECT_EQ(line.SeriesColor(), clDefault);
    EXPECT_EQ(line.FirstVisible(), -1);
}

TEST(LineSeriesTest, PointerSizesBelowOneAreRefused)
{
    TLineSeries line;
    for (int bad : {0, -3}) {
        try {
            line.Pointer().SetHorizSize(bad);
            ADD_FAILURE() << bad;
        } catch (const ChartException& error) {
            EXPECT_EQ(error.Message(), "Pointer size must be greater than zero");
        }
        EXPECT_THROW(line.Pointer().SetVertSize(bad), ChartException);
    }
    EXPECT_EQ(line.Pointer().HorizSize(), 4);
    EXPECT_EQ(line.Pointer().VertSize(), 4);
}

struct MarginCase {
    const char* name;
    bool pointerVisible;
    bool inflate;
    bool stairs;
    int lineHeight;
    int left, right, top, bottom;
};

void PrintTo(const MarginCase& c, std::ostream* out)
{
    *out << c.name;
}

class LineMarginsTest : public ::testing::TestWithParam<MarginCase> {};

TEST_P(LineMarginsTest, LeaveRoomForMarkersStairsAndLineHeight)
{
    const MarginCase& c = GetParam();
    TLineSeries line;
    line.Pointer().SetVisible(c.pointerVisible);
    line.Pointer().SetInflateMargins(c.inflate);
    line.Pointer().SetHorizSize(3);
    line.Pointer().SetVertSize(5);
    line.SetStairs(c.stairs);
    line.SetLineHeight(c.lineHeight);
    int left = -1, right = -1, top = -1, bottom = -1;
    line.HorizMargins(left, right);
    line.VertMargins(top, bottom);
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(right, c.right);
    EXPECT_EQ(top, c.top);
    EXPECT_EQ(bottom, c.bottom);
}

INSTANTIATE_TEST_SUITE_P(Settings, LineMarginsTest,
                         ::testing::Values(MarginCase{"MainWindow", false, true, false, 0, 0, 0, 0, 0},
                                           MarginCase{"VisibleMarker", true, true, false, 0, 4, 4, 6, 6},
                                           MarginCase{"MarkerNotInflating", true, false, false, 0, 0, 0, 0, 0},
                                           MarginCase{"Stairs", false, true, true, 0, 1, 1, 1, 2},
                                           MarginCase{"MarkerAndStairs", true, true, true, 0, 4, 4, 6, 6},
                                           MarginCase{"LineHeight", false, true, false, 9, 0, 0, 0, 9},
                                           MarginCase{"LineHeightBelowMarker", true, true, false, 3, 4, 4, 6, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineSeriesTest, AssignHidesMarkersFromOtherKindsAndKeepsTheLine)
{
    TCustomSeries custom;
    custom.Pointer().SetVisible(true);
    custom.Pointer().SetStyle(psDiamond);
    custom.SetStairs(true);
    custom.SetSeriesColor(clRed);
    custom.SetHorizAxis(aTopAxis);
    custom.YValues()->SetMultiplier(3);
    custom.AddPoint(0, 1, "", clDefault);

    TLineSeries line;
    line.Assign(custom);
    EXPECT_FALSE(line.Pointer().Visible());
    EXPECT_EQ(line.Pointer().Style(), psDiamond);
    EXPECT_TRUE(line.Stairs());
    EXPECT_TRUE(line.DrawLine());
    EXPECT_EQ(line.SeriesColor(), clRed);
    EXPECT_EQ(line.HorizAxis(), aTopAxis);
    EXPECT_EQ(line.YValues()->Multiplier(), 3);
    EXPECT_EQ(line.PointCount(), 0);

    TLineSeries other;
    other.Pointer().SetVisible(true);
    line.Assign(other);
    EXPECT_TRUE(line.Pointer().Visible());
}

}  // namespace
