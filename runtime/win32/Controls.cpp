// The controls' windows on Win32: one window each, of the system's own
// control classes (STATIC, BUTTON, COMBOBOX, EDIT), subclassed so that our
// procedure sees their messages first. The system sends a control's
// notifications and colour requests to its parent, which hands them to the
// control's window object. The form and the custom controls have window
// classes of their own (Forms.cpp, CustomWindow.cpp).
#include "runtime/win32/Win32Controls.h"

#include "runtime/Dialogs.h"
#include "runtime/SysUtils.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

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

LPCSTR SystemCursorName(TCursor cursor)
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
    return SS_LEFT;
}

namespace {

std::string ConvertText(const std::string& text, UINT from, UINT to)
{
    if (text.empty())
        return text;
    const int size = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
    if (wideLength <= 0)
        return std::string();
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, text.data(), size, wide.data(), wideLength);
    const int length = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, result.data(), length, nullptr, nullptr);
    return result;
}

}  // namespace

std::string ToSystemText(const std::string& utf8)
{
    return ConvertText(utf8, CP_UTF8, CP_ACP);
}

std::string FromSystemText(const std::string& ansi)
{
    return ConvertText(ansi, CP_ACP, CP_UTF8);
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

double WindowPixelRatio(HWND window)
{
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = SystemFunction<TGetDpiForWindow>("user32.dll", "GetDpiForWindow");
    UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
    if (dpi == 0) {
        HDC dc = GetDC(window);
        dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSX));
        ReleaseDC(window, dc);
    }
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

HINSTANCE ProgramInstance()
{
    return GetModuleHandleA(nullptr);
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
constexpr char kWindowObject[] = "UmbrascopeControlWindow";

}  // namespace

TWin32Window::~TWin32Window()
{
    for (HWND part : FParts)
        RemovePropA(part, kWindowObject);
    if (FHandle == nullptr)
        return;
    // From here the window's messages (those of its destruction too) go
    // where they went before it was ours.
    RemovePropA(FHandle, kWindowObject);
    if (FSubclassed)
        SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefaultProc));
    DestroyWindow(FHandle);
}

TWin32Window* TWin32Window::FromHandle(HWND handle)
{
    return handle != nullptr ? static_cast<TWin32Window*>(GetPropA(handle, kWindowObject)) : nullptr;
}

void TWin32Window::Attach(HWND handle, bool ownClass)
{
    if (handle == nullptr)
        throw EOutOfResources(Format("Cannot create a window (error %lu)", GetLastError()));
    FHandle = handle;
    SetPropA(handle, kWindowObject, this);
    if (!ownClass) {
        FDefaultProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWin32Window::WindowProc)));
        FSubclassed = true;
    }
}

void TWin32Window::AddPart(HWND part)
{
    if (part == nullptr || part == FHandle)
        return;
    SetPropA(part, kWindowObject, this);
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
        return DefWindowProcA(handle, msg, wParam, lParam);
    // Copied first: a handler may free the object (and the window).
    const WNDPROC next = self->FDefaultProc;
    LRESULT result = 0;
    bool handled = false;
    Guarded([&] { handled = self->HandleMessage(msg, wParam, lParam, result); });
    if (handled)
        return result;
    return CallWindowProcA(next, handle, msg, wParam, lParam);
}

LRESULT TWin32Window::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(FDefaultProc, FHandle, msg, wParam, lParam);
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
        ::SetCursor(FCursor == crNone ? nullptr : LoadCursorA(nullptr, SystemCursorName(FCursor)));
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
        result = SendMessageA(under, msg, wParam, lParam);
        return true;
    }
    default: return false;
    }
}

void TWin32Window::PlaceWindow(const TRect& bounds)
{
    FBounds = bounds;
    const double ratio = Ratio();
    const int left = ToDevice(bounds.Left, ratio);
    const int top = ToDevice(bounds.Top, ratio);
    SetWindowPos(FHandle, nullptr, left, top, ToDevice(bounds.Right, ratio) - left, ToDevice(bounds.Bottom, ratio) - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Window::ApplyFont(const TPainterFont& font)
{
    FFont = font;
    SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(font, Ratio())), TRUE);
}

