#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace exports {

namespace {

constexpr double kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// The common case, up to 7 decimals of a moderate value, in integer arithmetic: twice as quick as
// to_chars, and exports write millions of numbers. Declines (false) where the scaled value is
// too large or so near a half that its rounding could differ from the exact decimal's.
bool append_scaled(std::string &out, double value, int decimals) {
    if (decimals < 0 || decimals > 7) return false;
    const double scaled = value * kPowersOfTen[decimals];
    if (!(std::fabs(scaled) < 1e15) || std::fabs(scaled - std::trunc(scaled)) == 0.5) return false;
    const long long units = std::llround(scaled);
    const unsigned long long magnitude = units < 0 ? 0ULL - static_cast<unsigned long long>(units)
                                                   : static_cast<unsigned long long>(units);
    const auto unit = static_cast<unsigned long long>(kPowersOfTen[decimals]);
    if (units < 0) out += '-';
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, magnitude / unit).ptr);
    if (decimals == 0) return true;
    out += '.';
    unsigned long long fraction = magnitude % unit;
    for (int d = decimals - 1; d >= 0; --d, fraction /= 10)
        buffer[d] = static_cast<char>('0' + fraction % 10);
    out.append(buffer, static_cast<std::size_t>(decimals));
    return true;
}

} // namespace

void append_fixed(std::string &out, double value, int decimals) {
    if (!std::isfinite(value)) {
        out += "nan";
        return;
    }
    const std::size_t start = out.size();
    if (!append_scaled(out, value, decimals)) {
        char buffer[400]; // the widest double with 17 decimals fits
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::fixed, decimals);
        out.append(buffer, result.ptr);
    }
    // A value that rounds to zero keeps no sign: "0.000", not "-0.000".
    if (out[start] == '-' && out.find_first_not_of("0.", start + 1) == std::string::npos)
        out.erase(start, 1);
}

std::string fixed(double value, int decimals) {
    std::string text;
    append_fixed(text, value, decimals);
    return text;
}

void append_integer(std::string &out, long long value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void append_two_digits(std::string &out, int value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
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
