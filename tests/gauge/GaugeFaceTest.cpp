// The gauge's finished face on every platform: pie and needle, the frame
// at every size, the percentage inverting what lies beneath it.
#include "GaugeLooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

TColor PixelAt(const std::unique_ptr<TBitmap>& face, int x, int y)
{
    const TPixelBuffer buffer = face->Buffer();
    return PixelToColor(buffer.Pixels[static_cast<std::ptrdiff_t>(y) * buffer.Stride + x]);
}

// A face's size in device pixels; none without a face.
TSize SizeOf(const std::unique_ptr<TBitmap>& face)
{
    if (!face)
        return TSize{};
    const TPixelBuffer buffer = face->Buffer();
    return TSize{buffer.Width, buffer.Height};
}

TEST(Gauge, PieAndNeedleFaces)
{
    // Sample points in the quadrants of a 101 x 101 pie, clockwise from the
    // upper right.
    const struct {
        int percent;
        TColor quadrants[4];
    } pies[] = {
        {0, {clWhite, clWhite, clWhite, clWhite}}, {25, {clBlue, clWhite, clWhite, clWhite}},
        {50, {clBlue, clBlue, clWhite, clWhite}},  {99, {clBlue, clBlue, clBlue, clBlue}},
        {100, {clBlue, clBlue, clBlue, clBlue}},
    };
    const int dx[] = {1, 1, -1, -1}, dy[] = {-1, 1, 1, -1};
    for (const auto& pie : pies) {
        const std::unique_ptr<TBitmap> image = RenderGauge(Look(gkPie, pie.percent), 101, 101);
        for (int q = 0; q < 4; ++q)
            EXPECT_EQ(PixelAt(image, 50 + 20 * dx[q], 50 + 20 * dy[q]), pie.quadrants[q]) << pie.percent << " % q" << q;
        EXPECT_EQ(PixelAt(image, 2, 2), clYellow);  // outside the ellipse: Color
    }
    // At 1 % of a small pie the start rounds onto the top point: no sector.
    EXPECT_EQ(PixelAt(RenderGauge(Look(gkPie, 1), 10, 10), 5, 5), clWhite);
    // The needle stands upright at 50 % and is absent at 0 %.
    EXPECT_EQ(PixelAt(RenderGauge(Look(gkNeedle, 50), 101, 101), 50, 40), clBlue);
    EXPECT_EQ(PixelAt(RenderGauge(Look(gkNeedle, 0), 101, 101), 50, 40), clWhite);
}

// Every kind at every size down to nothing keeps its frame black (but for
// the needle's base line on the bottom row).
TEST(Gauge, FacesOfEverySizeKeepTheirFrame)
{
    for (const TGaugeKind kind : {gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle})
        for (const int percent : {0, 1, 50, 75, 100})
            for (const TSize size : {TSize{0, 0}, TSize{1, 1}, TSize{2, 2}, TSize{3, 7}, TSize{24, 14}, TSize{101, 60}}) {
                TGaugeLook look = Look(kind, percent);
                look.ShowText = true;
                const std::unique_ptr<TBitmap> image = RenderGauge(look, size.Width, size.Height);
                ASSERT_EQ(SizeOf(image), size);
                const int w = size.Width, h = size.Height;
                for (int y = 0; y < (kind == gkNeedle ? h - 1 : h); ++y) {
                    for (int x = 0; x < w; ++x) {
                        if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                            ASSERT_EQ(PixelAt(image, x, y), clBlack)
                                << int(kind) << " at " << percent << " % " << w << "x" << h << " (" << x << ", " << y << ")";
                        }
                    }
                }
            }
}

TEST(Gauge, TextInvertsWhatLiesBeneath)
{
    TGaugeLook look = Look(gkHorizontalBar, 50);
    look.Font.PixelSize = 24;
    const std::unique_ptr<TBitmap> plain = RenderGauge(look, 100, 40);
    look.ShowText = true;
    const std::unique_ptr<TBitmap> text = RenderGauge(look, 100, 40);
    int invertedOverBar = 0, invertedOverBack = 0, left = 100, right = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) {
            const TColor beneath = PixelAt(plain, x, y);
            if (PixelAt(text, x, y) == beneath)
                continue;
            ASSERT_EQ(PixelAt(text, x, y), beneath ^ 0xFFFFFF) << "(" << x << ", " << y << ")";
            ASSERT_TRUE(x > 0 && x < 99 && y > 0 && y < 39) << "on the frame at (" << x << ", " << y << ")";
            ++(beneath == clBlue ? invertedOverBar : invertedOverBack);
            left = std::min(left, x);
            right = std::max(right, x);
        }
    EXPECT_GT(invertedOverBar, 10);
    EXPECT_GT(invertedOverBack, 10);
    EXPECT_NEAR((left + right) / 2.0, 50, 4);
}

}  // namespace
