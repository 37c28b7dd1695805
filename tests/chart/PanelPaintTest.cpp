// The chart panel and its left axis on the screen: where the plot rectangle
// ends up, the order of one paint, the pixels of bevel, back wall, labels,
// ticks and grid, and when the chart is drawn again rather than copied.
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

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

// The main window's chart as its form describes it: 536 x 383, white, flat,
// no title or legend, the bottom axis hidden and the left axis fixed at 15
// to 25 with one minor tick between labels.
class MainWindowChart : public TChart {
public:
    MainWindowChart() : series(SetUpLikeTheMainWindow(*this)) {}

    QImage Picture() { return Grab(*this).convertToFormat(QImage::Format_RGB32); }

    // How often the chart was drawn (rather than copied from its picture),
    // and its plot rectangle just before the axes took their space.
    int draws = 0;
    TRect plotBeforeAxes;
    TLineSeries* series = nullptr;

protected:
    void DrawChart(const TRect& rect) override
    {
        ++draws;
        TChart::DrawChart(rect);
    }
    void LayoutAxes() override
    {
        plotBeforeAxes = PlotRect();
        TChart::LayoutAxes();
    }
};

// The width the left axis reserves for its labels "15" and "25".
int LabelStripWidth(const TCustomChartAxis& axis)
{
    TTeeCanvas3D canvas;
    canvas.Font().Assign(axis.LabelsFont());
    return std::max(canvas.TextWidth("15"), canvas.TextWidth("25")) + canvas.TextWidth(" ");
}

bool IsWhite(QRgb pixel)
{
    return (pixel & 0xFFFFFF) == 0xFFFFFF;
}

