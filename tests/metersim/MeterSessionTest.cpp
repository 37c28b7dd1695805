#include "MeterSession.h"
#include "OutputQueue.h"

#include <gtest/gtest.h>

#include <set>

using namespace metersim;
using namespace std::chrono_literals;
using namespace std::string_literals;
using Strings = std::vector<std::string>;

namespace {

std::string Joined(const Reply& reply)
{
    std::string bytes;
    for (const ReplyPiece& piece : reply.pieces)
        bytes += piece.bytes;
    return bytes;
}

// Readings count up, "01.00", "02.00", ..., so a reply shows which one it carries.
struct Meter {
    explicit Meter(Faults faults = {}, std::string greeting = "HELLO") : session(std::move(greeting), faults) {}
    std::vector<Reply> Send(std::string_view bytes)
    {
        const auto reading = [this] {
            ++readings;
            return (readings < 10 ? "0" : "") + std::to_string(readings) + ".00";
        };
        return session.Receive(bytes, reading, rng);
    }
    Strings Replies(std::string_view bytes)
    {
        Strings texts;
        for (const Reply& reply : Send(bytes))
            texts.push_back(Joined(reply) + (reply.lastBeforeVanish ? " (last)" : ""));
        return texts;
    }
    MeterSession session;
    Rng rng{7};
    int readings = 0;
};

Faults With(int Faults::*field, int n, int Faults::*other = nullptr, int m = 0)
{
    Faults faults;
    faults.*field = n;
    if (other)
        faults.*other = m;
    return faults;
}

}  // namespace

TEST(MeterSession, FramesCommandsAndAnswersEachKind)
{
    const struct {
        Strings chunks, replies;
    } cases[] = {
        {{"H#V#X#"}, {"HELLO#", "01.00#", "ERROR#"}},
        {{"H", "#"}, {"HELLO#"}},
        {{"\r\nV#"}, {"01.00#"}},
        {{"\0\xFF V\r"s, "\n#"}, {"01.00#"}},
        {{"v#", "V\x01V#", "HV#", "#"}, {"ERROR#", "ERROR#", "ERROR#", "ERROR#"}},
        {{"V"}, {}},
        {{std::string(100000, 'x'), "V#V#"}, {"ERROR#", "01.00#"}},  // the flood is cut, not kept
    };
    for (const auto& c : cases) {
        Meter meter;
        Strings replies;
        for (const std::string& chunk : c.chunks)
            for (std::string& reply : meter.Replies(chunk))
                replies.push_back(reply);
        EXPECT_EQ(replies, c.replies) << c.chunks.front().substr(0, 8);
        EXPECT_LE(meter.session.PendingBytes(), 64u);
    }
    EXPECT_EQ(Meter({}, "HELLO,SIM-2").Replies("H#"), (Strings{"HELLO,SIM-2#"}));
}

TEST(MeterSession, FaultsStrikeTheNthOccurrence)
{
    const struct {
        Faults faults;
        const char* commands;
        Strings replies;
    } cases[] = {
        {With(&Faults::errorEvery, 3), "V#V#H#V#V#V#V#",
         {"01.00#", "02.00#", "HELLO#", "ERROR#", "03.00#", "04.00#", "ERROR#"}},
        {With(&Faults::noHashEvery, 2), "V#V#X#V#V#", {"01.00#", "02.00", "ERROR#", "03.00#", "04.00"}},
        {With(&Faults::errorEvery, 2, &Faults::noHashEvery, 2), "V#V#V#V#V#",
         {"01.00#", "ERROR#", "02.00", "ERROR#", "03.00#"}},
        {With(&Faults::vanishAfter, 2, &Faults::errorEvery, 2), "V#H#V#V#V#H#",
         {"01.00#", "HELLO#", "ERROR#", "02.00# (last)"}},
    };
    for (const auto& c : cases) {
        Meter meter(c.faults);
        EXPECT_EQ(meter.Replies(c.commands), c.replies) << c.commands;
        EXPECT_EQ(meter.session.Finished(), c.faults.vanishAfter > 0) << c.commands;
    }
}

