// The chart side: series joining and leaving charts, ownership, axes and
// their resolution, invalidation and the placeholder paint.
#include "chart/Chart.h"
#include "runtime/qt/QtPainter.h"
#include "chart/Series.h"
#include "chart/TeCanvas.h"

#include "EventLoop.h"
#include "MainWindowChart.h"
#include "PaintCounter.h"
#include "ControlWidgets.h"

#include <QEvent>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

TLineSeries* NewSeries(TColor color = clDefault)
{
    auto* series = new TLineSeries(nullptr);
    series->SetSeriesColor(color);
    return series;
}

// ---- Joining a chart: the free colour

struct FreeColorCase {
    const char* name;
    TColor chartColor;
    TColor backWallColor;
    std::vector<TColor> taken;  // colours of series already in the chart
    TColor expected;
};

void PrintTo(const FreeColorCase& c, std::ostream* out)
{
    *out << c.name;
}

class FreeColorTest : public ::testing::TestWithParam<FreeColorCase> {};

TEST_P(FreeColorTest, ASeriesWithoutColourGetsTheFirstUnusedPaletteEntry)
{
    const FreeColorCase& c = GetParam();
    TChart chart;
    chart.SetColor(c.chartColor);
    chart.BackWall().SetColor(c.backWallColor);
    for (TColor color : c.taken)
        NewSeries(color)->SetParentChart(&chart);
    TLineSeries* series = NewSeries();
    series->SetParentChart(&chart);
    EXPECT_EQ(series->SeriesColor(), c.expected);
}

std::vector<TColor> WholePalette()
{
    return {kDefaultPalette.begin(), kDefaultPalette.end()};
}

