// The surface on GDI, where the system decides: memory DCs and DIB sections
// without a display, the system's fills, pens and raster operations, copies
// between buffers, and text measured and placed by GDI with a pinned font.
#include "chart/TeCanvas.h"
#include "runtime/win32/GdiPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <utility>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

std::uint32_t Pixel(TBitmap& bitmap, int x, int y)
{
    const TPixelBuffer buffer = bitmap.Buffer();
    return buffer.Pixels[static_cast<std::ptrdiff_t>(y) * buffer.Stride + x] & 0xFFFFFF;
}

PixelSet PixelsNot(TBitmap& bitmap, std::uint32_t color)
{
    PixelSet pixels;
    const TPixelBuffer buffer = bitmap.Buffer();
    for (int y = 0; y < buffer.Height; ++y)
        for (int x = 0; x < buffer.Width; ++x)
            if (Pixel(bitmap, x, y) != color)
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

constexpr std::uint32_t kWhite = 0xFFFFFF;

TEST(GdiBuffers, MemoryDCsAndDibSectionsWorkWithoutADisplay)
{
    const std::unique_ptr<TBitmap> bitmap = CreateBitmap(40, 30, 1, clRed);
    ASSERT_NE(bitmap, nullptr);
    const TPixelBuffer buffer = bitmap->Buffer();
    ASSERT_NE(buffer.Pixels, nullptr);
    EXPECT_EQ(buffer.Width, 40);
    EXPECT_EQ(buffer.Height, 30);
    EXPECT_EQ(buffer.Stride, 40);
    EXPECT_EQ(Pixel(*bitmap, 39, 29), 0xFF0000u) << "filled with red, top-down rows";

    // What GDI draws shows in the pixels the surface writes.
    const std::unique_ptr<TPainter> painter = bitmap->CreatePainter();
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(painter->Bounds(), (TRect{0, 0, 40, 30}));
    painter->FillRect(TRect{0, 0, 5, 2}, clBlue);
    EXPECT_EQ(Pixel(*bitmap, 4, 1), 0x0000FFu);
    EXPECT_EQ(Pixel(*bitmap, 5, 1), 0xFF0000u);
    EXPECT_EQ(painter->Pixels().Pixels, buffer.Pixels);

    EXPECT_EQ(CreateBitmap(0, 30, 1, clWhite), nullptr);
    EXPECT_EQ(CreateBitmap(40, 30, 0, clWhite), nullptr);
}

// On a dense screen a pixel of the drawing is a block of device pixels:
// fills, copies and clips land on whole blocks, text is drawn anew at the
// larger size, and no pixels are offered for writing directly.
TEST(GdiBuffers, AtTwiceTheDensityEveryPixelIsATwoByTwoBlock)
{
    const std::unique_ptr<TBitmap> bitmap = CreateBitmap(41, 30, 2, clWhite);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->DevicePixelRatio(), 2);
    EXPECT_EQ(bitmap->LogicalWidth(), 20.5);
    const std::unique_ptr<TPainter> painter = bitmap->CreatePainter();
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(painter->Bounds(), (TRect{0, 0, 20, 15}));
    EXPECT_EQ(painter->Pixels().Pixels, nullptr);
    EXPECT_EQ(painter->DevicePixelRatio(), 2);

    painter->FillRect(TRect{2, 3, 5, 4}, clBlue);
    painter->SetPixel(10, 10, clRed);
    EXPECT_EQ(PixelsNot(*bitmap, kWhite), []{
        PixelSet expected = Block(4, 6, 10, 8);
        expected.merge(Block(20, 20, 22, 22));
        return expected;
    }());

    // A buffer of the same density is copied device pixel for device pixel.
    const std::unique_ptr<TBitmap> source = CreateBitmap(4, 2, 2, static_cast<TColor>(0x00FF00));
    painter->SetClip(TRect{0, 0, 1, 1});
    painter->DrawBitmap(6, 1, *source, TPainter::TCopyMode::Copy);
    EXPECT_EQ(Pixel(*bitmap, 12, 2), 0x00FF00u);
    EXPECT_EQ(Pixel(*bitmap, 15, 3), 0x00FF00u);
    EXPECT_EQ(Pixel(*bitmap, 16, 2), kWhite) << "not enlarged a second time";

    // The clip is in pixels of the drawing too.
    painter->SetClip(TRect{0, 0, 3, 3});
    painter->FillRect(TRect{0, 0, 20, 15}, clBlack);
    EXPECT_EQ(Pixel(*bitmap, 5, 5), 0u);
    EXPECT_EQ(Pixel(*bitmap, 6, 5), kWhite);
    EXPECT_EQ(Pixel(*bitmap, 3, 6), kWhite);
}