void TWin32Window::ApplyText(const std::string& text)
{
    SetWindowTextA(FHandle, ToSystemText(text).c_str());
}

std::string TWin32Window::WindowText() const
{
    const int length = GetWindowTextLengthA(FHandle);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(FHandle, text.data(), length + 1), 0)));
    return FromSystemText(text);
}

HWND CreateChildWindow(const char* className, DWORD style, DWORD exStyle, TControlWindow* parent)
{
    auto* parentWindow = dynamic_cast<TWin32Window*>(parent);
    // Ids above those IsDialogMessage gives meaning to (IDOK, IDCANCEL, ...).
    static int nextId = 1000;
    return CreateWindowExA(exStyle, className, "", style | WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE, 0, 0, 0, 0,
                           parentWindow != nullptr ? parentWindow->Handle() : nullptr,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)), ProgramInstance(), nullptr);
}

HWND WindowHandleOf(const TControl& control)
{
    auto* window = dynamic_cast<TWin32Window*>(&control.Window());
    return window != nullptr ? window->Handle() : nullptr;
}

namespace {

// The colours of a control drawn on its own background in the window text
// colour (a check box, a group box's caption).
HBRUSH TextOnColor(HDC dc, TColor textColor, TColor background)
{
    SetTextColor(dc, ColorToRGB(textColor));
    SetBkColor(dc, ColorToRGB(background));
    return ColorBrush(background);
}

// ---- Label

class TWin32LabelWindow final : public TWin32ControlWindow<TLabelWindow> {
public:
    explicit TWin32LabelWindow(TControlWindow* parent)
    {
        // No prefix: an ampersand in a caption is shown, as on Qt.
        Attach(CreateChildWindow("STATIC", SS_LEFT | SS_NOPREFIX, 0, parent), false);
    }

