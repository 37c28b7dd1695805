#include "chart/TeCanvasRaster.h"

void TPixelSink::Column(int x, int top, int bottom, std::uint32_t color) const
{
    if (top > bottom)
        return;
    if (FPixels != nullptr) {
        std::uint32_t* at = FPixels + static_cast<std::ptrdiff_t>(top) * FPixelsPerLine + x;
        for (int y = top; y <= bottom; ++y, at += FPixelsPerLine)
            *at = color;
    } else if (FPainter != nullptr) {
        FPainter->FillRect(TRect{x, top, x + 1, bottom + 1}, PixelToColor(color));
    }
}

void TPixelSink::Line(const TLineWalk& walk, std::uint32_t color) const
{
    if (FPixels != nullptr) {
        PaintLine(FPixels, FPixelsPerLine, walk, color);
        return;
    }
    if (FPainter == nullptr || walk.Count == 0)
        return;
    // Pixels that share a row (or column) go as one rectangle.
    const TColor rgb = PixelToColor(color);
    WalkLineRuns(
        walk, [](std::int64_t) { return true; },
        [&](int left, int top, int width, int height, bool) {
            FPainter->FillRect(TRect{left, top, left + width, top + height}, rgb);
        });
}
