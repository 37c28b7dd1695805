// The notification window on Qt: a QObject whose timers tick through Qt's
// event loop. It has no window; nothing but timer messages ever reaches it.
#include "runtime/NotifyWindowSystem.h"

#include <QObject>
#include <QTimerEvent>

#include <climits>

namespace {

class TQtSystemWindow final : public QObject, public TNotifyWindow::TSystemWindow {
public:
    explicit TQtSystemWindow(TNotifyWindow& window) : FWindow(window) {}

    bool StartTimer(WPARAM id, UINT periodMs) override
    {
        StopTimer(id);
        if (periodMs > static_cast<UINT>(INT_MAX))
            return false;
        // A precise timer: a coarse one may tick up to 5% early, and the
        // first tick is promised one full period after the start.
        const int qtId = startTimer(static_cast<int>(periodMs), Qt::PreciseTimer);
        if (qtId == 0)
            return false;
        FQtIds[id] = qtId;
        return true;
    }

    void StopTimer(WPARAM id) override
    {
        const auto it = FQtIds.find(id);
        if (it == FQtIds.end())
            return;
        killTimer(it->second);
        FQtIds.erase(it);
    }

    LRESULT DefaultHandler(const TMessage&) override { return 0; }

protected:
    void timerEvent(QTimerEvent* event) override
    {
        for (const auto& [id, qtId] : FQtIds) {
            if (qtId == event->timerId()) {
                Dispatch(FWindow, WM_TIMER, id, 0);
                return;
            }
        }
    }

private:
    TNotifyWindow& FWindow;
    std::map<WPARAM, int> FQtIds;
};

}  // namespace

std::unique_ptr<TNotifyWindow::TSystemWindow> TNotifyWindow::TSystemWindow::Create(TNotifyWindow& window)
{
    return std::make_unique<TQtSystemWindow>(window);
}
