// The one-pixel line rule, checked without any painter: which pixels a line
// paints, that clipping never moves one, and that the direct pixel writer
// paints what the walk says.
#include "chart/TeCanvasRaster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using Pixels = std::vector<std::pair<int, int>>;

const TRect kEverywhere{-1000000, -1000000, 1000000, 1000000};

Pixels Walk(int x0, int y0, int x1, int y1, const TRect& clip = kEverywhere)
{
    Pixels pixels;
    TLineWalk walk;
    if (PlanLine(x0, y0, x1, y1, clip, walk))
        WalkLine(walk, [&](int x, int y) { pixels.emplace_back(x, y); });
    return pixels;
}

struct OctantCase {
    int x1, y1;
    Pixels expected;
};

TEST(LineRaster, EachOctantPaintsTheNearestPixelsAndNotTheEnd)
{
    const OctantCase cases[] = {
        {5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}},
        {-2, 5, {{0, 0}, {0, 1}, {-1, 2}, {-1, 3}, {-2, 4}}},
        {-5, 2, {{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}, {-4, 2}}},
        {-5, -2, {{0, 0}, {-1, 0}, {-2, -1}, {-3, -1}, {-4, -2}}},
        {-2, -5, {{0, 0}, {0, -1}, {-1, -2}, {-1, -3}, {-2, -4}}},
        {2, -5, {{0, 0}, {0, -1}, {1, -2}, {1, -3}, {2, -4}}},
        {5, -2, {{0, 0}, {1, 0}, {2, -1}, {3, -1}, {4, -2}}},
        {4, 4, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {-3, 0, {{0, 0}, {-1, 0}, {-2, 0}}},
        {0, 3, {{0, 0}, {0, 1}, {0, 2}}},
    };
    for (const OctantCase& c : cases)
        EXPECT_EQ(Walk(0, 0, c.x1, c.y1), c.expected) << "to " << c.x1 << "," << c.y1;
}

