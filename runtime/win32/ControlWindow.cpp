// What the controls' windows on Win32 share: the window object behind every
// control (its procedure, which sees the window's messages first and takes
// the notifications and colour requests the system sends a parent for its
// children), the fonts and brushes they share, and the pure pieces below.
#include "runtime/win32/Win32Controls.h"

#include "runtime/win32/WideText.h"

#include "runtime/Dialogs.h"
#include "runtime/SysUtils.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

// ---- Pure pieces

int ToDevice(int logical, double ratio)
{
    return static_cast<int>(std::lround(logical * ratio));
}

int ToLogical(int device, double ratio)
{
    return static_cast<int>(std::lround(device / ratio));
}

TShiftState ShiftFromMouseKeys(WPARAM keys, bool altDown)
{
    TShiftState shift = altDown ? ssAlt : 0;
    if ((keys & MK_SHIFT) != 0)
        shift |= ssShift;
    if ((keys & MK_CONTROL) != 0)
        shift |= ssCtrl;
    if ((keys & MK_LBUTTON) != 0)
        shift |= ssLeft;
    if ((keys & MK_RBUTTON) != 0)
        shift |= ssRight;
    if ((keys & MK_MBUTTON) != 0)
        shift |= ssMiddle;
    return shift;
}

LPCWSTR SystemCursorName(TCursor cursor)
{
    switch (cursor) {
    case crDefault:
    case crNone: return nullptr;
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS:
    case crVSplit: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE:
    case crHSplit: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass:
    case crSQLWait: return IDC_WAIT;
    case crNoDrop:
    case crNo: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHelp: return IDC_HELP;
    case crHandPoint: return IDC_HAND;
    case crSizeAll: return IDC_SIZEALL;
    default: return IDC_ARROW;
    }
}

DWORD LabelAlignmentStyle(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify: return SS_RIGHT;
    case taCenter: return SS_CENTER;
    case taLeftJustify: break;
    }
    // A label's words never wrap, as on the Linux side: where the design's
    // width is a little short for the screen's font, the text is cut at the
    // edge instead of losing its last word to a second line.
    return SS_LEFTNOWORDWRAP;
}

// ---- Shared objects

namespace {

// GDI objects kept for the life of the program, deleted at exit.
template <class TKey, class THandle>
class TGdiCache {
public:
    ~TGdiCache()
    {
        for (const auto& entry : FHandles)
            DeleteObject(entry.second);
    }
    template <class TMake>
    THandle Get(const TKey& key, TMake make)
    {
        auto found = FHandles.find(key);
        if (found == FHandles.end())
            found = FHandles.emplace(key, make()).first;
        return found->second;
    }

private:
    std::map<TKey, THandle> FHandles;
};

}  // namespace

HFONT ControlFont(const TPainterFont& font, double ratio)
{
    static TGdiCache<std::tuple<std::string, int, TFontStyles, bool>, HFONT> fonts;
    TPainterFont scaled = font;
    scaled.PixelSize = std::max(1, ToDevice(font.PixelSize, ratio));
    return fonts.Get(std::make_tuple(scaled.Name, scaled.PixelSize, scaled.Style, scaled.Smooth),
                     [&] { return CreateGdiFont(scaled); });
}

HBRUSH ColorBrush(TColor color)
{
    static TGdiCache<TColor, HBRUSH> brushes;
    const TColor rgb = ColorToRGB(color);
    return brushes.Get(rgb, [rgb] { return CreateSolidBrush(rgb); });
}

namespace {

// The window property of a top-level window that holds the dots per inch
// it was told last.
constexpr wchar_t kToldDpi[] = L"UmbrascopeToldDpi";

}  // namespace

