// The meter's side of the conversation, as the main window sees it: replies
// collected up to their terminator "#" and classified by their head.
// Pure: no window, no port.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::string_view kGreetCommand = "H#";
inline constexpr std::string_view kReadCommand = "V#";
inline constexpr char kReplyTerminator = '#';
// Only the first five characters of a reply carry meaning.
inline constexpr std::size_t kHeadLength = 5;

// Collects received text until it ends with "#". A meter that never sends
// "#" must not make memory grow, and only the first five characters and the
// last one ever decide anything, so only those are kept: every reply comes
// out exactly as if the whole text had been stored.
class TReplyCollector {
public:
    // Appends `size` bytes, stopping early at a zero byte. True when the
    // collected text now ends with "#": a reply is complete and waits in
    // TakeHead.
    bool Append(const char* data, std::size_t size);
    // The head of the complete reply (its first five characters, all of it
    // when shorter); the collector starts empty again.
    std::string TakeHead();
    // Drops what has been collected, complete or not.
    void Clear();
    // Characters collected since the last reply, as if all were stored.
    std::size_t Length() const { return FLength; }

private:
    char FHead[kHeadLength] = {};
    char FLast = '\0';
    std::size_t FLength = 0;
};

enum class TReplyKind { Greeting, Error, Reading, Ignored };

struct TReply {
    TReplyKind Kind = TReplyKind::Ignored;
    // For a reading: the head without blanks and control characters at its
    // ends, shown exactly as received ("19.53", " 9.53" shows "9.53").
    std::string Text;
    long double Value = 0;
};

// "HELLO" and "ERROR" exactly (case counts); otherwise the trimmed head read
// as a number; anything else carries nothing.
TReply ClassifyReply(std::string_view head);

// The gauge position for a reading: the reading times 100 in extended
// precision, truncated toward zero (16.05 gives 1604). Values beyond the
// int range, which a five-character head like "9e999" can carry, saturate
// instead of failing; the gauge clamps them to its range anyway.
int GaugeProgressFor(long double reading);
