// What the surface's primitives paint, pixel by pixel: the rectangle and line
// rules, pens, clipping, pen modes, text placement, and that the direct pixel
// path and the QPainter path agree.
#include "chart/TeCanvas.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

PixelSet PixelsOf(const QImage& image, QRgb color)
{
    PixelSet pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color)
                pixels.emplace(x, y);
    return pixels;
}

PixelSet PixelsNot(const QImage& image, QRgb color)
{
    PixelSet pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != color)
                pixels.emplace(x, y);
    return pixels;
}

PixelSet Block(int left, int top, int right, int bottom)
{
    PixelSet pixels;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            pixels.emplace(x, y);
    return pixels;
}

PixelSet Minus(PixelSet a, const PixelSet& b)
{
    for (const auto& p : b)
        a.erase(p);
    return a;
}

PixelSet Union(PixelSet a, const PixelSet& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

// Lengths of the longest painted and unpainted runs along row y.
std::pair<int, int> LongestRuns(const QImage& image, int y, int from, int to)
{
    int longest[2] = {0, 0};
    int run = 0;
    bool previous = false;
    for (int x = from; x < to; ++x) {
        const bool painted = image.pixel(x, y) != 0xFFFFFFFF;
        run = (x > from && painted == previous) ? run + 1 : 1;
        previous = painted;
        longest[painted] = std::max(longest[painted], run);
    }
    return {longest[1], longest[0]};
}

TRect BoundingBox(const PixelSet& pixels)
{
    TRect box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (const auto& [x, y] : pixels)
        box = TRect{std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
    return box;
}

// A buffered surface on a white bitmap.
class SurfacePixels : public ::testing::Test {
protected:
    // Starts over on a new white bitmap.
    void Start(int width, int height)
    {
        canvas.SetUseBuffer(false);
        canvas.SetUseBuffer(true);
        canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, width, height}, false);
    }
    void SetUp() override { Start(60, 50); }
    const QImage& Image() const { return *canvas.Bitmap(); }

    TTeeCanvas3D canvas;
};

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

TEST_F(SurfacePixels, SmallDotsSetEveryOtherPixelWhileAWidePenDrawsItsDots)
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

// The same lines drawn through a caller's QPainter (no pixel access) and
// straight into the bitmap's pixels, clipped alike.
TEST(SurfacePaths, DirectPixelsAndQPainterAgree)
{
    QImage throughPainter(120, 90, QImage::Format_RGB32);
    throughPainter.fill(Qt::white);
    TTeeCanvas3D direct;
    direct.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 120, 90}, false);
    QPainter painter(&throughPainter);
    TTeeCanvas3D painted;
    painted.SetUseBuffer(false);
    painted.PrepareSurface(TCanvas(painter), nullptr, TRect{0, 0, 120, 90}, false);

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
    EXPECT_EQ(*direct.Bitmap(), throughPainter);
    EXPECT_GT(PixelsNot(throughPainter, kWhite).size(), 3000u);
}

TEST_F(SurfacePixels, NotXorInvertsAndTheSecondTimeRestores)
{
    canvas.Brush().SetColor(static_cast<TColor>(0x3C2814));
    canvas.FillRect(TRect{0, 0, 30, 50});
    canvas.Brush().SetStyle(bsClear);
    const QImage before = Image().copy();
    canvas.Pen().SetMode(pmNotXor);
    canvas.Pen().SetColor(static_cast<TColor>(0x0080FF));
    for (int pass = 0; pass < 2; ++pass) {
        canvas.Rectangle(5, 5, 50, 40);
        canvas.Line(0, 0, 59, 33);
        canvas.Line(59, 49, 2, 3);
        if (pass == 0) {
            const QRgb expected = 0xFF000000 | (~(0xFF8000u ^ 0x14283Cu) & 0xFFFFFF);
            EXPECT_EQ(Image().pixel(5, 20), expected);
            EXPECT_EQ(Image().pixel(49, 20), 0xFF000000 | (~(0xFF8000u ^ 0xFFFFFFu) & 0xFFFFFF));
        }
    }
    EXPECT_EQ(Image(), before);
}

