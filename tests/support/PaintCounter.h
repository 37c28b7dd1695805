// Counts the paint events a control's widget receives.
#pragma once

#include "runtime/Controls.h"
#include "runtime/qt/QtControls.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

class PaintCounter : public QObject {
public:
    explicit PaintCounter(const TControl& control) { WidgetOf(control)->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
