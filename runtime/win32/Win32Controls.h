// The controls' windows on Win32: what the window kinds share (one HWND per
// control, whose messages our procedure sees first) and the pure pieces they
// are built on. Not a public header: only runtime/win32/ and its tests use it.
#pragma once

#include "runtime/ControlsSystem.h"
// Before <windows.h>: the painter's constants share names with its macros.
#include "runtime/win32/GdiPainter.h"

#include <windows.h>

#include <string>
#include <vector>

// ---- Pure pieces (no window needed)

// Device pixels for `logical` pixels of the drawing at `ratio`.
int ToDevice(int logical, double ratio);
// Pixels of the drawing for `device` pixels, rounded to the nearest.
int ToLogical(int device, double ratio);
// The shift state of a mouse message: its MK_ flags and whether Alt is held
// (mouse messages do not carry Alt).
TShiftState ShiftFromMouseKeys(WPARAM keys, bool altDown);
// The system cursor (an IDC_ name) for `cursor`; null for crDefault and
// crNone. Numbers that name no cursor give the arrow.
LPCWSTR SystemCursorName(TCursor cursor);
// The styles of a label's STATIC for its alignment.
DWORD LabelAlignmentStyle(TAlignment alignment);
// Where a window of `width` x `height` goes to be centred on `workArea`;
// one larger than the area keeps its top-left corner (and caption) on it.
TPoint CentredOrigin(const TRect& workArea, int width, int height);

// ---- Shared objects, made on first use and freed at exit

// The control font for `font` at `ratio`; equal fonts share one handle.
HFONT ControlFont(const TPainterFont& font, double ratio);
// A solid brush of `color` (system colours resolved); one per RGB value.
HBRUSH ColorBrush(TColor color);
// The dots per inch of `window`'s screen: what its top-level window was
// told last when it moved to a screen of another scale (SetToldDpi), else
// what the system says of the window, else the system's own.
UINT WindowDpi(HWND window);
// Device pixels per pixel of the drawing for `window`'s screen.
double WindowPixelRatio(HWND window);
// Notes the dots per inch a top-level window was told its screen has now.
void SetToldDpi(HWND topLevel, UINT dpi);
void ForgetToldDpi(HWND topLevel);
HINSTANCE ProgramInstance();

// A function of a system library that older systems may lack; null there.
template <class TFunction>
TFunction SystemFunction(const wchar_t* module, const char* name)
{
    // Through the generic function type, which converts to any other
    // without a warning: the caller names the real signature.
    return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(module), name)));
}

// The window of the form TApplication::Run runs; closing it ends the loop.
void SetMainFormWindow(HWND window);
HWND MainFormWindow();

// ---- The window of one control

// Owns one window; its messages reach HandleMessage before the window's
// own procedure (the system's control, or DefWindowProc for our classes).
class TWin32Window {
public:
    virtual ~TWin32Window();
    TWin32Window(const TWin32Window&) = delete;
    TWin32Window& operator=(const TWin32Window&) = delete;

    HWND Handle() const { return FHandle; }
    // The window object that `handle` belongs to (a combo box's edit and
    // list belong to the combo box); null for windows that are not ours.
    static TWin32Window* FromHandle(HWND handle);

    // A window procedure for classes of our own.
    static LRESULT CALLBACK WindowProc(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);

    // Puts the font, the place and whatever else is measured in device
    // pixels (a combo box's item heights) at the ratio of the window's
    // screen now: with the first font, and again whenever the screen's
    // scale changes.
    virtual void ApplyScale();

protected:
    TWin32Window() = default;

    // Takes over `handle` (failure: EOutOfResources). Windows of the
    // system's classes are subclassed; ours already use WindowProc.
    void Attach(HWND handle, bool ownClass);
    // Makes `part` (a window inside the control) find this object.
    void AddPart(HWND part);

    // True when the message is answered with `result`; false lets the
    // window's own procedure have it.
    virtual bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A notification code of WM_COMMAND, which the system sends to the
    // parent.
    virtual void Notified(WORD /*code*/) {}
    // The brush for a WM_CTLCOLOR* request about this control, having set
    // `dc`'s colours; null: the parent's default.
    virtual HBRUSH ControlColors(UINT /*msg*/, HDC /*dc*/) { return nullptr; }
    // Whether the wheel over this window is its own (the other windows
    // hand it on to the one under the pointer that takes it).
    virtual bool TakesWheel() const { return false; }
    LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);

    double Ratio() const { return WindowPixelRatio(FHandle); }
    // FBounds at the screen's ratio.
    virtual void Place();
    void PlaceWindow(const TRect& bounds);
    void ApplyFont(const TPainterFont& font);
    void ApplyText(const std::string& text);
    std::string WindowText() const;

    HWND FHandle = nullptr;
    TRect FBounds;
    TColor FColor = clBtnFace;
    TPainterFont FFont;
    TCursor FCursor = crDefault;

private:
    static LRESULT Dispatch(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);

    WNDPROC FDefaultProc = DefWindowProcW;
    bool FSubclassed = false;
    std::vector<HWND> FParts;
};

// The TControlWindow operations every kind shares, on TWin32Window.
template <class TInterface>
class TWin32ControlWindow : public TInterface, public TWin32Window {
public:
    void SetName(const std::string&) override {}
    void SetBounds(const TRect& bounds) override { PlaceWindow(bounds); }
    void SetVisible(bool visible) override { ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE); }
    bool Showing() const override { return IsWindowVisible(FHandle) != FALSE; }
    void SetEnabled(bool enabled) override { EnableWindow(FHandle, enabled); }
    void SetFont(const TPainterFont& font) override { ApplyFont(font); }
    void SetColor(TColor color) override
    {
        FColor = color;
        InvalidateRect(FHandle, nullptr, TRUE);
    }
    void SetCursor(TCursor cursor) override { FCursor = cursor; }
    void SetText(const std::string& text) override { ApplyText(text); }
    std::string Text() const override { return WindowText(); }
    void Invalidate() override { InvalidateRect(FHandle, nullptr, FALSE); }
    void Update() override { UpdateWindow(FHandle); }
    double DevicePixelRatio() const override { return Ratio(); }
    void SetFocus() override { ::SetFocus(FHandle); }
    bool Focused() const override { return GetFocus() == FHandle; }
    void SetTabOrderAfter(TControlWindow& previous) override
    {
        if (auto* before = dynamic_cast<TWin32Window*>(&previous))
            SetWindowPos(FHandle, before->Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
};

// A child window of a system or our own class on `parent`'s window, of no
// size until placed; WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE are added to
// `style`. Null on failure (Attach reports it).
HWND CreateChildWindow(const wchar_t* className, DWORD style, DWORD exStyle, TControlWindow* parent);

// The window of a control, for the tests.
HWND WindowHandleOf(const TControl& control);
