// The Qt widgets behind controls, for tests that drive or grab them.
#pragma once

#include "runtime/Controls.h"
#include "runtime/qt/QtControls.h"

#include <QImage>
#include <QWidget>

inline QWidget& Widget(const TControl& control)
{
    return *WidgetOf(control);
}

// What the control shows now, painted afresh.
inline QImage Grab(const TControl& control)
{
    return WidgetOf(control)->grab().toImage();
}