INSTANTIATE_TEST_SUITE_P(
    Charts, FreeColorTest,
    ::testing::Values(FreeColorCase{"FreshChart", clBtnFace, clDefault, {}, clRed},
                      FreeColorCase{"SkipsSeriesColours", clBtnFace, clDefault, {clRed, clYellow}, clGreen},
                      FreeColorCase{"SkipsChartColor", clRed, clDefault, {}, clGreen},
                      FreeColorCase{"SkipsBackWallColour", clBtnFace, clRed, {clGreen}, clYellow},
                      FreeColorCase{"MainWindowChart", clWhite, clWhite, {}, clRed},
                      FreeColorCase{"AllUsedGivesEntryZero", clBtnFace, clDefault, WholePalette(), clRed},
                      FreeColorCase{"AllUsedByChartAndSeries", clRed, clGreen,
                                    std::vector<TColor>(kDefaultPalette.begin() + 2, kDefaultPalette.end()), clRed}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChartSeriesTest, AStoredColourSurvivesJoiningInEitherOrder)
{
    TChart chart;
    TLineSeries* first = NewSeries();
    first->SetParentChart(&chart);
    first->SetSeriesColor(0xFF8000);
    TLineSeries* second = NewSeries(0xFF8000);
    second->SetParentChart(&chart);
    EXPECT_EQ(first->SeriesColor(), 0xFF8000u);
    EXPECT_EQ(second->SeriesColor(), 0xFF8000u);
}

// ---- Joining, leaving, moving, ownership

TEST(ChartSeriesTest, JoiningAppendsInvalidatesAndResolvesAxes)
{
    TChart chart;
    TLineSeries* a = NewSeries(clRed);
    TLineSeries* b = NewSeries(clBlue);
    EXPECT_EQ(a->HorizontalAxis(), nullptr);
    const int before = chart.InvalidateCount();
    chart.AddSeries(a);
    b->SetParentChart(&chart);
    EXPECT_EQ(chart.InvalidateCount(), before + 2);
    ASSERT_EQ(chart.SeriesCount(), 2);
    EXPECT_EQ(chart.Series(0), a);
    EXPECT_EQ(chart.SeriesList()[1], b);
    EXPECT_EQ(a->ParentChart(), &chart);
    EXPECT_EQ(a->Owner(), nullptr) << "joining a chart does not change the owner";
    EXPECT_EQ(a->HorizontalAxis(), chart.BottomAxis());
    EXPECT_EQ(a->VerticalAxis(), chart.LeftAxis());
    EXPECT_THROW(chart.Series(2), EListError);

    b->SetActive(false);
    EXPECT_EQ(chart.SeriesList().CountActive(), 1);
    b->SetParentChart(&chart);
    EXPECT_EQ(chart.SeriesCount(), 2) << "joining the same chart again changes nothing";
}

TEST(ChartSeriesTest, MovingASeriesHandsItToTheOtherChart)
{
    auto first = std::make_unique<TChart>();
    TChart second;
    // The owner's list tells whether the series still exists.
    TComponent owner(nullptr);
    TLineSeries* series = NewSeries(clRed);
    owner.InsertComponent(series);
    series->SetParentChart(first.get());
    series->AddPoint(0, 20, "", clDefault);
    const int firstBefore = first->InvalidateCount();
    const int secondBefore = second.InvalidateCount();

    series->SetParentChart(&second);
    EXPECT_EQ(first->SeriesCount(), 0);
    EXPECT_EQ(first->InvalidateCount(), firstBefore + 1);
    ASSERT_EQ(second.SeriesCount(), 1);
    EXPECT_GT(second.InvalidateCount(), secondBefore);
    EXPECT_EQ(series->HorizontalAxis(), second.BottomAxis());
    EXPECT_EQ(series->PointCount(), 1);

    first.reset();
    ASSERT_EQ(owner.ComponentCount(), 1) << "the old chart must not free a series it gave away";
    series->AddPoint(1, 21, "", clDefault);
    EXPECT_EQ(second.Series(0), series);
}

TEST(ChartSeriesTest, DestroyingAChartFreesItsSeriesWithoutCallingTheirHandlers)
{
    TComponent owner(nullptr);
    bool cleared = false;
    {
        TChart chart;
        TLineSeries* series = NewSeries();
        owner.InsertComponent(series);
        series->SetParentChart(&chart);
        series->AddPoint(0, 20, "text", clDefault);
        series->SetOnClearValues([&](TChartSeries*) { cleared = true; });
    }
    EXPECT_EQ(owner.ComponentCount(), 0) << "the series outlived its chart";
    EXPECT_FALSE(cleared);
}

TEST(ChartSeriesTest, ASeriesDestroyedFirstLeavesItsChart)
{
    TChart chart;
    std::unique_ptr<TLineSeries> series(NewSeries(clRed));
    TLineSeries* other = NewSeries(clBlue);
    series->SetParentChart(&chart);
    other->SetParentChart(&chart);
    const int before = chart.InvalidateCount();
    series.reset();
    EXPECT_EQ(chart.SeriesCount(), 1);
    EXPECT_EQ(chart.Series(0), other);
    EXPECT_EQ(chart.InvalidateCount(), before + 1);
}

TEST(ChartSeriesTest, ASeriesThatLeftItsChartStaysWithItsOwner)
{
    TComponent owner(nullptr);
    auto chart = std::make_unique<TChart>();
    auto* series = new TLineSeries(&owner);
    series->SetParentChart(chart.get());
    chart->RemoveSeries(series);
    EXPECT_EQ(chart->SeriesCount(), 0);
    EXPECT_EQ(series->ParentChart(), nullptr);
    EXPECT_EQ(series->HorizontalAxis(), nullptr);

    TChart otherChart;
    chart->RemoveSeries(series);
    otherChart.RemoveSeries(series);
    chart.reset();
    ASSERT_EQ(owner.ComponentCount(), 1) << "a chart freed a series that had left it";
    EXPECT_EQ(series->Owner(), &owner);
    series->AddPoint(0, 1, "", clDefault);
}

// ---- Axes

TEST(ChartAxesTest, TheFiveAxesComeInOrderWithTheirDirections)
{
    TChart chart;
    const struct {
        TCustomChartAxis* axis;
        bool horizontal, otherSide, depth, visible;
    } expected[] = {
        {chart.BottomAxis(), true, false, false, true},  {chart.TopAxis(), true, true, false, true},
        {chart.LeftAxis(), false, false, false, true},   {chart.RightAxis(), false, true, false, true},
        {chart.DepthAxis(), false, true, true, false},
    };
    ASSERT_EQ(chart.AxisCount(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const auto& e = expected[i];
        EXPECT_EQ(chart.Axis(i), e.axis);
        EXPECT_EQ(e.axis->ParentChart(), &chart);
        EXPECT_EQ(e.axis->IsHorizontal(), e.horizontal);
        EXPECT_EQ(e.axis->IsOtherSide(), e.otherSide);
        EXPECT_EQ(e.axis->IsDepth(), e.depth);
        EXPECT_EQ(e.axis->Visible(), e.visible);
    }
    EXPECT_THROW(chart.Axis(5), EListError);
}

TEST(ChartAxesTest, SettersCheckTheirValuesAndKeepTheOldOneOnFailure)
{
    TChart chart;
    TChartAxis& axis = *chart.LeftAxis();
    axis.SetMaximum(25);
    axis.SetMinimum(15);
    const struct {
        const char* message;
        std::function<void()> call;
        bool chartException;
    } cases[] = {
        {"Axis Minimum Value must be <= Maximum", [&] { axis.SetMinimum(30); }, false},
        {"Axis Maximum Value must be >= Minimum", [&] { axis.SetMaximum(10); }, false},
        {"Axis increment must be >= 0", [&] { axis.SetIncrement(-1); }, false},
        {"Labels Separation % must be greater than 0", [&] { axis.SetLabelsSeparation(-1); }, false},
        {"Axis Labels Angle must be between 0 and 359 degrees", [&] { axis.SetLabelsAngle(360); }, true},
        {"Axis Labels Angle must be between 0 and 359 degrees", [&] { axis.SetLabelsAngle(-1); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            c.call();
            ADD_FAILURE() << "no exception";
        } catch (const AxisException& error) {
            EXPECT_FALSE(c.chartException);
            EXPECT_EQ(error.Message(), c.message);
        } catch (const ChartException& error) {
            EXPECT_TRUE(c.chartException);
            EXPECT_EQ(error.Message(), c.message);
        }
    }
    EXPECT_EQ(axis.Minimum(), 15);
    EXPECT_EQ(axis.Maximum(), 25);
    EXPECT_EQ(axis.Increment(), 0);
    EXPECT_EQ(axis.LabelsSeparation(), 10);
    EXPECT_EQ(axis.LabelsAngle(), 0);
}

TEST(ChartAxesTest, BoundsMayCrossWhileTheChartLoads)
{
    TChart chart;
    chart.BeginLoading();
    chart.LeftAxis()->SetMinimum(15);
    chart.LeftAxis()->SetMaximum(25);
    chart.LeftAxis()->SetAutomatic(false);
    chart.EndLoading();
    EXPECT_EQ(chart.LeftAxis()->Minimum(), 15);
    EXPECT_EQ(chart.LeftAxis()->Maximum(), 25);
    EXPECT_FALSE(chart.LeftAxis()->Automatic());
    EXPECT_TRUE(chart.LeftAxis()->AutomaticMinimum()) << "loading sets each flag on its own";
}

TEST(ChartAxesTest, AutomaticFlagsFollowEachOther)
{
    TChart chart;
    TChartAxis& axis = *chart.BottomAxis();
    axis.SetAutomaticMinimum(false);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_TRUE(axis.AutomaticMaximum());
    axis.SetAutomaticMinimum(true);
    EXPECT_TRUE(axis.Automatic()) << "both bounds automatic again";
    axis.SetAutomatic(false);
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    axis.SetAutomaticMaximum(true);
    EXPECT_FALSE(axis.Automatic()) << "the minimum is still fixed";
    axis.SetAutomatic(true);
    EXPECT_TRUE(axis.AutomaticMinimum());
}

// Which axis objects a series binds to, and which axes it counts as its own,
// for every HorizAxis and VertAxis choice.
struct AxisChoiceCase {
    const char* name;
    THorizAxis horiz;
    TVertAxis vert;
    bool customSet;
    // Index into the chart's axes (5 = the custom axis) of the resolved pair.
    int horizontal, vertical;
    // AssociatedToAxis for bottom, top, left, right, depth, custom.
    std::vector<bool> associated;
};

void PrintTo(const AxisChoiceCase& c, std::ostream* out)
{
    *out << c.name;
}

class AxisChoiceTest : public ::testing::TestWithParam<AxisChoiceCase> {};

TEST_P(AxisChoiceTest, ResolvesAxesAndAssociation)
{
    const AxisChoiceCase& c = GetParam();
    TChart chart;
    TChartAxis* customH = chart.AddCustomAxis(true);
    TChartAxis* customV = chart.AddCustomAxis(false);
    TLineSeries* series = NewSeries(clRed);
    series->SetParentChart(&chart);
    if (c.customSet) {
        series->SetCustomHorizAxis(customH);
        series->SetCustomVertAxis(customV);
    }
    series->SetHorizAxis(c.horiz);
    series->SetVertAxis(c.vert);

    const std::vector<TCustomChartAxis*> horizontals = {chart.BottomAxis(), chart.TopAxis(), nullptr,
                                                        nullptr,           nullptr,         customH};
    const std::vector<TCustomChartAxis*> verticals = {nullptr, nullptr, chart.LeftAxis(), chart.RightAxis(), nullptr,
                                                      customV};
    EXPECT_EQ(series->HorizontalAxis(), horizontals[static_cast<std::size_t>(c.horizontal)]);
    EXPECT_EQ(series->VerticalAxis(), verticals[static_cast<std::size_t>(c.vertical)]);

    const std::vector<TCustomChartAxis*> axes = {chart.BottomAxis(), chart.TopAxis(),   chart.LeftAxis(),
                                                 chart.RightAxis(),  chart.DepthAxis(), c.horiz == aCustomHorizAxis ? customH : customV};
    for (std::size_t i = 0; i < axes.size(); ++i)
        EXPECT_EQ(series->AssociatedToAxis(axes[i]), c.associated[i]) << "axis " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Choices, AxisChoiceTest,
    ::testing::Values(
        AxisChoiceCase{"BottomLeft", aBottomAxis, aLeftAxis, false, 0, 2, {true, false, true, false, false, false}},
        AxisChoiceCase{"TopRight", aTopAxis, aRightAxis, false, 1, 3, {false, true, false, true, false, false}},
        AxisChoiceCase{"BothBoth", aBothHorizAxis, aBothVertAxis, false, 0, 2, {true, true, true, true, true, true}},
        AxisChoiceCase{"CustomWithoutAxesFallsBack", aCustomHorizAxis, aCustomVertAxis, false, 0, 2,
                       {true, false, true, false, false, false}},
        AxisChoiceCase{"CustomHorizontal", aCustomHorizAxis, aLeftAxis, true, 5, 2,
                       {false, false, true, false, false, true}},
        AxisChoiceCase{"CustomVertical", aBottomAxis, aCustomVertAxis, true, 0, 5,
                       {true, false, false, false, false, true}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChartAxesTest, ASeriesWithoutChartHasNoAxesAndIgnoresForeignCustomAxes)
{
    TLineSeries series;
    series.SetHorizAxis(aTopAxis);
    EXPECT_EQ(series.HorizontalAxis(), nullptr);
    EXPECT_EQ(series.VerticalAxis(), nullptr);

    TChart chart;
    TChart other;
    TLineSeries* attached = NewSeries(clRed);
    attached->SetParentChart(&chart);
    attached->SetCustomHorizAxis(other.AddCustomAxis(true));
    attached->SetHorizAxis(aCustomHorizAxis);
    EXPECT_EQ(attached->HorizontalAxis(), chart.BottomAxis());
}

// ---- Invalidation and painting

struct SetterCase {
    const char* name;
    std::function<void(TChart&, TLineSeries&)> sameValue;
    std::function<void(TChart&, TLineSeries&)> newValue;
};

void PrintTo(const SetterCase& c, std::ostream* out)
{
    *out << c.name;
}

class SetterInvalidationTest : public ::testing::TestWithParam<SetterCase> {};

TEST_P(SetterInvalidationTest, InvalidatesOnlyWhenTheValueChanges)
{
    const SetterCase& c = GetParam();
    TChart chart;
    TLineSeries* series = NewSeries(clRed);
    series->SetParentChart(&chart);
    series->AddPoint(0, 20, "", clDefault);
    const int before = chart.InvalidateCount();
    c.sameValue(chart, *series);
    EXPECT_EQ(chart.InvalidateCount(), before);
    c.newValue(chart, *series);
    EXPECT_EQ(chart.InvalidateCount(), before + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Setters, SetterInvalidationTest,
    ::testing::Values(
        SetterCase{"ChartColor", [](TChart& c, TLineSeries&) { c.SetColor(clBtnFace); },
                   [](TChart& c, TLineSeries&) { c.SetColor(clWhite); }},
        SetterCase{"MarginTop", [](TChart& c, TLineSeries&) { c.SetMarginTop(4); },
                   [](TChart& c, TLineSeries&) { c.SetMarginTop(5); }},
        SetterCase{"View3D", [](TChart& c, TLineSeries&) { c.SetView3D(true); },
                   [](TChart& c, TLineSeries&) { c.SetView3D(false); }},
        SetterCase{"Chart3DPercent", [](TChart& c, TLineSeries&) { c.SetChart3DPercent(15); },
                   [](TChart& c, TLineSeries&) { c.SetChart3DPercent(20); }},
        SetterCase{"AllowPanning", [](TChart& c, TLineSeries&) { c.SetAllowPanning(pmBoth); },
                   [](TChart& c, TLineSeries&) { c.SetAllowPanning(pmNone); }},
        SetterCase{"AxisVisible", [](TChart& c, TLineSeries&) { c.SetAxisVisible(true); },
                   [](TChart& c, TLineSeries&) { c.SetAxisVisible(false); }},
        SetterCase{"BackWallColor", [](TChart& c, TLineSeries&) { c.SetBackColor(clDefault); },
                   [](TChart& c, TLineSeries&) { c.SetBackColor(clWhite); }},
        SetterCase{"LeftWallSize", [](TChart& c, TLineSeries&) { c.LeftWall().SetSize(0); },
                   [](TChart& c, TLineSeries&) { c.LeftWall().SetSize(3); }},
        SetterCase{"AxisMaximum", [](TChart& c, TLineSeries&) { c.LeftAxis()->SetMaximum(0); },
                   [](TChart& c, TLineSeries&) { c.LeftAxis()->SetMaximum(25); }},
        SetterCase{"AxisVisibleFlag", [](TChart& c, TLineSeries&) { c.BottomAxis()->SetVisible(true); },
                   [](TChart& c, TLineSeries&) { c.BottomAxis()->SetVisible(false); }},
        SetterCase{"AxisAutomatic", [](TChart& c, TLineSeries&) { c.LeftAxis()->SetAutomatic(true); },
                   [](TChart& c, TLineSeries&) { c.LeftAxis()->SetAutomatic(false); }},
        SetterCase{"AxisMinorTickCount", [](TChart& c, TLineSeries&) { c.LeftAxis()->SetMinorTickCount(3); },
                   [](TChart& c, TLineSeries&) { c.LeftAxis()->SetMinorTickCount(1); }},
        SetterCase{"SeriesColor", [](TChart&, TLineSeries& s) { s.SetSeriesColor(clRed); },
                   [](TChart&, TLineSeries& s) { s.SetSeriesColor(0xFF8000); }},
        SetterCase{"SeriesActive", [](TChart&, TLineSeries& s) { s.SetActive(true); },
                   [](TChart&, TLineSeries& s) { s.SetActive(false); }},
        SetterCase{"ColorEachPointOn", [](TChart&, TLineSeries&) {},
                   [](TChart&, TLineSeries& s) { s.SetColorEachPoint(true); }},
        SetterCase{"HorizAxis", [](TChart&, TLineSeries& s) { s.SetHorizAxis(aBottomAxis); },
                   [](TChart&, TLineSeries& s) { s.SetHorizAxis(aTopAxis); }},
        SetterCase{"VertAxis", [](TChart&, TLineSeries& s) { s.SetVertAxis(aLeftAxis); },
                   [](TChart&, TLineSeries& s) { s.SetVertAxis(aBothVertAxis); }},
        SetterCase{"Title", [](TChart&, TLineSeries& s) { s.SetTitle(""); },
                   [](TChart&, TLineSeries& s) { s.SetTitle("Readings"); }},
        SetterCase{"MarksVisible", [](TChart&, TLineSeries& s) { s.Marks().SetVisible(false); },
                   [](TChart&, TLineSeries& s) { s.Marks().SetVisible(true); }},
        SetterCase{"Stairs", [](TChart&, TLineSeries& s) { s.SetStairs(false); },
                   [](TChart&, TLineSeries& s) { s.SetStairs(true); }},
        SetterCase{"PointerVisible", [](TChart&, TLineSeries& s) { s.Pointer().SetVisible(false); },
                   [](TChart&, TLineSeries& s) { s.Pointer().SetVisible(true); }},
        SetterCase{"PointerStyle", [](TChart&, TLineSeries& s) { s.Pointer().SetStyle(psRectangle); },
                   [](TChart&, TLineSeries& s) { s.Pointer().SetStyle(psCircle); }},
        SetterCase{"XDateTime", [](TChart&, TLineSeries& s) { s.XValues()->SetDateTime(false); },
                   [](TChart&, TLineSeries& s) { s.XValues()->SetDateTime(true); }},
        SetterCase{"YMultiplier", [](TChart&, TLineSeries& s) { s.YValues()->SetMultiplier(1); },
                   [](TChart&, TLineSeries& s) { s.YValues()->SetMultiplier(100); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChartPanelTest, WallsRememberTheColourTheChartGaveThem)
{
    TChart chart;
    EXPECT_EQ(chart.BackWall().Color(), clDefault);
    EXPECT_EQ(chart.LeftWall().Color(), 0x80FFFFu);
    EXPECT_EQ(chart.BottomWall().Color(), clWhite);
    EXPECT_FALSE(chart.LeftWall().IsColorStored());
    chart.LeftWall().SetColor(clWhite);
    EXPECT_TRUE(chart.LeftWall().IsColorStored());
    EXPECT_FALSE(chart.BottomWall().IsColorStored());
    chart.SetBackColor(clRed);
    EXPECT_EQ(chart.BackWall().Color(), clRed);
    EXPECT_EQ(chart.InvalidateCount(), 2) << "building the chart asked for no repaint";
}

TEST(ChartPanelTest, Chart3DPercentOutsideOneToHundredIsRefused)
{
    TChart chart;
    for (int bad : {0, 101}) {
        try {
            chart.SetChart3DPercent(bad);
            ADD_FAILURE() << bad;
        } catch (const ChartException& error) {
            EXPECT_EQ(error.Message(), "3D effect percent must be between 1 and 100");
        }
    }
    chart.SetChart3DPercent(100);
    EXPECT_EQ(chart.Chart3DPercent(), 100);
}

TEST(ChartPanelTest, ChangesNeverPaintAndTheirRepaintsAreCoalesced)
{
    TChart chart;
    TLineSeries* series = NewSeries(0xFF8000);
    series->SetParentChart(&chart);
    PaintCounter counter(chart);
    chart.Show();
    ASSERT_TRUE(WaitUntil([&] { return counter.paints > 0; }));
    const int paints = counter.paints;
    const int invalidations = chart.InvalidateCount();

    for (int i = 0; i < 50; ++i)
        series->AddPoint(i, 15 + i % 10, "", clDefault);
    series->ClearPoints();
    series->AddPoint(0, 20, "", clDefault);
    series->DeletePoint(0);
    chart.SetColor(clWhite);
    chart.SetMarginLeft(10);
    chart.LeftAxis()->SetMaximum(25);
    chart.BackWall().SetColor(clWhite);
    series->SetSeriesColor(clRed);
    series->Pointer().SetVisible(true);
    EXPECT_EQ(counter.paints, paints) << "painted inside a change";
    EXPECT_EQ(chart.InvalidateCount(), invalidations + 59);

    ASSERT_TRUE(WaitUntil([&] { return counter.paints > paints; }));
    EXPECT_LT(counter.paints - paints, 10) << "many requests, one paint or few";
}

TEST(ChartPanelTest, PaintFillsTheWindowWithTheChartColorInsideTheBevel)
{
    TChart chart;
    chart.SetBounds(0, 0, 60, 40);
    QImage before = Grab(chart);
    EXPECT_EQ(before.pixel(30, 20), ColorToPixel(clBtnFace));
    chart.SetColor(0xFF8000);
    QImage after = Grab(chart);
    EXPECT_EQ(after.pixel(1, 1), qRgb(0x00, 0x80, 0xFF));
    // The raised bevel: light at the top left, shadow at the bottom right.
    EXPECT_EQ(after.pixel(0, 0), ColorToPixel(clBtnHighlight));
    EXPECT_EQ(after.pixel(59, 39), ColorToPixel(clBtnShadow));
}

}  // namespace

namespace {

// Counts how often the chart is drawn into its picture, as opposed to the
// picture being copied to the window.
class DrawCountingChart : public TChart {
public:
    int draws = 0;

protected:
    void DrawChart(const TRect& rect) override
    {
        ++draws;
        TChart::DrawChart(rect);
    }
};

TEST(ChartPanelTest, AnUnchangedChartIsCopiedFromItsPictureNotDrawnAgain)
{
    DrawCountingChart chart;
    chart.SetBounds(0, 0, 60, 40);
    Grab(chart);
    ASSERT_EQ(chart.draws, 1);
    const TBitmap* picture = chart.Canvas().Bitmap();
    Grab(chart);
    EXPECT_EQ(chart.draws, 1) << "nothing changed: one copy";

    chart.SetColor(clWhite);
    const QImage after = Grab(chart);
    EXPECT_EQ(chart.draws, 2);
    EXPECT_EQ(after.pixel(30, 20), qRgb(255, 255, 255));
    EXPECT_EQ(chart.Canvas().Bitmap(), picture) << "same size: the picture is reused";

    chart.SetBounds(0, 0, 80, 40);
    Grab(chart);
    EXPECT_EQ(chart.draws, 3) << "a new size draws anew";
    EXPECT_EQ(QtImage(*chart.Canvas().Bitmap()).width(), 80);
}

}  // namespace
