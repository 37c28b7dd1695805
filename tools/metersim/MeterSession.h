// The meter's side of the conversation, without any I/O: bytes from the
// monitor go in, replies come out as the byte pieces to write and when.
#pragma once

#include "Random.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace metersim {

using Millis = std::chrono::milliseconds;

// Ways a real meter or its cable misbehaves. A count of 0 means never.
struct Faults {
    int errorEvery = 0;   // every Nth "V#" is answered "ERROR#"
    bool split = false;   // each reply goes out in pieces of 1 to 3 bytes
    Millis splitGap{30};  // between those pieces
    int junkEvery = 0;    // every Nth reply is preceded by line noise
    int noHashEvery = 0;  // every Nth reading lacks its '#'
    Millis delay{0};      // every reply leaves this late
    int vanishAfter = 0;  // the adapter is pulled after the Nth reading
};

struct ReplyPiece {
    std::string bytes;
    Millis delay;  // after the command for the first piece, else after the previous piece
};

struct Reply {
    std::string command;  // as framed, for the log
    std::vector<ReplyPiece> pieces;
    bool lastBeforeVanish = false;
};

// Collects bytes into commands ending at '#'. The pending text is bounded:
// a monitor that never sends '#' costs at most `limit` bytes.
class CommandFramer {
public:
    explicit CommandFramer(std::size_t limit = 64) : limit_(limit) {}
    // Commands completed by these bytes, with the noise around each trimmed.
    std::vector<std::string> Feed(std::string_view bytes);
    std::size_t Pending() const { return pending_.size(); }

private:
    std::size_t limit_;
    std::string pending_;
};

class MeterSession {
public:
    using ReadingSource = std::function<std::string()>;  // five characters, e.g. "21.48"

    MeterSession(std::string greeting, Faults faults);

    std::vector<Reply> Receive(std::string_view bytes, const ReadingSource& reading, Rng& rng);

    // The last reading before vanishing has been planned: nothing more is answered.
    bool Finished() const { return finished_; }
    std::size_t PendingBytes() const { return framer_.Pending(); }

private:
    std::string Answer(const std::string& command, const ReadingSource& reading, bool& lastBeforeVanish);
    std::vector<ReplyPiece> Pieces(std::string text, Rng& rng) const;

    std::string greeting_;
    Faults faults_;
    CommandFramer framer_;
    long readingRequests_ = 0;
    long readingsSent_ = 0;
    long replies_ = 0;
    bool finished_ = false;
};

// Noise as a line glitch leaves it: bytes that are never printable text, so
// never a digit or '#', and often 0x00, 0xFF, CR or LF.
std::string JunkBytes(Rng& rng);

}  // namespace metersim
