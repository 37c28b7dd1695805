// The timer component: its defaults, switching and the restart rule.
#include "runtime/ExtCtrls.h"

#include "EventLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

// Milliseconds since it was made or last started.
class Stopwatch {
public:
    void Start() { FStart = std::chrono::steady_clock::now(); }
    long long Elapsed() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - FStart).count();
    }

private:
    std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
};

TEST(Timer, DefaultsRunAndTickWithTheSender)
{
    TComponent owner(nullptr);
    auto* timer = new TTimer(&owner);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 1000u);
    EXPECT_TRUE(timer->Running());
    EXPECT_EQ(timer->Owner(), &owner);

    TObject* sender = nullptr;
    int ticks = 0;
    timer->SetOnTimer([&](TObject* Sender) {
        sender = Sender;
        ++ticks;
    });
    timer->SetInterval(10);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(sender, timer);
}

TEST(Timer, TicksOnlyWhileEnabledWithAnInterval)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetOnTimer([&](TObject*) { ++ticks; });
    timer.SetEnabled(false);
    timer.SetInterval(5);
    EXPECT_FALSE(timer.Running());
    RunEventsFor(60);
    EXPECT_EQ(ticks, 0);

    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Running());
    ASSERT_TRUE(WaitUntil([&] { return ticks > 0; }));

    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    EXPECT_TRUE(timer.Enabled()) << "interval 0 stops the ticks without switching off";
    ticks = 0;
    RunEventsFor(60);
    EXPECT_EQ(ticks, 0);
}

// Whether a change restarts the period is seen by when the next tick comes:
// a long interval, a change well into it, and no tick before a full new
// interval has passed since the change.
TEST(Timer, ChangingWhileRunningRestartsTheFullInterval)
{
    TTimer timer(nullptr);
    int ticks = 0;
    Stopwatch sinceChange;
    long long firstTickAfter = -1;
    timer.SetOnTimer([&](TObject*) {
        if (ticks++ == 0)
            firstTickAfter = sinceChange.Elapsed();
    });
    timer.SetInterval(300);
    RunEventsFor(200);
    ASSERT_EQ(ticks, 0);
    sinceChange.Start();
    timer.SetInterval(301);
    ASSERT_TRUE(WaitUntil([&] { return ticks > 0; }));
    EXPECT_GE(firstTickAfter, 250) << "the old phase (100 ms left) was not kept";

    // Switching on after off starts a full interval too.
    timer.SetEnabled(false);
    ticks = 0;
    sinceChange.Start();
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks > 0; }));
    EXPECT_GE(firstTickAfter, 250);
}

TEST(Timer, SettingTheSameValueKeepsThePhase)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetOnTimer([&](TObject*) { ++ticks; });
    timer.SetInterval(400);
    Stopwatch sinceStart;
    // Keep "setting" the same values; a restart each time would postpone
    // the tick for ever.
    ASSERT_TRUE(WaitUntil([&] {
        timer.SetInterval(400);
        timer.SetEnabled(true);
        return ticks > 0;
    }));
    EXPECT_GE(sinceStart.Elapsed(), 350);
}

TEST(Timer, FailingHandlerIsReportedAndTheTimerGoesOn)
{
    std::vector<std::string> reported;
    SetExceptionHandler([&](const std::exception& error) { reported.push_back(error.what()); });
    TTimer timer(nullptr);
    timer.SetInterval(5);
    timer.SetOnTimer([](TObject*) { throw Exception("Disk full"); });
    ASSERT_TRUE(WaitUntil([&] { return reported.size() >= 3; }));
    SetExceptionHandler({});
    EXPECT_EQ(reported.front(), "Disk full");
    EXPECT_TRUE(timer.Running());
}

}  // namespace
