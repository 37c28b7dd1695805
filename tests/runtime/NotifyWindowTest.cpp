// The hidden window's timers, numbered by its owner, and what reaches its
// window procedure.
#include "runtime/NotifyWindow.h"
#include "runtime/SysUtils.h"

#include "EventLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(NotifyWindow, TimersAreNumberedByTheOwner)
{
    int ticks = 0;
    int otherTicks = 0;
    TNotifyWindow window([&](TMessage& msg) {
        if (msg.Msg == WM_TIMER && msg.WParam == 7)
            ++ticks;
        if (msg.Msg == WM_TIMER && msg.WParam == 8)
            ++otherTicks;
        msg.Result = 42;
    });
    EXPECT_EQ(window.Perform(0x0400), 42);
    EXPECT_TRUE(window.SetTimer(7, 5));
    EXPECT_TRUE(window.SetTimer(8, 5));
    EXPECT_EQ(window.TimerInterval(7), 5u);
    EXPECT_EQ(window.TimerInterval(9), 0u);
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 2 && otherTicks >= 2; }));
    EXPECT_TRUE(window.SetTimer(7, 20)) << "setting a running timer again replaces it";
    EXPECT_EQ(window.TimerInterval(7), 20u);
    EXPECT_TRUE(window.KillTimer(7));
    EXPECT_FALSE(window.KillTimer(7));
    const int stopped = ticks;
    const int otherBefore = otherTicks;
    RunEventsFor(60);
    EXPECT_EQ(ticks, stopped);
    EXPECT_GT(otherTicks, otherBefore) << "stopping one timer stopped the other";
}

TEST(NotifyWindow, NothingArrivesAfterTheWindowIsDestroyed)
{
    int ticks = 0;
    auto window = std::make_unique<TNotifyWindow>([&](TMessage& msg) {
        if (msg.Msg == WM_TIMER)
            ++ticks;
    });
    ASSERT_TRUE(window->SetTimer(1, 1));
    ASSERT_TRUE(WaitUntil([&] { return ticks > 0; }));
    // Let timer messages pile up unhandled, then destroy the window with
    // them still waiting.
    window->SetTimer(1, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    window.reset();
    const int atDestruction = ticks;
    RunEventsFor(50);
    EXPECT_EQ(ticks, atDestruction);
}

TEST(NotifyWindow, AFailingWindowProcedureIsReportedAndTicksGoOn)
{
    std::vector<std::string> reported;
    SetExceptionHandler([&](const std::exception& error) { reported.push_back(error.what()); });
    TNotifyWindow window([&](TMessage& msg) {
        if (msg.Msg == WM_TIMER)
            throw Exception("COM Port has been disconnected!!");
    });
    ASSERT_TRUE(window.SetTimer(1, 5));
    const bool threeReports = WaitUntil([&] { return reported.size() >= 3; });
    SetExceptionHandler({});
    ASSERT_TRUE(threeReports);
    EXPECT_EQ(reported.front(), "COM Port has been disconnected!!");
}

}  // namespace
