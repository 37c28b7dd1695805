// The standard controls' windows on Win32: one window each, of the system's
// own control classes (STATIC, BUTTON, COMBOBOX, EDIT), subclassed so that
// our procedure sees their messages first (ControlWindow.cpp). The system
// sends a control's notifications and colour requests to its parent, which
// hands them to the control's window object. The form and the custom
// controls have window classes of their own (Forms.cpp, CustomWindow.cpp).
#include "runtime/win32/Win32Controls.h"

#include "runtime/win32/WideText.h"

#include <algorithm>
#include <cmath>

namespace {

// A control's text colour on its own background, and the brush that
// fills it.
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
        Attach(CreateChildWindow(L"STATIC", LabelAlignmentStyle(taLeftJustify) | SS_NOPREFIX, 0, parent), false);
    }

    void SetAlignment(TAlignment alignment) override
    {
        const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
        SetWindowLongPtrW(FHandle, GWL_STYLE, (style & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | LabelAlignmentStyle(alignment));
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
        const std::wstring wide = WideFromUtf8(text);
        HDC dc = GetDC(FHandle);
        HGDIOBJ oldFont = SelectObject(dc, ControlFont(FFont, ratio));
        RECT extent{0, 0, 0, 0};
        DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &extent, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
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
        Attach(CreateChildWindow(L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent), false);
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
        Attach(CreateChildWindow(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, parent), false);
    }

protected:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        // As in a dialog, the focused button is the default one, however
        // it got the focus (Tab or a click): it shows the default frame and
        // tells the dialog keys so, which then press it for Enter. The
        // answer does not hang on the style, which the dialog keys reset
        // on their own focus changes.
        switch (msg) {
        case WM_SETFOCUS: SendMessageW(FHandle, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE); break;
        case WM_KILLFOCUS: SendMessageW(FHandle, BM_SETSTYLE, BS_PUSHBUTTON, TRUE); break;
        case WM_GETDLGCODE:
            if (GetFocus() != FHandle)
                break;
            result = DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
            return true;
        default: break;
        }
        return TWin32Window::HandleMessage(msg, wParam, lParam, result);
    }
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
        Attach(CreateChildWindow(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, parent), false);
    }

    void SetChecked(bool checked) override
    {
        // The system reports only the user's changes; the program's are
        // reported here, so that every change runs OnClick once.
        if (checked == Checked())
            return;
        SendMessageW(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        TControlEvents::DeliverClick(FBox);
    }
    bool Checked() const override { return SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED; }

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
        Attach(CreateChildWindow(L"COMBOBOX", kind | WS_VSCROLL | WS_TABSTOP, 0, parent), false);
        FColor = clWindow;
        // The edit and the list ask for their colours with their own handles.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(FHandle, &info)) {
            AddPart(info.hwndItem);
            AddPart(info.hwndList);
        }
    }

    void ApplyScale() override
    {
        // A new font sizes the box's field anew, which Place undoes: the
        // box keeps its height.
        TWin32Window::ApplyScale();
        SendMessageW(FHandle, CB_SETITEMHEIGHT, 0, std::max(1, ToDevice(FItemHeight, Ratio())));
    }
    void SetText(const std::string& text) override
    {
        if ((GetWindowLongPtrW(FHandle, GWL_STYLE) & CBS_DROPDOWNLIST) != CBS_DROPDOWNLIST)
            ApplyText(text);
    }
    void AddItem(const std::string& item) override
    {
        // The system's box never changes its text or choice for an item added.
        SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(item).c_str()));
    }
    void Clear() override
    {
        SendMessageW(FHandle, CB_RESETCONTENT, 0, 0);
        SetWindowTextW(FHandle, L"");
    }
    int ItemCount() const override { return std::max(0, static_cast<int>(SendMessageW(FHandle, CB_GETCOUNT, 0, 0))); }
    std::string Item(int index) const override
    {
        const auto length = SendMessageW(FHandle, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == CB_ERR)
            return std::string();
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const auto copied = SendMessageW(FHandle, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        return Utf8FromWide(text.data(), static_cast<int>(std::max<LRESULT>(copied, 0)));
    }
    int ItemIndex() const override { return static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0)); }
    void SetItemIndex(int index) override { SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    void SetItemHeight(int height) override
    {
        FItemHeight = height;
        ApplyScale();
    }
    void SetDroppedDown(bool dropped) override { SendMessageW(FHandle, CB_SHOWDROPDOWN, dropped, 0); }
    bool DroppedDown() const override { return SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != FALSE; }

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
    void Place() override
    {
        const double ratio = Ratio();
        const int field = ToDevice(FBounds.Height(), ratio);
        SendMessageW(FHandle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, field - kFieldFrame));
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
            const std::wstring text = WideFromUtf8(Item(i));
            SIZE size{};
            if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size))
                widest = std::max(widest, static_cast<int>(size.cx));
        }
        SelectObject(dc, oldFont);
        ReleaseDC(FHandle, dc);
        const int margins = 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL) + 4;
        SendMessageW(FHandle, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + margins), 0);
    }

    TControl& FBox;
    int FItemHeight = 16;
};

// ---- Edit

class TWin32EditWindow final : public TWin32ControlWindow<TEditWindow> {
public:
    explicit TWin32EditWindow(TControlWindow* parent)
    {
        Attach(CreateChildWindow(L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, parent), false);
        FColor = clWindow;
    }

    void SetReadOnly(bool readOnly) override { SendMessageW(FHandle, EM_SETREADONLY, readOnly, 0); }

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
