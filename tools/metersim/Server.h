// The meter at work: one poll() loop over the pseudo-terminal and a wake-up
// descriptor that the signal handlers write to.
#pragma once

#include "MeterSession.h"
#include "NightSky.h"
#include "Options.h"
#include "OutputQueue.h"
#include "PtyPort.h"

#include <cstdint>

namespace metersim {

class Server {
public:
    enum class Outcome { Stopped, Vanished, Failed };

    Server(const Options& options, PtyPort& port, std::uint64_t seed, int stopFd);
    Outcome Run();
    long Readings() const { return readings_; }

private:
    using Clock = OutputQueue::Clock;

    void ReadCommands(Clock::time_point now);
    void Answer(std::string_view bytes, Clock::time_point now);
    void WriteDue(Clock::time_point now);
    bool MonitorHasRead(Clock::time_point now) const;
    int PollTimeout(Clock::time_point now) const;

    const Options& options_;
    PtyPort& port_;
    int stopFd_;
    NightSky sky_;
    Rng rng_;
    SimClock clock_;
    MeterSession session_;
    OutputQueue queue_;
    long readings_ = 0;
    long dropped_ = 0;  // replies in a row that found the queue full
    bool waitWritable_ = false;
    bool lastReplyLost_ = false;
    Clock::time_point quietUntil_{};
    Clock::time_point lastWrite_{};
};

}  // namespace metersim
