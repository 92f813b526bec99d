#include "qc_arguments.h"

namespace ravelin {

std::optional<int> readErrorOptions(const CommandLine &line, qc::QcOptions &options) {
    if (line.isSet("error-scope")) {
        const std::string scope = line.value("error-scope");
        if (scope == "profile")
            options.scope = qc::ErrorScope::Profile;
        else if (scope == "survey")
            options.scope = qc::ErrorScope::Survey;
        else
            return line.fail("--error-scope takes profile or survey");
    }
    if (line.isSet("error-floor")) {
        const std::optional<double> floor = line.number("error-floor");
        if (!floor || !(*floor > 0) || *floor > 100)
            return line.fail("--error-floor takes a percentage above 0, up to 100");
        options.error_floor = *floor;
    }
    return std::nullopt;
}

} // namespace ravelin
