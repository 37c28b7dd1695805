// Zooming, panning and scrolling the chart with the mouse, driven by
// synthetic mouse and wheel events on the main window's chart.
#include "chart/Chart.h"
#include "chart/Series.h"
#include "chart/TeCanvas.h"
#include "runtime/ControlsSystem.h"
#include "runtime/SysUtils.h"

#include "EventLoop.h"
#include "MainWindowChart.h"
#include "ControlWidgets.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class MouseChart : public TChart {
public:
    MouseChart() : series(SetUpLikeTheMainWindow(*this))
    {
        for (int i = 0; i <= 20; ++i)
            series->AddPoint(i, 15 + i % 10, "", clDefault);
        Show();
        WaitUntil([this] { return draws > 0; });
    }

    QImage Picture() { return Grab(*this).convertToFormat(QImage::Format_RGB32); }
    // Mouse events as the window system delivers them, through Qt's event
    // dispatch (which drops them while the chart is disabled).
    void Press(Qt::MouseButton button, QPoint at)
    {
        held |= button;
        Send(QEvent::MouseButtonPress, button, at);
    }
    void Move(QPoint at) { Send(QEvent::MouseMove, Qt::NoButton, at); }
    void Release(Qt::MouseButton button, QPoint at)
    {
        held &= ~button;
        Send(QEvent::MouseButtonRelease, button, at);
    }
    void Drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        Press(button, from);
        Move(to);
        Release(button, to);
    }
    void Wheel(int angle)
    {
        QWheelEvent event(QPointF(200, 200), Widget(*this).mapToGlobal(QPointF(200, 200)), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Widget(*this), &event);
    }

    TLineSeries* series;
    Qt::MouseButtons held;
    int draws = 0;
    std::vector<TAxisBounds> leftAtDraw;

protected:
    void Send(QEvent::Type type, Qt::MouseButton button, QPoint at)
    {
        QMouseEvent event(type, QPointF(at), Widget(*this).mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&Widget(*this), &event);
    }
    void DrawChart(const TRect& rect) override
    {
        ++draws;
        leftAtDraw.push_back({LeftAxis()->Minimum(), LeftAxis()->Maximum()});
        TChart::DrawChart(rect);
    }
};

void ExpectBounds(const TChartAxis& axis, double minimum, double maximum)
{
    EXPECT_DOUBLE_EQ(axis.Minimum(), minimum);
    EXPECT_DOUBLE_EQ(axis.Maximum(), maximum);
}

struct DragCase {
    int x1, y1;
    TZoomDragResult result;
};

TEST(PanelZoomRuleTest, OnlyDragsOfMoreThanSixteenPixelsBothWaysCount)
{
    const DragCase cases[] = {
        {116, 200, TZoomDragResult::None}, {200, 116, TZoomDragResult::None}, {117, 117, TZoomDragResult::Zoom},
        {117, 201, TZoomDragResult::Zoom}, {83, 83, TZoomDragResult::Undo},   {217, 83, TZoomDragResult::Undo},
        {83, 217, TZoomDragResult::Undo},  {84, 50, TZoomDragResult::None},
    };
    for (const DragCase& c : cases) {
        TZoomPanningRecord drag;
        drag.Activate(100, 100);
        drag.X1 = c.x1;
        drag.Y1 = c.y1;
        EXPECT_EQ(ZoomDragResult(drag), c.result) << c.x1 << "," << c.y1;
    }
}

TEST(PanelZoomRuleTest, TheRectangleInvertsInTheChartsColourButBlackOnWhite)
{
    EXPECT_EQ(ZoomRectangleColor(clWhite), clBlack);
    EXPECT_EQ(ZoomRectangleColor(0x123456), 0x123456u);
    EXPECT_EQ(ZoomRectangleColor(clBtnFace), ColorToRGB(clBtnFace));
}

