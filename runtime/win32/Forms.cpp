// The form's window on Win32 (a top-level window of our own class, fixed
// size, single border) and the application's message loop.
#include "runtime/win32/Win32Controls.h"

#include "runtime/Forms.h"

#include <algorithm>

TPoint CentredOrigin(const TRect& workArea, int width, int height)
{
    // A window larger than the work area keeps its caption on the screen.
    return {std::max(workArea.Left, workArea.Left + (workArea.Width() - width) / 2),
            std::max(workArea.Top, workArea.Top + (workArea.Height() - height) / 2)};
}

namespace {

constexpr wchar_t kFormClass[] = L"UmbrascopeForm";
// A single border, the system menu and minimise: no sizing, no maximise.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Tab and the arrows walk into group boxes as they do in dialogs.
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

void RegisterFormClass()
{
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = TWin32Window::WindowProc;
        windowClass.hInstance = ProgramInstance();
        // The program's icon where its resources have one.
        windowClass.hIcon = LoadIconW(ProgramInstance(), L"MAINICON");
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kFormClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;  // a failure shows as CreateWindowExW failing
}

TRect WorkAreaOf(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT area{};
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        area = monitor.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return Rect(area.left, area.top, area.right, area.bottom);
}

// The outer size of a form whose client area is `width` x `height` device
// pixels on a screen of `dpi`: its caption and borders are the sizes the
// system gives them at that density, where the system can say (Windows 10
// 1607 on); elsewhere the main screen's.
SIZE FrameSize(int width, int height, UINT dpi)
{
    using TAdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = SystemFunction<TAdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT frame{0, 0, width, height};
    if (adjustForDpi == nullptr || !adjustForDpi(&frame, kFormStyle, FALSE, kFormExStyle, dpi))
        AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// Lays `parent`'s controls, and theirs, out again at their screen's scale.
void RescaleControls(const TWinControl& parent)
{
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl& control = *parent.Controls(i);
        if (auto* window = dynamic_cast<TWin32Window*>(&control.Window()))
            window->ApplyScale();
        TControlEvents::DeliverScaleChanged(control);
        if (const auto* container = dynamic_cast<const TWinControl*>(&control))
            RescaleControls(*container);
    }
}

class TWin32FormWindow final : public TWin32ControlWindow<TFormWindow> {
public:
    explicit TWin32FormWindow(TControl& form) : FForm(form)
    {
        RegisterFormClass();
        Attach(CreateWindowExW(kFormExStyle, kFormClass, L"", kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                               nullptr, ProgramInstance(), nullptr),
               true);
    }
    ~TWin32FormWindow() override
    {
        if (MainFormWindow() == FHandle)
            SetMainFormWindow(nullptr);
        ForgetToldDpi(FHandle);
    }

    // A window stays where it was put on the screen; only its size is ours.
    void SetBounds(const TRect&) override {}
    void SetVisible(bool visible) override
    {
        if (!visible) {
            ShowWindow(FHandle, SW_HIDE);
            return;
        }
        const bool first = !FShownOnce;
        FShownOnce = true;
        if (first)
            CentreOnWorkArea();
        ShowWindow(FHandle, SW_SHOW);
        if (first)
            TControlEvents::DeliverActivate(FForm);
    }
    void SetClientSize(int width, int height) override
    {
        FClientWidth = width;
        FClientHeight = height;
        Place();
    }
    void Close() override
    {
        // Nothing is destroyed: the form and its controls stay for the
        // program to free.
        ShowWindow(FHandle, SW_HIDE);
        TControlEvents::DeliverClosed(FForm);
        if (MainFormWindow() == FHandle)
            PostQuitMessage(0);
    }

protected:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (msg) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(FHandle, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, ColorBrush(FColor));
            result = TRUE;
            return true;
        }
        case WM_DPICHANGED:
            ScaleTo(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            result = 0;
            return true;
        case WM_CLOSE:
            // The close button closes as Close does; the default would
            // destroy the window under the controls.
            Close();
            result = 0;
            return true;
        case WM_ACTIVATE:
            // As a dialog does: the control that had the keyboard gets it
            // back when the window is active again (after Alt+Tab, a box,
            // the file chooser), rather than the window itself, on which
            // Space and Enter do nothing.
            if (LOWORD(wParam) == WA_INACTIVE) {
                RememberFocus();
                return false;
            }
            if (HIWORD(wParam) != 0 || !RestoreFocus())
                return false;
            result = 0;
            return true;
        case WM_SETFOCUS:
            // The system gives the keyboard to the window itself when a box
            // it owned goes away.
            if (!RestoreFocus())
                return false;
            result = 0;
            return true;
        default: return TWin32Window::HandleMessage(msg, wParam, lParam, result);
        }
    }

    // The client area at the screen's scale; the window stays where it is.
    void Place() override { SizeFrame(nullptr); }