    void SetAlignment(TAlignment alignment) override
    {
        const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
        SetWindowLongPtrA(FHandle, GWL_STYLE, (style & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | LabelAlignmentStyle(alignment));
        InvalidateRect(FHandle, nullptr, TRUE);
    }
    void SetFontColor(TColor color) override
    {
        FFontColor = color;
        InvalidateRect(FHandle, nullptr, TRUE);
    }
    TSize TextExtent(const std::string& text) const override
    {
        const double ratio = Ratio();
        const std::string systemText = ToSystemText(text);
        HDC dc = GetDC(FHandle);
        HGDIOBJ oldFont = SelectObject(dc, ControlFont(FFont, ratio));
        RECT extent{0, 0, 0, 0};
        DrawTextA(dc, systemText.c_str(), static_cast<int>(systemText.size()), &extent,
                  DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, oldFont);
        ReleaseDC(FHandle, dc);
        // Rounded up: a label one device pixel too narrow wraps its last word.
        return {static_cast<int>(std::ceil(extent.right / ratio)), static_cast<int>(std::ceil(extent.bottom / ratio))};
    }

protected:
    HBRUSH ControlColors(UINT msg, HDC dc) override
    {
        // A disabled STATIC greys its text itself after asking.
        return msg == WM_CTLCOLORSTATIC ? TextOnColor(dc, FFontColor, FColor) : nullptr;
    }

private:
    TColor FFontColor = clWindowText;
};

// ---- Group box

class TWin32GroupBoxWindow final : public TWin32ControlWindow<TControlWindow> {
public:
    explicit TWin32GroupBoxWindow(TControlWindow* parent)
    {
        // A control parent: the dialog keys walk into the box's children.
        Attach(CreateChildWindow("BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent), false);
    }

protected:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        // The system's group box draws only its frame and caption; the
        // inside would show whatever was there before.
        if (msg != WM_ERASEBKGND)
            return TWin32Window::HandleMessage(msg, wParam, lParam, result);
        RECT client;
        GetClientRect(FHandle, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, ColorBrush(FColor));
        result = TRUE;
        return true;
    }
    HBRUSH ControlColors(UINT msg, HDC dc) override
    {
        return msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN ? TextOnColor(dc, clWindowText, FColor) : nullptr;
    }
};

// ---- Button and check box

class TWin32ButtonWindow final : public TWin32ControlWindow<TControlWindow> {
public:
    TWin32ButtonWindow(TControl& button, TControlWindow* parent) : FButton(button)
    {
        Attach(CreateChildWindow("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, parent), false);
    }

protected:
    void Notified(WORD code) override
    {
        if (code == BN_CLICKED)
            TControlEvents::DeliverClick(FButton);
    }

private:
    TControl& FButton;
};

class TWin32CheckWindow final : public TWin32ControlWindow<TCheckWindow> {
public:
    TWin32CheckWindow(TControl& box, TControlWindow* parent) : FBox(box)
    {
        Attach(CreateChildWindow("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, parent), false);
    }

    void SetChecked(bool checked) override
    {
        // The system reports only the user's changes; the program's are
        // reported here, so that every change runs OnClick once.
        if (checked == Checked())
            return;
        SendMessageA(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        TControlEvents::DeliverClick(FBox);
    }
    bool Checked() const override { return SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED; }

protected:
    void Notified(WORD code) override
    {
        if (code == BN_CLICKED)
            TControlEvents::DeliverClick(FBox);
    }
    HBRUSH ControlColors(UINT msg, HDC dc) override
    {
        return msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN ? TextOnColor(dc, clWindowText, FColor) : nullptr;
    }

private:
    TControl& FBox;
};

// ---- Combo box

class TWin32ComboWindow final : public TWin32ControlWindow<TComboWindow> {
public:
    TWin32ComboWindow(TControl& box, TControlWindow* parent, TComboBoxStyle style) : FBox(box)
    {
        const DWORD kind = style == csDropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
        Attach(CreateChildWindow("COMBOBOX", kind | WS_VSCROLL | WS_TABSTOP, 0, parent), false);
        FColor = clWindow;
        // The edit and the list ask for their colours with their own handles.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(FHandle, &info)) {
            AddPart(info.hwndItem);
            AddPart(info.hwndList);
        }
    }

    void SetBounds(const TRect& bounds) override
    {
        FBounds = bounds;
        Place();
    }
    void SetFont(const TPainterFont& font) override
    {
        // A new font sizes the box's field anew; the box keeps its height.
        ApplyFont(font);
        Place();
    }
    void SetText(const std::string& text) override
    {
        if ((GetWindowLongPtrA(FHandle, GWL_STYLE) & CBS_DROPDOWNLIST) != CBS_DROPDOWNLIST)
            ApplyText(text);
    }
    void AddItem(const std::string& item) override
    {
        // The system's box never changes its text or choice for an item added.
        SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToSystemText(item).c_str()));
    }
    void Clear() override
    {
        SendMessageA(FHandle, CB_RESETCONTENT, 0, 0);
        SetWindowTextA(FHandle, "");
    }
    int ItemCount() const override { return std::max(0, static_cast<int>(SendMessageA(FHandle, CB_GETCOUNT, 0, 0))); }
    std::string Item(int index) const override
    {
        const auto length = SendMessageA(FHandle, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == CB_ERR)
            return std::string();
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        const auto copied = SendMessageA(FHandle, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
        return FromSystemText(text);
    }
    int ItemIndex() const override { return static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0)); }
    void SetItemIndex(int index) override { SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    void SetItemHeight(int height) override
    {
        FItemHeight = height;
        SendMessageA(FHandle, CB_SETITEMHEIGHT, 0, std::max(1, ToDevice(height, Ratio())));
        Place();
    }
    void SetDroppedDown(bool dropped) override { SendMessageA(FHandle, CB_SHOWDROPDOWN, dropped, 0); }
    bool DroppedDown() const override { return SendMessageA(FHandle, CB_GETDROPPEDSTATE, 0, 0) != FALSE; }

protected:
    void Notified(WORD code) override
    {
        if (code != CBN_DROPDOWN)
            return;
        TControlEvents::DeliverDropDown(FBox);
        WidenList();
    }
    HBRUSH ControlColors(UINT msg, HDC dc) override
    {
        return msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX ? TextOnColor(dc, clWindowText, FColor) : nullptr;
    }

private:
    // The field's border and the edit's margin around the text's row
    // (measured: the field is the row height plus these).
    static constexpr int kFieldFrame = 6;
    // Rows the open list shows before it scrolls.
    static constexpr int kListRows = 12;

    // The field takes the control's height; below it, room for the list
    // (the window's height is the field and the open list together).
    void Place()
    {
        const double ratio = Ratio();
        const int field = ToDevice(FBounds.Height(), ratio);
        SendMessageA(FHandle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, field - kFieldFrame));
        const int left = ToDevice(FBounds.Left, ratio);
        const int top = ToDevice(FBounds.Top, ratio);
        const int list = ToDevice(kListRows * FItemHeight + 2, ratio);
        SetWindowPos(FHandle, nullptr, left, top, ToDevice(FBounds.Right, ratio) - left, field + list,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Names are never cut off: the list is as wide as its widest item.
    void WidenList()
    {
        HDC dc = GetDC(FHandle);
        HGDIOBJ oldFont = SelectObject(dc, ControlFont(FFont, Ratio()));
        int widest = 0;
        for (int i = 0; i < ItemCount(); ++i) {
            const std::string text = ToSystemText(Item(i));
            SIZE size{};
            if (GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size))
                widest = std::max(widest, static_cast<int>(size.cx));
        }
        SelectObject(dc, oldFont);
        ReleaseDC(FHandle, dc);
        const int margins = 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL) + 4;
        SendMessageA(FHandle, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + margins), 0);
    }

