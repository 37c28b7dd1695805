#include "OutputQueue.h"

#include <algorithm>

namespace metersim {

bool OutputQueue::Push(const std::vector<ReplyPiece>& pieces, Clock::time_point now)
{
    std::size_t size = 0;
    for (const ReplyPiece& piece : pieces)
        size += piece.bytes.size();
    if (bytes_ + size > capacity_)
        return false;
    // A late reply never overtakes an earlier one still waiting.
    Clock::time_point due = lastDue_;
    bool first = true;
    for (const ReplyPiece& piece : pieces) {
        due = first ? std::max(now + piece.delay, lastDue_) : due + piece.delay;
        first = false;
        if (piece.bytes.empty())
            continue;
        pieces_.push_back(Piece{piece.bytes, due});
        bytes_ += piece.bytes.size();
    }
    lastDue_ = std::max(lastDue_, due);
    return true;
}

std::string_view OutputQueue::Ready(Clock::time_point now) const
{
    if (pieces_.empty() || pieces_.front().due > now)
        return {};
    return std::string_view(pieces_.front().bytes).substr(frontWritten_);
}

void OutputQueue::Consume(std::size_t written)
{
    while (written > 0 && !pieces_.empty()) {
        const std::size_t left = pieces_.front().bytes.size() - frontWritten_;
        const std::size_t n = std::min(written, left);
        frontWritten_ += n;
        bytes_ -= n;
        written -= n;
        if (n == left) {
            pieces_.pop_front();
            frontWritten_ = 0;
        }
    }
}

std::optional<OutputQueue::Clock::time_point> OutputQueue::NextDue() const
{
    if (pieces_.empty())
        return std::nullopt;
    return pieces_.front().due;
}

void OutputQueue::Clear()
{
    pieces_.clear();
    bytes_ = 0;
    frontWritten_ = 0;
}

}  // namespace metersim
