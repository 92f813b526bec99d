#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace exports {

void append_fixed(std::string &out, double value, int decimals) {
    if (!std::isfinite(value)) {
        out += "nan";
        return;
    }
    if (value == 0) value = 0; // no "-0.000"
    char buffer[400];          // the widest double with 17 decimals fits
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
    // A value that rounds to zero keeps no sign either.
    const std::size_t start = out.size() - static_cast<std::size_t>(result.ptr - buffer);
    if (out[start] == '-' && out.find_first_not_of("-0.", start) == std::string::npos)
        out.erase(start, 1);
}

std::string fixed(double value, int decimals) {
    std::string text;
    append_fixed(text, value, decimals);
    return text;
}

void append_significant(std::string &out, double value, int digits, int min_decimals) {
    int decimals = min_decimals;
    if (std::isfinite(value) && value != 0) {
        const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        decimals = std::clamp(digits - 1 - magnitude, min_decimals, 17);
    }
    append_fixed(out, value, decimals);
}

void append_exact(std::string &out, float value) {
    if (!std::isfinite(value)) {
        out += "nan";
        return;
    }
    char buffer[64]; // FLT_MAX in fixed notation has 39 digits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0 ? 0.0f : value,
                                      std::chars_format::fixed);
    out.append(buffer, result.ptr);
}

std::string compact(double value, int decimals) {
    std::string text = fixed(value, decimals);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

} // namespace exports
