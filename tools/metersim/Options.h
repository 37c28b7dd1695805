// The command line of umbrascope-metersim.
#pragma once

#include "MeterSession.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace metersim {

struct Options {
    std::optional<double> startSeconds;  // time of day; none: the real local time
    double speed = 1.0;                  // simulated seconds per real second
    std::optional<double> moonriseSeconds = 1.5 * 3600;
    std::optional<std::uint64_t> seed;   // none: from the clock
    std::string greeting = "HELLO";
    Faults faults;
    std::optional<std::string> linkPath;  // none: the default in the virtual port folder
    bool noLink = false;
    bool verbose = false;
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line was good
};

// `args` excludes the program name.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

std::string Usage(std::string_view program);

}  // namespace metersim
