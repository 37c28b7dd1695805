// One generator type for everything random in the simulator, so that a seed
// given on the command line reproduces a whole run.
#pragma once

#include <random>

namespace metersim {

using Rng = std::mt19937_64;

}  // namespace metersim
