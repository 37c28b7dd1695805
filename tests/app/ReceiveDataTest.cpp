// The receive handler: replies framed at "#", classified by their head and
// shown on the labels, the gauge and the chart.
#include "WindowFixture.h"

#include "runtime/NumberText.h"


#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

struct ReplyCase {
    const char* name;
    std::vector<std::string> events;  // one receive event each
    bool handshake;
    const char* shown;                // Label1 afterwards
    int progress;                     // the gauge afterwards
    std::vector<double> points;       // the chart's Y values afterwards
};

const ReplyCase kReplyCases[] = {
    {"SplitOverTwoEvents", {"19.", "53#"}, false, "19.53", 1953, {19.53}},
    {"GreetingWithMoreText", {"HELLO WORLD#"}, true, "00.00", 1500, {}},
    {"LowerCaseGreeting", {"hello#"}, false, "00.00", 1500, {}},
    {"ShortGreeting", {"HELL#"}, false, "00.00", 1500, {}},
    {"FourCharactersAndTheHash", {"9.53#"}, false, "00.00", 1500, {}},
    {"LeadingBlank", {" ", "9.53#"}, false, "9.53", 1500, {9.53}},
    {"SixthCharacterIgnored", {"19.534#"}, false, "19.53", 1953, {19.53}},
    {"ProductJustBelowAWholeNumber", {"16.05#"}, false, "16.05", 1604, {16.05}},
    {"AboveTheGaugeRange", {"30.00#"}, false, "30.00", 2500, {30.0}},
    {"BelowTheGaugeRange", {"-1.00#"}, false, "-1.00", 1500, {-1.0}},
    {"GreetingAndReadingInOneEvent", {"HELLO#19.53#"}, true, "00.00", 1500, {}},
    {"MeterError", {"ERROR#"}, false, "ERR", 1500, {}},
    {"ZeroByteEndsTheEvent", {std::string("19\0.53#", 7), "#"}, false, "00.00", 1500, {}},
    {"ControlCharactersAroundTheNumber", {"\t1.5\r#"}, false, "1.5", 1500, {1.5}},
};

void PrintTo(const ReplyCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReceiveData : public WindowFixture, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReceiveData, ShowsWhatTheReplyCarries)
{
    const ReplyCase& c = GetParam();
    for (const std::string& event : c.events)
        Feed(event);

    EXPECT_EQ(form.Label1->Caption(), c.shown);
    EXPECT_EQ(form.Gauge1->Progress(), c.progress);
    EXPECT_EQ(ChartReadings(), c.points);
    EXPECT_EQ(form.ReadingCount(), static_cast<int>(c.points.size()));
    EXPECT_EQ(form.Timer1->Enabled(), c.handshake);
    EXPECT_EQ(form.Label1->Enabled(), c.handshake);
    EXPECT_EQ(form.PendingReplyLength(), 0u);
    const bool stamped = !c.points.empty() || form.Label1->Caption() == "ERR";
    EXPECT_EQ(form.Label5->Caption() != "N/A", stamped);
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Replies, ReceiveData, ::testing::ValuesIn(kReplyCases),
                         [](const auto& info) { return std::string(info.param.name); });

using Receiving = WindowFixture;

TEST_F(Receiving, GreetingStartsPollingAndClearsTheChart)
{
    form.ComboBox3->SetItemIndex(0);  // "1"
    Feed("18.00#");
    Feed("19.00#");
    ASSERT_EQ(form.ReadingCount(), 2);
    form.SetCaption("Umbrascope - connect...");

    Feed("HELLO#");
    EXPECT_EQ(form.Caption(), "Umbrascope");
    EXPECT_TRUE(form.Timer1->Enabled());
    EXPECT_EQ(form.Timer1->Interval(), 1000u);
    EXPECT_EQ(form.ReadingCount(), 0);
    EXPECT_TRUE(ChartReadings().empty());
    EXPECT_EQ(form.Label1->Caption(), "00.00");
    EXPECT_EQ(form.Gauge1->Progress(), 1500);
    EXPECT_TRUE(form.Chart1->Enabled());
    EXPECT_EQ(form.ComboBox1->Color(), kMarkerBlue);

    Feed("20.50#");
    EXPECT_EQ(form.Series1->XValue(0), 0.0) << "x counts from the greeting";
}

TEST_F(Receiving, ReadingsBeforeTheGreetingCountOnFromWhereTheyAre)
{
    Feed("18.00#");
    Feed("18.50#");
    ASSERT_EQ(form.Series1->PointCount(), 2);
    EXPECT_EQ(form.Series1->XValue(1), 1.0);
    EXPECT_EQ(form.ReadingCount(), 2);
}

TEST_F(Receiving, ErrorReplyStampsTheTimeAndLeavesTheRestAlone)
{
    Feed("19.53#");
    Feed("ERROR#");
    EXPECT_EQ(form.Label1->Caption(), "ERR");
    EXPECT_EQ(form.Gauge1->Progress(), 1953);
    EXPECT_EQ(ChartReadings(), std::vector<double>{19.53});
    // Date, three spaces, time.
    EXPECT_NE(form.Label5->Caption().find("   "), std::string::npos) << form.Label5->Caption();
}

TEST_F(Receiving, EveryCompleteReplySetsThePointAsDecimalSeparator)
{
    SetDecimalSeparator(',');
    Feed("19.5");
    EXPECT_EQ(DecimalSeparator(), ',') << "not before the reply is complete";
    Feed("xyz#");
    EXPECT_EQ(DecimalSeparator(), '.') << "also for a reply that carries nothing";
}

TEST_F(Receiving, AReplyThatNeverEndsCostsNoMemoryAndStillCountsWhole)
{
    Feed("21.07");
    const std::string noise(1 << 16, 'x');
    for (int i = 0; i < 64; ++i)
        Feed(noise);
    EXPECT_EQ(form.PendingReplyLength(), 5u + 64u * noise.size());
    Feed("#");
    EXPECT_EQ(form.Label1->Caption(), "21.07");
    EXPECT_EQ(form.PendingReplyLength(), 0u);
}

TEST_F(Receiving, RandomBytesNeverShowAnythingButANumber)
{
    // Chunks of bytes from a meter gone mad, rich in the characters that
    // matter ('#', digits, signs, exponents, blanks, zero bytes).
    using namespace std::string_literals;
    const std::string alphabet = "#0123456789.+-eE HELOR\t\r\n\x01\xff\0"s;
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> length(0, 11);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    int shown = 0;
    for (int event = 0; event < 40000; ++event) {
        std::string chunk(length(random), ' ');
        for (char& c : chunk)
            c = alphabet[pick(random)];
        const int before = form.Series1->PointCount();
        Feed(chunk);
        if (form.Series1->PointCount() != before + 1)
            continue;
        ++shown;
        const std::string text = form.Label1->Caption();
        ASSERT_LE(text.size(), 5u);
        const auto value = TryStrToReading(text);
        ASSERT_TRUE(value.has_value()) << text;
        ASSERT_EQ(form.Series1->YValue(before), static_cast<double>(*value)) << text;
        const int progress = form.Gauge1->Progress();
        ASSERT_GE(progress, 1500);
        ASSERT_LE(progress, 2500);
        ASSERT_EQ(form.PendingReplyLength(), 0u) << "a shown reading ends its reply";
    }
    EXPECT_GT(shown, 30) << "the alphabet makes numbers common enough to matter";
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
