#include "pipe_name.h"

#include <cstring>

namespace usbbulk {

std::optional<int> parsePipeName(const char *name) {
    static constexpr char kPrefix[] = "PIPE";
    constexpr size_t kPrefixLength = sizeof kPrefix - 1;
    if (!name || std::strncmp(name, kPrefix, kPrefixLength) != 0) return std::nullopt;
    const char *digits = name + kPrefixLength;
    const size_t count = std::strlen(digits);
    if (count == 0 || count > 2) return std::nullopt;
    int number = 0;
    for (size_t i = 0; i < count; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return std::nullopt;
        number = number * 10 + (digits[i] - '0');
    }
    if (number < 1 || number > kMaxEndpoint) return std::nullopt;
    return number;
}

} // namespace usbbulk