TEST(MeterSession, JunkPrecedesEveryNthReplyAndIsNeverText)
{
    Meter meter(With(&Faults::junkEvery, 2));
    std::set<char> seen;
    for (int n = 1; n <= 400; ++n) {
        const std::string reply = meter.Replies("H#").at(0);
        ASSERT_EQ(reply.substr(reply.size() - 6), "HELLO#");
        const std::string junk = reply.substr(0, reply.size() - 6);
        ASSERT_EQ(junk.empty(), n % 2 == 1) << n;
        ASSERT_LE(junk.size(), 4u);
        for (char c : junk) {
            ASSERT_FALSE(c >= 0x20 && c < 0x7F) << int(c);
            seen.insert(c);
        }
    }
    for (char usual : {'\0', '\xFF', '\r', '\n'})
        EXPECT_TRUE(seen.count(usual)) << int(usual);
}

TEST(MeterSession, SplitRepliesComeInSmallPiecesAfterTheDelay)
{
    Faults faults;
    faults.delay = 250ms;
    const std::vector<Reply> whole = Meter(faults).Send("H#");
    ASSERT_EQ(whole.at(0).pieces.size(), 1u);
    EXPECT_EQ(whole[0].pieces[0].delay, 250ms);

    faults.split = true;
    Meter meter(faults);
    std::size_t most = 0;
    for (int i = 0; i < 50; ++i) {
        const std::vector<Reply> replies = meter.Send("H#");
        EXPECT_EQ(Joined(replies.at(0)), "HELLO#");
        most = std::max(most, replies[0].pieces.size());
        for (std::size_t p = 0; p < replies[0].pieces.size(); ++p) {
            EXPECT_TRUE(replies[0].pieces[p].bytes.size() >= 1 && replies[0].pieces[p].bytes.size() <= 3);
            EXPECT_EQ(replies[0].pieces[p].delay, p == 0 ? 250ms : 30ms);
        }
    }
    EXPECT_GE(most, 4u);
}

TEST(OutputQueue, PiecesLeaveInOrderWhenDue)
{
    const OutputQueue::Clock::time_point t0{};
    OutputQueue queue;
    ASSERT_TRUE(queue.Push({{"ab", 100ms}, {"c", 30ms}}, t0));
    ASSERT_TRUE(queue.Push({{"X", 0ms}}, t0 + 10ms));  // must not overtake
    EXPECT_EQ(queue.Ready(t0 + 99ms), "");
    EXPECT_EQ(queue.NextDue(), t0 + 100ms);
    const struct {
        std::chrono::milliseconds at;
        const char* ready;
    } steps[] = {{100ms, "ab"}, {100ms, "b"}, {129ms, ""}, {130ms, "c"}, {130ms, "X"}};
    for (const auto& step : steps) {
        EXPECT_EQ(queue.Ready(t0 + step.at), step.ready) << step.at.count();
        queue.Consume(std::string_view(step.ready).empty() ? 0 : 1);
    }
    EXPECT_TRUE(queue.Empty());
}

TEST(OutputQueue, RefusesWholeRepliesBeyondItsCapacity)
{
    const OutputQueue::Clock::time_point t0{};
    OutputQueue queue(10);
    EXPECT_TRUE(queue.Push({{"123", 0ms}, {"456", 0ms}}, t0));
    EXPECT_FALSE(queue.Push({{"789", 0ms}, {"01", 0ms}}, t0));
    EXPECT_TRUE(queue.Push({{"7890", 0ms}}, t0));
    queue.Consume(3);
    EXPECT_TRUE(queue.Push({{"abc", 0ms}}, t0));
    EXPECT_EQ(queue.Bytes(), 10u);
}
