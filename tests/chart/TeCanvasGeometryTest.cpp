// What the surface's primitives paint, pixel by pixel, on every platform:
// the rectangle and line rules, pens, clipping, pen modes.
#include "CanvasPixels.h"

namespace {

using namespace canvas_pixels;

TEST_F(SurfacePixels, RectangleOutlinesAndFillsLeftToRightMinusOne)
{
    const PixelSet all = Block(10, 10, 20, 20);
    const PixelSet inside = Block(11, 11, 19, 19);
    canvas.Pen().SetColor(clRed);
    canvas.Brush().SetColor(clBlue);
    canvas.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(PixelsOf(Image(), kRed), Minus(all, inside));
    EXPECT_EQ(PixelsOf(Image(), kBlue), inside);
    EXPECT_EQ(PixelsNot(Image(), kWhite), all);

    Start(60, 50);
    canvas.Rectangle(TRect{20, 20, 10, 10});
    EXPECT_EQ(PixelsOf(Image(), kRed), Minus(all, inside)) << "corners in the other order";
}

TEST_F(SurfacePixels, FillRectAndAnInvisiblePenFillTheSamePixelsWithoutOutline)
{
    canvas.Pen().SetColor(clRed);
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(TRect{10, 10, 20, 20});
    EXPECT_EQ(PixelsNot(Image(), kWhite), Block(10, 10, 20, 20));
    EXPECT_EQ(PixelsOf(Image(), kBlue), Block(10, 10, 20, 20));

    canvas.AssignChartPen(TChartHiddenPen());
    canvas.Rectangle(30, 10, 40, 20);
    EXPECT_EQ(PixelsOf(Image(), kBlue), Union(Block(10, 10, 20, 20), Block(30, 10, 40, 20)));
    EXPECT_TRUE(PixelsOf(Image(), kRed).empty());

    canvas.FillRect(TRect{50, 30, 45, 40});  // inverted: nothing
    EXPECT_EQ(PixelsOf(Image(), kBlue).size(), 200u);
}

TEST_F(SurfacePixels, RectangleAtDepthIsAPolygonThroughTheCorners)
{
    canvas.Pen().SetColor(clRed);
    canvas.Brush().SetColor(clBlue);
    canvas.RectangleAtDepth(TRect{10, 10, 20, 20}, 0);
    EXPECT_EQ(PixelsOf(Image(), kRed), Minus(Block(10, 10, 21, 21), Block(11, 11, 20, 20)));
    EXPECT_EQ(PixelsOf(Image(), kBlue), Block(11, 11, 20, 20));
}

TEST_F(SurfacePixels, SmallDotsSetEveryOtherPixel)
{
    TDottedGrayPen pen;
    pen.SetSmallDots(true);
    canvas.AssignChartPen(pen);
    canvas.HorizontalLine(0, 40, 5);
    PixelSet expected;
    for (int x = 0; x < 40; x += 2)
        expected.emplace(x, 5);
    EXPECT_EQ(PixelsOf(Image(), 0xFF808080), expected);
    EXPECT_EQ(PixelsNot(Image(), kWhite), expected);
}

TEST_F(SurfacePixels, OpaqueBackgroundFillsTheGapsOfStyledLines)
{
    canvas.Pen().SetStyle(psDot);
    canvas.Pen().SetColor(clRed);
    canvas.SetBackColor(clBlue);
    canvas.SetBackMode(OPAQUE);
    canvas.HorizontalLine(0, 12, 5);
    canvas.SetBackMode(TRANSPARENT);
    canvas.HorizontalLine(0, 12, 8);
    EXPECT_EQ(PixelsOf(Image(), kBlue), (PixelSet{{3, 5}, {4, 5}, {5, 5}, {9, 5}, {10, 5}, {11, 5}}));
    EXPECT_EQ(PixelsOf(Image(), kRed).size(), 12u);
}

TEST_F(SurfacePixels, BevelFrame)
{
    canvas.Pen().SetWidth(3);
    canvas.BevelFrame(TRect{0, 0, 60, 30}, clRed, clBlue, 1);
    PixelSet top, bottom;
    for (int y = 0; y <= 28; ++y)
        top.emplace(0, y);
    for (int x = 1; x <= 58; ++x)
        top.emplace(x, 0);
    for (int y = 0; y <= 29; ++y)
        bottom.emplace(59, y);
    for (int x = 0; x <= 58; ++x)
        bottom.emplace(x, 29);
    EXPECT_EQ(PixelsOf(Image(), kRed), top);
    EXPECT_EQ(PixelsOf(Image(), kBlue), bottom);
    EXPECT_EQ(PixelsNot(Image(), kWhite).size(), top.size() + bottom.size());
    EXPECT_EQ(canvas.Pen().Width(), 1);

    canvas.BevelFrame(TRect{20, 5, 30, 15}, clBlack, clBlack, 2);
    EXPECT_EQ(PixelsOf(Image(), 0xFF000000), Minus(Block(20, 5, 30, 15), Block(22, 7, 28, 13)));
}

TEST_F(SurfacePixels, BevelFrameOfTheWholeChart)
{
    Start(100, 50);
    canvas.BevelFrame(TRect{0, 0, 100, 50}, clRed, clBlue, 1);
    EXPECT_EQ(Image().pixel(0, 48), kRed);
    EXPECT_EQ(Image().pixel(0, 0), kRed);
    EXPECT_EQ(Image().pixel(98, 0), kRed);
    EXPECT_EQ(Image().pixel(99, 0), kBlue) << "the top line stops before (99, 0)";
    EXPECT_EQ(Image().pixel(99, 49), kBlue);
    EXPECT_EQ(Image().pixel(0, 49), kBlue) << "the bottom line runs to (0, 49)";
    EXPECT_EQ(PixelsOf(Image(), kRed).size(), 49u + 99u - 1u);
    EXPECT_EQ(PixelsOf(Image(), kBlue).size(), 50u + 99u);
}

TEST_F(SurfacePixels, ClipPlotLeavesTheFrameOutside)
{
    Start(536, 383);
    canvas.ClipPlot(TRect{16, 15, 520, 368}, 0, 0);
    EXPECT_EQ(canvas.ClipRect(), (TRect{17, 16, 520, 367}));
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(TRect{0, 0, 536, 383});
    canvas.Pen().SetColor(clBlue);
    canvas.Line(0, 200, 536, 200);
    canvas.SetPixel(16, 100, clBlue);
    canvas.TextOut(0, 0, "clipped away");
    EXPECT_EQ(BoundingBox(PixelsNot(Image(), kWhite)), (TRect{17, 16, 520, 367}));
    EXPECT_EQ(BoundingBox(PixelsOf(Image(), kBlue)), (TRect{17, 200, 520, 201}));

    canvas.Unclip();
    canvas.SetPixel(16, 100, clBlue);
    EXPECT_EQ(Image().pixel(16, 100), kBlue);
}

TEST_F(SurfacePixels, ClipRectangleIntersectsWithTheCurrentClip)
{
    canvas.ClipRectangle(TRect{5, 5, 30, 30});
    canvas.ClipRectangle(TRect{20, 0, 50, 25});
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(TRect{0, 0, 60, 50});
    EXPECT_EQ(PixelsNot(Image(), kWhite), Block(20, 5, 30, 25));

    canvas.ClipRectangle(TRect{40, 40, 50, 50});  // no overlap: nothing at all
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(TRect{0, 0, 60, 50});
    canvas.Line(0, 45, 60, 45);
    canvas.TextOut(40, 40, "x");
    EXPECT_TRUE(PixelsOf(Image(), kBlue).empty());
    EXPECT_EQ(PixelsOf(Image(), 0xFF000000).size(), 0u);
}

TEST_F(SurfacePixels, LinesEndBeforeTheirLastPoint)
{
    canvas.HorizontalLine(5, 9, 2);
    canvas.VerticalLine(2, 5, 9);
    canvas.Line(20, 20, 20, 20);
    canvas.DepthLine(30, 30, 0, 10);
    EXPECT_EQ(canvas.PenPos(), (TPoint{30, 30}));
    canvas.LineAtDepth(40, 10, 36, 14, 5);
    EXPECT_EQ(PixelsNot(Image(), kWhite), (PixelSet{{5, 2}, {6, 2}, {7, 2}, {8, 2}, {2, 5}, {2, 6}, {2, 7}, {2, 8},
                                                     {40, 10}, {39, 11}, {38, 12}, {37, 13}}));
}

TEST_F(SurfacePixels, LinesInEveryOctant)
{
    const int ends[][2] = {{5, 2}, {2, 5}, {-2, 5}, {-5, 2}, {-5, -2}, {-2, -5}, {2, -5}, {5, -2}};
    const PixelSet expected[] = {
        {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}},      {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}},
        {{0, 0}, {0, 1}, {-1, 2}, {-1, 3}, {-2, 4}},   {{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}, {-4, 2}},
        {{0, 0}, {-1, 0}, {-2, -1}, {-3, -1}, {-4, -2}}, {{0, 0}, {0, -1}, {-1, -2}, {-1, -3}, {-2, -4}},
        {{0, 0}, {0, -1}, {1, -2}, {1, -3}, {2, -4}},  {{0, 0}, {1, 0}, {2, -1}, {3, -1}, {4, -2}},
    };
    for (int i = 0; i < 8; ++i) {
        Start(40, 40);
        canvas.Line(20, 20, 20 + ends[i][0], 20 + ends[i][1]);
        PixelSet painted;
        for (const auto& [x, y] : PixelsNot(Image(), kWhite))
            painted.emplace(x - 20, y - 20);
        EXPECT_EQ(painted, expected[i]) << "octant " << i;
    }
}

