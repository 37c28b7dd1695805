#include "MeterSession.h"

#include <algorithm>

namespace metersim {

namespace {

bool IsText(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F;
}

std::string Trimmed(std::string_view text)
{
    const auto first = std::find_if(text.begin(), text.end(), IsText);
    const auto last = std::find_if(text.rbegin(), text.rend(), IsText).base();
    return first < last ? std::string(first, last) : std::string();
}

bool IsDue(long count, int every) { return every > 0 && count % every == 0; }

}  // namespace

std::vector<std::string> CommandFramer::Feed(std::string_view bytes)
{
    std::vector<std::string> commands;
    for (char c : bytes) {
        if (c == '#') {
            commands.push_back(Trimmed(pending_));
            pending_.clear();
            continue;
        }
        if (pending_.size() == limit_)
            pending_.erase(0, 1);  // the oldest bytes are the least likely to matter
        pending_.push_back(c);
    }
    return commands;
}

std::string JunkBytes(Rng& rng)
{
    static constexpr unsigned char kLikely[] = {0x00, 0xFF, '\r', '\n'};
    std::uniform_int_distribution<int> count(1, 4);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> likely(0, 3);
    std::string junk;
    for (int n = count(rng); n > 0; --n) {
        int byte = anyByte(rng);
        if (byte >= 0x20 && byte < 0x7F)  // never text; the four usual culprits instead
            byte = kLikely[likely(rng)];
        junk.push_back(static_cast<char>(byte));
    }
    return junk;
}

MeterSession::MeterSession(std::string greeting, Faults faults)
    : greeting_(std::move(greeting)), faults_(faults)
{
}

std::vector<Reply> MeterSession::Receive(std::string_view bytes, const ReadingSource& reading, Rng& rng)
{
    std::vector<Reply> replies;
    for (std::string& command : framer_.Feed(bytes)) {
        if (finished_)
            break;  // the adapter is as good as unplugged
        Reply reply;
        std::string text = Answer(command, reading, reply.lastBeforeVanish);
        if (IsDue(++replies_, faults_.junkEvery))
            text.insert(0, JunkBytes(rng));
        reply.command = std::move(command);
        reply.pieces = Pieces(std::move(text), rng);
        finished_ = reply.lastBeforeVanish;
        replies.push_back(std::move(reply));
    }
    return replies;
}

std::string MeterSession::Answer(const std::string& command, const ReadingSource& reading, bool& lastBeforeVanish)
{
    if (command == "H")
        return greeting_ + "#";
    if (command != "V" || IsDue(++readingRequests_, faults_.errorEvery))
        return "ERROR#";
    ++readingsSent_;
    lastBeforeVanish = faults_.vanishAfter > 0 && readingsSent_ == faults_.vanishAfter;
    return reading() + (IsDue(readingsSent_, faults_.noHashEvery) ? "" : "#");
}

std::vector<ReplyPiece> MeterSession::Pieces(std::string text, Rng& rng) const
{
    if (!faults_.split)
        return {ReplyPiece{std::move(text), faults_.delay}};
    std::vector<ReplyPiece> pieces;
    std::uniform_int_distribution<std::size_t> length(1, 3);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = std::min(length(rng), text.size() - at);
        pieces.push_back(ReplyPiece{text.substr(at, n), pieces.empty() ? faults_.delay : faults_.splitGap});
        at += n;
    }
    return pieces;
}

}  // namespace metersim
