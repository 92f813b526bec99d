// The bounds of the reduction's options, checked alike by ravelin-gravity and the Python module
// before a reduction, so that both refuse the same values with the same words.
#pragma once

#include "reduction.h"

#include <optional>
#include <string>
#include <string_view>

namespace gravity {

struct RefusedOption {
    std::string option; // its command-line name: "density", "drift-degree", ...
    std::string rule;   // what it takes: "takes kg/m^3 above 0"
};

// The first option outside its bounds; a number that is no number (NaN) is outside every bound.
std::optional<RefusedOption> refused_option(const ReductionOptions &options);

// The tide source named "meter" or "model"; empty for any other name.
std::optional<TideSource> tide_source(std::string_view name);
inline constexpr const char *kTideSourceRule = "takes meter or model";

} // namespace gravity
