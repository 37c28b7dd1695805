// The window system's side of the controls: one window object per control,
// made by the platform's factories (runtime/qt/, runtime/win32/). The
// control keeps its state (place, flags, font, colour) and tells its window;
// the window reports the user's input and its paints back through
// TControlEvents.
#pragma once

#include "runtime/Controls.h"
#include "runtime/Forms.h"
#include "runtime/Graphics.h"
#include "runtime/Painter.h"
#include "runtime/StdCtrls.h"

#include <memory>
#include <string>

class TControlWindow {
public:
    virtual ~TControlWindow() = default;

    virtual void SetName(const std::string& name) = 0;
    virtual void SetBounds(const TRect& bounds) = 0;
    virtual void SetVisible(bool visible) = 0;
    // Visible on the screen: the window and every parent shown.
    virtual bool Showing() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetFont(const TPainterFont& font) = 0;
    virtual void SetColor(TColor color) = 0;
    virtual void SetCursor(TCursor cursor) = 0;
    // The caption (a window's title, a button's or box's text) or the text
    // (an edit's, a combo box's).
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
    virtual void Invalidate() = 0;
    virtual void Update() = 0;
    virtual double DevicePixelRatio() const = 0;
    virtual void SetFocus() = 0;
    virtual bool Focused() const = 0;
    // Puts this window right after `previous` in the Tab order.
    virtual void SetTabOrderAfter(TControlWindow& previous) = 0;
};

// What the windows report, run on the controls. Each handler runs guarded,
// so an exception from it reaches the application's error box and never
// unwinds through the window system.
struct TControlEvents {
    static void DeliverPaint(TControl& control, TPainter& painter);
    static void DeliverMouseDown(TControl& control, TMouseButton button, TShiftState shift, int x, int y);
    static void DeliverMouseMove(TControl& control, TShiftState shift, int x, int y);
    static void DeliverMouseUp(TControl& control, TMouseButton button, TShiftState shift, int x, int y);
    static void DeliverMouseWheel(TControl& control, TShiftState shift, int delta, int x, int y);
    static void DeliverMouseLeave(TControl& control);
    static void DeliverMouseCaptureLost(TControl& control);
    // A button pressed, a check box's state changed.
    static void DeliverClick(TControl& buttonOrCheckBox);
    // A combo box's list is about to open.
    static void DeliverDropDown(TControl& comboBox);
    // A window became the active one for the first time.
    static void DeliverActivate(TControl& form);
    // The control's screen changed its scale: what is measured in its font
    // (a label's own size) is measured again.
    static void DeliverScaleChanged(TControl& control);
    // A window was closed (by the program or the user) and is hidden now.
    static void DeliverClosed(TControl& form);
};

class TLabelWindow : public TControlWindow {
public:
    virtual void SetAlignment(TAlignment alignment) = 0;
    virtual void SetFontColor(TColor color) = 0;
    // The size `text` takes in the window's font, lines split at "\n".
    virtual TSize TextExtent(const std::string& text) const = 0;
};

class TCheckWindow : public TControlWindow {
public:
    virtual void SetChecked(bool checked) = 0;
    virtual bool Checked() const = 0;
};

class TComboWindow : public TControlWindow {
public:
    virtual void AddItem(const std::string& item) = 0;
    // Empties the list and the text.
    virtual void Clear() = 0;
    virtual int ItemCount() const = 0;
    virtual std::string Item(int index) const = 0;
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
    virtual void SetItemHeight(int height) = 0;
    virtual void SetDroppedDown(bool dropped) = 0;
    virtual bool DroppedDown() const = 0;
};

class TEditWindow : public TControlWindow {
public:
    virtual void SetReadOnly(bool readOnly) = 0;
};

class TFormWindow : public TControlWindow {
public:
    // Fixed client size, a single border, system menu and minimise only.
    virtual void SetClientSize(int width, int height) = 0;
    // Closes the window: hidden, and the application's loop ends when it is
    // the main window.
    virtual void Close() = 0;
};

// The platform's factories. `parent` is null only for a form.
std::unique_ptr<TFormWindow> CreateFormWindow(TControl& form);
std::unique_ptr<TControlWindow> CreateCustomWindow(TControl& control, TControlWindow* parent);
std::unique_ptr<TLabelWindow> CreateLabelWindow(TControl& control, TControlWindow* parent);
std::unique_ptr<TControlWindow> CreateGroupBoxWindow(TControl& control, TControlWindow* parent);
std::unique_ptr<TControlWindow> CreateButtonWindow(TControl& control, TControlWindow* parent);
std::unique_ptr<TCheckWindow> CreateCheckWindow(TControl& control, TControlWindow* parent);
std::unique_ptr<TComboWindow> CreateComboWindow(TControl& control, TControlWindow* parent, TComboBoxStyle style);
std::unique_ptr<TEditWindow> CreateEditWindow(TControl& control, TControlWindow* parent);
