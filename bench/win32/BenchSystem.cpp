#include "BenchSystem.h"

#include "runtime/win32/GdiPainter.h"

#include <psapi.h>

struct TSystemPaint::TSystemState {};

TSystemPaint::TSystemPaint(TBitmap& bitmap)
{
    // Every TBitmap on Windows is a DIB section in a memory DC. A painter on
    // the DC alone, without the section's pixels, draws with GDI's calls as
    // a window's paint does.
    auto& dib = static_cast<TGdiBitmap&>(bitmap);
    FPainter = CreateGdiPainter(dib.DC(), TRect{0, 0, dib.DeviceWidth(), dib.DeviceHeight()});
}

TSystemPaint::~TSystemPaint() = default;

TProcessMemory ProcessMemory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        return {};
    return TProcessMemory{static_cast<double>(counters.WorkingSetSize),
                          static_cast<double>(counters.PeakWorkingSetSize)};
}