UINT WindowDpi(HWND window)
{
    // The system may go on reporting the old scale for a while after the
    // message (Wine always does when a program sends it), and a window laid
    // out at one scale and painted at another shows only part of its
    // picture: the message's word is the one every control goes by.
    if (window != nullptr)
        if (const auto told = reinterpret_cast<UINT_PTR>(GetPropW(GetAncestor(window, GA_ROOT), kToldDpi)); told != 0)
            return static_cast<UINT>(told);
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = SystemFunction<TGetDpiForWindow>(L"user32.dll", "GetDpiForWindow");
    UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
    if (dpi == 0) {
        HDC dc = GetDC(window);
        dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSX));
        ReleaseDC(window, dc);
    }
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

double WindowPixelRatio(HWND window)
{
    return WindowDpi(window) / static_cast<double>(USER_DEFAULT_SCREEN_DPI);
}

void SetToldDpi(HWND topLevel, UINT dpi)
{
    if (dpi > 0)
        SetPropW(topLevel, kToldDpi, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
}

void ForgetToldDpi(HWND topLevel)
{
    RemovePropW(topLevel, kToldDpi);
}

HINSTANCE ProgramInstance()
{
    return GetModuleHandleW(nullptr);
}

namespace {

HWND& MainForm()
{
    static HWND window = nullptr;
    return window;
}

}  // namespace

void SetMainFormWindow(HWND window)
{
    MainForm() = window;
}

HWND MainFormWindow()
{
    return MainForm();
}

// ---- The window of one control

namespace {

// The window property that leads from a window to its object.
constexpr wchar_t kWindowObject[] = L"UmbrascopeControlWindow";

}  // namespace

TWin32Window::~TWin32Window()
{
    for (HWND part : FParts)
        RemovePropW(part, kWindowObject);
    if (FHandle == nullptr)
        return;
    // From here the window's messages (those of its destruction too) go
    // where they went before it was ours.
    RemovePropW(FHandle, kWindowObject);
    if (FSubclassed)
        SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefaultProc));
    DestroyWindow(FHandle);
}

TWin32Window* TWin32Window::FromHandle(HWND handle)
{
    return handle != nullptr ? static_cast<TWin32Window*>(GetPropW(handle, kWindowObject)) : nullptr;
}

void TWin32Window::Attach(HWND handle, bool ownClass)
{
    if (handle == nullptr)
        throw EOutOfResources(Format("Cannot create a window (error %lu)", GetLastError()));
    FHandle = handle;
    SetPropW(handle, kWindowObject, this);
    if (!ownClass) {
        FDefaultProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWin32Window::WindowProc)));
        FSubclassed = true;
    }
}

void TWin32Window::AddPart(HWND part)
{
    if (part == nullptr || part == FHandle)
        return;
    SetPropW(part, kWindowObject, this);
    FParts.push_back(part);
}

LRESULT CALLBACK TWin32Window::WindowProc(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(handle, msg, wParam, lParam);
}

LRESULT TWin32Window::Dispatch(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWin32Window* self = FromHandle(handle);
    // Before Attach and after the object went, our classes' windows get the
    // default; a part never comes here (it keeps its own procedure).
    if (self == nullptr || self->FHandle != handle)
        return DefWindowProcW(handle, msg, wParam, lParam);
    // Copied first: a handler may free the object (and the window).
    const WNDPROC next = self->FDefaultProc;
    LRESULT result = 0;
    bool handled = false;
    Guarded([&] { handled = self->HandleMessage(msg, wParam, lParam, result); });
    if (handled)
        return result;
    return CallWindowProcW(next, handle, msg, wParam, lParam);
}

LRESULT TWin32Window::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(FDefaultProc, FHandle, msg, wParam, lParam);
}

