#include "runtime/Painter.h"

namespace {

// Pixel runs of the window system's cosmetic pens.
constexpr TDashPattern kSolid{};
constexpr TDashPattern kDash{18, 6};
constexpr TDashPattern kDot{3, 3};
constexpr TDashPattern kDashDot{9, 6, 3, 6};
constexpr TDashPattern kDashDotDot{9, 3, 3, 3, 3, 3};
constexpr TDashPattern kAlternate{1, 1};

}  // namespace

const TDashPattern& DashPatternFor(TPenStyle style)
{
    switch (style) {
    case psDash: return kDash;
    case psDot: return kDot;
    case psDashDot: return kDashDot;
    case psDashDotDot: return kDashDotDot;
    case psAlternate: return kAlternate;
    default: return kSolid;
    }
}
