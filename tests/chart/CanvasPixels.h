// What the surface's pixel tests share: sets of pixels, and a buffered
// surface on a white bitmap whose pixels are read as 0xFFRRGGBB whatever
// the platform keeps in the top byte.
#pragma once

#include "chart/TeCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace canvas_pixels {

// The pixels of a bitmap, read like an image.
class TPixelView {
public:
    explicit TPixelView(const TBitmap& bitmap) : FBuffer(const_cast<TBitmap&>(bitmap).Buffer()) {}
    int width() const { return FBuffer.Width; }
    int height() const { return FBuffer.Height; }
    std::uint32_t pixel(int x, int y) const
    {
        return FBuffer.Pixels[static_cast<std::ptrdiff_t>(y) * FBuffer.Stride + x] | 0xFF000000u;
    }
    // Every pixel, row by row.
    std::vector<std::uint32_t> Copy() const
    {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                pixels.push_back(pixel(x, y));
        return pixels;
    }

private:
    TPixelBuffer FBuffer;
};

using PixelSet = std::set<std::pair<int, int>>;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;

template <typename Image>
PixelSet PixelsOf(const Image& image, std::uint32_t color)
{
    PixelSet pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color)
                pixels.emplace(x, y);
    return pixels;
}

template <typename Image>
PixelSet PixelsNot(const Image& image, std::uint32_t color)
{
    PixelSet pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != color)
                pixels.emplace(x, y);
    return pixels;
}

inline PixelSet Block(int left, int top, int right, int bottom)
{
    PixelSet pixels;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            pixels.emplace(x, y);
    return pixels;
}

inline PixelSet Minus(PixelSet a, const PixelSet& b)
{
    for (const auto& p : b)
        a.erase(p);
    return a;
}

inline PixelSet Union(PixelSet a, const PixelSet& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

// Lengths of the longest painted and unpainted runs along row y.
template <typename Image>
std::pair<int, int> LongestRuns(const Image& image, int y, int from, int to)
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

inline TRect BoundingBox(const PixelSet& pixels)
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
    TPixelView Image() const { return TPixelView(*canvas.Bitmap()); }

    TTeeCanvas3D canvas;
};

}  // namespace canvas_pixels
