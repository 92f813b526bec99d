// One conversion of a raw database, with a report of what happened. dumpdec_main and the
// command-line converter both run this.
#pragma once

#include "passes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dumpdec {

struct ConversionReport {
    int result = 0;                       // 1 both passes ran, 0 failure
    std::string failure;                  // why result is 0
    PassEnd pass_end = PassEnd::kRunning; // why the first pass stopped
    bool read_whole = false;              // the raw database was consumed whole and soundly
    bool raw_deleted = false;
    std::vector<std::string> files_written; // output files left on disk
};

// keep is read once, at the end, like the entry's flag; nullptr keeps everything.
ConversionReport convert(std::string_view raw_path, const std::int16_t *keep);

} // namespace dumpdec
