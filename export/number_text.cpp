#include "number_text.h"

#include "decimal_digits.h"
#include "portable.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace exports {

namespace {

using ravelin::decimal::digit_count;
using ravelin::decimal::kDigitPairs;
using ravelin::decimal::kPowersOfTen;

// Writes the last count digits of value backwards, ending before end, and drops them from value;
// returns where they start.
template <typename Unsigned>
[[gnu::always_inline]] inline char *last_digits(char *end, Unsigned &value, int count) {
    for (; count >= 2; count -= 2) {
        end -= 2;
        std::memcpy(end, kDigitPairs + 2 * (value % 100u), 2);
        value /= 100u;
    }
    if (count > 0) {
        *--end = static_cast<char>('0' + value % 10u);
        value /= 10u;
    }
    return end;
}

// The digits and the point of a fixed number ending before end; returns where they start.
template <typename Unsigned>
[[gnu::always_inline]] inline char *fixed_digits(char *end, Unsigned magnitude, int digits,
                                                 int decimals) {
    char *first = last_digits(end, magnitude, decimals);
    if (decimals > 0) *--first = '.';
    return last_digits(first, magnitude, digits - decimals);
}

// Writes units / 10^decimals with every one of the decimals: "-12.050" for -12050 and 3. The
// length is known first, so the digits go straight to their places, last first; most numbers
// fit 32 bits, whose divisions are quicker.
char *write_fixed_units(char *at, long long units, int decimals) {
    const unsigned long long magnitude = units < 0 ? 0ULL - static_cast<unsigned long long>(units)
                                                   : static_cast<unsigned long long>(units);
    const int digits = std::max(digit_count(magnitude), decimals + 1);
    char *const end = at + (units < 0 ? 1 : 0) + digits + (decimals > 0 ? 1 : 0);
    char *first = magnitude <= UINT32_MAX
                      ? fixed_digits(end, static_cast<std::uint32_t>(magnitude), digits, decimals)
                      : fixed_digits(end, magnitude, digits, decimals);
    if (units < 0) *--first = '-';
    return end;
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
char *write_scaled(char *at, double value, int decimals) {
    if (decimals < 0 || decimals > 7) return nullptr;
    const double scaled = value * static_cast<double>(kPowersOfTen[decimals]);
    if (!(std::fabs(scaled) < 1e15)) return nullptr;
    const double fraction = scaled - static_cast<double>(static_cast<long long>(scaled));
    if (std::fabs(fraction) == 0.5) return nullptr;
    return write_fixed_units(at, nearest_units(scaled), decimals);
}

char *write_nan(char *at) {
    std::memcpy(at, "nan", 3);
    return at + 3;
}

} // namespace

char *write_fixed(char *at, double value, int decimals) {
    if (!std::isfinite(value)) return write_nan(at);
    char *end = write_scaled(at, value, decimals);
    if (!end) end = ravelin::portable::fixed_chars(at, at + kWidestFixed, value, decimals);
    // A value that rounds to zero keeps no sign: "0.000", not "-0.000".
    if (*at == '-' && std::all_of(at + 1, end, [](char c) { return c == '0' || c == '.'; })) {
        std::memmove(at, at + 1, static_cast<std::size_t>(end - at - 1));
        --end;
    }
    return end;
}

void append_fixed(std::string &out, double value, int decimals) {
    char buffer[kWidestFixed];
    out.append(buffer, write_fixed(buffer, value, decimals));
}

std::string fixed(double value, int decimals) {
    std::string text;
    append_fixed(text, value, decimals);
    return text;
}

char *write_integer(char *at, long long value) {
    return std::to_chars(at, at + kWidestInteger, value).ptr;
}

void append_integer(std::string &out, long long value) {
    char buffer[kWidestInteger];
    out.append(buffer, write_integer(buffer, value));
}

char *write_significant(char *at, double value, int digits, int min_decimals) {
    int decimals = min_decimals;
    if (std::isfinite(value) && value != 0) {
        const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        decimals = std::clamp(digits - 1 - magnitude, min_decimals, 17);
    }
    return write_fixed(at, value, decimals);
}

void append_significant(std::string &out, double value, int digits, int min_decimals) {
    char buffer[kWidestFixed];
    out.append(buffer, write_significant(buffer, value, digits, min_decimals));
}

namespace {

// The shortest fixed text of a float that reads back as itself: the fewest decimals whose
// nearest decimal lies within half a step of the float, where reading rounds to it. Exact, in
// 64-bit integers: the float is m * 2^e with e below 0, so counted in 2^(e-1) / 10^decimals the
// value is 2m * 10^decimals, the half step 10^decimals and a decimal u lies at u * 2^(1-e).
// Declines (false) for values too large or too small for that, at a power of two (the floats
// below lie closer than those above, so the nearest decimal may fail where one farther above
// reads back) and at a value exactly halfway between two decimals; to_chars answers those.
char *write_shortest(char *at, float value) {
    const std::uint32_t bits = ravelin::portable::bit_cast<std::uint32_t>(value);
    const std::uint32_t biased = bits >> 23 & 0xFFu;
    const std::uint64_t fraction = bits & 0x7FFFFFu;
    if (fraction == 0 || biased >= 150) return nullptr; // a power of two, or 2^23 and above
    const std::uint64_t m = biased ? fraction | 0x800000u : fraction;
    const int shift = 151 - static_cast<int>(std::max<std::uint32_t>(biased, 1)); // 1 - e
    // Past that the value times 10^11 stays below half a unit: no decimal of 11 places reads.
    if (shift >= 63) return nullptr;
    const std::uint64_t unit = std::uint64_t{1} << shift, half = unit >> 1;
    // Reading rounds a value halfway between two floats to the one with the even mantissa.
    const bool halfway_reads = (m & 1) == 0;
    auto reads = [&](int decimals) {
        const std::uint64_t reach = kPowersOfTen[decimals];
        const std::uint64_t rest = (2 * m * reach) & (unit - 1); // 2m * 10^11 < 2^62
        const std::uint64_t off = rest > half ? unit - rest : rest;
        return off < reach || (off == reach && halfway_reads);
    };
    // A decimal of k places is one of k + 1 places too, so once a number of decimals reads,
    // every larger one does: a binary search finds the fewest, without the branches a search
    // from 0 mispredicts where it stops.
    int decimals = 0;
    for (int step : {8, 4, 2, 1}) {
        const int probe = decimals + step - 1;
        decimals += probe < 12 && !reads(probe) ? step : 0;
    }
    if (decimals == 12) return nullptr;
    const std::uint64_t exact = 2 * m * kPowersOfTen[decimals];
    const std::uint64_t rest = exact & (unit - 1);
    if (rest == half) return nullptr;
    // units is at least 1: 0 lies 2m * 10^decimals away, beyond the half step.
    const auto units = static_cast<long long>((exact >> shift) + (rest > half ? 1 : 0));
    return write_fixed_units(at, bits >> 31 ? -units : units, decimals);
}

} // namespace

char *write_exact(char *at, float value) {
    if (!std::isfinite(value)) return write_nan(at);
    if (value == 0) {
        *at = '0';
        return at + 1;
    }
    if (char *end = write_shortest(at, value)) return end;
    return ravelin::portable::shortest_fixed_chars(at, at + kWidestExact, value);
}

void append_exact(std::string &out, float value) {
    char buffer[kWidestExact];
    out.append(buffer, write_exact(buffer, value));
}

char *write_compact(char *at, double value, int decimals) {
    char *end = write_fixed(at, value, decimals);
    if (std::find(at, end, '.') != end) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.') --end;
    }
    return end;
}

void append_compact(std::string &out, double value, int decimals) {
    char buffer[kWidestFixed];
    out.append(buffer, write_compact(buffer, value, decimals));
}

std::string compact(double value, int decimals) {
    std::string text;
    append_compact(text, value, decimals);
    return text;
}

} // namespace exports
