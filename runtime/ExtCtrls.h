// The timer component: a timer of a hidden window of its own, so it ticks
// from the application's message loop, in nested loops (dialogs) too.
#pragma once

#include "runtime/Classes.h"
#include "runtime/NotifyWindow.h"
#include "runtime/SysUtils.h"

#include <memory>

class TTimer : public TComponent {
public:
    // Starts running at once (enabled, 1000 ms). Raises EOutOfResources when
    // no timer can be had.
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    // Setting the current value does nothing; switching on (re)starts the
    // timer, the first tick one full interval later. Raises EOutOfResources
    // when the timer cannot start.
    void SetEnabled(bool value);

    unsigned Interval() const { return FInterval; }
    // In milliseconds; 0 stops the ticks. A change while running restarts
    // the timer, the first tick one full interval later; setting the current
    // value keeps the phase. Raises EOutOfResources as SetEnabled.
    void SetInterval(unsigned value);

    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent handler) { FOnTimer = std::move(handler); }

    // True while a system timer is counting for this component.
    bool Running() const { return FWindow->TimerInterval(kTimerId) != 0; }

private:
    static constexpr WPARAM kTimerId = 1;

    void WndProc(TMessage& message);
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    TNotifyEvent FOnTimer;
    std::unique_ptr<TNotifyWindow> FWindow;
};
