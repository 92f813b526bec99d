// Reading a converted database into the survey model. Records are read with the decoder's
// bounds; a damaged or truncated file gives every record before the damage and says where and
// why reading stopped. Nothing here throws for bad input.
#pragma once

#include "survey_model.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace survey {

// Reads the converted database at path.
LoadResult load_database(const std::string &path);

// Reads a converted database of length bytes from input, from its current position.
LoadResult read_database(std::FILE *input, std::uint64_t length);

// One sentence saying where and why reading stopped, such as "Reading stopped at byte 1024:
// record 0x7a00 is of no known kind."; empty when the whole database was read.
std::string stop_reason(const LoadResult &result);

} // namespace survey