TEST_F(SurfacePixels, NotXorInvertsAndTheSecondTimeRestores)
{
    canvas.Brush().SetColor(static_cast<TColor>(0x3C2814));
    canvas.FillRect(TRect{0, 0, 30, 50});
    canvas.Brush().SetStyle(bsClear);
    const std::vector<std::uint32_t> before = Image().Copy();
    canvas.Pen().SetMode(pmNotXor);
    canvas.Pen().SetColor(static_cast<TColor>(0x0080FF));
    for (int pass = 0; pass < 2; ++pass) {
        canvas.Rectangle(5, 5, 50, 40);
        canvas.Line(0, 0, 59, 33);
        canvas.Line(59, 49, 2, 3);
        if (pass == 0) {
            const std::uint32_t expected = 0xFF000000 | (~(0xFF8000u ^ 0x14283Cu) & 0xFFFFFF);
            EXPECT_EQ(Image().pixel(5, 20), expected);
            EXPECT_EQ(Image().pixel(49, 20), 0xFF000000 | (~(0xFF8000u ^ 0xFFFFFFu) & 0xFFFFFF));
        }
    }
    EXPECT_EQ(Image().Copy(), before);
}

TEST_F(SurfacePixels, SetPixelConvertsTheColour)
{
    canvas.Pen().SetMode(pmNotXor);  // not for pixels
    canvas.SetPixel(3, 4, clBtnFace);
    canvas.SetPixel(-1, 4, clRed);
    canvas.SetPixel(60, 4, clRed);
    EXPECT_EQ(Image().pixel(3, 4), ColorToPixel(clBtnFace));
    EXPECT_EQ(PixelsNot(Image(), kWhite).size(), 1u);
}

