// The driver on the system's own serial calls and window timers, against
// ports whose far side tools/windows/run-wine-tests.sh plays:
// UMBRASCOPE_TEST_LOOPBACK_PORT sends back every byte,
// UMBRASCOPE_TEST_HANGUP_PORT goes away at the first byte it receives, and
// UMBRASCOPE_TEST_METER_PORT is the meter simulator, which disappears after
// its third reading as an unplugged adapter would (so it serves one run).
// Tests whose port is not named are skipped.
#include "serial/CPDrv.h"

#include "../DriverMonitor.h"
#include "EventLoop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string PortFromEnvironment(const char* variable)
{
    const char* name = std::getenv(variable);
    return name != nullptr ? name : "";
}

#define REQUIRE_PORT(variable)                                                       \
    const std::string port = PortFromEnvironment(variable);                          \
    if (port.empty())                                                                \
        GTEST_SKIP() << variable " names no port (tools/windows/run-wine-tests.sh sets it)"

TEST(DriverOnWindows, BytesComeBackThroughTheReceiveTimer)
{
    REQUIRE_PORT("UMBRASCOPE_TEST_LOOPBACK_PORT");
    DriverMonitor monitor;
    TCommPortDriver& driver = monitor.driver;
    ASSERT_TRUE(monitor.Open(port));
    EXPECT_EQ(driver.NotifyWindow().TimerInterval(TCommPortDriver::kReceiveTimerId), 50u);
    EXPECT_EQ(driver.OutputSpace(), driver.OutBufSize()) << "nothing waits to go out";

    EXPECT_TRUE(driver.SendString("H#"));
    ASSERT_TRUE(monitor.WaitForReply()) << "got '" << monitor.bytes << "'";
    EXPECT_EQ(monitor.bytes, "H#");

    // A burst larger than one read, in order and complete.
    monitor.bytes.clear();
    std::string burst;
    for (int i = 0; i < 300; ++i)
        burst += static_cast<char>('a' + i % 26);
    EXPECT_TRUE(driver.SendString(burst));
    EXPECT_TRUE(WaitUntil([&] { return monitor.bytes.size() >= burst.size(); }));
    EXPECT_EQ(monitor.bytes, burst);

    driver.Disconnect();
    EXPECT_EQ(driver.NotifyWindow().TimerInterval(TCommPortDriver::kReceiveTimerId), 0u);
    ASSERT_TRUE(driver.Connect()) << "the port is free again after Disconnect";
}

TEST(DriverOnWindows, ThePlatformIsOfTheNtFamily)
{
    EXPECT_EQ(PlatformTag(), "WNT");
    EXPECT_GE(PlatformVersion(), 6u << 16) << "Windows 7 (6.1) or later, or Wine playing it";
}

TEST(DriverOnWindows, MissingPortsAreRefused)
{
    TCommPortDriver driver(nullptr);
    driver.SetPortName("\\\\.\\COM99");
    EXPECT_FALSE(driver.Connect());
    driver.SetPortName("\\\\.\\");
    EXPECT_FALSE(driver.Connect());
    EXPECT_FALSE(driver.Connected());
    EXPECT_EQ(driver.NotifyWindow().TimerInterval(TCommPortDriver::kReceiveTimerId), 0u);
}

TEST(DriverOnWindows, APortThatGoesAwayMakesTheNextSendRaise)
{
    REQUIRE_PORT("UMBRASCOPE_TEST_HANGUP_PORT");
    DriverMonitor monitor;
    TCommPortDriver& driver = monitor.driver;
    ASSERT_TRUE(monitor.Open(port));
    EXPECT_TRUE(driver.SendString("V#"));  // the far side leaves on it
    ASSERT_TRUE(WaitUntil([&] { return monitor.PortLost(); }));
    RunEventsFor(120);  // ticks on a lost port deliver nothing and do not fail
    EXPECT_EQ(monitor.events, 0);
    EXPECT_THROW(driver.SendString("V#"), ECommPortLost);
    EXPECT_TRUE(driver.Connected()) << "closing is the caller's decision";
    driver.Disconnect();
    EXPECT_FALSE(driver.Connected());
}

TEST(DriverOnWindows, TheMeterGreetsReadsAndIsUnplugged)
{
    REQUIRE_PORT("UMBRASCOPE_TEST_METER_PORT");
    DriverMonitor monitor;
    TCommPortDriver& driver = monitor.driver;
    ASSERT_TRUE(monitor.Open(port));

    ASSERT_NO_FATAL_FAILURE(monitor.GreetAndRead(3));

    // The simulator leaves after its third reading.
    ASSERT_TRUE(WaitUntil([&] { return monitor.PortLost(); }));
    EXPECT_THROW(driver.SendString("V#"), ECommPortLost);
}

}  // namespace
