#include "runtime/ExtCtrls.h"

#include "runtime/Dialogs.h"

#include <QTimerEvent>

#include <climits>

TTimer::TTimer(QObject* AOwner) : TComponent(AOwner)
{
    UpdateTimer();
}

void TTimer::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value)
{
    if (value == FInterval)
        return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    // Always stop first: a running timer that is changed starts a fresh
    // period rather than keeping its old phase.
    if (FTimerId != 0) {
        killTimer(FTimerId);
        FTimerId = 0;
    }
    if (!FEnabled || FInterval == 0)
        return;
    // A precise timer: a coarse one may tick up to 5% early, and the first
    // tick is promised one full interval after the start.
    if (FInterval <= static_cast<unsigned>(INT_MAX))
        FTimerId = startTimer(static_cast<int>(FInterval), Qt::PreciseTimer);
    if (FTimerId == 0)
        throw EOutOfResources("Not enough timers available");
}

void TTimer::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != FTimerId) {
        TComponent::timerEvent(event);
        return;
    }
    // A failing handler is reported and the timer goes on ticking.
    Guarded([this] {
        if (FOnTimer)
            FOnTimer(this);
    });
}
