// System colours on Windows: the system's own.
#include "runtime/Graphics.h"

#include <windows.h>

bool SystemColorToRGB(TColor index, TColor& rgb)
{
    // Indexes the system does not know give 0 and no brush.
    if (index > 0xFF || GetSysColorBrush(static_cast<int>(index)) == nullptr)
        return false;
    rgb = static_cast<TColor>(GetSysColor(static_cast<int>(index)));
    return true;
}