bool TWin32Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_COMMAND: {
        TWin32Window* child = FromHandle(reinterpret_cast<HWND>(lParam));
        if (child == nullptr || child == this)
            return false;
        child->Notified(HIWORD(wParam));
        result = 0;
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        // A combo box passes its parts' requests on to its parent, which
        // lands here with the part's handle.
        TWin32Window* child = FromHandle(reinterpret_cast<HWND>(lParam));
        if (child == nullptr || child == this)
            return false;
        HBRUSH brush = child->ControlColors(msg, reinterpret_cast<HDC>(wParam));
        if (brush == nullptr)
            return false;
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    }
    case WM_SETCURSOR:
        // crDefault lets the default run, which asks the parent first: a
        // control without a cursor shows its parent's, or its class's.
        if (FCursor == crDefault || LOWORD(lParam) != HTCLIENT)
            return false;
        ::SetCursor(FCursor == crNone ? nullptr : LoadCursorW(nullptr, SystemCursorName(FCursor)));
        result = TRUE;
        return true;
    case WM_MOUSEWHEEL: {
        // The wheel goes to the focused window and up its parents; the
        // control under the pointer is the one meant (as Qt has it).
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        HWND under = WindowFromPoint(at);
        TWin32Window* target = FromHandle(under);
        if (target == nullptr || target == this || target->FHandle != under || !target->TakesWheel())
            return false;
        result = SendMessageW(under, msg, wParam, lParam);
        return true;
    }
    default: return false;
    }
}

void TWin32Window::ApplyScale()
{
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(FFont, Ratio())), TRUE);
    Place();
}

void TWin32Window::Place()
{
    const double ratio = Ratio();
    const int left = ToDevice(FBounds.Left, ratio);
    const int top = ToDevice(FBounds.Top, ratio);
    SetWindowPos(FHandle, nullptr, left, top, ToDevice(FBounds.Right, ratio) - left, ToDevice(FBounds.Bottom, ratio) - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Window::PlaceWindow(const TRect& bounds)
{
    FBounds = bounds;
    Place();
}

void TWin32Window::ApplyFont(const TPainterFont& font)
{
    FFont = font;
    ApplyScale();
}

void TWin32Window::ApplyText(const std::string& text)
{
    SetWindowTextW(FHandle, WideFromUtf8(text).c_str());
}

std::string TWin32Window::WindowText() const
{
    const int length = GetWindowTextLengthW(FHandle);
    if (length <= 0)
        return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(FHandle, text.data(), length + 1);
    return Utf8FromWide(text.data(), std::max(copied, 0));
}

namespace {

bool IsLabel(HWND window)
{
    wchar_t name[16] = {};
    return GetClassNameW(window, name, 16) > 0 && lstrcmpiW(name, L"STATIC") == 0;
}

// A label has no window of its own in the classic design: it is painted on
// its parent, beneath every windowed sibling, which covers it where they
// overlap (the main window's first "COM Port" lies under the connection
// box). New child windows go below their older siblings, so the labels are
// moved beneath each new one; the order of the others, which is the Tab
// order, stays.
void KeepLabelsBeneath(HWND parent)
{
    std::vector<HWND> labels;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (IsLabel(child))
            labels.push_back(child);
    for (HWND label : labels)
        SetWindowPos(label, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

HWND CreateChildWindow(const wchar_t* className, DWORD style, DWORD exStyle, TControlWindow* parent)
{
    auto* parentWindow = dynamic_cast<TWin32Window*>(parent);
    HWND parentHandle = parentWindow != nullptr ? parentWindow->Handle() : nullptr;
    // Ids above those IsDialogMessage gives meaning to (IDOK, IDCANCEL, ...).
    static int nextId = 1000;
    HWND window = CreateWindowExW(exStyle, className, L"", style | WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE, 0, 0, 0, 0,
                                  parentHandle, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)),
                                  ProgramInstance(), nullptr);
    if (window != nullptr && parentHandle != nullptr && !IsLabel(window))
        KeepLabelsBeneath(parentHandle);
    return window;
}

HWND WindowHandleOf(const TControl& control)
{
    auto* window = dynamic_cast<TWin32Window*>(&control.Window());
    return window != nullptr ? window->Handle() : nullptr;
}
