// A hidden window of the user-interface thread: it has no screen presence,
// only a window procedure that receives messages, and timers identified by
// small numbers of the owner's choosing. Timer ticks arrive through Qt's event
// loop, between other events and in nested loops (dialogs) too.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <map>

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr UINT WM_TIMER = 0x0113;

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// What a window does with a message it does not handle itself.
LRESULT DefWindowProc(const TMessage& message);

class TNotifyWindow : public QObject {
    Q_OBJECT
public:
    using TWndMethod = std::function<void(TMessage&)>;

    explicit TNotifyWindow(TWndMethod windowProc, QObject* parent = nullptr);

    // Starts timer `id` with the given period, replacing a running timer of
    // the same id. False when the system has no timer to give.
    bool SetTimer(WPARAM id, UINT periodMs);
    // Stops timer `id`; false when it was not running.
    bool KillTimer(WPARAM id);
    // The period of a running timer, 0 when `id` is not running.
    UINT TimerInterval(WPARAM id) const;

    // Hands a message to the window procedure at once and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    struct Timer {
        int qtId;
        UINT periodMs;
    };

    TWndMethod FWindowProc;
    std::map<WPARAM, Timer> FTimers;
};
