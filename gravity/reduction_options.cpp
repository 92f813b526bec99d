#include "reduction_options.h"

#include <cmath>

namespace gravity {

std::optional<RefusedOption> refused_option(const ReductionOptions &o) {
    if (o.base_gravity && !(*o.base_gravity > 0))
        return RefusedOption{"base-gravity", "takes mGal above 0"};
    if (!(o.density > 0)) return RefusedOption{"density", "takes kg/m^3 above 0"};
    if (o.utc_offset_hours && !(std::fabs(*o.utc_offset_hours) <= 14))
        return RefusedOption{"utc-offset", "takes hours from -14 to 14"};
    if (o.drift_degree < 0 || o.drift_degree > 2)
        return RefusedOption{"drift-degree", "takes 0, 1 or 2"};
    if (!(o.min_sd > 0)) return RefusedOption{"min-sd", "takes a number above 0"};
    if (!(o.residual_limit > 0)) return RefusedOption{"residual-limit", "takes a number above 0"};
    return std::nullopt;
}

std::optional<TideSource> tide_source(std::string_view name) {
    if (name == "meter") return TideSource::Meter;
    if (name == "model") return TideSource::Model;
    return std::nullopt;
}

} // namespace gravity
