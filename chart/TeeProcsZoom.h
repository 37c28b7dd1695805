// The pieces of the chart's mouse zoom and pan that need no window: the drag
// records, the rule that turns a finished drag into a zoom or an undo, the
// steps of an animated zoom and the colour of the drag rectangle.
#pragma once

#include "runtime/Controls.h"
#include "runtime/Graphics.h"

#include <utility>

// The mouse settings shared by every chart.
inline constexpr TMouseButton kZoomButton = mbLeft;
inline constexpr TMouseButton kPanningButton = mbRight;
// Keys that must be held to start a zoom or a pan drag: none.
inline constexpr TShiftState kZoomKeys = 0;
inline constexpr TShiftState kPanningKeys = 0;
// Each step of an animated zoom moves every bound by 1 / this of what is
// left to its target.
inline constexpr double kAnimatedZoomFactor = 3.0;
// A wheel notch scrolls the vertical axes by this percentage of their range.
inline constexpr double kWheelScrollPercent = 3.0;
// The wheel's turn per notch.
inline constexpr int kWheelNotch = WHEEL_DELTA;
// A zoom drag must cover more than this many pixels both across and down to
// zoom or undo; a shorter one is taken for a click.
inline constexpr int kMinZoomDragPixels = 16;

// One mouse drag in client pixels: where it started (X0, Y0) and where the
// mouse is now (X1, Y1).
struct TZoomPanningRecord {
    bool Active = false;
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;

    // Starts a drag at (x, y): both corners there.
    void Activate(int x, int y)
    {
        X0 = X1 = x;
        Y0 = Y1 = y;
        Active = true;
    }
    // Puts the upper left corner first.
    void Normalize()
    {
        if (X1 < X0)
            std::swap(X0, X1);
        if (Y1 < Y0)
            std::swap(Y0, Y1);
    }
};

enum class TZoomDragResult { None, Zoom, Undo };

// What a finished zoom drag does: nothing when it covers kMinZoomDragPixels
// or fewer in either direction; a zoom when it ends to the right of and
// below its start; an undo of all zooming and panning otherwise.
inline TZoomDragResult ZoomDragResult(const TZoomPanningRecord& drag)
{
    const int across = drag.X1 > drag.X0 ? drag.X1 - drag.X0 : drag.X0 - drag.X1;
    const int down = drag.Y1 > drag.Y0 ? drag.Y1 - drag.Y0 : drag.Y0 - drag.Y1;
    if (across <= kMinZoomDragPixels || down <= kMinZoomDragPixels)
        return TZoomDragResult::None;
    return drag.X1 > drag.X0 && drag.Y1 > drag.Y0 ? TZoomDragResult::Zoom : TZoomDragResult::Undo;
}

struct TAxisBounds {
    double Minimum = 0;
    double Maximum = 0;
};

// One step of an animated zoom from `current` towards `target`: each bound
// moves by 1 / kAnimatedZoomFactor of its remaining distance.
inline TAxisBounds AnimatedZoomStep(const TAxisBounds& current, const TAxisBounds& target)
{
    return {current.Minimum + (target.Minimum - current.Minimum) / kAnimatedZoomFactor,
            current.Maximum - (current.Maximum - target.Maximum) / kAnimatedZoomFactor};
}

// The pen colour of the drag rectangle on a chart of `chartColor`: that
// colour as RGB, but black on white, so that the rectangle inverts what it
// crosses and shows on the usual white chart.
inline TColor ZoomRectangleColor(TColor chartColor)
{
    const TColor rgb = ColorToRGB(chartColor);
    return rgb == clWhite ? clBlack : rgb;
}
