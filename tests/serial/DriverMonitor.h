// The monitor's end of the driver tests over real ports: a driver on the
// system's serial layer, collecting what OnReceiveData delivers.
#pragma once

#include "serial/CPDrv.h"

#include "EventLoop.h"
#include "MeterReply.h"

#include <gtest/gtest.h>

#include <string>

struct DriverMonitor {
    TCommPortDriver driver{nullptr};
    std::string bytes;
    int events = 0;

    DriverMonitor()
    {
        driver.SetInBufSize(5000);
        driver.SetOnReceiveData([this](TObject* sender, const void* data, platform::DWORD size) {
            EXPECT_EQ(sender, &driver);
            bytes.append(static_cast<const char*>(data), size);
            ++events;
        });
    }
    bool Open(const std::string& deviceName)
    {
        driver.SetPortName(deviceName);
        return driver.Connect();
    }
    bool WaitFor(const std::string& tail)
    {
        return WaitUntil([&] { return bytes.size() >= tail.size() && bytes.ends_with(tail); });
    }
    bool WaitForReply()
    {
        return WaitUntil([&] { return bytes.find('#') != std::string::npos; });
    }
    // Greets the meter and asks for `readings` readings, each of which must
    // come back whole; fails the test (fatally) at the first that does not.
    void GreetAndRead(int readings)
    {
        EXPECT_TRUE(driver.SendString("H#"));
        ASSERT_TRUE(WaitForReply());
        EXPECT_TRUE(bytes.starts_with("HELLO")) << bytes;
        for (int i = 0; i < readings; ++i) {
            bytes.clear();
            EXPECT_TRUE(driver.SendString("V#"));
            ASSERT_TRUE(WaitForReply()) << bytes;
            EXPECT_TRUE(IsReadingReply(bytes)) << bytes;
        }
    }
    // True once the port no longer tells its state.
    bool PortLost()
    {
        try {
            driver.OutputSpace();
            return false;
        } catch (const ECommPortLost&) {
            return true;
        }
    }
};
