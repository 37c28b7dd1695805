// The window system's side of TNotifyWindow: one implementation per
// platform, made by Create.
#pragma once

#include "runtime/NotifyWindow.h"

class TNotifyWindow::TSystemWindow {
public:
    // The window for `window`, to which it hands every message it receives.
    // Raises EOutOfResources when the window system has none to give.
    static std::unique_ptr<TSystemWindow> Create(TNotifyWindow& window);

    // Stops every timer and destroys the window.
    virtual ~TSystemWindow() = default;

    // Starts (or restarts) the system timer `id`; false when refused.
    virtual bool StartTimer(WPARAM id, UINT periodMs) = 0;
    virtual void StopTimer(WPARAM id) = 0;
    virtual bool Post(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT DefaultHandler(const TMessage& message) = 0;

protected:
    static LRESULT Dispatch(TNotifyWindow& window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
    {
        return window.Dispatch(msg, wParam, lParam);
    }
};
