// The sky the simulated meter looks at. Times are simulated seconds counted
// from midnight of the day the simulator started, so a night runs on past
// 86400 without wrapping.
#pragma once

#include "Random.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace metersim {

constexpr double kSecondsPerDay = 86400.0;

struct NightConfig {
    std::optional<double> moonriseSeconds = 1.5 * 3600;  // time of day; none: no moon
    double darkSky = 21.5;         // moonless, cloudless zenith
    double driftAmplitude = 0.12;  // slow wander of the dark sky, magnitudes
    double noiseSigma = 0.02;
    bool clouds = true;
};

// Sun altitude in degrees for a time of day: sets at 20:00, astronomical
// twilight ends near 21:33, rises at 06:00.
double SunAltitude(double timeOfDaySeconds);

// Sky brightness with only the sun acting, in magnitudes per square arc-second;
// meaningful while the sun is less than 18 degrees below the horizon.
double SunlitSky(double altitudeDegrees, double darkSky);

// How far the moon is up, 0..1: an hour to rise, an hour to set.
double MoonUp(double timeOfDaySeconds, double moonriseSeconds);

class NightSky {
public:
    // The weather (clouds, drift, how bright the moon gets) is drawn from its
    // own generator seeded here, so the same seed gives the same night however
    // often the meter is asked.
    NightSky(NightConfig config, std::uint64_t weatherSeed);

    // Clear sky without noise: sun, moon and drift.
    double Clear(double simSeconds) const;
    // How much clouds brighten the sky at that moment, in magnitudes (>= 0).
    double CloudBrightening(double simSeconds);
    // What a perfect meter would read.
    double Mean(double simSeconds);
    // What the simulated meter reads: Mean plus a little noise from rng.
    double Sample(double simSeconds, Rng& rng);

    double MoonSky() const { return moonSky_; }

private:
    struct Cloud {
        double start;
        double duration;
        double depth;
    };
    void GrowCloudsUntil(double simSeconds);

    NightConfig config_;
    Rng weather_;
    double moonSky_;
    double driftPhase_[2];
    std::deque<Cloud> clouds_;
    double cloudsUntil_ = 0.0;  // episodes are generated up to here
};

// Five characters, two decimals, clamped to 00.00..99.99: "21.48", "08.50".
std::string FormatReading(double magnitude);

// Simulated time of day running `speed` times faster than the real clock.
class SimClock {
public:
    using Real = std::chrono::steady_clock;
    SimClock(double startSeconds, double speed, Real::time_point realStart)
        : start_(startSeconds), speed_(speed), realStart_(realStart) {}
    double At(Real::time_point now) const
    {
        return start_ + speed_ * std::chrono::duration<double>(now - realStart_).count();
    }

private:
    double start_;
    double speed_;
    Real::time_point realStart_;
};

}  // namespace metersim
