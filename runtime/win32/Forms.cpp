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
        const double ratio = Ratio();
        RECT frame{0, 0, ToDevice(width, ratio), ToDevice(height, ratio)};
        AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
        SetWindowPos(FHandle, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
