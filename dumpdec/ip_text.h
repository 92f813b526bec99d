// printf-compatible formatting into a string, fast for the conversions the IP records print.
//
// A VIREL memory holds a hundred thousand readings of some twenty printed values each, and the
// C library's "%f" costs more than everything else in a conversion together. append_format gives
// byte for byte what snprintf gives, but formats "%d", "%x", "%X", "%c", "%s" and "%f" with a
// precision up to 3 itself; any other conversion is passed to vsnprintf.
#pragma once

#include <cstdarg>
#include <string>

namespace dumpdec::ip {

void append_format(std::string &out, const char *format, ...) __attribute__((format(printf, 2, 3)));
void append_vformat(std::string &out, const char *format, std::va_list args);

} // namespace dumpdec::ip