TEST(GdiBuffers, TextAtTwiceTheDensityIsTwiceAsTall)
{
    const auto inkRows = [](double ratio) {
        const std::unique_ptr<TBitmap> bitmap = CreateBitmap(static_cast<int>(60 * ratio),
                                                             static_cast<int>(30 * ratio), ratio, clWhite);
        const std::unique_ptr<TPainter> painter = bitmap->CreatePainter();
        TPainterFont font;
        font.Name = "Tahoma";
        font.PixelSize = 11;
        painter->SetFont(font);
        painter->TextOut(2, 2, 0, TA_LEFT | TA_TOP, "8");
        const TPixelBuffer buffer = bitmap->Buffer();
        int top = buffer.Height, bottom = -1;
        for (int y = 0; y < buffer.Height; ++y)
            for (int x = 0; x < buffer.Width; ++x)
                if ((buffer.Pixels[static_cast<std::ptrdiff_t>(y) * buffer.Stride + x] & 0xFFFFFF) != kWhite) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        return bottom - top + 1;
    };
    const int single = inkRows(1);
    ASSERT_GT(single, 5);
    EXPECT_NEAR(inkRows(2), 2 * single, 2);
}

TEST(GdiPainter, BrushFillsLeaveOutTheRightAndBottomEdgesInEveryMode)
{
    const std::unique_ptr<TBitmap> bitmap = CreateBitmap(30, 30, 1, clWhite);
    const std::unique_ptr<TPainter> painter = bitmap->CreatePainter();
    painter->SetBrush(TPainterBrush{0x00FF00, bsSolid});
    painter->FillBrushRect(TRect{10, 10, 20, 20}, pmCopy);
    EXPECT_EQ(PixelsNot(*bitmap, kWhite), Block(10, 10, 20, 20));
    EXPECT_EQ(Pixel(*bitmap, 19, 19), 0x00FF00u);

    // Green xor white is magenta; the second time brings white back.
    painter->FillBrushRect(TRect{15, 0, 25, 30}, pmXor);
    EXPECT_EQ(Pixel(*bitmap, 16, 5), 0xFF00FFu);
    EXPECT_EQ(Pixel(*bitmap, 16, 15), 0x000000u);
    painter->FillBrushRect(TRect{15, 0, 25, 30}, pmXor);
    EXPECT_EQ(PixelsNot(*bitmap, kWhite), Block(10, 10, 20, 20));
}

TEST(GdiPainter, LinesLeaveOutTheirEndPointAndAlternatePensEveryOtherPixel)
{
    const std::unique_ptr<TBitmap> bitmap = CreateBitmap(30, 30, 1, clWhite);
    const std::unique_ptr<TPainter> painter = bitmap->CreatePainter();
    painter->SetPen(TPainterPen{clBlack, 1, psSolid, pmCopy});
    painter->Line(TPoint{5, 5}, TPoint{15, 5}, 0);
    painter->Line(TPoint{3, 10}, TPoint{3, 7}, 0);
    PixelSet expected = Block(5, 5, 15, 6);
    expected.insert({{3, 10}, {3, 9}, {3, 8}});
    EXPECT_EQ(PixelsNot(*bitmap, kWhite), expected);

    painter->SetPen(TPainterPen{clBlack, 1, psAlternate, pmCopy});
    painter->Line(TPoint{0, 20}, TPoint{20, 20}, 0);
    int painted = 0;
    for (int x = 0; x < 30; ++x) {
        const bool on = Pixel(*bitmap, x, 20) != kWhite;
        painted += on;
        if (x > 0 && x < 20) {
            EXPECT_NE(on, Pixel(*bitmap, x - 1, 20) != kWhite) << "at " << x;
        }
    }
    EXPECT_EQ(painted, 10);
}

TEST(GdiPainter, CopiesABufferOverOrInvertingAndIgnoresTheClip)
{
    const std::unique_ptr<TBitmap> source = CreateBitmap(4, 3, 1, static_cast<TColor>(0x0000FF));
    const std::unique_ptr<TBitmap> target = CreateBitmap(10, 10, 1, clWhite);
    const std::unique_ptr<TPainter> painter = target->CreatePainter();
    painter->SetClip(TRect{0, 0, 1, 1});
    painter->DrawBitmap(2, 3, *source, TPainter::TCopyMode::Copy);
    EXPECT_EQ(PixelsNot(*target, kWhite), Block(2, 3, 6, 6));
    EXPECT_EQ(Pixel(*target, 5, 5), 0xFF0000u);

    painter->DrawBitmap(4, 3, *source, TPainter::TCopyMode::Invert);
    EXPECT_EQ(Pixel(*target, 3, 4), 0xFF0000u) << "left alone";
    EXPECT_EQ(Pixel(*target, 4, 4), 0x000000u) << "red over red";
    EXPECT_EQ(Pixel(*target, 7, 4), 0x00FFFFu) << "red over white";
}