TEST(LineRaster, TiesGoToTheSmallerCoordinateWhicheverWayTheLineRuns)
{
    EXPECT_EQ(Walk(0, 0, 4, 2), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(Walk(4, 2, 0, 0), (Pixels{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(Walk(0, 2, 4, 0), (Pixels{{0, 2}, {1, 1}, {2, 1}, {3, 0}}));
}

TEST(LineRaster, ZeroLengthOrOutsideTheClipPaintsNothing)
{
    TLineWalk walk;
    EXPECT_FALSE(PlanLine(7, 7, 7, 7, kEverywhere, walk));
    EXPECT_FALSE(PlanLine(0, 0, 50, 10, TRect{0, 20, 100, 40}, walk));
    EXPECT_FALSE(PlanLine(0, 0, 50, 10, TRect{10, 10, 10, 40}, walk));  // empty clip
    // The end point is never painted, so a line ending on the clip's edge
    // from outside paints nothing.
    EXPECT_FALSE(PlanLine(5, 0, 5, 10, TRect{0, 10, 20, 20}, walk));
}

// Every pixel lies on the ideal line rounded to the nearest, a tie to the
// smaller coordinate; one pixel per step of the longer axis; start included.
// Exact integer arithmetic: coordinates span up to 2^32.
void ExpectNearest(int x0, int y0, int x1, int y1, const Pixels& pixels, bool whole)
{
    using Exact = __int128;
    const Exact dx = Exact{x1} - x0;
    const Exact dy = Exact{y1} - y0;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const Exact dMajor = xMajor ? dx : dy;
    const Exact dMinor = xMajor ? dy : dx;
    const Exact n = dMajor < 0 ? -dMajor : dMajor;
    if (whole) {
        ASSERT_EQ(Exact(pixels.size()), n);
        EXPECT_EQ(pixels.front(), std::make_pair(x0, y0));
    }
    for (const auto& [x, y] : pixels) {
        const Exact along = (xMajor ? Exact{x} - x0 : Exact{y} - y0) * (dMajor < 0 ? -1 : 1);
        ASSERT_TRUE(along >= 0 && along < n) << x << "," << y;
        // Twice the distance from the ideal line, in units of 1/n.
        const Exact offset = xMajor ? Exact{y} - y0 : Exact{x} - x0;
        const Exact deviation = 2 * (offset * n - along * dMinor);
        ASSERT_TRUE(deviation <= n && deviation >= -n) << "far from the line at " << x << "," << y;
        ASSERT_NE(deviation, n) << "a tie went to the larger coordinate at " << x << "," << y;
    }
}

TEST(LineRaster, RandomLinesPaintTheNearestPixels)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-200, 200);
    for (int i = 0; i < 2000; ++i) {
        const int x0 = coordinate(random), y0 = coordinate(random);
        const int x1 = coordinate(random), y1 = coordinate(random);
        if (x0 == x1 && y0 == y1)
            continue;
        ExpectNearest(x0, y0, x1, y1, Walk(x0, y0, x1, y1), true);
    }
}

TEST(LineRaster, ClippingKeepsExactlyThePixelsInsideTheClip)
{
    // Short lines around small clips hit the edge cases (a line leaving the
    // clip exactly where it steps sideways) far more often than long ones.
    struct Range {
        int lo, hi, clipLo, clipHi, clipSize;
    };
    const Range ranges[] = {{-150, 250, -20, 120, 80}, {-6, 18, 0, 8, 8}};
    std::mt19937 random(11);
    for (const Range& range : ranges) {
        std::uniform_int_distribution<int> coordinate(range.lo, range.hi);
        std::uniform_int_distribution<int> corner(range.clipLo, range.clipHi);
        std::uniform_int_distribution<int> size(1, range.clipSize);
        for (int i = 0; i < 5000; ++i) {
            const int x0 = coordinate(random), y0 = coordinate(random);
            const int x1 = coordinate(random), y1 = coordinate(random);
            const int left = corner(random), top = corner(random);
            const TRect clip{left, top, left + size(random), top + size(random)};
            Pixels expected;
            for (const auto& p : Walk(x0, y0, x1, y1))
                if (p.first >= clip.Left && p.first < clip.Right && p.second >= clip.Top && p.second < clip.Bottom)
                    expected.push_back(p);
            ASSERT_EQ(Walk(x0, y0, x1, y1, clip), expected)
                << x0 << "," << y0 << " -> " << x1 << "," << y1 << " clip " << clip.Left << "," << clip.Top << ","
                << clip.Right << "," << clip.Bottom;
        }
    }
}

TEST(LineRaster, HugeCoordinatesAreClippedWithoutWalkingTheWholeLine)
{
    const TRect clip{0, 0, 536, 383};
    const int cases[][4] = {
        {-2147483647, 5, 2147483647, 300},
        {2147483647, -2147483647, -2147483647, 2147483647},
        {100, -2000000000, 101, 2000000000},
        {-2147483647, -2147483647, 500, 300},
    };
    for (const auto& c : cases) {
        TLineWalk walk;
        ASSERT_TRUE(PlanLine(c[0], c[1], c[2], c[3], clip, walk));
        Pixels pixels;
        WalkLine(walk, [&](int x, int y) { pixels.emplace_back(x, y); });
        ASSERT_FALSE(pixels.empty());
        for (const auto& [x, y] : pixels)
            ASSERT_TRUE(x >= 0 && x < 536 && y >= 0 && y < 383) << x << "," << y;
        ExpectNearest(c[0], c[1], c[2], c[3], pixels, false);
    }
}

TEST(LineRaster, PaintLineWritesThePixelsOfTheWalk)
{
    constexpr int width = 40, height = 30;
    const TRect clip{3, 2, 37, 27};
    std::mt19937 random(3);
    std::uniform_int_distribution<int> coordinate(-20, 60);
    for (int i = 0; i < 500; ++i) {
        const int x0 = coordinate(random), y0 = coordinate(random);
        const int x1 = coordinate(random), y1 = coordinate(random);
        std::vector<std::uint32_t> image(width * height, 0);
        TLineWalk walk;
        std::set<std::pair<int, int>> expected;
        if (PlanLine(x0, y0, x1, y1, clip, walk)) {
            PaintLine(image.data(), width, walk, 1);
            WalkLine(walk, [&](int x, int y) { expected.emplace(x, y); });
        }
        std::set<std::pair<int, int>> painted;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (image[y * width + x] != 0)
                    painted.emplace(x, y);
        ASSERT_EQ(painted, expected) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    }
}

}  // namespace
