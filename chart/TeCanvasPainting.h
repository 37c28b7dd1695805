// What the surface's source files share about turning pens into QPainter
// settings and pixel patterns.
#pragma once

#include "chart/TeCanvas.h"

#include <QPainter>

#include <array>
#include <initializer_list>

// The raster operation of a pen mode; pmCopy draws over (colours are opaque).
// pmNop has none: callers skip drawing.
QPainter::CompositionMode CompositionFor(TPenMode mode);

// The on/off pixel sequence of a one-pixel styled pen, starting "on".
struct TDashPattern {
    int Length = 0;  // 0: solid
    std::array<bool, 24> On{};

    constexpr TDashPattern() = default;
    constexpr TDashPattern(std::initializer_list<int> runs)
    {
        bool on = true;
        for (int run : runs) {
            for (int i = 0; i < run; ++i)
                On[static_cast<std::size_t>(Length++)] = on;
            on = !on;
        }
    }
    bool IsSolid() const { return Length == 0; }
};

// The pattern a one-pixel pen of this style draws.
const TDashPattern& DashPatternFor(TPenStyle style);
