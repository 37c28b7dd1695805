#include "chart/TeeLineRaster.h"

void TLinePlotter::PaintColumn()
{
    if (FX < FClip.Left || FX >= FClip.Right)
        return;
    const int top = std::max(FLow, FClip.Top);
    const int bottom = std::min(FHigh, FClip.Bottom - 1);
    if (top > bottom)
        return;
    FSink.Column(FX, top, bottom, FColor);
}

void TLinePlotter::PaintSegment(int x0, int y0, int x1, int y1)
{
    TLineWalk walk;
    if (PlanLine(x0, y0, x1, y1, FClip, walk))
        FSink.Line(walk, FColor);
}