TEST(PanelZoomTest, ASixteenPixelDragDoesNothingSeventeenZoomsToTheRectangle)
{
    MouseChart chart;
    int zooms = 0;
    chart.SetOnZoom([&](TObject*) { ++zooms; });
    const int invalidations = chart.InvalidateCount();
    chart.Drag(Qt::LeftButton, {100, 100}, {116, 200});
    ExpectBounds(*chart.LeftAxis(), 15, 25);
    EXPECT_EQ(chart.InvalidateCount(), invalidations);
    EXPECT_FALSE(chart.Zoomed());

    const TChartAxis& left = *chart.LeftAxis();
    const TChartAxis& bottom = *chart.BottomAxis();
    const double expected[] = {left.PixelToValue(201), left.PixelToValue(100), bottom.PixelToValue(100),
                               bottom.PixelToValue(117)};
    chart.Drag(Qt::LeftButton, {100, 100}, {117, 201});
    ExpectBounds(left, expected[0], expected[1]);
    ExpectBounds(bottom, expected[2], expected[3]);
    EXPECT_FALSE(bottom.Automatic());
    EXPECT_TRUE(chart.Zoomed());
    EXPECT_EQ(zooms, 1);
    EXPECT_GT(chart.InvalidateCount(), invalidations);
}

TEST(PanelZoomTest, UndoGivesBackTheFixedLeftAxisAndTheAutomaticBottomAxis)
{
    MouseChart chart;
    chart.Drag(Qt::LeftButton, {100, 100}, {300, 250});
    const double zoomedMax = chart.BottomAxis()->Maximum();
    chart.series->AddPoint(40, 20, "", clDefault);
    chart.Picture();
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Maximum(), zoomedMax);  // the new reading is not shown

    int undos = 0;
    chart.SetOnUndoZoom([&](TObject*) { ++undos; });
    chart.Drag(Qt::LeftButton, {300, 250}, {100, 100});
    EXPECT_EQ(undos, 1);
    EXPECT_FALSE(chart.Zoomed());
    EXPECT_EQ(chart.LeftAxis()->Minimum(), 15.0);
    EXPECT_EQ(chart.LeftAxis()->Maximum(), 25.0);
    EXPECT_FALSE(chart.LeftAxis()->AutomaticMinimum() || chart.LeftAxis()->AutomaticMaximum());
    EXPECT_TRUE(chart.BottomAxis()->Automatic() && chart.BottomAxis()->AutomaticMinimum() &&
                chart.BottomAxis()->AutomaticMaximum());
    chart.Picture();
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Maximum(), 40);
}

TEST(PanelZoomTest, OneUndoReturnsToTheScalesBeforeTheFirstZoomOrPan)
{
    MouseChart chart;
    chart.Drag(Qt::LeftButton, {100, 100}, {400, 300});
    chart.Picture();
    chart.Drag(Qt::LeftButton, {150, 150}, {300, 250});
    chart.UndoZoom();
    ExpectBounds(*chart.LeftAxis(), 15, 25);
    EXPECT_TRUE(chart.BottomAxis()->Automatic());

    chart.Drag(Qt::RightButton, {200, 200}, {230, 240});
    EXPECT_NE(chart.LeftAxis()->Minimum(), 15.0);
    chart.Picture();
    chart.Drag(Qt::LeftButton, {100, 100}, {400, 300});
    chart.UndoZoom();
    ExpectBounds(*chart.LeftAxis(), 15, 25);
    EXPECT_TRUE(chart.BottomAxis()->Automatic());
}

TEST(PanelZoomTest, AnUndoDragWithNothingZoomedOnlyInvalidatesAndTells)
{
    MouseChart chart;
    int undos = 0;
    chart.SetOnUndoZoom([&](TObject*) { ++undos; });
    const int invalidations = chart.InvalidateCount();
    chart.Drag(Qt::LeftButton, {300, 300}, {100, 100});
    EXPECT_EQ(undos, 1);
    EXPECT_GT(chart.InvalidateCount(), invalidations);
    ExpectBounds(*chart.LeftAxis(), 15, 25);
    EXPECT_TRUE(chart.BottomAxis()->Automatic());
}

