// The base of the visible components. Every control has a window in the
// window system (made by the platform's side, ControlsSystem.h), a place in
// its parent, a font, a colour and a cursor; paint, mouse and size events
// reach it through the virtual functions below, on the user-interface
// thread. A control is owned by the window it is placed on, which frees it,
// and a parent frees whatever children are still on it before it goes.
#pragma once

#include "runtime/Classes.h"
#include "runtime/Graphics.h"
#include "runtime/Painter.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The keys and mouse buttons held during an input event.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;
// Only the keyboard's part of a shift state.
inline constexpr TShiftState kKeyboardShift = ssShift | ssAlt | ssCtrl;

// One notch of a mouse wheel, in the units wheel events count in.
inline constexpr int WHEEL_DELTA = 120;

// A font as window descriptions give it: a face and a character height in
// pixels. Where the face is missing the platform's closest one stands in.
TPainterFont MakeFont(const std::string& face, int pixelHeight, bool bold = false);

class TControl;
class TControlWindow;
class TWinControl;

// Makes the window-system side of a control, as a child of `parent` (null:
// a top-level window).
using TWindowFactory = std::function<std::unique_ptr<TControlWindow>(TControl& control, TControlWindow* parent)>;

class TControl : public TComponent {
public:
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    // The name a window's description gives the control; tests and the
    // window system's accessibility find controls by it.
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);

    // The place in the parent's client area, in pixels of the drawing (not
    // device pixels on a dense screen).
    int Left() const { return FBounds.Left; }
    int Top() const { return FBounds.Top; }
    int Width() const { return FBounds.Width(); }
    int Height() const { return FBounds.Height(); }
    const TRect& BoundsRect() const { return FBounds; }
    TRect ClientRect() const { return Rect(0, 0, Width(), Height()); }
    // Moves and sizes the control; Resize runs when the size changed.
    void SetBounds(int left, int top, int width, int height);

    // The control's own flags; a control shows on the screen only while its
    // parents show too (Showing), and takes input only while they are
    // enabled as well. A control without a parent (a window) is hidden
    // until shown.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    // While ParentFont holds, the control takes its parent's font and
    // follows its changes; setting a font of its own ends that.
    const TPainterFont& Font() const { return FFont; }
    void SetFont(const TPainterFont& value);
    bool ParentFont() const { return FParentFont; }

    // The background. Labels, group boxes and check boxes take their
    // parent's colour (ParentColor) until they are given one of their own.
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }

    // The control's own cursor, shown while the mouse is over it unless the
    // control shows another for a while (ShowCursor).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    // The cursor shown now.
    TCursor ShownCursor() const { return FShownCursor; }

    // While stored settings are applied (a window being built from its
    // description), setters accept values in any order; EndLoading ends
    // that state and calls Loaded.
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    void EndLoading();

    // Queues a paint of the whole control; the window system paints it
    // once, however many requests came before.
    virtual void Invalidate();
    // Paints what is queued now, when the control shows.
    void Update();
    // Device pixels per pixel of the drawing on the control's screen.
    double DevicePixelRatio() const;
    // Paints the control's picture with `painter` (whose origin is the
    // control's top-left corner), as a paint of its window would.
    void PaintTo(TPainter& painter) { Paint(painter); }

    void SetFocus();
    bool Focused() const;

    // The window-system side, for the platform's code and its tests.
    TControlWindow& Window() const { return *FWindow; }

protected:
    // `makeWindow` is called once the control's own state exists; the
    // window it makes sends nothing to the derived class's overrides before
    // that class's constructor has run, because none of them exists yet.
    TControl(TWinControl* parent, const TWindowFactory& makeWindow);

    virtual void Loaded() {}
    // The picture of a control that paints itself (TCustomControl,
    // TGraphicControl); the platform's standard controls paint their own.
    virtual void Paint(TPainter&) {}
    virtual void Resize() {}
    // The place changed (moved, sized or both).
    virtual void BoundsChanged() {}
    virtual void EnabledChanged() {}
    virtual void VisibleChanged() {}
    virtual void FontChanged() {}
    // Mouse input; coordinates are the control's client pixels. A disabled
    // control gets none.
    virtual void MouseDown(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
    virtual void MouseMove(TShiftState, int /*x*/, int /*y*/) {}
    virtual void MouseUp(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
    // `delta`: WHEEL_DELTA a notch, positive away from the user.
    virtual void MouseWheel(TShiftState, int /*delta*/, int /*x*/, int /*y*/) {}
    virtual void MouseLeave() {}
    // The mouse was taken away while a button was held (another window
    // took it, a box opened): the button's release will not come.
    virtual void MouseCaptureLost() {}

    // Shows `cursor` over the control until the next ShowCursor or
    // RestoreCursor, without changing Cursor().
    void ShowCursor(TCursor cursor);
    void RestoreCursor() { ShowCursor(FCursor); }
    // For kinds that start with their parent's colour.
    void TakeParentColor();

private:
    friend struct TControlEvents;
    friend class TWinControl;

    void InheritFont(const TPainterFont& font);
    void InheritColor(TColor color);

    TWinControl* FParent;
    std::unique_ptr<TControlWindow> FWindow;
    std::string FName;
    TRect FBounds;
    bool FVisible;
    bool FEnabled = true;
    TPainterFont FFont;
    bool FParentFont = true;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    TCursor FCursor = crDefault;
    TCursor FShownCursor = crDefault;
    bool FLoading = false;
};

// A control that other controls can be placed on (a window, a group box).
class TWinControl : public TControl {
public:
    // Frees the children still on it, the most recently placed first.
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<std::size_t>(index)); }
    // The child of that name, searching children's children as well; null
    // when there is none.
    TControl* FindChildControl(const std::string& name) const;

    void SetColor(TColor value) override;

protected:
    TWinControl(TWinControl* parent, const TWindowFactory& makeWindow);
    void FontChanged() override;

private:
    friend class TControl;
    std::vector<TControl*> FControls;
};

// Sets the order in which the Tab key moves through `controls`.
void SetTabOrder(const std::vector<TWinControl*>& controls);

// A control that paints itself and takes mouse input, with a window of its
// own (the chart).
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TWinControl* parent);
};

// A light control that paints itself (the gauge). Where the original design
// paints such a control synchronously on its parent, this one asks to be
// painted at once (RepaintNow).
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TWinControl* parent);

protected:
    // Paints the control immediately when it shows; otherwise nothing.
    void RepaintNow();
};
