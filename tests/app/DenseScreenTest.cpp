// The main window on a screen of twice the usual density: the window keeps
// its layout in pixels and Qt scales it; the chart and the gauge make their
// pictures at the screen's resolution, and the chart shows exactly the
// checked-in picture's lines and fills, each pixel as a 2 x 2 block.
#include "ChartPictureReadings.h"
#include "WindowFixture.h"

#include "chart/TeCanvas.h"

#include "ControlWidgets.h"

#include <QImage>

#ifndef GOLDEN_DIR
#error "the test target must define GOLDEN_DIR"
#endif

namespace {

// Set before the test program's main makes the application, which reads it.
const bool kScaledByTwo = qputenv("QT_SCALE_FACTOR", "2");

class DenseScreenWindow : public MeterOnFakePort {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kScaledByTwo);
        ASSERT_EQ(form.DevicePixelRatio(), 2);
        Greet();
        for (int i = 0; i < kChartPictureReadings; ++i)
            Receive(ChartPictureReading(i));
        ASSERT_EQ(form.Series1->PointCount(), kChartPictureReadings);
    }

    static QImage Grab(const TControl& control) { return ::Grab(control).convertToFormat(QImage::Format_RGB32); }
};

TEST_F(DenseScreenWindow, ChartShowsTheCheckedInLinesAtTwiceTheSize)
{
    const QImage picture = Grab(*form.Chart1);
    ASSERT_EQ(picture.size(), QSize(1072, 766));
    ASSERT_NE(form.Chart1->Canvas().Bitmap(), nullptr);
    EXPECT_EQ(form.Chart1->Canvas().Bitmap()->DevicePixelRatio(), 2);

    const QImage golden = QImage(QStringLiteral(GOLDEN_DIR "/main-window-chart.png"))
                              .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(golden.size(), QSize(536, 383));
    // From the ticks on, right of the labels (which are drawn anew at this
    // resolution), every device pixel is the golden pixel it lies in.
    const TChartAxis& axis = *form.Chart1->LeftAxis();
    const int from = axis.AxisLinePos() - axis.TickLength();
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 2 * from; x < picture.width(); ++x)
            differing += picture.pixel(x, y) != golden.pixel(x / 2, y / 2);
    EXPECT_EQ(differing, 0);

    // The labels have detail finer than a pixel of the layout.
    int mixed = 0;
    for (int y = 0; y < 383; ++y)
        for (int x = 2; x < from; ++x) {
            const QRgb c = picture.pixel(2 * x, 2 * y);
            mixed += picture.pixel(2 * x + 1, 2 * y) != c || picture.pixel(2 * x, 2 * y + 1) != c ||
                     picture.pixel(2 * x + 1, 2 * y + 1) != c;
        }
    EXPECT_GT(mixed, 50);
}

TEST_F(DenseScreenWindow, GaugeShowsTheLastReadingAtTwiceTheSize)
{
    // The last reading is 21.25: the bar fills 62 % of the face, from the
    // bottom.
    ASSERT_EQ(form.Gauge1->Progress(), 2125);
    const QImage gauge = Grab(*form.Gauge1);
    const QSize size(form.Gauge1->Width(), form.Gauge1->Height());
    ASSERT_EQ(gauge.size(), size * 2);
    const int middle = size.width();  // in device pixels
    EXPECT_EQ(gauge.pixel(middle, 2 * size.height() - 10), qRgb(0, 128, 255));
    EXPECT_EQ(gauge.pixel(middle, 20), qRgb(255, 255, 255));
    // The one-pixel frame is two device pixels wide.
    EXPECT_EQ(gauge.pixel(0, size.height()), qRgb(0, 0, 0));
    EXPECT_EQ(gauge.pixel(1, size.height()), qRgb(0, 0, 0));
    EXPECT_NE(gauge.pixel(2, size.height()), qRgb(0, 0, 0));
}

TEST_F(DenseScreenWindow, WindowKeepsItsLayoutAndScales)
{
    const QImage window = Grab(form);
    EXPECT_EQ(window.size(), Widget(form).size() * 2);
    EXPECT_EQ(Widget(*form.Chart1).size(), QSize(536, 383));
    // The reading's big number is drawn in the reading's colour.
    const QWidget& label = Widget(*form.Label1);
    const QRect number(label.mapTo(&Widget(form), QPoint()) * 2, label.size() * 2);
    int inked = 0;
    for (int y = number.top(); y <= number.bottom(); ++y)
        for (int x = number.left(); x <= number.right(); ++x)
            inked += window.pixel(x, y) == qRgb(0, 128, 255);
    EXPECT_GT(inked, 100);
}

}  // namespace
