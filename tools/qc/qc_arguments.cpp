#include "qc_arguments.h"

#include <string>

namespace ravelin {

std::optional<int> readErrorOptions(const CommandLine &line, qc::QcOptions &options) {
    if (line.isSet("error-scope")) {
        const std::optional<qc::ErrorScope> scope = qc::error_scope(line.value("error-scope"));
        if (!scope) return line.fail(std::string("--error-scope ") + qc::kErrorScopeRule);
        options.scope = *scope;
    }
    if (line.isSet("error-floor")) {
        const std::optional<double> floor = line.number("error-floor");
        if (!floor || !qc::error_floor_allowed(*floor))
            return line.fail(std::string("--error-floor ") + qc::kErrorFloorRule);
        options.error_floor = *floor;
    }
    return std::nullopt;
}

} // namespace ravelin
