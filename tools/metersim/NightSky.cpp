#include "NightSky.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace metersim {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kHour = 3600.0;
constexpr double kTwilightSky = 15.0;    // at sunset
constexpr double kAstronomicalEnd = -18.0;  // degrees
constexpr double kMoonUpFor = 11 * kHour;

// Sky brightness adds up in linear flux, not in magnitudes.
double Flux(double magnitude) { return std::pow(10.0, -0.4 * magnitude); }
double Magnitude(double flux) { return -2.5 * std::log10(flux); }

double SmoothStep(double u)
{
    u = std::clamp(u, 0.0, 1.0);
    return u * u * (3.0 - 2.0 * u);
}

double TimeOfDay(double simSeconds)
{
    const double t = std::fmod(simSeconds, kSecondsPerDay);
    return t < 0 ? t + kSecondsPerDay : t;
}

}  // namespace

double SunAltitude(double timeOfDaySeconds)
{
    // A sun culminating at 13:00 on a cosine path, shifted so that it crosses
    // the horizon at 20:00 and 06:00: a mid-latitude night in spring.
    constexpr double noon = 13 * kHour;
    constexpr double peak = 50.0;
    const double horizon = std::cos(kTwoPi * 7 * kHour / kSecondsPerDay);
    return peak * (std::cos(kTwoPi * (timeOfDaySeconds - noon) / kSecondsPerDay) - horizon);
}

double SunlitSky(double altitude, double darkSky)
{
    if (altitude >= 0) {
        // Daylight: far brighter than any meter for the night sky is meant
        // for; the reading keeps falling as the sun climbs.
        return kTwilightSky - 7.0 * altitude / (altitude + 10.0);
    }
    if (altitude <= kAstronomicalEnd)
        return darkSky;
    // Fast darkening through civil and nautical twilight, levelling off as
    // astronomical twilight ends, with no kink at either end.
    const double x = altitude / kAstronomicalEnd;
    return kTwilightSky + (darkSky - kTwilightSky) * (1.0 - (1.0 - x) * (1.0 - x));
}

double MoonUp(double timeOfDaySeconds, double moonriseSeconds)
{
    const double sinceRise = std::fmod(timeOfDaySeconds - moonriseSeconds + kSecondsPerDay, kSecondsPerDay);
    return SmoothStep(sinceRise / kHour) * SmoothStep((kMoonUpFor - sinceRise) / kHour);
}

NightSky::NightSky(NightConfig config, std::uint64_t weatherSeed)
    : config_(config), weather_(weatherSeed)
{
    moonSky_ = std::uniform_real_distribution<double>(19.5, 20.0)(weather_);
    std::uniform_real_distribution<double> phase(0.0, kTwoPi);
    driftPhase_[0] = phase(weather_);
    driftPhase_[1] = phase(weather_);
}

double NightSky::Clear(double simSeconds) const
{
    const double timeOfDay = TimeOfDay(simSeconds);
    // Two slow waves of different periods, so the drift never looks periodic
    // within one night.
    const double drift = config_.driftAmplitude
        * (2.0 / 3.0 * std::sin(kTwoPi * simSeconds / (3.1 * kHour) + driftPhase_[0])
           + 1.0 / 3.0 * std::sin(kTwoPi * simSeconds / (0.9 * kHour) + driftPhase_[1]));
    const double darkFlux = Flux(config_.darkSky);
    double flux = Flux(config_.darkSky + drift);
    flux += std::max(0.0, Flux(SunlitSky(SunAltitude(timeOfDay), config_.darkSky)) - darkFlux);
    if (config_.moonriseSeconds)
        flux += (Flux(moonSky_) - darkFlux) * MoonUp(timeOfDay, *config_.moonriseSeconds);
    return Magnitude(flux);
}

void NightSky::GrowCloudsUntil(double simSeconds)
{
    // Episodes are drawn in time order from the start of the first day, so
    // the weather at a moment never depends on which moments were asked for.
    std::exponential_distribution<double> gap(1.0 / (50 * 60.0));
    std::uniform_real_distribution<double> duration(6 * 60.0, 45 * 60.0);
    std::uniform_real_distribution<double> depth(0.3, 2.0);
    while (cloudsUntil_ <= simSeconds) {
        Cloud cloud;
        cloud.start = cloudsUntil_ + 5 * 60.0 + gap(weather_);
        cloud.duration = duration(weather_);
        cloud.depth = depth(weather_);
        clouds_.push_back(cloud);
        cloudsUntil_ = cloud.start + cloud.duration;
    }
    while (!clouds_.empty() && clouds_.front().start + clouds_.front().duration < simSeconds - kSecondsPerDay)
        clouds_.pop_front();
}

double NightSky::CloudBrightening(double simSeconds)
{
    if (!config_.clouds)
        return 0.0;
    GrowCloudsUntil(simSeconds);
    for (const Cloud& cloud : clouds_) {
        const double u = (simSeconds - cloud.start) / cloud.duration;
        if (u > 0.0 && u < 1.0) {
            const double s = std::sin(std::numbers::pi * u);
            return cloud.depth * s * s;
        }
    }
    return 0.0;
}

double NightSky::Mean(double simSeconds)
{
    const double clear = Clear(simSeconds);
    // Clouds lit from below by the town matter against a dark sky and are lost
    // in daylight.
    const double darkness = std::clamp((clear - kTwilightSky) / (config_.darkSky - kTwilightSky), 0.0, 1.0);
    return clear - darkness * CloudBrightening(simSeconds);
}

double NightSky::Sample(double simSeconds, Rng& rng)
{
    const double mean = Mean(simSeconds);
    if (config_.noiseSigma <= 0)
        return mean;
    const double limit = 4 * config_.noiseSigma;
    return mean + std::clamp(std::normal_distribution<double>(0.0, config_.noiseSigma)(rng), -limit, limit);
}

std::string FormatReading(double magnitude)
{
    // Round first so that 99.996 cannot print as "100.00", and send NaN and
    // negative zero to "00.00" rather than "nan" or "-0.00".
    double value = std::round(magnitude * 100.0) / 100.0;
    if (!(value > 0.0))
        value = 0.0;
    value = std::min(value, 99.99);
    char text[16];
    std::snprintf(text, sizeof text, "%05.2f", value);
    return text;
}

}  // namespace metersim
