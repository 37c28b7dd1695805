// The monitor's end of the driver tests over real ports: a driver on the
// system's serial layer, collecting what OnReceiveData delivers.
#pragma once

#include "serial/CPDrv.h"

#include "EventLoop.h"

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
