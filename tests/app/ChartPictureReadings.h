// The readings behind the checked-in picture of the main window's chart
// (golden/main-window-chart.png).
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

inline constexpr int kChartPictureReadings = 120;

// Reading i as the meter sends it: a slow swell, a dip under the axis'
// bottom, a peak over its top and a flat run.
inline std::string ChartPictureReading(int i)
{
    double value = 20.0 + 3.0 * std::sin(i / 9.0) + 0.4 * std::sin(i * 1.7);
    if (i >= 60 && i < 66)
        value = 14.2 + 0.1 * i - 6.0;
    if (i == 90)
        value = 26.0;
    if (i >= 100)
        value = 21.25;
    char text[16];
    std::snprintf(text, sizeof text, "%05.2f#", value);
    return text;
}
