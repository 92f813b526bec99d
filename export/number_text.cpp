#include "number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace exports {

namespace {

constexpr double kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// Appends units / 10^decimals with every one of the decimals: "-12.050" for -12050 and 3.
void append_fixed_units(std::string &out, long long units, int decimals) {
    // Written backwards, digit by digit: dividing by a constant 10 is a multiplication.
    char buffer[32];
    char *const end = buffer + sizeof buffer;
    char *first = end;
    unsigned long long magnitude = units < 0 ? 0ULL - static_cast<unsigned long long>(units)
                                             : static_cast<unsigned long long>(units);
    for (int d = 0; d < decimals; ++d, magnitude /= 10)
        *--first = static_cast<char>('0' + magnitude % 10);
    if (decimals > 0) *--first = '.';
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (units < 0) *--first = '-';
    out.append(first, end);
}

// The integer nearest to scaled (below 1e15 in magnitude), halves away from zero, without the
// library's llround: the integer part and the fraction are exact, so no addition can round.
long long nearest_units(double scaled) {
    const auto whole = static_cast<long long>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    return whole + (fraction >= 0.5 ? 1 : 0) - (fraction <= -0.5 ? 1 : 0);
}

// The common case, up to 7 decimals of a moderate value, in integer arithmetic: twice as quick as
// to_chars, and exports write millions of numbers. Declines (false) where the scaled value is
// too large or so near a half that its rounding could differ from the exact decimal's.
bool append_scaled(std::string &out, double value, int decimals) {
    if (decimals < 0 || decimals > 7) return false;
    const double scaled = value * kPowersOfTen[decimals];
    if (!(std::fabs(scaled) < 1e15)) return false;
    const double fraction = scaled - static_cast<double>(static_cast<long long>(scaled));
    if (std::fabs(fraction) == 0.5) return false;
    append_fixed_units(out, nearest_units(scaled), decimals);
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

namespace {

constexpr double kFloatPowersOfTen[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11};

// Whether the decimal units / 10^decimals reads back as value. Dividing in double rounds once;
// converting to float rounds again, which differs from the decimal's own rounding only when the
// double lands exactly halfway between two floats (the 29 bits a float drops read 1000...0):
// that case answers false, as if no match.
bool reads_back_as(float value, long long units, int decimals) {
    const double decimal = static_cast<double>(units) / kFloatPowersOfTen[decimals];
    if (static_cast<float>(decimal) != value) return false;
    constexpr std::uint64_t kDroppedBits = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t kHalf = std::uint64_t{1} << 28;
    return (std::bit_cast<std::uint64_t>(decimal) & kDroppedBits) != kHalf;
}

// The shortest fixed text of a float that reads back as itself, found with integers: the fewest
// decimals whose nearest decimal reads back. Declines (false) for values too large or too small
// for that, and where a rounding is too near a half to trust; to_chars answers those.
bool append_shortest(std::string &out, float value) {
    const double v = value;
    if (!(std::fabs(v) < 8388608.0)) return false; // 2^23: below it every step is under 1
    // At a power of two the floats below lie closer than those above: the nearest decimal may
    // fail where one farther above reads back.
    if ((std::bit_cast<std::uint32_t>(value) & 0x7FFFFFu) == 0) return false;
    for (int decimals = 0; decimals < 12; ++decimals) {
        const double scaled = v * kFloatPowersOfTen[decimals];
        if (!(std::fabs(scaled) < 1e15)) return false;
        const long long units = nearest_units(scaled);
        if (std::fabs(std::fabs(scaled - static_cast<double>(units)) - 0.5) < 1e-6) return false;
        if (!reads_back_as(value, units, decimals)) continue;
        if (units == 0) return false; // the sign of a tiny value is to_chars' to write
        append_fixed_units(out, units, decimals);
        return true;
    }
    return false;
}

} // namespace

void append_exact(std::string &out, float value) {
    if (!std::isfinite(value)) {
        out += "nan";
        return;
    }
    if (value == 0) {
        out += '0';
        return;
    }
    if (append_shortest(out, value)) return;
    char buffer[64]; // FLT_MAX in fixed notation has 39 digits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0 ? 0.0f : value,
                                      std::chars_format::fixed);
    out.append(buffer, result.ptr);
}

void append_compact(std::string &out, double value, int decimals) {
    const std::size_t start = out.size();
    append_fixed(out, value, decimals);
    // The dot lies in the appended text, so the zeros stripped do too.
    if (out.find('.', start) != std::string::npos) {
        out.erase(out.find_last_not_of('0') + 1);
        if (out.back() == '.') out.pop_back();
    }
}

std::string compact(double value, int decimals) {
    std::string text;
    append_compact(text, value, decimals);
    return text;
}

} // namespace exports
