// What the chart benchmarks need of the system they run on, so that the same
// benchmarks measure the chart on Linux and on Windows.
#pragma once

#include "runtime/Painter.h"

#include <memory>

// Drawing through the system's own calls (QPainter on Linux, GDI on
// Windows) into a buffer made by CreateBitmap, for as long as it lives:
// what the pixels cost without the project's own raster.
class TSystemPaint {
public:
    explicit TSystemPaint(TBitmap& bitmap);
    ~TSystemPaint();
    TSystemPaint(const TSystemPaint&) = delete;
    TSystemPaint& operator=(const TSystemPaint&) = delete;

    TPainter& Painter() const { return *FPainter; }

private:
    struct TSystemState;
    std::unique_ptr<TSystemState> FState;
    std::unique_ptr<TPainter> FPainter;
};

// The memory of the whole process, as the system counts it: what it holds
// now (resident set, working set) and the most it has held.
struct TProcessMemory {
    double Bytes = 0;
    double PeakBytes = 0;
};
TProcessMemory ProcessMemory();