TEST_F(SurfacePixels, SetPixelConvertsTheColour)
{
    canvas.Pen().SetMode(pmNotXor);  // not for pixels
    canvas.SetPixel(3, 4, clBtnFace);
    canvas.SetPixel(-1, 4, clRed);
    canvas.SetPixel(60, 4, clRed);
    EXPECT_EQ(Image().pixel(3, 4), ToQRgb(clBtnFace));
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

class SurfaceText : public SurfacePixels {
protected:
    void SetUp() override
    {
        Start(200, 80);
        canvas.Font().SetSize(12);
        canvas.SetBackMode(OPAQUE);
        canvas.SetBackColor(clBlue);
    }
    // The text's cell, found by its opaque background.
    TRect Cell() const { return BoundingBox(PixelsNot(Image(), kWhite)); }
};

TEST_F(SurfaceText, FontHeightIsTheHeightOfW)
{
    EXPECT_GT(canvas.FontHeight(), 0);
    EXPECT_EQ(canvas.FontHeight(), canvas.TextHeight("W"));
    EXPECT_GT(canvas.TextWidth("WW"), canvas.TextWidth("W"));
    EXPECT_EQ(canvas.TextWidth(""), 0);
    const int small = canvas.FontHeight();
    canvas.Font().SetSize(24);
    EXPECT_GT(canvas.FontHeight(), small);
}

TEST_F(SurfaceText, AlignmentPlacesTheCell)
{
    const std::string text = "HHH";
    const int w = canvas.TextWidth(text);
    const int h = canvas.TextHeight(text);
    struct Case {
        int align;
        TRect cell;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, {100, 40, 100 + w, 40 + h}},
        {TA_RIGHT | TA_TOP, {100 - w, 40, 100, 40 + h}},
        {TA_CENTER | TA_TOP, {100 - w / 2, 40, 100 - w / 2 + w, 40 + h}},
        {TA_LEFT | TA_BOTTOM, {100, 40 - h, 100 + w, 40}},
    };
    for (const Case& c : cases) {
        Start(200, 80);
        canvas.SetTextAlign(c.align);
        canvas.TextOut(100, 40, text);
        EXPECT_EQ(Cell(), c.cell) << "align " << c.align;
    }
    Start(200, 80);
    canvas.SetTextAlign(TA_LEFT | TA_BASELINE);
    canvas.TextOut(100, 40, text);
    EXPECT_EQ(Cell().Height(), h);
    EXPECT_LT(Cell().Top, 40) << "the baseline lies inside the cell";
    EXPECT_GT(Cell().Bottom, 40);
}

TEST_F(SurfaceText, TextIsDrawnInTheFontColourWithoutBackgroundWhenTransparent)
{
    canvas.SetBackMode(TRANSPARENT);
    canvas.Font().SetSize(28);
    canvas.Font().SetColor(clRed);
    canvas.TextOut(10, 10, "HIL");
    EXPECT_TRUE(PixelsOf(Image(), kBlue).empty());
    EXPECT_GT(PixelsOf(Image(), kRed).size(), 20u);
    const TRect ink = BoundingBox(PixelsNot(Image(), kWhite));
    EXPECT_GE(ink.Left, 10);
    EXPECT_LE(ink.Right, 10 + canvas.TextWidth("HIL"));
}

TEST_F(SurfaceText, RotatedTextRunsUpwardsFromItsAnchor)
{
    canvas.SetBackMode(TRANSPARENT);
    Start(80, 200);
    canvas.RotatedText(40, 150, 450, "HHHHHH");  // 450 is 90 degrees
    EXPECT_EQ(canvas.Brush().Style(), bsClear);
    const TRect ink = BoundingBox(PixelsNot(Image(), kWhite));
    EXPECT_LE(ink.Bottom, 151);
    EXPECT_GE(ink.Left, 39);
    EXPECT_LE(ink.Right, 41 + canvas.TextHeight("H"));
    EXPECT_GT(ink.Height(), canvas.TextWidth("HHHHHH") - 4);
}

}  // namespace
