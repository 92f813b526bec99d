// printf-style formatting onto the end of a string, with no fixed line length.
#pragma once

#include "portable.h"

#include <string>

namespace i2dwriter {

RAVELIN_PRINTF_FORMAT(2, 3) void append_format(std::string &out, const char *format, ...);

} // namespace i2dwriter
