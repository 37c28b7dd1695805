// The notification window on Qt: a QObject whose timers tick through Qt's
// event loop and to which posted messages come as events. It has no window;
// nothing but its timers and posted messages ever reaches it.
#include "runtime/NotifyWindowSystem.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimerEvent>

#include <climits>

namespace {

class TPostedMessage final : public QEvent {
public:
    static QEvent::Type Kind()
    {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    TPostedMessage(UINT msg, WPARAM wParam, LPARAM lParam) : QEvent(Kind()), Msg(msg), WParam(wParam), LParam(lParam)
    {
    }
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

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

    bool Post(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (QCoreApplication::instance() == nullptr)
            return false;
        // Qt frees an event still queued when its receiver is destroyed.
        QCoreApplication::postEvent(this, new TPostedMessage(msg, wParam, lParam));
        return true;
    }

    LRESULT DefaultHandler(const TMessage&) override { return 0; }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != TPostedMessage::Kind())
            return QObject::event(event);
        const auto* posted = static_cast<TPostedMessage*>(event);
        Dispatch(FWindow, posted->Msg, posted->WParam, posted->LParam);
        return true;
    }

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
