#include "runtime/NotifyWindow.h"

#include "runtime/NotifyWindowSystem.h"
#include "runtime/SysUtils.h"

TNotifyWindow::TNotifyWindow(TWndMethod windowProc)
    : FWindowProc(std::move(windowProc)), FSystemWindow(TSystemWindow::Create(*this))
{
}

TNotifyWindow::~TNotifyWindow() = default;

bool TNotifyWindow::SetTimer(WPARAM id, UINT periodMs)
{
    KillTimer(id);
    if (!FSystemWindow->StartTimer(id, periodMs))
        return false;
    FTimers[id] = periodMs;
    return true;
}

bool TNotifyWindow::KillTimer(WPARAM id)
{
    const auto it = FTimers.find(id);
    if (it == FTimers.end())
        return false;
    FSystemWindow->StopTimer(id);
    FTimers.erase(it);
    return true;
}

UINT TNotifyWindow::TimerInterval(WPARAM id) const
{
    const auto it = FTimers.find(id);
    return it == FTimers.end() ? 0 : it->second;
}

LRESULT TNotifyWindow::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    FWindowProc(message);
    return message.Result;
}

bool TNotifyWindow::Post(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return FSystemWindow->Post(msg, wParam, lParam);
}

void TNotifyWindow::DefaultHandler(TMessage& message)
{
    message.Result = FSystemWindow->DefaultHandler(message);
}

LRESULT TNotifyWindow::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    try {
        return Perform(msg, wParam, lParam);
    } catch (...) {
        HandleCurrentException();
        return 0;
    }
}
