// The notification window on Windows: a message-only window of its own
// class (never shown, no place on any screen, needs no display) with the
// system's window timers. Its messages come through the application's
// message loop (or a dialog's), on the thread that made it.
#include "runtime/NotifyWindowSystem.h"
#include "runtime/SysUtils.h"

#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"UmbrascopeNotifyWindow";

class TWin32SystemWindow final : public TNotifyWindow::TSystemWindow {
public:
    explicit TWin32SystemWindow(TNotifyWindow& window) : FWindow(window)
    {
        RegisterWindowClass();
        FHandle = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        if (FHandle == nullptr)
            throw EOutOfResources(Format("Cannot create a window (error %lu)", GetLastError()));
        // Messages sent while the window was being made (WM_NCCREATE and
        // the like) went to the default procedure; from here on they reach
        // the owner.
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }

    ~TWin32SystemWindow() override
    {
        // Destroying a window kills its timers and removes their messages
        // from the queue; the ones it sends while going go nowhere.
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
        DestroyWindow(FHandle);
    }

    bool StartTimer(WPARAM id, UINT periodMs) override
    {
        // The same id on the same window replaces the running timer.
        return ::SetTimer(FHandle, id, periodMs, nullptr) != 0;
    }

    void StopTimer(WPARAM id) override { ::KillTimer(FHandle, id); }

    bool Post(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        return ::PostMessageW(FHandle, msg, wParam, lParam) != 0;
    }

    LRESULT DefaultHandler(const TMessage& message) override
    {
        return DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<TWin32SystemWindow*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
        if (self == nullptr)
            return DefWindowProcW(handle, msg, wParam, lParam);
        return Dispatch(self->FWindow, msg, wParam, lParam);
    }

    static void RegisterWindowClass()
    {
        static const bool registered = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = WindowProc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = kClassName;
            return RegisterClassW(&windowClass) != 0;
        }();
        (void)registered;  // a failure shows as CreateWindowExW failing
    }

    TNotifyWindow& FWindow;
    HWND FHandle = nullptr;
};

}  // namespace

std::unique_ptr<TNotifyWindow::TSystemWindow> TNotifyWindow::TSystemWindow::Create(TNotifyWindow& window)
{
    return std::make_unique<TWin32SystemWindow>(window);
}
