// The options ravelin-qc and ravelin-export read the same way: how readings get their errors
// (--error-scope profile|survey, --error-floor P) and the limits that make a reading doubtful
// (--stdev-limit S, --rescon-limit R).
#pragma once

#include "command_line.h"
#include "reading_errors.h"

#include <optional>

namespace ravelin {

// Returns the exit status of a bad value (reported), nothing when the options are sound.
std::optional<int> readErrorOptions(const CommandLine &line, qc::QcOptions &options);

// Adds --stdev-limit and --rescon-limit with their help.
void addLimitOptions(CommandLine &line);
// Returns the exit status of a bad value (reported), nothing when the limits are sound.
std::optional<int> readLimitOptions(const CommandLine &line, qc::Limits &limits);

} // namespace ravelin
