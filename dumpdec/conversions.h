// One printf conversion written straight into a buffer with room to spare, byte for byte as the
// C library writes it: the common cases only, for the line formatter (line_format.h). Each
// function returns the end of what it wrote, or nullptr when the value needs the general path
// (fixed notation of a number too large for 64-bit arithmetic, or not finite).
//
// The padding is done with copies of a fixed size, which the compiler turns into a few vector
// moves: a conversion may write up to kConversionRoom bytes past where it starts, beyond its own
// end, and the caller provides that room.
#pragma once

#include "decimal_digits.h"

#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace dumpdec {

// One conversion of a format: the literal text before it, then the conversion itself (kind 0:
// none, the piece is literal text only, as after "%%").
struct FormatPiece {
    std::uint16_t literal_begin = 0;
    std::uint16_t literal_length = 0;
    char kind = 0; // 'd', 'x', 'X', 'c', 's', 'f' or 0
    bool left = false;
    bool zero = false;
    std::int8_t precision = -1;
    std::uint16_t width = 0;
};

namespace conversion {

inline constexpr std::size_t kMaxWidth = 32; // widths padded here; wider ones take the general path
inline constexpr std::size_t kMaxDigits = 32;    // the longest number written here
inline constexpr int kMaxPrecision = 9;          // decimals written here
inline constexpr std::size_t kLongestFixed = 31; // "-", 20 digits, ".", 9 decimals
inline constexpr std::size_t kConversionRoom = kMaxWidth + kMaxDigits + 8;

// The longest text a number conversion of this kind writes before padding.
constexpr std::size_t longest(char kind) {
    switch (kind) {
    case 'd':
        return 11;
    case 'x':
    case 'X':
        return 8;
    case 'c':
        return 1;
    case 'f':
        return kLongestFixed;
    default:
        return 0;
    }
}

using ravelin::decimal::kDigitPairs;
using ravelin::decimal::kPowersOfTen;

// The decimal digits of value, two at a time from the right.
[[gnu::always_inline]] inline char *unsigned_digits(char *out, std::uint32_t value) {
    if (value < 10) {
        *out = static_cast<char>('0' + value);
        return out + 1;
    }
    const int count = ravelin::decimal::digit_count(value);
    int i = count;
    for (; i >= 2; i -= 2) {
        std::memcpy(out + i - 2, kDigitPairs + 2 * (value % 100u), 2);
        value /= 100u;
    }
    if (i == 1) out[0] = static_cast<char>('0' + value);
    return out + count;
}

// |value| × scale rounded with ties to even, for a value of at most 24 significant bits
// (any value read as a float) times 2^-shift: the product fits 64 bits, no 128-bit steps.
inline std::uint64_t scale_short(std::uint64_t significant, int shift, std::uint64_t scale) {
    const std::uint64_t product = significant * scale; // below 2^24 × 10^9 < 2^54
    const std::uint64_t scaled = product >> shift;
    const std::uint64_t rest = product & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const bool up = rest > half || (rest == half && (scaled & 1));
    return scaled + (up ? 1 : 0);
}

// |value| × 10^precision rounded from the exact binary value with ties to even, as the C library
// rounds; false when the value is not finite or the result does not fit 64 bits.
[[gnu::always_inline]] inline bool scaled_fixed(double value, int precision, std::uint64_t &scaled,
                                                bool &negative) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    negative = bits >> 63;
    const int exponent_field = static_cast<int>(bits >> 52 & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    if (exponent_field == 0x7FF) return false;
    int exponent = -1074;
    if (exponent_field != 0) {
        mantissa |= std::uint64_t{1} << 52;
        exponent = exponent_field - 1075;
    }
    const std::uint64_t scale = kPowersOfTen[precision];
    scaled = 0;
    const int zeros = mantissa != 0 ? std::countr_zero(mantissa) : 0;
    const int short_shift = -(exponent + zeros);
    const std::uint64_t significant = mantissa >> zeros;
    if (significant < (std::uint64_t{1} << 24) && short_shift > 0 && short_shift < 64) {
        scaled = scale_short(significant, short_shift, scale);
    } else if (significant < (std::uint64_t{1} << 24) && short_shift <= 0 && short_shift > -10) {
        scaled = (significant << -short_shift) * scale; // a whole number below 2^33
    } else if (mantissa != 0) [[unlikely]] {
        if (exponent > 0) return false;
        const int shift = -exponent;
        const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * scale;
        if (shift < 128) {
            const unsigned __int128 quotient = product >> shift;
            if (quotient >> 64) return false;
            scaled = static_cast<std::uint64_t>(quotient);
            if (shift > 0) {
                const unsigned __int128 rest = product - (quotient << shift);
                const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
                if (rest > half || (rest == half && (scaled & 1))) {
                    if (scaled == UINT64_MAX) return false;
                    ++scaled;
                }
            }
        }
    }
    return true;
}

// The fixed notation of value with precision decimals (at most kMaxPrecision) at out.
[[gnu::always_inline]] inline char *fixed_digits(char *out, double value, int precision) {
    if (precision > kMaxPrecision) return nullptr;
    std::uint64_t scaled;
    bool negative;
    if (!scaled_fixed(value, precision, scaled, negative)) return nullptr;
    if (negative) *out++ = '-';
    // A division by a constant once the precision is known: a multiplication.
    const std::uint64_t scale = kPowersOfTen[precision];
    const std::uint64_t integer_part = scaled / scale;
    if (integer_part <= UINT32_MAX) [[likely]]
        out = unsigned_digits(out, static_cast<std::uint32_t>(integer_part));
    else
        out = std::to_chars(out, out + 20, integer_part).ptr;
    if (precision > 0) {
        *out++ = '.';
        auto fraction = static_cast<std::uint32_t>(scaled - integer_part * scale); // below 10^9
        int i = precision;
        for (; i >= 2; i -= 2) {
            std::memcpy(out + i - 2, kDigitPairs + 2 * (fraction % 100u), 2);
            fraction /= 100u;
        }
        if (i == 1) out[0] = static_cast<char>('0' + fraction);
        out += precision;
    }
    return out;
}

[[gnu::always_inline]] inline char *decimal_digits(char *out, int value) {
    auto magnitude = static_cast<std::uint32_t>(value);
    if (value < 0) {
        *out++ = '-';
        magnitude = 0u - magnitude;
    }
    return unsigned_digits(out, magnitude);
}

[[gnu::always_inline]] inline char *hex_digits(char *out, unsigned value, bool upper) {
    const char *digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    const int count = value == 0 ? 1 : (35 - std::countl_zero(value)) / 4;
    for (int i = count - 1; i >= 0; --i) {
        out[i] = digits[value & 0xFu];
        value >>= 4;
    }
    return out + count;
}

// A number written by digits(char *out) -> end (or nullptr), padded to the piece's width
// (at most kMaxWidth): written in place when the padding follows it, otherwise into a scratch
// buffer and moved behind the padding. Zero padding goes after a leading sign.
template <typename Digits>
[[gnu::always_inline]] inline char *put_number(char *at, const FormatPiece &piece, Digits digits) {
    const std::size_t width = piece.width;
    if (piece.left || width <= 1) {
        char *const end = digits(at);
        if (!end) return nullptr;
        const auto length = static_cast<std::size_t>(end - at);
        if (length >= width) return end;
        std::memset(end, ' ', kMaxWidth);
        return at + width;
    }
    char scratch[kMaxDigits + 1] = {};
    char *const end = digits(scratch);
    if (!end) return nullptr;
    const auto length = static_cast<std::size_t>(end - scratch);
    const std::size_t fill = width > length ? width - length : 0;
    if (piece.zero) {
        const std::size_t sign = scratch[0] == '-' ? 1 : 0;
        at[0] = '-'; // the zeros cover it when there is no sign
        std::memset(at + sign, '0', kMaxWidth);
        std::memcpy(at + sign + fill, scratch + sign, kMaxDigits);
    } else {
        std::memset(at, ' ', kMaxWidth);
        std::memcpy(at + fill, scratch, kMaxDigits);
    }
    return at + fill + length;
}

[[gnu::always_inline]] inline char *put_fixed(char *at, const FormatPiece &piece, double value) {
    return put_number(
        at, piece, [&](char *out) __attribute__((always_inline)) {
            return fixed_digits(out, value, piece.precision);
        });
}

[[gnu::always_inline]] inline char *put_decimal(char *at, const FormatPiece &piece, int value) {
    return put_number(
        at, piece, [&](char *out) __attribute__((always_inline)) {
            return decimal_digits(out, value);
        });
}

[[gnu::always_inline]] inline char *put_hex(char *at, const FormatPiece &piece, unsigned value) {
    return put_number(
        at, piece, [&](char *out) __attribute__((always_inline)) {
            return hex_digits(out, value, piece.kind == 'X');
        });
}

// Text (and "%c") is padded with spaces whatever the flags say, as the C library pads it.
inline char *put_text(char *at, const FormatPiece &piece, const char *text, std::size_t length) {
    const std::size_t width = piece.width;
    const std::size_t fill = width > length ? width - length : 0;
    if (!piece.left) {
        std::memset(at, ' ', fill);
        at += fill;
    }
    std::memcpy(at, text, length);
    at += length;
    if (piece.left) {
        std::memset(at, ' ', fill);
        at += fill;
    }
    return at;
}

} // namespace conversion
} // namespace dumpdec
