// The driver end to end over real pseudo-terminals, with the operating
// system's serial layer and Qt's event loop: a test-side peer where the test
// needs control, and the meter simulator as a separate process.
#include "serial/CPDrv.h"

#include "DriverMonitor.h"
#include "EventLoop.h"
#include "MeterReply.h"
#include "MeterSimulator.h"
#include "PtyPeer.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DriverOverPty, GreetingAndReadingsRoundTrip)
{
    PtyPeer meter;
    ASSERT_TRUE(meter.Ok());
    DriverMonitor monitor;
    TCommPortDriver& driver = monitor.driver;
    ASSERT_TRUE(monitor.Open(meter.DeviceName()));

    EXPECT_TRUE(driver.SendString("H#"));
    EXPECT_EQ(meter.Read(2), "H#");
    ASSERT_TRUE(meter.Write("HELLO#"));
    ASSERT_TRUE(monitor.WaitFor("HELLO#"));

    // A reply split over several writes arrives whole, in one or more events.
    EXPECT_TRUE(driver.SendString("V#"));
    EXPECT_EQ(meter.Read(2), "V#");
    ASSERT_TRUE(meter.Write("19."));
    ASSERT_TRUE(meter.Write("53#"));
    ASSERT_TRUE(monitor.WaitFor("19.53#"));
    EXPECT_EQ(monitor.bytes, "HELLO#19.53#");

    // Nothing waiting: no event, however many ticks pass.
    const int events = monitor.events;
    RunEventsFor(200);
    EXPECT_EQ(monitor.events, events);
}

TEST(DriverOverPty, AVanishedDeviceMakesTheNextSendRaise)
{
    PtyPeer meter;
    DriverMonitor monitor;
    TCommPortDriver& driver = monitor.driver;
    ASSERT_TRUE(monitor.Open(meter.DeviceName()));

    meter.Close();
    RunEventsFor(120);  // ticks on a hung-up port deliver nothing and do not fail
    EXPECT_EQ(monitor.events, 0);
    EXPECT_THROW(driver.SendString("V#"), ECommPortLost);
    EXPECT_TRUE(driver.Connected()) << "closing is the caller's decision";
    driver.Disconnect();
    EXPECT_FALSE(driver.Connected());
}

TEST(DriverOverPty, MissingOrTakenPortsAreRefused)
{
    TCommPortDriver driver(nullptr);
    driver.SetPortName("\\\\.\\ttyUmbrascopeNoSuchPort");
    EXPECT_FALSE(driver.Connect());
    driver.SetPortName("\\\\.\\");
    EXPECT_FALSE(driver.Connect());
    driver.SetPortName("\\\\.\\null");  // opens, but is no serial device
    EXPECT_FALSE(driver.Connect());
    EXPECT_FALSE(driver.Connected());

    PtyPeer meter;
    TCommPortDriver first(nullptr), second(nullptr);
    first.SetPortName(meter.DeviceName());
    second.SetPortName(meter.DeviceName());
    ASSERT_TRUE(first.Connect());
    EXPECT_FALSE(second.Connect());
    first.Disconnect();
    EXPECT_TRUE(second.Connect());
}

TEST(DriverWithSimulator, GreetsAndReads)
{
    MeterSimulator meter({"--speed", "60"});
    ASSERT_TRUE(meter.Ok());
    DriverMonitor monitor;
    ASSERT_TRUE(monitor.Open(meter.DeviceName()));
    ASSERT_NO_FATAL_FAILURE(monitor.GreetAndRead(3));
}

TEST(DriverWithSimulator, AnUnpluggedMeterIsReportedAtTheNextSend)
{
    MeterSimulator meter({"--vanish-after", "1"});
    ASSERT_TRUE(meter.Ok());
    DriverMonitor monitor;
    TCommPortDriver& driver = monitor.driver;
    ASSERT_TRUE(monitor.Open(meter.DeviceName()));

    EXPECT_TRUE(driver.SendString("V#"));
    ASSERT_TRUE(monitor.WaitForReply()) << "the last reading still arrives";
    EXPECT_TRUE(IsReadingReply(monitor.bytes)) << monitor.bytes;
    ASSERT_TRUE(WaitUntil([&] { return meter.Process().state() == QProcess::NotRunning; }));
    EXPECT_THROW(driver.SendString("V#"), ECommPortLost);
}

}  // namespace
