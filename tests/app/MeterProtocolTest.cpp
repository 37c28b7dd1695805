// Framing and classification of the meter's replies, as the window's receive
// handler uses them.
#include "app/MeterProtocol.h"

#include "runtime/NumberText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// What the window would do with each event's bytes: every complete reply's
// classification and gauge position, in order.
struct Outcome {
    TReplyKind kind;
    std::string text;
    int progress;
};

std::vector<Outcome> Receive(const std::vector<std::string>& events)
{
    TReplyCollector collector;
    std::vector<Outcome> outcomes;
    for (const std::string& bytes : events) {
        if (!collector.Append(bytes.data(), bytes.size()))
            continue;
        const TReply reply = ClassifyReply(collector.TakeHead());
        outcomes.push_back({reply.Kind, reply.Text,
                            reply.Kind == TReplyKind::Reading ? GaugeProgressFor(reply.Value) : 0});
    }
    return outcomes;
}

struct ReceiveCase {
    const char* name;
    std::vector<std::string> events;
    std::vector<Outcome> expected;
};

class ReceiveTable : public ::testing::TestWithParam<ReceiveCase> {};

TEST_P(ReceiveTable, FramesAndClassifiesReplies)
{
    const ReceiveCase& c = GetParam();
    const std::vector<Outcome> got = Receive(c.events);
    ASSERT_EQ(got.size(), c.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].kind, c.expected[i].kind) << "reply " << i;
        EXPECT_EQ(got[i].text, c.expected[i].text) << "reply " << i;
        EXPECT_EQ(got[i].progress, c.expected[i].progress) << "reply " << i;
    }
}

constexpr auto R = TReplyKind::Reading;
constexpr auto G = TReplyKind::Greeting;
constexpr auto E = TReplyKind::Error;
constexpr auto I = TReplyKind::Ignored;

INSTANTIATE_TEST_SUITE_P(
    MeterReplies, ReceiveTable,
    ::testing::Values(
        ReceiveCase{"SplitOverTwoEvents", {"19.", "53#"}, {{R, "19.53", 1953}}},
        ReceiveCase{"GreetingWithMoreText", {"HELLO WORLD#"}, {{G, "", 0}}},
        ReceiveCase{"LowerCaseGreeting", {"hello#"}, {{I, "", 0}}},
        ReceiveCase{"ShortGreeting", {"HELL#"}, {{I, "", 0}}},
        ReceiveCase{"FourCharactersBeforeTheHash", {"9.53#"}, {{I, "", 0}}},
        ReceiveCase{"LeadingBlank", {" 9.53#"}, {{R, "9.53", 953}}},
        ReceiveCase{"ThirdDecimalIgnored", {"19.534#"}, {{R, "19.53", 1953}}},
        ReceiveCase{"ExtendedProductJustBelow", {"16.05#"}, {{R, "16.05", 1604}}},
        ReceiveCase{"AboveTheGaugeRange", {"30.00#"}, {{R, "30.00", 3000}}},
        ReceiveCase{"Negative", {"-1.00#"}, {{R, "-1.00", -100}}},
        ReceiveCase{"GreetingAndReadingInOneEvent", {"HELLO#19.53#"}, {{G, "", 0}}},
        ReceiveCase{"MeterError", {"ERROR#"}, {{E, "", 0}}},
        ReceiveCase{"ZeroByteEndsTheEvent", {std::string("19.53#\0junk", 11)}, {{R, "19.53", 1953}}},
        ReceiveCase{"ZeroByteHidesTheHash", {std::string("19.5\0#", 6), "3#"}, {{R, "19.53", 1953}}},
        ReceiveCase{"HashInsideAnEventIsNoEnd", {"19.53#20", ".00#"}, {{R, "19.53", 1953}}},
        ReceiveCase{"HugeExponentSaturates", {"9e999#"}, {{R, "9e999", 2147483647}}},
        ReceiveCase{"EmptyEventsChangeNothing", {"", "19.53", "", "#"}, {{R, "19.53", 1953}}},
        ReceiveCase{"NothingButTheTerminator", {"#"}, {{I, "", 0}}},
        ReceiveCase{"TwoRepliesInTurn", {"HELLO#", "21.48#"}, {{G, "", 0}, {R, "21.48", 2148}}}),
    [](const ::testing::TestParamInfo<ReceiveCase>& info) { return std::string(info.param.name); });

// The literal way to frame: keep every character until the text ends with
// "#". The collector keeps five characters and the last one; it must give
// the same replies.
struct StoreEverything {
    std::string buffer;
    std::vector<std::string> heads;

    void Append(const std::string& bytes)
    {
        buffer.append(bytes.c_str(), std::min(bytes.size(), std::char_traits<char>::length(bytes.c_str())));
        if (!buffer.empty() && buffer.back() == '#') {
            heads.push_back(buffer.substr(0, kHeadLength));
            buffer.clear();
        }
    }
};

TEST(ReplyCollector, GivesWhatStoringEverythingWouldInBoundedMemory)
{
    std::mt19937 random(20261208);
    const std::string alphabet = "0123456789.+-eE #HELOR\r\n\t\x01\xff";
    for (int round = 0; round < 2000; ++round) {
        TReplyCollector collector;
        StoreEverything reference;
        std::vector<std::string> heads;
        const int events = 1 + static_cast<int>(random() % 40);
        for (int e = 0; e < events; ++e) {
            std::string bytes(random() % 12, ' ');
            for (char& c : bytes)
                c = random() % 50 == 0 ? '\0' : alphabet[random() % alphabet.size()];
            reference.Append(bytes);
            if (collector.Append(bytes.data(), bytes.size()))
                heads.push_back(collector.TakeHead());
            EXPECT_EQ(collector.Length(), reference.buffer.size());
        }
        ASSERT_EQ(heads, reference.heads) << "round " << round;
        for (const std::string& head : heads) {
            const TReply reply = ClassifyReply(head);
            if (reply.Kind == TReplyKind::Reading) {
                const auto again = TryStrToReading(reply.Text);
                ASSERT_TRUE(again.has_value()) << head;
                EXPECT_EQ(*again, reply.Value);
            }
        }
    }
}

TEST(ReplyCollector, AMeterThatNeverEndsItsReplyCostsNothingMore)
{
    TReplyCollector collector;
    const std::string chunk(4096, '7');
    for (int i = 0; i < 1000; ++i)
        ASSERT_FALSE(collector.Append(chunk.data(), chunk.size()));
    EXPECT_EQ(collector.Length(), 4096u * 1000u);
    ASSERT_TRUE(collector.Append("#", 1));
    EXPECT_EQ(collector.TakeHead(), "77777");
    EXPECT_EQ(ClassifyReply("77777").Value, 77777.0L);
    EXPECT_EQ(collector.Length(), 0u);
}

}  // namespace
