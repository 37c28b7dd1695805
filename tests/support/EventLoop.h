// Waiting on a condition while the message loop runs, for tests that involve
// timers or real devices: never a fixed sleep.
#pragma once

#include "runtime/MessageLoop.h"

#include <chrono>
#include <functional>
#include <thread>

// Handles messages until `condition` holds or `timeoutMs` passes; returns
// whether it held.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Runs the message loop for `ms` milliseconds, for checks that something
// does NOT happen within a span.
inline void RunEventsFor(int ms)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
        ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