TEST(PanelZoomTest, UndoKeepsAnEndThatFollowedTheSeries)
{
    MouseChart chart;
    chart.LeftAxis()->SetAutomaticMinimum(true);
    chart.Picture();
    chart.Drag(Qt::LeftButton, {100, 100}, {300, 250});
    chart.UndoZoom();
    EXPECT_TRUE(chart.LeftAxis()->AutomaticMinimum());
    EXPECT_FALSE(chart.LeftAxis()->AutomaticMaximum());
    EXPECT_EQ(chart.LeftAxis()->Maximum(), 25.0);
}

TEST(PanelZoomTest, AnAnimatedZoomPaintsSevenStepsEachAThirdOfTheWayThenEndsOnTheTarget)
{
    MouseChart chart;
    chart.SetAnimatedZoom(true);
    chart.Picture();
    const TChartAxis& left = *chart.LeftAxis();
    const TAxisBounds target{left.PixelToValue(250), left.PixelToValue(100)};
    chart.leftAtDraw.clear();
    chart.Drag(Qt::LeftButton, {100, 100}, {300, 250});
    ASSERT_EQ(chart.leftAtDraw.size(), 7u);
    TAxisBounds expected{15, 25};
    for (const TAxisBounds& drawn : chart.leftAtDraw) {
        expected = AnimatedZoomStep(expected, target);
        EXPECT_DOUBLE_EQ(drawn.Minimum, expected.Minimum);
        EXPECT_DOUBLE_EQ(drawn.Maximum, expected.Maximum);
    }
    ExpectBounds(left, target.Minimum, target.Maximum);
}

TEST(PanelZoomTest, AnAnimatedZoomOnAnInvertedAxisClosesInFromOutside)
{
    MouseChart chart;
    chart.SetAnimatedZoom(true);
    chart.LeftAxis()->SetInverted(true);
    chart.Picture();
    chart.leftAtDraw.clear();
    chart.Drag(Qt::LeftButton, {100, 100}, {300, 250});
    const double low = chart.LeftAxis()->Minimum();
    const double high = chart.LeftAxis()->Maximum();
    ASSERT_EQ(chart.leftAtDraw.size(), 7u);
    for (const TAxisBounds& drawn : chart.leftAtDraw)
        EXPECT_TRUE(drawn.Minimum < low && drawn.Maximum > high) << drawn.Minimum << ".." << drawn.Maximum;
}

TEST(PanelPanTest, TenPixelsEitherWayPanByExactlyTheirValue)
{
    MouseChart chart;
    int scrolls = 0;
    chart.SetOnScroll([&](TObject*) { ++scrolls; });
    const TChartAxis& bottom = *chart.BottomAxis();
    const double min = bottom.Minimum();
    const double max = bottom.Maximum();
    const double tenPixels = bottom.PixelToValue(200) - bottom.PixelToValue(190);
    chart.Press(Qt::RightButton, {200, 200});
    chart.Move({190, 200});
    ExpectBounds(bottom, min + tenPixels, max + tenPixels);
    chart.Move({200, 200});
    ExpectBounds(bottom, min, max);
    EXPECT_EQ(scrolls, 2);
    ExpectBounds(*chart.LeftAxis(), 15, 25);  // no vertical movement

    const double down = chart.LeftAxis()->PixelToValue(200) - chart.LeftAxis()->PixelToValue(210);
    chart.Move({200, 210});
    ExpectBounds(*chart.LeftAxis(), 15 + down, 25 + down);
    EXPECT_GT(down, 0);  // dragging down shows larger values
    chart.Release(Qt::RightButton, {200, 210});
}

