// The chart on screens that are not 96 pixels per inch: its picture is made
// at the screen's device pixel ratio, so that text comes out at the screen's
// resolution while every line, frame and fill covers exactly the device
// pixels of the pixels it covers at ratio 1.
#include "chart/Chart.h"
#include "runtime/qt/QtPainter.h"
#include "chart/Series.h"
#include "chart/TeCanvas.h"

#include "MainWindowChart.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// The chart drawn onto an image of its size at `ratio`, as a window on such
// a screen gets it.
QImage DrawAt(TChart& chart, qreal ratio)
{
    QImage image(static_cast<int>(std::ceil(chart.Width() * ratio)),
                 static_cast<int>(std::ceil(chart.Height() * ratio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        const auto qtPainter = CreateQtPainter(painter);
        chart.DrawTo(TCanvas(*qtPainter), TRect{0, 0, chart.Width(), chart.Height()});
        chart.Canvas().SetTarget(TCanvas());
    }
    return image;
}

// Each pixel of `image` as a ratio x ratio block.
QImage ScaledUp(const QImage& image, int ratio)
{
    QImage scaled = image.scaled(image.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

// How many of the 2 x 2 blocks inside `area` (in pixels of the drawing) are
// not of one colour: detail finer than a pixel of the drawing.
int MixedBlocks(const QImage& image, const QRect& area)
{
    int mixed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(2 * x, 2 * y);
            if (image.pixel(2 * x + 1, 2 * y) != c || image.pixel(2 * x, 2 * y + 1) != c ||
                image.pixel(2 * x + 1, 2 * y + 1) != c)
                ++mixed;
        }
    return mixed;
}

// Readings as dense as a long night gives (many points to a pixel column,
// taking the column-run path), then sparse ones (a segment per point), with
// a gap and readings beyond the axis on both sides.
void AddNight(TLineSeries& series)
{
    std::mt19937 random(7);
    std::normal_distribution<double> step(0.0, 0.15);
    double reading = 19.5;
    for (int i = 0; i < 20000; ++i) {
        reading = std::clamp(reading + step(random), 14.0, 26.0);
        series.AddPoint(i, reading, "", clDefault);
    }
    series.AddPoint(20000, 0, "", clNone);
    for (int i = 20001; i < 20040; ++i)
        series.AddPoint(i + 300.0 * (i - 20000), 15.5 + std::fmod(i * 0.77, 10.5), "", clDefault);
}

class ChartDensity : public ::testing::Test {
protected:
    ChartDensity() : series(SetUpLikeTheMainWindow(chart)) { AddNight(*series); }

    TChart chart;
    TLineSeries* series;
};

TEST_F(ChartDensity, AtTwiceTheDensityEveryLineCoversTheBlocksOfItsPixels)
{
    // Without text, nothing in the picture is finer than its pixels.
    chart.LeftAxis()->SetLabels(false);
    const QImage single = DrawAt(chart, 1);
    const QImage twice = DrawAt(chart, 2);

    ASSERT_EQ(twice.size(), QSize(1072, 766));
    EXPECT_EQ(twice.devicePixelRatio(), 2);
    EXPECT_EQ(twice, ScaledUp(single, 2));
    // The picture kept for the next paint is made at the screen's ratio.
    ASSERT_NE(chart.Canvas().Bitmap(), nullptr);
    EXPECT_EQ(QtImage(*chart.Canvas().Bitmap()).size(), QSize(1072, 766));
    EXPECT_EQ(chart.Canvas().BitmapSize(), (TSize{536, 383}));
}

TEST_F(ChartDensity, AtTwiceTheDensityTextIsDrawnAtTheScreensResolution)
{
    const QImage single = DrawAt(chart, 1);
    const QImage twice = DrawAt(chart, 2);

    // The labels' strip, left of the axis line: the glyphs there have
    // edges inside the drawing's pixels.
    const int axisX = chart.LeftAxis()->AxisLinePos();
    const QRect labels(2, 2, axisX - 4, chart.Height() - 4);
    EXPECT_GT(MixedBlocks(twice, labels), 50);
    // Everything right of the labels is lines and fills, pixel for pixel.
    const QRect plot(axisX - 1, 0, chart.Width() - axisX + 1, chart.Height());
    EXPECT_EQ(twice.copy(QRect(plot.topLeft() * 2, plot.size() * 2)), ScaledUp(single.copy(plot), 2).copy());
}

TEST_F(ChartDensity, AtAFractionalDensityThePictureFillsTheWindow)
{
    const QImage picture = DrawAt(chart, 1.5);
    ASSERT_EQ(picture.size(), QSize(804, 575));
    // The image started black: the white chart and its raised bevel reach
    // every edge, and the line is drawn.
    EXPECT_EQ(picture.pixel(400, 0), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(0, 300), qRgb(255, 255, 255));
    const QImage single = DrawAt(chart, 1);
    EXPECT_EQ(picture.pixel(803, 300), single.pixel(535, 200));
    EXPECT_EQ(picture.pixel(400, 574), single.pixel(266, 382));
    EXPECT_NE(single.pixel(535, 200), qRgb(0, 0, 0));
    int lineColoured = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            lineColoured += picture.pixel(x, y) == qRgb(0, 128, 255);
    EXPECT_GT(lineColoured, 1000);
}

TEST_F(ChartDensity, MovingToAScreenOfAnotherDensityDrawsTheChartAgain)
{
    DrawAt(chart, 2);
    ASSERT_FALSE(chart.Canvas().Dirty());

    QImage single(536, 383, QImage::Format_RGB32);
    {
        QPainter painter(&single);
        const auto qtPainter = CreateQtPainter(painter);
        EXPECT_FALSE(chart.Canvas().RedrawFromBuffer(TCanvas(*qtPainter)));
        chart.Canvas().SetTarget(TCanvas());
    }
    QImage twice(1072, 766, QImage::Format_RGB32);
    twice.setDevicePixelRatio(2);
    {
        QPainter painter(&twice);
        const auto qtPainter = CreateQtPainter(painter);
        EXPECT_TRUE(chart.Canvas().RedrawFromBuffer(TCanvas(*qtPainter)));
        chart.Canvas().SetTarget(TCanvas());
    }

    // A paint at the new density makes a picture of that density.
    DrawAt(chart, 1);
    EXPECT_EQ(QtImage(*chart.Canvas().Bitmap()).size(), QSize(536, 383));
}

}  // namespace
