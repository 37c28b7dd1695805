#include "runtime/NotifyWindow.h"

#include "runtime/SysUtils.h"

#include <QTimerEvent>

LRESULT DefWindowProc(const TMessage&)
{
    return 0;
}

TNotifyWindow::TNotifyWindow(TWndMethod windowProc, QObject* parent)
    : QObject(parent), FWindowProc(std::move(windowProc))
{
}

bool TNotifyWindow::SetTimer(WPARAM id, UINT periodMs)
{
    KillTimer(id);
    const int qtId = startTimer(static_cast<int>(periodMs));
    if (qtId == 0)
        return false;
    FTimers[id] = Timer{qtId, periodMs};
    return true;
}

bool TNotifyWindow::KillTimer(WPARAM id)
{
    const auto it = FTimers.find(id);
    if (it == FTimers.end())
        return false;
    killTimer(it->second.qtId);
    FTimers.erase(it);
    return true;
}

UINT TNotifyWindow::TimerInterval(WPARAM id) const
{
    const auto it = FTimers.find(id);
    return it == FTimers.end() ? 0 : it->second.periodMs;
}

LRESULT TNotifyWindow::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    FWindowProc(message);
    return message.Result;
}

void TNotifyWindow::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, timer] : FTimers) {
        if (timer.qtId != event->timerId())
            continue;
        // An exception from the tick (an owner's event handler) is reported
        // here; it must not unwind through Qt's event loop.
        try {
            Perform(WM_TIMER, id);
        } catch (...) {
            HandleCurrentException();
        }
        return;
    }
}
