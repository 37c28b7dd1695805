// The base of the visible components: a Qt widget with the component's
// loading state and its background colour.
#pragma once

#include "runtime/Graphics.h"

#include <QWidget>

class TControl : public QWidget {
    Q_OBJECT
public:
    explicit TControl(QWidget* parent = nullptr);

    // While stored settings are applied (a window being built from its
    // description), setters accept values in any order; EndLoading ends
    // that state and calls Loaded.
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    void EndLoading();

    TColor Color() const { return FColor; }
    // Stores the colour and asks for a repaint when it changed.
    virtual void SetColor(TColor value);

protected:
    virtual void Loaded() {}

private:
    bool FLoading = false;
    TColor FColor = clBtnFace;
};

// A control without a window of its own in the original design: it paints
// on its parent's surface. Here it is a widget that asks to be painted at
// once (RepaintNow) where the design paints synchronously.
class TGraphicControl : public TControl {
    Q_OBJECT
public:
    explicit TGraphicControl(QWidget* parent = nullptr);

protected:
    // Paints the control immediately when it is visible inside a window;
    // otherwise nothing.
    void RepaintNow();
};