private:
    void RememberFocus()
    {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(FHandle, focus))
            FFocused = focus;
    }
    // False when there is no control to give the keyboard to.
    bool RestoreFocus()
    {
        HWND target = FFocused;
        if (target == nullptr || !IsWindow(target) || !IsChild(FHandle, target) || !IsWindowEnabled(target) ||
            !IsWindowVisible(target))
            target = GetNextDlgTabItem(FHandle, nullptr, FALSE);
        if (target == nullptr)
            return false;
        ::SetFocus(target);
        return true;
    }

    // Sizes the window for its client area at the screen's scale, with its
    // top-left corner at `origin` (null: where it is).
    void SizeFrame(const POINT* origin)
    {
        const double ratio = Ratio();
        const int width = ToDevice(FClientWidth, ratio);
        const int height = ToDevice(FClientHeight, ratio);
        const SIZE frame = FrameSize(width, height, WindowDpi(FHandle));
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (origin != nullptr)
            SetWindowPos(FHandle, nullptr, origin->x, origin->y, frame.cx, frame.cy, flags);
        else
            SetWindowPos(FHandle, nullptr, 0, 0, frame.cx, frame.cy, flags | SWP_NOMOVE);
        // A frame of other sizes than the system said it would have (Wine's
        // caption and borders keep the scale the window began with) would
        // take from the client area or add to it: the difference is made up.
        RECT client;
        if (width <= 0 || height <= 0 || IsIconic(FHandle) || !GetClientRect(FHandle, &client))
            return;
        if (client.right != width || client.bottom != height)
            SetWindowPos(FHandle, nullptr, 0, 0, frame.cx + width - client.right, frame.cy + height - client.bottom,
                         flags | SWP_NOMOVE);
    }

    // The window went to a screen of `dpi`; the system suggests `suggested`
    // for it there.
    void ScaleTo(UINT dpi, const RECT& suggested)
    {
        SetToldDpi(FHandle, dpi);
        // The suggestion is the old frame scaled as a whole, but the caption
        // and borders need not grow by the screen's factor: the window goes
        // where the system put it, at the size that keeps the client area
        // exact.
        const POINT origin{suggested.left, suggested.top};
        SizeFrame(&origin);
        RescaleControls(static_cast<const TWinControl&>(FForm));
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }

    void CentreOnWorkArea()
    {
        RECT window;
        GetWindowRect(FHandle, &window);
        const TPoint origin = CentredOrigin(WorkAreaOf(FHandle), window.right - window.left, window.bottom - window.top);
        SetWindowPos(FHandle, nullptr, origin.X, origin.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    TControl& FForm;
    bool FShownOnce = false;
    HWND FFocused = nullptr;
    // In pixels of the drawing.
    int FClientWidth = 0;
    int FClientHeight = 0;
};

// Drawn sharp on dense screens rather than stretched by the system: per
// monitor where the system knows that (Windows 10 1703 on), else for the
// main screen.
void DeclareDpiAware()
{
    using TSetContext = BOOL(WINAPI*)(HANDLE);
    using TSetAware = BOOL(WINAPI*)();
    const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    if (const auto setContext = SystemFunction<TSetContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        // Refused when the executable's manifest has declared it already;
        // that declaration stands.
        if (setContext(perMonitorV2) || GetLastError() == ERROR_ACCESS_DENIED)
            return;
    }
    if (const auto setAware = SystemFunction<TSetAware>(L"user32.dll", "SetProcessDPIAware"))
        setAware();
}

}  // namespace

std::unique_ptr<TFormWindow> CreateFormWindow(TControl& form)
{
    return std::make_unique<TWin32FormWindow>(form);
}

// ---- The application

struct TApplication::TSystem {};

TApplication::TApplication(int&, char**, const TApplicationInfo&) : FSystem(std::make_unique<TSystem>())
{
    // The title comes from the program's file name and the icon from its
    // resources, so nothing of `info` is needed here.
    DeclareDpiAware();
}

TApplication::~TApplication() = default;

int TApplication::Run(TForm& mainForm)
{
    HWND form = WindowHandleOf(mainForm);
    SetMainFormWindow(form);
    mainForm.Show();
    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        // Tab, the arrows, Enter and Escape move through the form as in a
        // dialog; everything else (timers, posted boxes) as usual.
        if (IsDialogMessageW(form, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    SetMainFormWindow(nullptr);
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}
