// The axis' arithmetic: label steps, label texts, value <-> pixel mapping,
// ranges from the series, and the mouse operations' range changes.
#include "chart/Chart.h"
#include "chart/Series.h"
#include "chart/TeeFormat.h"
#include "runtime/NumberText.h"
#include "ControlWidgets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

// ---- NextNiceStep and the label step

TEST(AxisStepTest, NextNiceStepClimbsOneTwoFive)
{
    const struct {
        double from, expected;
    } cases[] = {
        {1, 2},     {2, 5},      {3, 5},        {5, 10},    {10, 20},   {20, 50},    {50, 100},
        {1.5, 2},   {4.99, 5},   {9, 10},       {0.1, 0.2}, {0.2, 0.5}, {0.5, 1},    {0.001, 0.002},
        {300, 500}, {1000, 2000}, {7e6, 1e7},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(NextNiceStep(c.from), c.expected, c.expected * 1e-12) << c.from;
    // From the smallest step the decades' rounding may cost one extra call,
    // but the sequence always grows.
    double step = 1e-12;
    for (int i = 0; i < 40; ++i) {
        const double next = NextNiceStep(step);
        ASSERT_GT(next, step);
        step = next;
    }
    EXPECT_GT(step, 1e-6);
}

TEST(AxisStepTest, NextNiceStepLeavesWhatItCannotGrow)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(NextNiceStep(0), 0);
    EXPECT_EQ(NextNiceStep(-3), -3);
    EXPECT_EQ(NextNiceStep(inf), inf);
    EXPECT_TRUE(std::isnan(NextNiceStep(std::nan(""))));
    EXPECT_GT(NextNiceStep(std::numeric_limits<double>::denorm_min()), 0);
}

struct StepCase {
    const char* name;
    double range;
    int axisSize, labelSize;
    double increment;
    int separation;
    double expected;
};

void PrintTo(const StepCase& c, std::ostream* out)
{
    *out << c.name;
}

class LabelStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(LabelStepTest, PicksTheStepThatFits)
{
    const StepCase& c = GetParam();
    EXPECT_DOUBLE_EQ(LabelStepFor(c.range, c.axisSize, c.labelSize, c.increment, c.separation), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, LabelStepTest,
    ::testing::Values(
        // The main window's left axis: 10 units on 353 pixels, labels 13 high.
        StepCase{"MainWindowAxis", 10, 353, 13, 0, 10, 1},
        StepCase{"FewPixelsGrowTheStep", 10, 60, 13, 0, 10, 5},
        StepCase{"BigRange", 1000, 353, 13, 0, 10, 50},
        StepCase{"SmallRange", 0.5, 353, 13, 0, 10, 0.02},
        StepCase{"IncrementGrowsFromThree", 100, 353, 13, 3, 10, 5},
        StepCase{"IncrementKeptWhenItFits", 10, 353, 13, 2, 10, 2},
        StepCase{"NoSeparationKeepsTheStart", 5000, 353, 13, 0, 0, 1},
        StepCase{"NoSeparationSmallRange", 0.5, 353, 13, 0, 0, 1e-12},
        StepCase{"NoRoomForALabel", 10, 5, 13, 0, 10, 1e-12},
        StepCase{"FirstPaintHasNoLength", 10, 0, 13, 0, 10, 1e-12},
        StepCase{"NoLabelSizeMeansOneLabel", 10, 353, 0, 0, 10, 10},
        StepCase{"EmptyRange", 0, 353, 13, 0, 10, 1e-12}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AxisStepTest, AnInfiniteRangeEndsTheSearch)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(LabelStepFor(inf, 353, 13, 0, 10), inf);
    EXPECT_GE(LabelStepFor(std::nan(""), 353, 13, 0, 10), 1e-12);
}

// ---- Label texts

class SeparatorGuard {
public:
    SeparatorGuard() : FDecimal(DecimalSeparator()), FThousand(ThousandSeparator()) {}
    ~SeparatorGuard()
    {
        SetDecimalSeparator(FDecimal);
        SetThousandSeparator(FThousand);
    }

private:
    char FDecimal;
    char FThousand;
};

TEST(AxisLabelTextTest, FormatsByThePatternAndTheProcessSeparators)
{
    SeparatorGuard guard;
    SetDecimalSeparator('.');
    SetThousandSeparator(',');
    const struct {
        const char* pattern;
        double value;
        const char* expected;
    } cases[] = {
        {"#,##0.###", 25, "25"},
        {"#,##0.###", 1234.5, "1,234.5"},
        {"#,##0.###", 0.0004, "0"},
        {"#,##0.###", -0.0004, "0"},
        {"#,##0.###", 0.0005, "0.001"},
        {"#,##0.###", -1234567.891, "-1,234,567.891"},
        {"#,##0.###", 19.53, "19.53"},
        {"#,##0.###", 1e-12 * 1.5e13, "15"},
        {"0.00", 2.5, "2.50"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"#.##", 0.5, ".5"},
        {"000", 7, "007"},
        {"0.0 'mag'", 19.5, "19.5 mag"},
        {"0;(0)", -5, "(5)"},
        {"0;(0);'zero'", 0, "zero"},
        {"", 0.1, "0.1"},
        {"#,##0", 1e20, "100,000,000,000,000,000,000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected) << c.pattern << " " << c.value;
    EXPECT_EQ(FormatFloat("0", std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatFloat("0", std::nan("")), "NAN");

    SetDecimalSeparator(',');
    SetThousandSeparator('.');
    EXPECT_EQ(FormatFloat("#,##0.###", 1234.5), "1.234,5");
}

TEST(AxisLabelTextTest, TheChartMayRewriteALabelAndBlanksCanBreakLines)
{
    SeparatorGuard guard;
    SetDecimalSeparator('.');
    TChart chart;
    TChartAxis& axis = *chart.LeftAxis();
    EXPECT_EQ(axis.LabelText(1234.5), "1,234.5");
    axis.SetAxisValuesFormat("0.0 'units'");
    EXPECT_TRUE(axis.IsAxisValuesFormatStored());

    TChartAxis* seen = nullptr;
    int seenIndex = 0;
    chart.SetOnGetAxisLabel([&](TChartAxis* sender, TChartSeries* series, int index, std::string& text) {
        seen = sender;
        seenIndex = index;
        EXPECT_EQ(series, nullptr);
        text = "<" + text + ">";
    });
    EXPECT_EQ(axis.LabelText(2), "<2.0 units>");
    EXPECT_EQ(seen, &axis);
    EXPECT_EQ(seenIndex, -1);

    axis.SetLabelsMultiLine(true);
    EXPECT_EQ(axis.LabelText(2), "<2.0\runits>");
}

// ---- Mapping between values and pixels

// A chart painted once, so that its axes have positions.
struct PaintedChart {
    explicit PaintedChart(int width = 536, int height = 383)
    {
        chart.SetBounds(0, 0, width, height);
        chart.SetView3D(false);
        series = new TLineSeries(&chart);
        series->SetParentChart(&chart);
    }
    void Paint() { Grab(chart); }

    TChart chart;
    TLineSeries* series;
};

TEST(AxisMappingTest, EndsOfTheRangeLandOnTheEndsOfTheAxis)
{
    for (const bool inverted : {false, true}) {
        SCOPED_TRACE(inverted);
        PaintedChart p;
        p.series->AddPoint(0, 15, "", clDefault);
        p.series->AddPoint(10, 25, "", clDefault);
        TChartAxis& left = *p.chart.LeftAxis();
        TChartAxis& bottom = *p.chart.BottomAxis();
        left.SetInverted(inverted);
        bottom.SetInverted(inverted);
        p.Paint();
        ASSERT_GT(left.AxisSize(), 0);
        EXPECT_EQ(left.ValueToPixel(left.WorkMax()), inverted ? left.EndPixel() : left.StartPixel());
        EXPECT_EQ(left.ValueToPixel(left.WorkMin()), inverted ? left.StartPixel() : left.EndPixel());
        EXPECT_EQ(bottom.ValueToPixel(bottom.WorkMin()), inverted ? bottom.EndPixel() : bottom.StartPixel());
        EXPECT_EQ(bottom.ValueToPixel(bottom.WorkMax()), inverted ? bottom.StartPixel() : bottom.EndPixel());
        EXPECT_EQ(left.StartPixel(), p.chart.PlotRect().Top);
        EXPECT_EQ(left.EndPixel(), p.chart.PlotRect().Bottom);
        EXPECT_EQ(bottom.StartPixel(), p.chart.PlotRect().Left);
        EXPECT_EQ(bottom.EndPixel(), p.chart.PlotRect().Right);
    }
}

TEST(AxisMappingTest, PixelToValueUndoesValueToPixelWithinOnePixel)
{
    for (const bool inverted : {false, true}) {
        PaintedChart p;
        p.series->AddPoint(0, 15, "", clDefault);
        p.series->AddPoint(1000, 25, "", clDefault);
        p.chart.LeftAxis()->SetInverted(inverted);
        p.chart.BottomAxis()->SetInverted(inverted);
        p.Paint();
        for (TChartAxis* axis : {p.chart.LeftAxis(), p.chart.BottomAxis()}) {
            const double pixelWorth = axis->WorkRange() / axis->AxisSize();
            for (double t = 0; t <= 1.0; t += 0.0625) {
                const double v = axis->WorkMin() + t * axis->WorkRange();
                EXPECT_NEAR(axis->PixelToValue(axis->ValueToPixel(v)), v, pixelWorth) << v;
            }
            EXPECT_DOUBLE_EQ(axis->PixelToValue(axis->StartPixel()), inverted == axis->IsHorizontal()
                                                                           ? axis->WorkMax()
                                                                           : axis->WorkMin());
        }
    }
}

TEST(AxisMappingTest, UnplaceableValuesGoToTheCentre)
{
    PaintedChart p;
    p.series->AddPoint(0, 15, "", clDefault);
    p.series->AddPoint(10, 25, "", clDefault);
    p.Paint();
    TChartAxis& left = *p.chart.LeftAxis();
    EXPECT_EQ(left.ValueToPixel(1e300), left.CenterPixel());
    EXPECT_EQ(left.ValueToPixel(std::nan("")), left.CenterPixel());
    EXPECT_EQ(left.ValueToPixel(-std::numeric_limits<double>::infinity()), left.CenterPixel());
    // Far outside the range, but still a distance an int can hold.
    EXPECT_LT(left.ValueToPixel(25 + 1e7), left.StartPixel());
    EXPECT_GT(left.ValueToPixel(15 - 1e7), left.EndPixel());
}

TEST(AxisMappingTest, TheBottomAxisFollowsTheReadingCount)
{
    PaintedChart p;
    TChartAxis& bottom = *p.chart.BottomAxis();
    p.Paint();
    EXPECT_EQ(bottom.WorkMin(), 0);
    EXPECT_EQ(bottom.WorkMax(), 0);
    EXPECT_EQ(bottom.ValueToPixel(0), bottom.CenterPixel());
    EXPECT_EQ(bottom.ValueToPixel(7), bottom.CenterPixel()) << "an empty range maps everything to the centre";

    p.series->AddPoint(0, 20, "", clDefault);
    p.Paint();
    EXPECT_EQ(bottom.ValueToPixel(0), bottom.CenterPixel());
    for (int x = 1; x <= 4; ++x)
        p.series->AddPoint(x, 20, "", clDefault);
    p.Paint();
    EXPECT_EQ(bottom.Minimum(), 0);
    EXPECT_EQ(bottom.Maximum(), 4);
    EXPECT_EQ(bottom.ValueToPixel(0), bottom.StartPixel());
    EXPECT_EQ(bottom.ValueToPixel(4), bottom.EndPixel());
}

TEST(AxisMappingTest, StartAndEndPositionsTakePercentOfThePlot)
{
    PaintedChart p;
    TChartAxis& bottom = *p.chart.BottomAxis();
    bottom.SetStartPosition(25);
    bottom.SetEndPosition(75);
    p.Paint();
    const TRect& plot = p.chart.PlotRect();
    EXPECT_EQ(bottom.StartPixel(), plot.Left + static_cast<int>(std::nearbyint(p.chart.PlotWidth() * 0.25)));
    EXPECT_EQ(bottom.EndPixel(), plot.Left + static_cast<int>(std::nearbyint(p.chart.PlotWidth() * 0.75)));
    EXPECT_EQ(bottom.CenterPixel(), (bottom.StartPixel() + bottom.EndPixel()) / 2);
}

// ---- Ranges from the series

TEST(AxisRangeTest, AutomaticBoundsComeFromTheSeriesOnTheAxis)
{
    PaintedChart p;
    p.series->AddPoint(2, 18, "", clDefault);
    p.series->AddPoint(9, 22, "", clDefault);
    auto* right = new TLineSeries(&p.chart);
    right->SetVertAxis(aRightAxis);
    right->SetParentChart(&p.chart);
    right->AddPoint(-5, 100, "", clDefault);
    auto* hidden = new TLineSeries(&p.chart);
    hidden->SetParentChart(&p.chart);
    hidden->AddPoint(50, -40, "", clDefault);
    hidden->SetActive(false);
    p.Paint();

    EXPECT_EQ(p.chart.LeftAxis()->Minimum(), 18) << "the inactive series does not count";
    EXPECT_EQ(p.chart.LeftAxis()->Maximum(), 22);
    EXPECT_EQ(p.chart.RightAxis()->Minimum(), 100);
    EXPECT_EQ(p.chart.BottomAxis()->Minimum(), -5) << "both series share the bottom axis";
    EXPECT_EQ(p.chart.BottomAxis()->Maximum(), 9);
    EXPECT_EQ(p.chart.SeriesMinMax(p.chart.TopAxis(), TMinMax::Largest, TValueDimension::X), 0) << "no series";

    p.series->SetActive(false);
    right->SetActive(false);
    p.Paint();
    EXPECT_EQ(p.chart.LeftAxis()->Minimum(), -40) << "with none active, inactive series count";
    EXPECT_EQ(p.chart.LeftAxis()->Maximum(), 22);
}

TEST(AxisRangeTest, AFixedAxisKeepsItsBoundsWhateverTheData)
{
    PaintedChart p;
    TChartAxis& left = *p.chart.LeftAxis();
    left.SetMaximum(25);
    left.SetMinimum(15);
    left.SetAutomatic(false);
    p.series->AddPoint(0, 30, "", clDefault);
    p.series->AddPoint(1, 10, "", clDefault);
    p.Paint();
    EXPECT_EQ(left.WorkMin(), 15);
    EXPECT_EQ(left.WorkMax(), 25);
    EXPECT_LT(left.ValueToPixel(30), left.StartPixel());
    EXPECT_GT(left.ValueToPixel(10), left.EndPixel());
}

TEST(AxisRangeTest, SeriesMarginsWidenOnlyAutomaticEnds)
{
    PaintedChart p;
    p.series->Pointer().SetVisible(true);  // asks for HorizSize + 1 = 5 pixels a side
    p.series->AddPoint(0, 15, "", clDefault);
    p.series->AddPoint(100, 25, "", clDefault);
    TChartAxis& bottom = *p.chart.BottomAxis();
    TChartAxis& left = *p.chart.LeftAxis();
    left.SetMaximum(25);
    left.SetMinimum(15);
    left.SetAutomatic(false);
    bottom.SetAutomaticMaximum(false);
    bottom.SetMaximum(100);
    p.Paint();
    EXPECT_EQ(bottom.ValueToPixel(0), bottom.StartPixel() + 5);
    EXPECT_EQ(bottom.ValueToPixel(100), bottom.EndPixel()) << "the fixed maximum gets no margin";
    EXPECT_EQ(left.ValueToPixel(25), left.StartPixel()) << "a fixed axis gets none";
    EXPECT_EQ(bottom.Minimum(), 0) << "stored bounds are not touched";
}

// ---- Setters, SetRange, ScrollBy, AxisHit

TEST(AxisSetterTest, TitleAngleIsCheckedAndTitlesKnowTheirDefaultAngles)
{
    TChart chart;
    EXPECT_EQ(chart.BottomAxis()->Title().Angle(), 0);
    EXPECT_EQ(chart.TopAxis()->Title().Angle(), 0);
    EXPECT_EQ(chart.LeftAxis()->Title().Angle(), 90);
    EXPECT_EQ(chart.RightAxis()->Title().Angle(), 270);
    EXPECT_EQ(chart.DepthAxis()->Title().Angle(), 0);
    TChartAxisTitle& title = chart.LeftAxis()->Title();
    for (int bad : {-1, 360}) {
        try {
            title.SetAngle(bad);
            ADD_FAILURE() << bad;
        } catch (const ChartException& error) {
            EXPECT_EQ(error.Message(), "Axis Title Angle must be between 0 and 359 degrees");
        }
    }
    EXPECT_FALSE(title.IsAngleStored());
    const int before = chart.InvalidateCount();
    title.SetAngle(0);
    title.SetCaption("mag/arcsec²");
    title.Font().SetSize(10);
    chart.LeftAxis()->Grid().SetVisible(false);
    chart.LeftAxis()->LabelsFont().SetColor(clRed);
    EXPECT_EQ(chart.InvalidateCount(), before + 5);
    EXPECT_TRUE(title.IsAngleStored());
    EXPECT_TRUE(title.IsFontStored());
    EXPECT_TRUE(chart.LeftAxis()->IsLabelsFontStored());
    EXPECT_FALSE(chart.RightAxis()->IsLabelsFontStored());
}

TEST(AxisSetterTest, PensAndFontStartWithTheirDefaults)
{
    TChart chart;
    const TChartAxis& axis = *chart.LeftAxis();
    EXPECT_EQ(axis.Axis().Width(), 2);
    EXPECT_EQ(axis.Grid().Style(), psDot);
    EXPECT_EQ(axis.Grid().Color(), clGray);
    EXPECT_FALSE(axis.MinorGrid().Visible());
    EXPECT_EQ(axis.Ticks().Color(), clGray);
    EXPECT_EQ(axis.LabelsFont().Name(), "Arial");
    EXPECT_EQ(axis.LabelsFont().Size(), 8);
    EXPECT_EQ(axis.AxisValuesFormat(), "#,##0.###");
    EXPECT_FALSE(axis.IsAxisValuesFormatStored());
}

TEST(AxisSetterTest, SetRangeFixesOrderedBoundsAtLeastATinyBitApart)
{
    TChart chart;
    TChartAxis& axis = *chart.LeftAxis();
    const struct {
        double lo, hi, min, max;
    } cases[] = {{5, 5, 5, 5 + 1e-10}, {25, 15, 15, 25}, {-3, 7, -3, 7}, {1e9, 1e9, 1e9, 1e9 + 1e-10}};
    for (const auto& c : cases) {
        axis.SetAutomatic(true);
        const int before = chart.InvalidateCount();
        axis.SetRange(c.lo, c.hi);
        EXPECT_EQ(axis.Minimum(), c.min);
        EXPECT_EQ(axis.Maximum(), c.max);
        EXPECT_FALSE(axis.Automatic() || axis.AutomaticMinimum() || axis.AutomaticMaximum());
        EXPECT_GT(chart.InvalidateCount(), before);
    }
    axis.SetRange(30, 40);
    EXPECT_EQ(axis.Minimum(), 30) << "no check against the old maximum";
}

TEST(AxisSetterTest, ScrollByMovesBothBoundsUnlessTheDataEndsThere)
{
    PaintedChart p;
    p.series->AddPoint(0, 18, "", clDefault);
    p.series->AddPoint(1, 22, "", clDefault);
    TChartAxis& left = *p.chart.LeftAxis();
    left.SetMaximum(25);
    left.SetMinimum(15);
    left.SetAutomatic(false);

    left.ScrollBy(0.3, false);
    EXPECT_DOUBLE_EQ(left.Minimum(), 15.3);
    EXPECT_DOUBLE_EQ(left.Maximum(), 25.3);
    left.ScrollBy(1, true);
    EXPECT_DOUBLE_EQ(left.Maximum(), 25.3) << "no value above the maximum";
    left.ScrollBy(-1, true);
    EXPECT_DOUBLE_EQ(left.Minimum(), 15.3) << "no value below the minimum";
    left.ScrollBy(-10, false);
    left.ScrollBy(0, true);
    EXPECT_DOUBLE_EQ(left.Minimum(), 5.3);
    left.ScrollBy(1, true);
    EXPECT_DOUBLE_EQ(left.Minimum(), 6.3) << "22 lies above 15.3";

    p.chart.BottomAxis()->ScrollBy(1, false);
    EXPECT_FALSE(p.chart.BottomAxis()->Automatic());
}

TEST(AxisSetterTest, AxisHitIsTheStripFromTheLabelsToJustInsideTheLine)
{
    PaintedChart p;
    TChartAxis& left = *p.chart.LeftAxis();
    left.SetMaximum(25);
    left.SetMinimum(15);
    left.SetAutomatic(false);
    p.Paint();
    const int y = (left.StartPixel() + left.EndPixel()) / 2;
    EXPECT_TRUE(left.AxisHit(left.LabelsPos(), y));
    EXPECT_TRUE(left.AxisHit(left.AxisLinePos() + 2, y));
    EXPECT_FALSE(left.AxisHit(left.AxisLinePos() + 3, y));
    EXPECT_FALSE(left.AxisHit(left.LabelsPos() - 1, y)) << "the label text lies outside";
    EXPECT_TRUE(left.AxisHit(left.LabelsPos(), left.StartPixel()));
    EXPECT_FALSE(left.AxisHit(left.LabelsPos(), left.EndPixel()));
    EXPECT_FALSE(p.chart.RightAxis()->AxisHit(p.chart.PlotRect().Right, y)) << "no series: not shown";

    p.series->SetActive(false);
    EXPECT_FALSE(left.AxisHit(left.LabelsPos(), y));
}

}  // namespace
