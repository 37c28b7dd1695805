// The timer component: ticks through Qt's event loop, in nested loops too.
#pragma once

#include "runtime/Classes.h"
#include "runtime/SysUtils.h"

#include <functional>

// The system has no timer left to give: "Not enough timers available".
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

class TTimer : public TComponent {
    Q_OBJECT
public:
    // Starts running at once (enabled, 1000 ms). Raises EOutOfResources when
    // no timer can be had.
    explicit TTimer(QObject* AOwner);

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
    bool Running() const { return FTimerId != 0; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    TNotifyEvent FOnTimer;
    int FTimerId = 0;
};
