// The converter's one line per file.
#pragma once

#include "convert.h"

#include <string>

namespace ravelin::convert_tool {

// "PATH: converted -> NAMES..." or "PATH: FAILED: REASON", without a line end.
std::string conversion_line(const std::string &path, const dumpdec::ConversionReport &report);

} // namespace ravelin::convert_tool