TEST(PanelPanTest, LeavingThePlotEndsThePanUntilTheNextPress)
{
    MouseChart chart;
    chart.Press(Qt::RightButton, {200, 200});
    chart.Move({200, 378});  // below the plot
    chart.Move({210, 220});
    ExpectBounds(*chart.LeftAxis(), 15, 25);
    EXPECT_FALSE(chart.PanningRecord().Active);
    chart.Release(Qt::RightButton, {210, 220});

    chart.Press(Qt::RightButton, {200, 200});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&Widget(chart), &leave);
    EXPECT_FALSE(chart.PanningRecord().Active);
    chart.Release(Qt::RightButton, {200, 200});
}

TEST(PanelPanTest, TheScrollHandlerMayChangeOrVetoAnAxisAndModesLimitTheDirection)
{
    MouseChart chart;
    chart.SetOnAllowScroll([&](TChartAxis* axis, double& min, double& max, bool& allow) {
        if (axis == chart.BottomAxis())
            allow = false;
        else
            min = 0, max = 100;
    });
    const double bottomMin = chart.BottomAxis()->Minimum();
    chart.Drag(Qt::RightButton, {200, 200}, {220, 220});
    EXPECT_EQ(chart.BottomAxis()->Minimum(), bottomMin);
    ExpectBounds(*chart.LeftAxis(), 0, 100);

    MouseChart horizontal;
    horizontal.SetAllowPanning(pmHorizontal);
    horizontal.Drag(Qt::RightButton, {200, 200}, {220, 220});
    ExpectBounds(*horizontal.LeftAxis(), 15, 25);
    EXPECT_NE(horizontal.BottomAxis()->Minimum(), bottomMin);
}

TEST(PanelWheelTest, ANotchScrollsTheVerticalAxesByThreePercent)
{
    MouseChart chart;
    chart.Wheel(-120);
    ExpectBounds(*chart.LeftAxis(), 15.3, 25.3);
    chart.Wheel(120);
    ExpectBounds(*chart.LeftAxis(), 15, 25);
    chart.Wheel(120);
    ExpectBounds(*chart.LeftAxis(), 14.7, 24.7);
    chart.UndoZoom();
    ExpectBounds(*chart.LeftAxis(), 14.7, 24.7);

    chart.Wheel(60);  // half a notch waits for the other half
    ExpectBounds(*chart.LeftAxis(), 14.7, 24.7);
    chart.Drag(Qt::LeftButton, {100, 100}, {300, 250});
    const double zoomedMin = chart.LeftAxis()->Minimum();
    const double zoomedMax = chart.LeftAxis()->Maximum();
    chart.Wheel(60);
    const double step = (zoomedMax - zoomedMin) * 0.03;
    ExpectBounds(*chart.LeftAxis(), zoomedMin - step, zoomedMax - step);
    chart.UndoZoom();
    ExpectBounds(*chart.LeftAxis(), 14.7, 24.7);
}

TEST(PanelMouseTest, DragsStartOnlyOnThePlotOrAnAxisOfAnEnabledChart)
{
    MouseChart chart;
    chart.Drag(Qt::LeftButton, {5, 5}, {300, 300});  // the margin
    EXPECT_FALSE(chart.Zoomed());

    chart.SetEnabled(false);
    chart.Drag(Qt::LeftButton, {100, 100}, {300, 300});
    // Also when a window system hands a press to a disabled window.
    TControlEvents::DeliverMouseDown(chart, mbLeft, ssLeft, 100, 100);
    EXPECT_FALSE(chart.ZoomRecord().Active);
    EXPECT_FALSE(chart.Zoomed());
    chart.SetEnabled(true);

    chart.series->SetActive(false);
    chart.Drag(Qt::LeftButton, {100, 100}, {300, 300});
    EXPECT_FALSE(chart.Zoomed());
    chart.series->SetActive(true);
    chart.Picture();

    const TChartAxis& left = *chart.LeftAxis();
    chart.Press(Qt::LeftButton, {left.AxisLinePos() - 1, 100});
    EXPECT_TRUE(chart.ZoomRecord().Active);
    chart.Press(Qt::RightButton, {200, 200});  // ignored mid-drag
    EXPECT_FALSE(chart.PanningRecord().Active);
    chart.Release(Qt::RightButton, {200, 200});
    EXPECT_TRUE(chart.ZoomRecord().Active);  // only the zoom button ends a zoom drag
    chart.Release(Qt::LeftButton, {left.AxisLinePos() - 1, 100});
    EXPECT_FALSE(chart.ZoomRecord().Active);

    chart.SetAllowZoom(false);
    chart.Drag(Qt::LeftButton, {100, 100}, {300, 300});
    EXPECT_FALSE(chart.Zoomed());
}