    TControl& FBox;
    int FItemHeight = 16;
};

// ---- Edit

class TWin32EditWindow final : public TWin32ControlWindow<TEditWindow> {
public:
    explicit TWin32EditWindow(TControlWindow* parent)
    {
        Attach(CreateChildWindow("EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, parent), false);
        FColor = clWindow;
    }

    void SetReadOnly(bool readOnly) override { SendMessageA(FHandle, EM_SETREADONLY, readOnly, 0); }

protected:
    HBRUSH ControlColors(UINT msg, HDC dc) override
    {
        // A read-only edit asks as a STATIC does; it keeps its colour then,
        // and only a disabled one takes the system's.
        if (msg == WM_CTLCOLOREDIT || (msg == WM_CTLCOLORSTATIC && IsWindowEnabled(FHandle)))
            return TextOnColor(dc, clWindowText, FColor);
        return nullptr;
    }
};

}  // namespace

// ---- The factories (the form's and the custom controls' are with them)

std::unique_ptr<TLabelWindow> CreateLabelWindow(TControl&, TControlWindow* parent)
{
    return std::make_unique<TWin32LabelWindow>(parent);
}

std::unique_ptr<TControlWindow> CreateGroupBoxWindow(TControl&, TControlWindow* parent)
{
    return std::make_unique<TWin32GroupBoxWindow>(parent);
}

std::unique_ptr<TControlWindow> CreateButtonWindow(TControl& button, TControlWindow* parent)
{
    return std::make_unique<TWin32ButtonWindow>(button, parent);
}

std::unique_ptr<TCheckWindow> CreateCheckWindow(TControl& box, TControlWindow* parent)
{
    return std::make_unique<TWin32CheckWindow>(box, parent);
}

std::unique_ptr<TComboWindow> CreateComboWindow(TControl& box, TControlWindow* parent, TComboBoxStyle style)
{
    return std::make_unique<TWin32ComboWindow>(box, parent, style);
}

std::unique_ptr<TEditWindow> CreateEditWindow(TControl&, TControlWindow* parent)
{
    return std::make_unique<TWin32EditWindow>(parent);
}
