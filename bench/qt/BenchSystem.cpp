#include "BenchSystem.h"

#include "runtime/qt/QtPainter.h"

#include <QPainter>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

struct TSystemPaint::TSystemState {
    QPainter painter;
};

TSystemPaint::TSystemPaint(TBitmap& bitmap) : FState(std::make_unique<TSystemState>())
{
    // Every TBitmap on Qt is an image, and QPainter is the system's painter.
    FState->painter.begin(&static_cast<TQtBitmap&>(bitmap).Image());
    FPainter = CreateQtPainter(FState->painter);
}

TSystemPaint::~TSystemPaint()
{
    FPainter.reset();
    FState->painter.end();
}

TProcessMemory ProcessMemory()
{
    TProcessMemory memory;
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) == 2)
            memory.Bytes = static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
        std::fclose(statm);
    }
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        memory.PeakBytes = static_cast<double>(usage.ru_maxrss) * 1024;
    return memory;
}
