// The meter simulator as a child process, for tests that talk to a meter
// over a real pseudo-terminal. The including test target defines
// METERSIM_PATH, the simulator's program file.
#pragma once

#include "EventLoop.h"

#include <QProcess>
#include <QStringList>

#include <string>

#ifndef METERSIM_PATH
#error "the test target must define METERSIM_PATH"
#endif

// Starts the simulator (no published link, a fixed seed) and reads the
// device it serves from its first line of output.
class MeterSimulator {
public:
    explicit MeterSimulator(const QStringList& options)
    {
        process_.start(METERSIM_PATH, QStringList{"--no-link", "--seed", "7"} + options);
        if (process_.waitForStarted(5000) && WaitUntil([&] { return process_.canReadLine(); }))
            device_ = process_.readLine().trimmed().toStdString();
    }
    ~MeterSimulator()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    MeterSimulator(const MeterSimulator&) = delete;
    MeterSimulator& operator=(const MeterSimulator&) = delete;

    // The device path, "/dev/pts/N".
    const std::string& Device() const { return device_; }
    // "\\.\" and the device, as the main window builds the name.
    std::string DeviceName() const { return "\\\\.\\" + device_; }
    bool Ok() const { return device_.starts_with("/dev/"); }
    QProcess& Process() { return process_; }

private:
    QProcess process_;
    std::string device_;
};
