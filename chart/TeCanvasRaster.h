// Where the surface's solid one-pixel lines go (the pixels themselves are
// planned by runtime/LineRaster.h).
#pragma once

#include "runtime/LineRaster.h"
#include "runtime/Painter.h"

#include <cstddef>
#include <cstdint>

// Where solid one-pixel lines in copy mode go. On a target with one device
// pixel per pixel they are written straight into its 32-bit pixels; on any
// other (a screen scaled by a device pixel ratio) they go as runs of pixels
// through the target's painter, which turns each pixel into the same device
// pixels as it does for every other fill there. Either way the same pixels
// of the drawing are painted.
class TPixelSink {
public:
    TPixelSink() = default;
    TPixelSink(std::uint32_t* pixels, std::ptrdiff_t pixelsPerLine) : FPixels(pixels), FPixelsPerLine(pixelsPerLine)
    {
    }
    // The painter must stay open while the sink is used.
    explicit TPixelSink(TPainter& painter) : FPainter(&painter) {}

    bool IsEmpty() const { return FPixels == nullptr && FPainter == nullptr; }

    // Pixels top..bottom (inclusive) of column x.
    void Column(int x, int top, int bottom, std::uint32_t color) const;
    // A planned line (see PlanLine for what it may reach).
    void Line(const TLineWalk& walk, std::uint32_t color) const;

private:
    std::uint32_t* FPixels = nullptr;
    std::ptrdiff_t FPixelsPerLine = 0;
    TPainter* FPainter = nullptr;
};

