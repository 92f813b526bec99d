#include "qc_arguments.h"

#include <cstdio>
#include <string>
#include <utility>

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

namespace {

std::string defaultText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "(default %g).", value);
    return text;
}

} // namespace

void addLimitOptions(CommandLine &line) {
    line.addOption("stdev-limit", "S",
                   "A Stdev above S percent is doubtful " + defaultText(qc::kDefaultStdevLimit));
    line.addOption("rescon-limit", "R",
                   "A contact resistance above R ohm is doubtful " +
                       defaultText(qc::kDefaultResConLimit));
}

std::optional<int> readLimitOptions(const CommandLine &line, qc::Limits &limits) {
    for (const auto &[name, limit] :
         {std::pair{"stdev-limit", &limits.stdev}, std::pair{"rescon-limit", &limits.rescon}}) {
        if (!line.isSet(name)) continue;
        const std::optional<double> value = line.number(name);
        if (!value || *value < 0)
            return line.fail(std::string("--") + name + " takes a number not below 0");
        *limit = *value;
    }
    return std::nullopt;
}

} // namespace ravelin
