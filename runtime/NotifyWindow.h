// A hidden window of the user-interface thread: it has no screen presence,
// only a window procedure that receives messages, and timers identified by
// small numbers of the owner's choosing. Timer messages arrive from the
// application's message loop, between other messages and in the nested
// loops of dialogs too.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>

// The message types of the Windows headers, declared exactly as they declare
// them on both Windows targets, so that a file may see both.
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::conditional_t<sizeof(void*) == 8, long long, long>;
using LRESULT = LPARAM;

inline constexpr UINT WM_TIMER = 0x0113;

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

class TNotifyWindow {
public:
    using TWndMethod = std::function<void(TMessage&)>;

    // Creates the window; raises EOutOfResources when the window system has
    // none to give.
    explicit TNotifyWindow(TWndMethod windowProc);
    // Stops its timers and destroys the window: no message reaches the
    // window procedure afterwards.
    ~TNotifyWindow();
    TNotifyWindow(const TNotifyWindow&) = delete;
    TNotifyWindow& operator=(const TNotifyWindow&) = delete;

    // Starts timer `id` with the given period, replacing a running timer of
    // the same id; the first tick comes one period later. False when the
    // system has no timer to give.
    bool SetTimer(WPARAM id, UINT periodMs);
    // Stops timer `id`; false when it was not running.
    bool KillTimer(WPARAM id);
    // The period of a running timer, 0 when `id` is not running.
    UINT TimerInterval(WPARAM id) const;

    // Hands a message to the window procedure at once and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues a message for the window procedure (the system's PostMessage), which gets it from the
    // message loop after what is waiting already. False when there is no
    // message loop to take it; a message still queued when the window is
    // destroyed is dropped.
    bool Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // What the window system does with a message the window procedure does
    // not handle itself; stores its answer in `message.Result`.
    void DefaultHandler(TMessage& message);

    // The window system's side, one per platform.
    class TSystemWindow;

private:
    // Called by the system window for every message it receives. An
    // exception from the window procedure (an owner's event handler) is
    // reported here; it must not unwind through the window system.
    friend class TSystemWindow;
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    TWndMethod FWindowProc;
    std::map<WPARAM, UINT> FTimers;
    std::unique_ptr<TSystemWindow> FSystemWindow;
};
