// The base of the visible components: a Qt widget with the component's
// loading state and its background colour. A control is owned by the window
// it is placed on, which frees it.
#pragma once

#include "runtime/Classes.h"
#include "runtime/Graphics.h"

#include <QWidget>

// Mouse cursors, by the numbers a window's description uses for them.
using TCursor = int;
inline constexpr TCursor crDefault = 0;  // whatever the window system shows
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

// The Qt shape closest to `cursor`; the arrow for a number that names none.
Qt::CursorShape CursorShape(TCursor cursor);

// The window (form) that `parent` is part of, which owns the controls placed
// on it; null when that is no component (a bare widget in a test).
TComponent* OwningForm(QWidget* parent);

class TControl : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TControl(QWidget* parent = nullptr);
    // Frees what the control owns while the widget is still whole.
    ~TControl() override;

    // While stored settings are applied (a window being built from its
    // description), setters accept values in any order; EndLoading ends
    // that state and calls Loaded.
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    void EndLoading();

    TColor Color() const { return FColor; }
    // Stores the colour and asks for a repaint when it changed.
    virtual void SetColor(TColor value);

    // The control's own cursor, shown while the mouse is over it unless the
    // control shows another for a while (ShowCursor).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    // The cursor shown now.
    TCursor ShownCursor() const { return FShownCursor; }

protected:
    virtual void Loaded() {}
    // Shows `cursor` over the control until the next ShowCursor or
    // RestoreCursor, without changing Cursor().
    void ShowCursor(TCursor cursor);
    void RestoreCursor() { ShowCursor(FCursor); }

private:
    bool FLoading = false;
    TColor FColor = clBtnFace;
    TCursor FCursor = crDefault;
    TCursor FShownCursor = crDefault;
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