TEST(GdiPainter, LeavesAForeignDCAsItFoundIt)
{
    TGdiBitmap bitmap(20, 20);
    HDC dc = bitmap.DC();
    const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    {
        const std::unique_ptr<TPainter> painter = CreateGdiPainter(dc, TRect{0, 0, 20, 20});
        painter->SetPen(TPainterPen{clRed, 3, psSolid, pmNotXor});
        painter->SetBrush(TPainterBrush{clBlue, bsCross});
        painter->SetFont(TPainterFont{"Tahoma", 11, fsBold, clRed});
        painter->SetClip(TRect{2, 2, 5, 5});
        painter->Line(TPoint{0, 0}, TPoint{19, 19}, 0);
        EXPECT_NE(GetCurrentObject(dc, OBJ_PEN), pen);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, region), 0) << "no clip left behind";
    DeleteObject(region);
}

TEST(GdiSurface, BuffersOnADibSectionAndCopiesItToTheWindow)
{
    TTeeCanvas3D canvas;
    const TRect drawing = canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 40, 30}, false);
    ASSERT_NE(canvas.Bitmap(), nullptr);
    const TBitmap* first = canvas.Bitmap();
    EXPECT_EQ(canvas.BitmapSize(), (TSize{40, 30}));
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(TRect{drawing.Left, drawing.Top, 10, 10});
    canvas.Brush().SetColor(clYellow);
    canvas.FillRect(TRect{10, 0, 20, 10});

    TGdiBitmap window(60, 50);
    ASSERT_NE(window.Handle(), nullptr);
    canvas.FinishSurface(TCanvas(window), TCanvas(), TRect{5, 6, 45, 36});
    EXPECT_FALSE(canvas.Dirty());
    EXPECT_EQ(Pixel(window, 5, 6), 0xFF0000u);
    EXPECT_EQ(Pixel(window, 14, 15), 0xFF0000u);
    EXPECT_EQ(Pixel(window, 15, 6), 0xFFFF00u);
    EXPECT_EQ(Pixel(window, 44, 35), kWhite) << "the rest of the buffer is white";

    canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 40, 30}, false);
    EXPECT_EQ(canvas.Bitmap(), first) << "the same size keeps the DIB section";
    canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});

    // Monochrome shows each pixel black or white by its grey level.
    canvas.SetMonochrome(true);
    canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 40, 30}, false);
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(TRect{0, 0, 10, 10});
    canvas.Brush().SetColor(clYellow);
    canvas.FillRect(TRect{10, 0, 20, 10});
    canvas.FinishSurface(TCanvas(window), TCanvas(), TRect{0, 0, 40, 30});
    EXPECT_EQ(Pixel(window, 2, 2), 0x000000u);
    EXPECT_EQ(Pixel(window, 12, 2), 0xFFFFFFu);
}

TEST(GdiSurface, SystemColoursAreTheSystemsOwn)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clBtnShadow), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(ColorToRGB(clWindowText), static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT)));
}

// Tahoma, which Wine ships, at the chart's 8 points (11 pixels).
class GdiText : public ::testing::Test {
protected:
    void SetUp() override
    {
        canvas.Font().SetName("Tahoma");
        canvas.Font().SetSize(8);
    }
    TTeeCanvas3D canvas;
};

TEST_F(GdiText, ExtentsComeFromTheFontWithoutATarget)
{
    // The cell of 11-pixel Tahoma, as Wine's own copy of it measures.
    EXPECT_EQ(canvas.FontHeight(), 13);
    EXPECT_EQ(canvas.TextHeight("g"), canvas.FontHeight());
    const int one = canvas.TextWidth("8");
    EXPECT_GT(one, 3);
    EXPECT_EQ(canvas.TextWidth("88888"), 5 * one) << "digits share one advance";
    // UTF-8 reaches GDI as the characters it spells: one e-acute, not two.
    EXPECT_EQ(canvas.TextWidth("\xC3\xA9"), canvas.TextWidth("e"));
    canvas.Font().SetStyle(fsBold);
    EXPECT_GT(canvas.TextWidth("88888"), 5 * one);
}

}  // namespace
