// The runtime pieces the components lean on: message formatting, the list
// index error, colour resolution and the notification window's timers.
#include "runtime/Graphics.h"
#include "runtime/NotifyWindow.h"
#include "runtime/SysUtils.h"

#include "EventLoop.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

TEST(Runtime, FormatFillsTheFixedMessages)
{
    EXPECT_EQ(Format("Value must be between %d and %d", -2147483647, 99), "Value must be between -2147483647 and 99");
    EXPECT_EQ(Format("%s", ""), "");
    EXPECT_EQ(std::string(EListError(-1).what()), "List index out of bounds (-1)");
    const std::string longText(1000, 'x');
    EXPECT_EQ(Format("%s!", longText.c_str()), longText + "!");
}

TEST(Runtime, ColoursResolveToRgb)
{
    EXPECT_EQ(ColorToRGB(16744448), 16744448u);
    EXPECT_EQ(ToQRgb(16744448), qRgb(0, 128, 255));
    EXPECT_EQ(FromQRgb(qRgb(168, 211, 255)), 16765864u);
    EXPECT_EQ(ColorToRGB(clWindow), FromQRgb(QApplication::palette().color(QPalette::Active, QPalette::Base).rgb()));
    EXPECT_EQ(ColorToRGB(clBtnFace), FromQRgb(QApplication::palette().color(QPalette::Active, QPalette::Button).rgb()));
    EXPECT_EQ(ColorToRGB(0xFF000003), 0x808080u) << "a system colour Qt has no role for takes the classic value";
}

TEST(Runtime, NotifyWindowTimersAreNumberedByTheOwner)
{
    int ticks = 0;
    TNotifyWindow window([&](TMessage& msg) {
        if (msg.Msg == WM_TIMER && msg.WParam == 7)
            ++ticks;
        msg.Result = 42;
    });
    EXPECT_EQ(window.Perform(0x0400), 42);
    EXPECT_TRUE(window.SetTimer(7, 5));
    EXPECT_EQ(window.TimerInterval(7), 5u);
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 2; }));
    EXPECT_TRUE(window.SetTimer(7, 20)) << "setting a running timer again replaces it";
    EXPECT_EQ(window.TimerInterval(7), 20u);
    EXPECT_TRUE(window.KillTimer(7));
    EXPECT_FALSE(window.KillTimer(7));
    const int stopped = ticks;
    RunEventsFor(50);
    EXPECT_EQ(ticks, stopped);
}

}  // namespace
