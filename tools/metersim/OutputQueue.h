// Reply pieces waiting for their moment and for room in the pty. Pieces leave
// in the order they were queued and each one with a write of its own, so a
// split reply really reaches the monitor in pieces.
#pragma once

#include "MeterSession.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string_view>

namespace metersim {

class OutputQueue {
public:
    using Clock = std::chrono::steady_clock;

    // A monitor that stops reading must not make the queue grow without end:
    // past `capacity` bytes whole replies are refused.
    explicit OutputQueue(std::size_t capacity = 4096) : capacity_(capacity) {}

    // Schedules the pieces of one reply relative to `now`, behind whatever is
    // queued already. False if it did not fit and was dropped.
    bool Push(const std::vector<ReplyPiece>& pieces, Clock::time_point now);

    // The unwritten rest of the front piece once it is due, else empty.
    std::string_view Ready(Clock::time_point now) const;
    void Consume(std::size_t written);

    std::optional<Clock::time_point> NextDue() const;
    bool Empty() const { return pieces_.empty(); }
    std::size_t Bytes() const { return bytes_; }
    void Clear();

private:
    struct Piece {
        std::string bytes;
        Clock::time_point due;
    };
    std::size_t capacity_;
    std::size_t bytes_ = 0;
    std::size_t frontWritten_ = 0;
    std::deque<Piece> pieces_;
    Clock::time_point lastDue_{};
};

}  // namespace metersim
