#include "Options.h"

#include <gtest/gtest.h>

using namespace metersim;
using namespace std::chrono_literals;
using Args = std::vector<std::string>;

TEST(Options, GoodCommandLines)
{
    const Options none = ParseOptions({}).options;
    EXPECT_FALSE(none.startSeconds || none.seed || none.linkPath || none.noLink || none.faults.split);
    EXPECT_EQ(none.moonriseSeconds, 5400.0);

    const ParsedOptions all = ParseOptions({"--start", "22:15", "--speed=60", "--seed", "18446744073709551615",
        "--moonrise", "3:05", "--error-every", "3", "--junk-every=2", "--no-hash-every", "5", "--delay", "250",
        "--vanish-after", "4", "--split-gap", "10", "--link", "/dev/ttyMETER0", "--greeting", "HELLO,SIM 2"});
    ASSERT_EQ(all.error, "");
    const Options& o = all.options;
    EXPECT_EQ(o.startSeconds, 80100.0);
    EXPECT_EQ(o.speed, 60.0);
    EXPECT_EQ(o.seed, 18446744073709551615ULL);
    EXPECT_EQ(o.moonriseSeconds, 11100.0);
    EXPECT_EQ((std::vector{o.faults.errorEvery, o.faults.junkEvery, o.faults.noHashEvery, o.faults.vanishAfter}),
              (std::vector{3, 2, 5, 4}));
    EXPECT_EQ(o.faults.delay, 250ms);
    EXPECT_TRUE(o.faults.split);
    EXPECT_EQ(o.faults.splitGap, 10ms);
    EXPECT_EQ(o.linkPath, "/dev/ttyMETER0");
    EXPECT_EQ(o.greeting, "HELLO,SIM 2");
    EXPECT_FALSE(ParseOptions({"--no-moon"}).options.moonriseSeconds);
}

TEST(Options, BadCommandLinesAreRefusedWithTheReason)
{
    const struct {
        Args args;
        const char* reason;
    } cases[] = {
        {{"--speed", "0"}, "--speed '0'"}, {{"--speed", "inf"}, "--speed"}, {{"--speed", "fast"}, "--speed"},
        {{"--start", "24:00"}, "HH:MM"}, {{"--start", "7"}, "HH:MM"}, {{"--moonrise", "12:5"}, "--moonrise"},
        {{"--error-every", "0"}, "--error-every '0'"}, {{"--vanish-after", "1.5"}, "--vanish-after"},
        {{"--junk-every", "-1"}, "--junk-every"}, {{"--delay", "-5"}, "milliseconds"},
        {{"--split-gap", "600001"}, "milliseconds"}, {{"--seed", "-1"}, "--seed"},
        {{"--greeting", "HI"}, "HELLO"}, {{"--greeting", "HELLO#2"}, "'#'"}, {{"--greeting", "HELLO\n"}, "printable"},
        {{"--link="}, "a path"}, {{"--bogus"}, "unknown option '--bogus'"}, {{"stray"}, "unknown option"},
        {{"--split=yes"}, "unknown option"}, {{"--speed"}, "needs a value"},
        {{"--link", "/tmp/x", "--no-link"}, "contradict"}, {{"--moonrise", "02:00", "--no-moon"}, "contradict"},
    };
    for (const auto& c : cases)
        EXPECT_NE(ParseOptions(c.args).error.find(c.reason), std::string::npos)
            << c.args.front() << ": " << ParseOptions(c.args).error;
}