TEST(PanelMouseTest, TheDragRectangleInvertsWhatItCrossesAndLeavesNoTrace)
{
    MouseChart chart;
    const QImage before = chart.Picture();
    chart.Press(Qt::LeftButton, {100, 100});
    chart.Move({200, 150});
    chart.Invalidate();  // a reading arriving mid-drag
    const QImage during = chart.Picture();
    for (const QPoint p : {QPoint(150, 100), QPoint(100, 120), QPoint(199, 120), QPoint(150, 149)})
        EXPECT_EQ(during.pixel(p) & 0xFFFFFF, ~before.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(150, 150), QPoint(200, 120), QPoint(150, 120)})
        EXPECT_EQ(during.pixel(p), before.pixel(p)) << p.x() << "," << p.y();
    EXPECT_EQ(chart.Canvas().Pen().Mode(), pmCopy);  // the chart's next drawing must not invert

    chart.Release(Qt::LeftButton, {110, 110});
    EXPECT_EQ(chart.Picture(), before);
}

TEST(PanelMouseTest, AnExceptionInAHandlerGoesToTheApplicationNotToQt)
{
    MouseChart chart;
    std::string reported;
    SetExceptionHandler([&](const std::exception& error) { reported = error.what(); });
    chart.SetOnZoom([](TObject*) { throw Exception("boom"); });
    chart.Drag(Qt::LeftButton, {100, 100}, {300, 250});
    SetExceptionHandler({});
    EXPECT_EQ(reported, "boom");
    EXPECT_TRUE(chart.Zoomed());
}

TEST(PanelMouseTest, ASeriesWithACursorOfItsOwnShowsItOverItsPoints)
{
    MouseChart chart;
    chart.SetCursor(crCross);
    chart.series->SetCursor(crHandPoint);
    const QPoint point(chart.series->XPixel(3), chart.series->YPixel(3));
    const QPoint empty(point.x(), chart.PlotRect().Bottom - 3);  // 18 at x = 3 is far above

    chart.Move(point);
    EXPECT_EQ(chart.ShownCursor(), crHandPoint);
    EXPECT_EQ(Widget(chart).cursor().shape(), Qt::PointingHandCursor);
    chart.Move(empty);
    EXPECT_EQ(chart.ShownCursor(), crCross);
    EXPECT_EQ(Widget(chart).cursor().shape(), Qt::CrossCursor);

    // A drag shows the default cursor while it lasts.
    chart.Move(point);
    chart.Press(Qt::RightButton, point);
    EXPECT_EQ(chart.ShownCursor(), crDefault);
    chart.Release(Qt::RightButton, point);

    // Leaving the chart, or the series leaving it, gives back its own.
    chart.Move(point);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&Widget(chart), &leave);
    EXPECT_EQ(chart.ShownCursor(), crCross);
    chart.Move(point);
    ASSERT_EQ(chart.ShownCursor(), crHandPoint);
    chart.series->SetParentChart(nullptr);
    EXPECT_EQ(chart.ShownCursor(), crCross);
}

}  // namespace
