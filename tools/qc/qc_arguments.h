// The options that set how readings get their errors, read the same way by ravelin-qc and by
// ravelin-export --errors: --error-scope profile|survey and --error-floor P.
#pragma once

#include "command_line.h"
#include "reading_errors.h"

#include <optional>

namespace ravelin {

// Returns the exit status of a bad value (reported), nothing when the options are sound.
std::optional<int> readErrorOptions(const CommandLine &line, qc::QcOptions &options);

} // namespace ravelin
