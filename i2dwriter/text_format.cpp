#include "text_format.h"

#include <cstdarg>
#include <cstdio>

namespace i2dwriter {

void append_format(std::string &out, const char *format, ...) {
    char small[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (needed < 0) {
        va_end(again);
        return;
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        out.append(small, static_cast<std::size_t>(needed));
    } else {
        const std::size_t start = out.size();
        out.resize(start + static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(out.data() + start, static_cast<std::size_t>(needed) + 1, format, again);
        out.resize(start + static_cast<std::size_t>(needed));
    }
    va_end(again);
}

} // namespace i2dwriter
