// Where the surface puts text: the cell its extent gives, placed by the text
// alignment, in the font's colour, and turned for rotated text. The font is
// one the platform's tests can count on (UMBRASCOPE_TEST_TEXT_FONT).
#include "CanvasPixels.h"

#include <string>

namespace {

using namespace canvas_pixels;

class SurfaceText : public SurfacePixels {
protected:
    void SetUp() override
    {
        Start(200, 80);
        canvas.Font().SetName(UMBRASCOPE_TEST_TEXT_FONT);
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
