#include "runtime/ExtCtrls.h"

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner), FWindow(std::make_unique<TNotifyWindow>([this](TMessage& message) { WndProc(message); }))
{
    UpdateTimer();
}

TTimer::~TTimer() = default;

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
    FWindow->KillTimer(kTimerId);
    if (!FEnabled || FInterval == 0)
        return;
    if (!FWindow->SetTimer(kTimerId, FInterval))
        throw EOutOfResources("Not enough timers available");
}

void TTimer::WndProc(TMessage& message)
{
    if (message.Msg != WM_TIMER) {
        FWindow->DefaultHandler(message);
        return;
    }
    // A failing handler is reported by the window and the timer goes on
    // ticking.
    if (FOnTimer)
        FOnTimer(this);
}