// The bounding box of the non-white pixels inside `area`; empty when all
// are white.
QRect InkBox(const QImage& image, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!IsWhite(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

TEST(PanelLayoutTest, MarginsThenTheLeftAxisShapeThePlot)
{
    MainWindowChart chart;
    chart.Picture();
    EXPECT_EQ(chart.ChartBoundsRect(), Rect(0, 0, 536, 383));
    EXPECT_EQ(chart.plotBeforeAxes, Rect(16, 15, 520, 368));
    const int labels = LabelStripWidth(*chart.LeftAxis());
    ASSERT_GT(labels, 0);
    EXPECT_EQ(chart.PlotRect(), Rect(16 + labels + 5, 15, 520, 368));
    EXPECT_EQ(chart.PlotWidth(), 520 - (16 + labels + 5));
    EXPECT_EQ(chart.PlotHeight(), 353);
    EXPECT_EQ(chart.LeftAxis()->LabelsPos(), 16 + labels);
    EXPECT_EQ(chart.LeftAxis()->AxisLinePos(), chart.PlotRect().Left);
}

TEST(PanelLayoutTest, OnlyAxesWithAnActiveSeriesTakeSpace)
{
    MainWindowChart chart;
    chart.series->SetActive(false);
    chart.Picture();
    EXPECT_EQ(chart.PlotRect(), Rect(16, 15, 520, 368));

    chart.series->SetActive(true);
    chart.BottomAxis()->SetVisible(true);
    chart.Picture();
    EXPECT_LT(chart.PlotRect().Bottom, 368) << "the bottom axis' labels and ticks";
    EXPECT_EQ(chart.PlotRect().Top, 15);

    chart.SetAxisVisible(false);
    chart.Picture();
    EXPECT_EQ(chart.PlotRect(), Rect(16, 15, 520, 368));
}

TEST(PanelLayoutTest, AVisibleTitleTakesItsLinesFromTheTopAndTheFootFromTheBottom)
{
    MainWindowChart chart;
    TTeeCanvas3D canvas;
    canvas.Font().Assign(chart.Title().Font());
    const int line = canvas.FontHeight();

    chart.Title().SetVisible(true);
    chart.Picture();
    EXPECT_EQ(chart.plotBeforeAxes, Rect(16, 15 + line, 520, 368));

    chart.Title().SetText({"one", "two"});
    chart.Foot().SetText({"foot"});
    chart.Picture();
    EXPECT_EQ(chart.plotBeforeAxes, Rect(16, 15 + 2 * line, 520, 368 - line));

    chart.Title().SetText({});
    chart.Foot().SetVisible(false);
    chart.Picture();
    EXPECT_EQ(chart.plotBeforeAxes, Rect(16, 15, 520, 368)) << "no lines, no space";
}

TEST(PanelLayoutTest, MarginsAndBorderFollowTheirSettings)
{
    MainWindowChart chart;
    chart.series->SetActive(false);
    chart.SetMarginLeft(10);
    chart.SetMarginTop(0);
    chart.SetMarginRight(0);
    chart.SetMarginBottom(50);
    chart.SetBorderWidth(2);
    chart.Picture();
    EXPECT_EQ(chart.PlotRect(), Rect(MulDiv(10, 536, 100) + 2, 2, 536 - 2, 383 - 2 - MulDiv(50, 383, 100)));
}

TEST(PanelLayoutTest, ATinyWindowStillGetsAPlotOfAtLeastOnePixel)
{
    for (const QSize size : {QSize(3, 2), QSize(1, 1), QSize(40, 3)}) {
        MainWindowChart chart;
        chart.SetBounds(0, 0, size.width(), size.height());
        chart.SetMarginLeft(60);
        chart.SetMarginRight(60);
        chart.Picture();
        const TRect& plot = chart.PlotRect();
        EXPECT_GE(plot.Left, 0);
        EXPECT_GE(plot.Top, 0);
        EXPECT_GT(plot.Right, plot.Left) << size.width();
        EXPECT_GT(plot.Bottom, plot.Top) << size.height();
        EXPECT_EQ(chart.PlotWidth(), plot.Right - plot.Left);
        EXPECT_EQ(chart.ChartXCenter(), (plot.Left + plot.Right) / 2);
    }
}

// The left axis spans less than one unit, so its label step is a fraction
// that depends on how many labels fit, and the finer the step, the more
// digits the top label has (10.2, 10.25, 10.295). Its title is measured just
// before its labels and leaves its font, `titleFontSize` points, on the
// canvas. The chart is drawn twice: the step needs the axis' length, which
// the first drawing finds.
constexpr double kAxisTop = 10.2999;
constexpr int kLabelsFontSize = 24;

void SetUpFineAxis(MainWindowChart& chart, int titleFontSize)
{
    TChartAxis& left = *chart.LeftAxis();
    left.SetRange(10, kAxisTop);
    left.LabelsFont().SetSize(kLabelsFontSize);
    left.Title().SetCaption("mag");
    left.Title().Font().Assign(left.LabelsFont());
    left.Title().Font().SetSize(titleFontSize);
    chart.Picture();
    chart.Invalidate();
    chart.Picture();
}

int LabelsStrip(const TCustomChartAxis& axis)
{
    return axis.LabelsPos() - axis.TitlePos();
}

// The top label's length when the step is taken in `font`.
std::size_t TopLabelLengthIn(MainWindowChart& chart, const TFont& font)
{
    const TChartAxis& left = *chart.LeftAxis();
    chart.SelectFont(font);
    const double step = left.LabelStep();
    return left.LabelText(std::trunc(kAxisTop / step) * step).size();
}

TEST(PanelLayoutTest, TheLabelsStripIsMeasuredInTheLabelsFontWhateverFontWasSelectedBefore)
{
    // With the title in the labels' own font, the labels are measured in
    // their font whatever the order of the steps.
    MainWindowChart reference;
    SetUpFineAxis(reference, kLabelsFontSize);
    const int expected = LabelsStrip(*reference.LeftAxis());
    ASSERT_GT(expected, 0);

    for (const int titleSize : {2, 60}) {
        MainWindowChart chart;
        SetUpFineAxis(chart, titleSize);
        EXPECT_EQ(LabelsStrip(*chart.LeftAxis()), expected) << "title font size " << titleSize;
        // The case has teeth: a step taken in the title's font would label
        // the top with more or fewer digits.
        ASSERT_NE(TopLabelLengthIn(chart, chart.LeftAxis()->Title().Font()),
                  TopLabelLengthIn(chart, chart.LeftAxis()->LabelsFont()))
            << titleSize;
    }
}

TEST(PanelLayoutTest, MulDivRoundsHalvesAwayFromZero)
{
    const struct {
        int a, b, c, expected;
    } cases[] = {{3, 536, 100, 16}, {4, 383, 100, 15}, {1, 1, 2, 1}, {-1, 1, 2, -1}, {5, 5, -2, -13},
                 {2000000000, 2000000000, 4000000000 / 2, 2000000000}, {7, 3, 0, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " " << c.b << " " << c.c;
}

// ---- The order of one paint

// Records the paint's steps as the series and the chart's events see them.
class TracingSeries : public TLineSeries {
public:
    TracingSeries(std::vector<std::string>& trace, TChart& chart) : TLineSeries(&chart), FTrace(trace), FChart(chart)
    {
        SetBeforeDrawValues([this](TObject*) { FTrace.push_back("before values"); });
        SetAfterDrawValues([this](TObject*) { FTrace.push_back("after values"); });
    }
    void DoBeforeDrawChart() override { FTrace.push_back("before chart"); }
    void FindVisibleRange() override
    {
        FTrace.push_back("visible range");
        TLineSeries::FindVisibleRange();
    }
    void DrawAllPoints() override
    {
        clipDuringDraw = FChart.Canvas().ClipRect();
        FTrace.push_back("draw points");
    }
    std::optional<TRect> clipDuringDraw;

private:
    std::vector<std::string>& FTrace;
    TChart& FChart;
};

TEST(PanelPaintOrderTest, AxesThenSeriesClippedToThePlotThenTheAfterEvent)
{
    MainWindowChart chart;
    std::vector<std::string> trace;
    auto* series = new TracingSeries(trace, chart);
    series->SetParentChart(&chart);
    series->AddPoint(0, 20, "", clDefault);
    chart.SetOnBeforeDrawAxes([&](TObject*) { trace.push_back("axes"); });
    chart.SetOnBeforeDrawSeries([&](TObject*) { trace.push_back("series"); });
    chart.SetOnAfterDraw([&](TObject*) { trace.push_back("after draw"); });
    chart.Picture();
    const std::vector<std::string> expected = {"before chart", "axes",        "series",      "visible range",
                                               "before values", "draw points", "after values", "after draw"};
    EXPECT_EQ(trace, expected);
    const TRect& plot = chart.PlotRect();
    ASSERT_TRUE(series->clipDuringDraw.has_value());
    EXPECT_EQ(*series->clipDuringDraw, Rect(plot.Left + 1, plot.Top + 1, plot.Right, plot.Bottom - 1));
    EXPECT_FALSE(chart.Canvas().ClipRect().has_value()) << "unclipped afterwards";

    trace.clear();
    chart.SetAxisBehind(false);
    chart.SetClipPoints(false);
    chart.Picture();
    EXPECT_EQ(trace, (std::vector<std::string>{"before chart", "series", "visible range", "before values",
                                               "draw points", "after values", "axes", "after draw"}));
    EXPECT_FALSE(series->clipDuringDraw.has_value());

    trace.clear();
    series->ClearPoints();
    chart.Picture();
    EXPECT_EQ(trace, (std::vector<std::string>{"before chart", "series", "visible range", "axes", "after draw"}))
        << "a series without visible points draws nothing";
}

// ---- Drawing versus copying

TEST(PanelBufferTest, AWindowPaintWithoutChangeCopiesThePicture)
{
    MainWindowChart chart;
    PaintCounter counter(chart);
    chart.Show();
    ASSERT_TRUE(WaitUntil([&] { return counter.paints > 0 && chart.draws > 0; }));
    const int draws = chart.draws;
    const TBitmap* picture = chart.Canvas().Bitmap();

    const int paints = counter.paints;
    Widget(chart).update();  // as when another window uncovers the chart
    ASSERT_TRUE(WaitUntil([&] { return counter.paints > paints; }));
    EXPECT_EQ(chart.draws, draws) << "one copy, no drawing";

    chart.series->AddPoint(0, 20, "", clDefault);
    ASSERT_TRUE(WaitUntil([&] { return chart.draws > draws; }));
    EXPECT_EQ(chart.Canvas().Bitmap(), picture) << "the same size reuses the picture";
    EXPECT_FALSE(chart.Canvas().Dirty());

    const int beforeResize = chart.draws;
    chart.SetBounds(0, 0, 300, 200);
    ASSERT_TRUE(WaitUntil([&] { return chart.draws > beforeResize; }));
    ASSERT_NE(chart.Canvas().Bitmap(), nullptr);
    EXPECT_EQ(QtImage(*chart.Canvas().Bitmap()).size(), QSize(300, 200));
    EXPECT_EQ(chart.ChartBoundsRect(), Rect(0, 0, 300, 200));
}

TEST(PanelBufferTest, EnablingTheChartNeitherInvalidatesNorChangesItsLook)
{
    MainWindowChart chart;
    chart.SetEnabled(false);
    const QImage disabled = chart.Picture();
    const int invalidations = chart.InvalidateCount();
    chart.SetEnabled(true);
    EXPECT_EQ(chart.InvalidateCount(), invalidations);
    chart.Invalidate();
    EXPECT_EQ(chart.Picture(), disabled);
}

TEST(PanelBufferTest, DrawToPutsTheChartAtTheRectanglesCorner)
{
    MainWindowChart chart;
    const QImage window = chart.Picture();
    QImage target(600, 450, QImage::Format_RGB32);
    TQtBitmap targetBitmap(target);
    target.fill(Qt::black);
    chart.DrawTo(TCanvas(targetBitmap), Rect(30, 40, 30 + 536, 40 + 383));
    chart.Canvas().SetTarget(TCanvas());
    EXPECT_EQ(target.copy(30, 40, 536, 383), window);
    EXPECT_EQ(target.pixel(29, 39), qRgb(0, 0, 0));
    EXPECT_EQ(chart.ChartBoundsRect(), Rect(0, 0, 536, 383)) << "drawn in the picture's own coordinates";
}

TEST(PanelBufferTest, SettersOnlyInvalidateButScrollingRepaintsAtOnce)
{
    MainWindowChart chart;
    chart.Show();
    ASSERT_TRUE(WaitUntil([&] { return chart.draws > 0; }));
    int draws = chart.draws;
    chart.LeftAxis()->SetMinorTickCount(2);
    chart.BackWall().Pen().SetWidth(2);
    chart.SetBevelOuter(bvLowered);
    EXPECT_EQ(chart.draws, draws);

    chart.LeftAxis()->ScrollBy(1, false);
    EXPECT_EQ(chart.draws, draws + 1) << "drawn before ScrollBy returns";
    draws = chart.draws;
    chart.LeftAxis()->SetLabelStyle(talNone);
    EXPECT_EQ(chart.draws, draws + 1);
}

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kGray = qRgb(0x80, 0x80, 0x80);

// Rows of a column that hold `color`, between `top` and `bottom` inclusive.
std::set<int> RowsOf(const QImage& image, int x, int top, int bottom, QRgb color)
{
    std::set<int> rows;
    for (int y = top; y <= bottom; ++y) {
        if (image.pixel(x, y) == color)
            rows.insert(y);
    }
    return rows;
}

std::set<int> MinorTicksOf(const std::vector<int>& ticks)
{
    std::set<int> minors;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        minors.insert(ticks[i] - static_cast<int>(std::nearbyint((ticks[i] - ticks[i - 1]) / 2.0)));
    return minors;
}

TEST(AxisDrawTest, TheLeftAxisShowsElevenLabelsFromTwentyFiveDown)
{
    MainWindowChart chart;
    const QImage image = chart.Picture();
    const TChartAxis& axis = *chart.LeftAxis();
    std::vector<int> expected;
    for (int v = 25; v >= 15; --v)
        expected.push_back(axis.ValueToPixel(v));
    EXPECT_EQ(axis.TickList(), expected);
    EXPECT_EQ(expected.front(), 15);
    EXPECT_EQ(expected.back(), 368);
    EXPECT_DOUBLE_EQ(axis.LabelStep(), 1);

    TTeeCanvas3D canvas;
    canvas.Font().Assign(axis.LabelsFont());
    const int h = canvas.FontHeight();
    int rightEdge = -1;
    for (int p : expected) {
        SCOPED_TRACE(p);
        const QRect area(2, std::max(1, p - h), axis.LabelsPos() - 1, 2 * h + 1);
        const QRect box = InkBox(image, area);
        ASSERT_FALSE(box.isEmpty());
        EXPECT_LE(box.right(), axis.LabelsPos() - 1) << "right-aligned at the labels' anchor";
        EXPECT_GE(box.right(), axis.LabelsPos() - 3);
        EXPECT_LE(std::abs(box.center().y() - p), 3) << "centred on the tick";
        EXPECT_LE(box.height(), h);
        if (rightEdge >= 0) {
            EXPECT_LE(std::abs(box.right() - rightEdge), 1);
        }
        rightEdge = box.right();
    }
}

TEST(AxisDrawTest, TicksGridAndMinorTicksLieWhereTheLabelsAre)
{
    MainWindowChart chart;
    const QImage image = chart.Picture();
    const TChartAxis& axis = *chart.LeftAxis();
    const TRect plot = chart.PlotRect();
    const int a = axis.AxisLinePos();
    const std::vector<int>& ticks = axis.TickList();
    ASSERT_EQ(ticks.size(), 11u);
    const std::set<int> majors(ticks.begin(), ticks.end());
    const std::set<int> minors = MinorTicksOf(ticks);
    ASSERT_EQ(minors.size(), 10u);

    // Major ticks: 4 grey pixels left of the line, starting one pixel off.
    for (int dx = 1; dx <= 4; ++dx)
        EXPECT_EQ(RowsOf(image, a - dx, plot.Top - 3, plot.Bottom + 3, kGray),
                  dx <= 2 ? [&] { std::set<int> all = majors; all.insert(minors.begin(), minors.end()); return all; }()
                          : majors)
            << "column " << a - dx;
    EXPECT_TRUE(RowsOf(image, a - 5, plot.Top, plot.Bottom, kGray).empty());

    // Dotted grey grid at every label, three on, three off, from the line.
    for (int p : ticks) {
        for (int x = plot.Left + 1; x < plot.Right; ++x) {
            const bool on = (x - plot.Left) % 6 < 3;
            if (p == plot.Top || p == plot.Bottom)
                EXPECT_EQ(image.pixel(x, p), on ? kGray : kBlack) << x << "," << p << " over the frame";
            else
                EXPECT_EQ(image.pixel(x, p), on ? kGray : kWhite) << x << "," << p;
        }
    }
    // A one-pixel black axis line; the grid's first dot lies on it.
    std::set<int> lineRows;
    for (int y = plot.Top; y <= plot.Bottom; ++y)
        lineRows.insert(y);
    EXPECT_EQ(RowsOf(image, a, plot.Top, plot.Bottom, kBlack).size(), lineRows.size() - majors.size());
    EXPECT_EQ(RowsOf(image, a + 1, plot.Top + 1, plot.Bottom - 1, kWhite).size(),
              static_cast<std::size_t>(plot.Bottom - plot.Top - 1) - (majors.size() - 2));
}

TEST(AxisDrawTest, TheBackWallIsABlackFrameWithoutFillInsideARaisedBevel)
{
    MainWindowChart chart;
    const QImage image = chart.Picture();
    const TRect plot = chart.PlotRect();
    for (int y = plot.Top; y <= plot.Bottom; ++y)
        EXPECT_EQ(image.pixel(plot.Right, y), kBlack) << y;
    for (int x = plot.Left; x <= plot.Right; ++x) {
        EXPECT_NE(image.pixel(x, plot.Bottom), kWhite) << x;
        EXPECT_NE(image.pixel(x, plot.Top), kWhite) << x;
    }
    EXPECT_EQ(image.pixel(plot.Right + 1, plot.Top + 5), kWhite);
    EXPECT_EQ(image.pixel((plot.Left + plot.Right) / 2, (chart.LeftAxis()->TickList()[0] +
                                                         chart.LeftAxis()->TickList()[1]) / 2), kWhite)
        << "no fill";

    const QRgb light = ColorToPixel(clBtnHighlight);
    const QRgb shadow = ColorToPixel(clBtnShadow);
    ASSERT_NE(shadow, kWhite);
    for (int x = 0; x < 535; ++x)
        EXPECT_EQ(image.pixel(x, 0), light) << x;
    for (int y = 1; y < 382; ++y) {
        EXPECT_EQ(image.pixel(0, y), light) << y;
        EXPECT_EQ(image.pixel(535, y), shadow) << y;
    }
    for (int x = 0; x < 536; ++x)
        EXPECT_EQ(image.pixel(x, 382), shadow) << x;
    EXPECT_EQ(image.pixel(1, 1), kWhite) << "the chart's colour inside the bevel";
    EXPECT_EQ(image.pixel(534, 381), kWhite);

    chart.SetColor(clRed);
    chart.SetBevelOuter(bvLowered);
    const QImage lowered = chart.Picture();
    EXPECT_EQ(lowered.pixel(10, 0), shadow);
    EXPECT_EQ(lowered.pixel(535, 10), light);
    EXPECT_EQ(lowered.pixel(1, 1), qRgb(255, 0, 0));
}

TEST(AxisDrawTest, AChartWhoseOnlySeriesIsInactiveDrawsNoAxis)
{
    MainWindowChart chart;
    chart.series->SetActive(false);
    const QImage image = chart.Picture();
    EXPECT_TRUE(chart.LeftAxis()->TickList().empty());
    const TRect plot = chart.PlotRect();
    EXPECT_TRUE(InkBox(image, QRect(1, 1, plot.Left - 1, 381)).isEmpty()) << "no labels, no ticks";
    EXPECT_TRUE(InkBox(image, QRect(plot.Left + 1, plot.Top + 1, plot.Right - plot.Left - 1,
                                    plot.Bottom - plot.Top - 1))
                    .isEmpty())
        << "no grid";
    EXPECT_EQ(image.pixel(plot.Left, plot.Top + 10), kBlack) << "the back wall is still there";
}

// Switches that change which labels, ticks and grid lines an axis draws.
struct SwitchCase {
    const char* name;
    std::function<void(TChartAxis&)> set;
    std::size_t ticks;   // entries of the tick list
    bool ticksDrawn;     // grey pixels left of the axis line
    bool gridDrawn;      // grey pixels inside the plot
    bool labelsDrawn;    // ink left of the ticks
};

void PrintTo(const SwitchCase& c, std::ostream* out)
{
    *out << c.name;
}

class AxisSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(AxisSwitchTest, DrawsWhatTheSwitchesAllow)
{
    const SwitchCase& c = GetParam();
    MainWindowChart chart;
    TChartAxis& axis = *chart.LeftAxis();
    c.set(axis);
    const QImage image = chart.Picture();
    const TRect plot = chart.PlotRect();
    EXPECT_EQ(axis.TickList().size(), c.ticks);
    const int a = axis.AxisLinePos();
    EXPECT_EQ(!RowsOf(image, a - 1, plot.Top, plot.Bottom, kGray).empty(), c.ticksDrawn);
    EXPECT_EQ(!RowsOf(image, (plot.Left + plot.Right) / 2 + 1, plot.Top + 1, plot.Bottom - 1, kGray).empty() ||
                  !RowsOf(image, (plot.Left + plot.Right) / 2 + 4, plot.Top + 1, plot.Bottom - 1, kGray).empty(),
              c.gridDrawn);
    EXPECT_EQ(!InkBox(image, QRect(2, 2, std::max(1, axis.LabelsPos() - 2), 378)).isEmpty(), c.labelsDrawn);
    EXPECT_EQ(RowsOf(image, a, plot.Top + 1, plot.Bottom - 1, kBlack).empty(), false) << "the axis line stays";
}

INSTANTIATE_TEST_SUITE_P(
    Switches, AxisSwitchTest,
    ::testing::Values(
        SwitchCase{"AsTheFormSetsIt", [](TChartAxis&) {}, 11, true, true, true},
        SwitchCase{"LabelsOffHideTicksAndGrid", [](TChartAxis& a) { a.SetLabels(false); }, 0, false, false, false},
        SwitchCase{"TicksEverywhereWithoutLabels",
                   [](TChartAxis& a) {
                       a.SetLabels(false);
                       a.SetTickOnLabelsOnly(false);
                   },
                   11, true, true, false},
        SwitchCase{"LabelsOnAxisOffDropsTheEnds", [](TChartAxis& a) { a.SetLabelsOnAxis(false); }, 9, true, true,
                   true},
        SwitchCase{"TooManyStepsDrawNoLabels",
                   [](TChartAxis& a) {
                       a.SetLabelsSeparation(0);
                       a.SetMaximum(20000);
                       a.SetMinimum(0);
                   },
                   0, false, false, false},
        SwitchCase{"GridHidden", [](TChartAxis& a) { a.Grid().SetVisible(false); }, 11, true, false, true},
        SwitchCase{"LabelStyleNone", [](TChartAxis& a) { a.SetLabelStyle(talNone); }, 0, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AxisDrawTest, TheTickListNeverGrowsPastItsCapacity)
{
    MainWindowChart chart;
    TChartAxis& axis = *chart.LeftAxis();
    axis.SetLabelsSeparation(0);  // a step of 1 whatever the room: 5001 labels wanted
    axis.SetMaximum(5000);
    axis.SetMinimum(0);
    chart.Picture();
    ASSERT_EQ(axis.TickList().size(), static_cast<std::size_t>(kMaxAxisTicks));
    EXPECT_EQ(axis.TickList().front(), axis.StartPixel()) << "from the top down";
    EXPECT_EQ(axis.TickList().capacity(), static_cast<std::size_t>(kMaxAxisTicks)) << "never reallocated";
}

TEST(AxisDrawTest, NegativeRangesKeepTheirBottomLabel)
{
    MainWindowChart chart;
    TChartAxis& axis = *chart.LeftAxis();
    axis.SetMinimum(-25);
    axis.SetMaximum(-15);
    chart.Picture();
    ASSERT_EQ(axis.TickList().size(), 11u);
    EXPECT_EQ(axis.TickList().back(), axis.EndPixel());
}

TEST(AxisDrawTest, CentredGridAndMinorGridFollowTheTicks)
{
    MainWindowChart chart;
    TChartAxis& axis = *chart.LeftAxis();
    axis.SetGridCentered(true);
    QImage image = chart.Picture();
    const TRect plot = chart.PlotRect();
    const std::vector<int> ticks = axis.TickList();
    std::set<int> centred;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        centred.insert(static_cast<int>(std::nearbyint((ticks[i] + ticks[i - 1]) * 0.5)));
    const int x = plot.Left + 7;  // an "on" pixel of the dotted grid
    EXPECT_EQ(RowsOf(image, x, plot.Top + 1, plot.Bottom - 1, kGray), centred);

    axis.SetGridCentered(false);
    axis.Grid().SetVisible(false);
    axis.MinorGrid().SetVisible(true);
    axis.MinorGrid().SetColor(clRed);
    image = chart.Picture();
    EXPECT_EQ(RowsOf(image, x + 3, plot.Top + 1, plot.Bottom - 1, qRgb(255, 0, 0)), MinorTicksOf(ticks))
        << "a solid line at every minor tick";
}

TEST(AxisDrawTest, ABottomAxisCentresItsLabelsUnderItsTicks)
{
    MainWindowChart chart;
    chart.BottomAxis()->SetVisible(true);
    for (int x = 0; x <= 4; ++x)
        chart.series->AddPoint(x, 20, "", clDefault);
    const QImage image = chart.Picture();
    const TChartAxis& axis = *chart.BottomAxis();
    const TRect plot = chart.PlotRect();
    ASSERT_FALSE(axis.TickList().empty());
    EXPECT_EQ(axis.AxisLinePos(), plot.Bottom);
    for (int p : axis.TickList()) {
        SCOPED_TRACE(p);
        for (int dy = 1; dy <= 4; ++dy)
            EXPECT_EQ(image.pixel(p, plot.Bottom + dy), kGray);
        const QRect box = InkBox(image, QRect(p - 12, axis.LabelsPos(), 25, 381 - axis.LabelsPos()));
        ASSERT_FALSE(box.isEmpty());
        EXPECT_LE(std::abs(box.center().x() - p), 2);
        EXPECT_GE(box.top(), axis.LabelsPos());
    }
}

}  // namespace
