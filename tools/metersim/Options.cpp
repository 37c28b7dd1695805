#include "Options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace metersim {

namespace {

constexpr long kMaxCount = 1'000'000'000;
constexpr long kMaxMillis = 600'000;
constexpr double kMaxSpeed = 100'000;

template <typename Number>
std::optional<Number> Parse(std::string_view text)
{
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<double> ParseClock(std::string_view text)
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() - colon != 3)
        return std::nullopt;
    const auto hours = Parse<int>(text.substr(0, colon));
    const auto minutes = Parse<int>(text.substr(colon + 1));
    if (!hours || !minutes || *hours < 0 || *hours > 23 || *minutes < 0 || *minutes > 59)
        return std::nullopt;
    return *hours * 3600.0 + *minutes * 60.0;
}

std::string CheckGreeting(const std::string& text)
{
    if (text.rfind("HELLO", 0) != 0)
        return "must begin with HELLO, as the monitor looks for it";
    if (text.size() > 64)
        return "is longer than 64 characters";
    for (char c : text) {
        if (c == '#')
            return "must not contain '#', which ends every reply";
        if (c < 0x20 || c > 0x7E)
            return "must be printable ASCII";
    }
    return {};
}

// Each handler stores its value or returns what is wrong with it.
using Handler = std::function<std::string(Options&, const std::string&)>;

Handler Count(int Faults::*field)
{
    return [field](Options& o, const std::string& v) -> std::string {
        const auto n = Parse<long>(v);
        if (!n || *n < 1 || *n > kMaxCount)
            return "expects a whole number from 1 to " + std::to_string(kMaxCount);
        o.faults.*field = static_cast<int>(*n);
        return {};
    };
}

Handler Duration(Millis Faults::*field, bool enablesSplit)
{
    return [field, enablesSplit](Options& o, const std::string& v) -> std::string {
        const auto n = Parse<long>(v);
        if (!n || *n < 0 || *n > kMaxMillis)
            return "expects milliseconds from 0 to " + std::to_string(kMaxMillis);
        o.faults.*field = Millis(*n);
        o.faults.split = o.faults.split || enablesSplit;
        return {};
    };
}

Handler Clock(std::optional<double> Options::*field)
{
    return [field](Options& o, const std::string& v) -> std::string {
        const auto seconds = ParseClock(v);
        if (!seconds)
            return "expects a time of day as HH:MM, 00:00 to 23:59";
        o.*field = seconds;
        return {};
    };
}

const std::map<std::string, Handler, std::less<>>& ValueOptions()
{
    static const std::map<std::string, Handler, std::less<>> options = {
        {"--start", Clock(&Options::startSeconds)},
        {"--moonrise", Clock(&Options::moonriseSeconds)},
        {"--speed", [](Options& o, const std::string& v) -> std::string {
             const auto x = Parse<double>(v);
             if (!x || !std::isfinite(*x) || *x <= 0 || *x > kMaxSpeed)
                 return "expects simulated seconds per real second, above 0 and at most 100000";
             o.speed = *x;
             return {};
         }},
        {"--seed", [](Options& o, const std::string& v) -> std::string {
             o.seed = Parse<std::uint64_t>(v);
             return o.seed ? "" : "expects a whole number from 0 to 18446744073709551615";
         }},
        {"--greeting", [](Options& o, const std::string& v) {
             o.greeting = v;
             return CheckGreeting(v);
         }},
        {"--link", [](Options& o, const std::string& v) -> std::string {
             o.linkPath = v;
             return v.empty() ? "expects a path" : "";
         }},
        {"--error-every", Count(&Faults::errorEvery)},
        {"--junk-every", Count(&Faults::junkEvery)},
        {"--no-hash-every", Count(&Faults::noHashEvery)},
        {"--vanish-after", Count(&Faults::vanishAfter)},
        {"--delay", Duration(&Faults::delay, false)},
        {"--split-gap", Duration(&Faults::splitGap, true)},
    };
    return options;
}

const std::map<std::string, std::function<void(Options&)>, std::less<>>& Flags()
{
    static const std::map<std::string, std::function<void(Options&)>, std::less<>> flags = {
        {"--no-moon", [](Options& o) { o.moonriseSeconds.reset(); }},
        {"--no-link", [](Options& o) { o.noLink = true; }},
        {"--split", [](Options& o) { o.faults.split = true; }},
        {"-v", [](Options& o) { o.verbose = true; }},
        {"--verbose", [](Options& o) { o.verbose = true; }},
        {"-h", [](Options& o) { o.help = true; }},
        {"--help", [](Options& o) { o.help = true; }},
    };
    return flags;
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args)
{
    ParsedOptions parsed;
    Options& o = parsed.options;
    bool moonrise = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (const auto flag = Flags().find(name); flag != Flags().end() && equals == std::string::npos) {
            flag->second(o);
            continue;
        }
        const auto option = ValueOptions().find(name);
        if (option == ValueOptions().end()) {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
        if (equals == std::string::npos && i + 1 == args.size()) {
            parsed.error = name + " needs a value";
            return parsed;
        }
        const std::string value = equals == std::string::npos ? args[++i] : arg.substr(equals + 1);
        if (std::string problem = option->second(o, value); !problem.empty()) {
            parsed.error = name + " '" + value + "': " + problem;
            return parsed;
        }
        moonrise = moonrise || name == "--moonrise";
    }
    if (moonrise && !o.moonriseSeconds)
        parsed.error = "--moonrise and --no-moon contradict each other";
    else if (o.linkPath && o.noLink)
        parsed.error = "--link and --no-link contradict each other";
    return parsed;
}

std::string Usage(std::string_view program)
{
    return "Usage: " + std::string(program) + R"( [options]

Acts as a sky brightness meter on a new pseudo-terminal. Prints the terminal's
path as the first line on standard output; everything else goes to standard
error. Stops cleanly on SIGINT or SIGTERM.

The night:
  --start HH:MM        simulated local time at start (default: the real time)
  --speed X            simulated seconds per real second (default 1)
  --moonrise HH:MM     when the moon rises (default 01:30)
  --no-moon            a moonless night
  --seed N             the same N gives the same night (default: from the clock)
  --greeting TEXT      answer to H#, must begin with HELLO (default HELLO)

The port:
  --link PATH          publish the port as this symbolic link (default:
                       the link "sim" in the folder of virtual ports)
  --no-link            publish no link

Faults (all off by default; N counts from 1):
  --error-every N      answer every Nth V# with ERROR#
  --split              write each reply in pieces of 1 to 3 bytes
  --split-gap MS       time between those pieces (default 30; implies --split)
  --junk-every N       put line noise before every Nth reply
  --no-hash-every N    leave the '#' off every Nth reading
  --delay MS           answer every command MS milliseconds late
  --vanish-after N     after the Nth reading, disappear as an unplugged
                       adapter would, and exit

  -v, --verbose        log every command and reply on standard error
  -h, --help           show this help
)";
}

}  // namespace metersim
