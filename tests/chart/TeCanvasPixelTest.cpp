// What the Qt painter decides itself where GDI's own pens decide on Windows:
// wide styled pens and the dash pattern across LineTo; and that the direct
// pixel path and the path through a caller's QPainter agree.
#include "CanvasPixels.h"
#include "chart/TeCanvas.h"
#include "runtime/qt/QtPainter.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

namespace {

using namespace canvas_pixels;


TEST_F(SurfacePixels, AWidePenDrawsItsStyleRatherThanSmallDots)
{
    TDottedGrayPen pen;
    pen.SetSmallDots(true);
    pen.SetWidth(2);
    canvas.AssignChartPen(pen);
    canvas.HorizontalLine(0, 60, 20);
    const auto [longestDot, longestGap] = LongestRuns(Image(), 20, 2, 58);
    EXPECT_GE(longestDot, 2) << "the style's dots, not single pixels";
    EXPECT_GE(longestGap, 2);
}

TEST_F(SurfacePixels, StyledPensKeepTheirPatternAcrossLineTo)
{
    canvas.Pen().SetStyle(psDot);
    canvas.Line(0, 5, 12, 5);
    canvas.MoveTo(0, 10);
    canvas.LineTo(4, 10);
    canvas.LineTo(12, 10);
    PixelSet row5, row10;
    for (const auto& [x, y] : PixelsNot(Image(), kWhite))
        (y == 5 ? row5 : row10).emplace(x, 0);
    EXPECT_EQ(row5, (PixelSet{{0, 0}, {1, 0}, {2, 0}, {6, 0}, {7, 0}, {8, 0}}));
    EXPECT_EQ(row10, row5);
}

// The same lines drawn through a caller's QPainter (no pixel access) and
// straight into the bitmap's pixels, clipped alike.
TEST(SurfacePaths, DirectPixelsAndQPainterAgree)
{
    QImage throughPainter(120, 90, QImage::Format_RGB32);
    throughPainter.fill(Qt::white);
    TTeeCanvas3D direct;
    direct.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 120, 90}, false);
    QPainter painter(&throughPainter);
    const auto qtPainter = CreateQtPainter(painter);
    TTeeCanvas3D painted;
    painted.SetUseBuffer(false);
    painted.PrepareSurface(TCanvas(*qtPainter), nullptr, TRect{0, 0, 120, 90}, false);

    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(-40, 160);
    for (int i = 0; i < 400; ++i) {
        if (i % 50 == 0) {
            const TRect clip{10 + i / 50, 8, 100 - i / 25, 80};
            for (TTeeCanvas3D* canvas : {&direct, &painted}) {
                canvas->Unclip();
                canvas->ClipRectangle(clip);
                canvas->Pen().SetColor(static_cast<TColor>(0x102030 * (i / 50 + 1)));
            }
        }
        const int x0 = coordinate(random), y0 = coordinate(random);
        const int x1 = coordinate(random), y1 = coordinate(random);
        direct.Line(x0, y0, x1, y1);
        painted.Line(x0, y0, x1, y1);
    }
    painted.SetTarget(TCanvas());
    painter.end();
    direct.FinishSurface(TCanvas(), TCanvas(), TRect{});
    EXPECT_EQ(QtImage(*direct.Bitmap()), throughPainter);
    EXPECT_GT(PixelsNot(throughPainter, kWhite).size(), 3000u);
}

}  // namespace