TEST_F(SurfacePixels, EllipseAndPolygonStayInsideTheirBounds)
{
    canvas.Pen().SetColor(clRed);
    canvas.Brush().SetColor(clBlue);
    canvas.Ellipse(10, 10, 30, 24);
    EXPECT_EQ(BoundingBox(PixelsNot(Image(), kWhite)), (TRect{10, 10, 30, 24}));
    EXPECT_EQ(Image().pixel(20, 17), kBlue);

    Start(60, 50);
    const TPoint triangle[] = {{10, 40}, {50, 40}, {30, 5}};
    canvas.Polygon(triangle);
    EXPECT_EQ(BoundingBox(PixelsNot(Image(), kWhite)), (TRect{10, 5, 51, 41}));
    EXPECT_EQ(Image().pixel(30, 30), kBlue);
    EXPECT_EQ(Image().pixel(10, 40), kRed);
    EXPECT_EQ(Image().pixel(30, 5), kRed);
}

TEST_F(SurfacePixels, DrawingWithoutATargetDoesNothing)
{
    canvas.SetTarget(TCanvas());
    canvas.Rectangle(0, 0, 10, 10);
    canvas.Line(0, 0, 10, 10);
    canvas.Pen().SetStyle(psDot);
    canvas.Line(0, 0, 10, 10);
    canvas.TextOut(0, 0, "x");
    canvas.Ellipse(0, 0, 10, 10);
    canvas.SetPixel(1, 1, clRed);
    EXPECT_TRUE(PixelsNot(Image(), kWhite).empty());
    EXPECT_GT(canvas.TextWidth("x"), 0) << "measuring needs no target";
}

}  // namespace
