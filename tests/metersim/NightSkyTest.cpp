#include "NightSky.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace metersim;

namespace {

constexpr double kHour = 3600, kDark = 21.5;

double At(int hours, int minutes) { return hours * kHour + minutes * 60.0; }

// The sun and, if asked, the moon: no drift, clouds or noise.
NightConfig Still(std::optional<double> moonrise = std::nullopt, bool clouds = false)
{
    return NightConfig{moonrise, kDark, 0.0, 0.0, clouds};
}

}  // namespace

TEST(NightSky, ClearSkyFollowsTheSunAndTheMoon)
{
    const struct {
        double time, low, high;
    } cases[] = {
        {At(13, 0), 8.0, 10.0}, {At(20, 0), 14.8, 15.2}, {At(20, 45), 17.5, 20.5}, {At(21, 45), 21.49, 21.51},
        {At(25, 29), 21.49, 21.51}, {At(26, 0), 20.0, 21.2}, {At(26, 40), 19.45, 20.05}, {At(28, 15), 19.45, 20.05},
        {At(30, 0), 14.8, 15.2},
    };
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        const NightSky sky(Still(At(1, 30)), seed);
        for (const auto& c : cases) {
            EXPECT_GE(sky.Clear(c.time), c.low) << c.time / kHour;
            EXPECT_LE(sky.Clear(c.time), c.high) << c.time / kHour;
        }
        for (double t = At(25, 30); t < At(26, 30); t += 60)  // moonrise takes its time
            EXPECT_LT(std::abs(sky.Clear(t + 60) - sky.Clear(t)), 0.1) << t / kHour;
    }
}

TEST(NightSky, DuskAndDawnChangeSteadilyOverAboutAnHourAndAHalf)
{
    const NightSky sky(Still(), 1);
    double darkAt = 0;
    for (double t = At(20, 0); t < At(23, 0); t += 60) {
        EXPECT_GE(sky.Clear(t + 60), sky.Clear(t) - 1e-9) << t / kHour;
        darkAt = darkAt == 0 && sky.Clear(t) > kDark - 0.05 ? t : darkAt;
    }
    EXPECT_GT(darkAt - At(20, 0), 1.2 * kHour);
    EXPECT_LT(darkAt - At(20, 0), 1.9 * kHour);
    for (double t = At(27, 0); t < At(30, 0); t += 60)
        EXPECT_LE(sky.Clear(t + 60), sky.Clear(t) + 1e-9) << t / kHour;
}

TEST(NightSky, CloudsComeAndGoSmoothlyAndMatterOnlyAtNight)
{
    NightSky sky(Still(std::nullopt, true), 3);
    int episodes = 0;
    double peak = 0, cloudy = 0, began = 0, previous = 0;
    const double span = 3 * 24 * kHour;
    for (double t = 0; t < span; t += 1) {
        const double clouds = sky.CloudBrightening(t);
        ASSERT_LE(clouds, 2.0);
        ASSERT_LT(std::abs(clouds - previous), 0.02) << "a jump at " << t;
        began = clouds > 0 && previous == 0 ? t : began;
        peak = std::max(peak, clouds);
        if (clouds == 0 && previous > 0) {
            ++episodes;
            EXPECT_GE(peak, 0.29);
            EXPECT_GE(t - began, 5 * 60.0);
            EXPECT_LE(t - began, 46 * 60.0);
            peak = 0;
        }
        cloudy += clouds > 0;
        previous = clouds;
        const double clear = sky.Clear(t);
        if (clear > kDark - 1e-9 || clear <= 15.0) {
            ASSERT_DOUBLE_EQ(sky.Mean(t), clear > 15.0 ? clear - clouds : clear) << t;
        }
    }
    EXPECT_GE(episodes, 20);
    EXPECT_GT(cloudy / span, 0.15);
    EXPECT_LT(cloudy / span, 0.5);
}

TEST(NightSky, TheSameSeedGivesTheSameNightHoweverOftenItIsRead)
{
    NightSky often(NightConfig{}, 42), seldom(NightConfig{}, 42), other(NightConfig{}, 43);
    double difference = 0;
    for (double t = At(18, 0); t < At(31, 0); t += 10) {
        const double mean = often.Mean(t);
        if (std::fmod(t, 420) == 0) {
            EXPECT_DOUBLE_EQ(seldom.Mean(t), mean) << t;
            difference += std::abs(other.Mean(t) - mean);
        }
    }
    EXPECT_GT(difference, 1.0);
}

TEST(NightSky, NoiseIsAFewHundredthsAroundTheMean)
{
    NightSky sky(NightConfig{}, 9);
    Rng rng(1);
    const double t = At(23, 0), mean = sky.Mean(t);
    double sum = 0, squares = 0, widest = 0;
    const int n = 4000;
    for (int i = 0; i < n; ++i) {
        const double deviation = sky.Sample(t, rng) - mean;
        sum += deviation;
        squares += deviation * deviation;
        widest = std::max(widest, std::abs(deviation));
    }
    EXPECT_NEAR(sum / n, 0.0, 0.003);
    EXPECT_NEAR(std::sqrt(squares / n), 0.02, 0.005);
    EXPECT_LE(widest, 0.08 + 1e-12);
}

TEST(FormatReading, IsAlwaysFiveCharactersWithinRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {21.484, "21.48"}, {21.486, "21.49"}, {8.5, "08.50"}, {9.999, "10.00"}, {0.004, "00.00"},
        {-3.0, "00.00"}, {-0.0, "00.00"}, {-0.001, "00.00"}, {std::nan(""), "00.00"},
        {99.99, "99.99"}, {99.996, "99.99"}, {1e12, "99.99"}, {inf, "99.99"}, {-inf, "00.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatReading(c.value), c.text) << c.value;
}
