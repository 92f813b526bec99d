#include "ip_text.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace dumpdec::ip {

namespace {

struct Conversion {
    bool left = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
    char kind = 0;
};

// Parses one conversion after its "%"; false for anything outside the fast subset.
bool parse_conversion(const char *&p, Conversion &conversion) {
    for (;; ++p) {
        if (*p == '-')
            conversion.left = true;
        else if (*p == '0')
            conversion.zero = true;
        else
            break;
    }
    while (*p >= '0' && *p <= '9')
        conversion.width = conversion.width * 10 + (*p++ - '0');
    if (*p == '.') {
        ++p;
        conversion.precision = 0;
        while (*p >= '0' && *p <= '9')
            conversion.precision = conversion.precision * 10 + (*p++ - '0');
    }
    conversion.kind = *p;
    if (conversion.kind == 0) return false;
    ++p;
    switch (conversion.kind) {
    case 'd':
    case 'x':
    case 'X':
    case 'c':
    case 's':
        return conversion.precision < 0;
    case 'f':
        return true;
    case '%':
        return conversion.width == 0 && !conversion.left && !conversion.zero &&
               conversion.precision < 0;
    default:
        return false;
    }
}

// Appends text padded to the conversion's width; zero padding goes after a leading sign.
void pad(std::string &out, const Conversion &conversion, const char *text, std::size_t length) {
    const std::size_t width = static_cast<std::size_t>(conversion.width);
    const std::size_t fill = width > length ? width - length : 0;
    if (conversion.left) {
        out.append(text, length);
        out.append(fill, ' ');
    } else if (conversion.zero && conversion.kind != 's' && conversion.kind != 'c') {
        const std::size_t sign = length > 0 && (text[0] == '-') ? 1 : 0;
        out.append(text, sign);
        out.append(fill, '0');
        out.append(text + sign, length - sign);
    } else {
        out.append(fill, ' ');
        out.append(text, length);
    }
}

// Fixed notation with 0 to 3 decimals, rounded from the exact binary value with ties to even,
// as the C library does. False for values it leaves to snprintf (not finite, or 2^52 and more).
bool fixed(double value, int precision, char *text, std::size_t &length) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = bits >> 63;
    const int exponent_field = static_cast<int>(bits >> 52 & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    if (exponent_field == 0x7FF) return false;
    int exponent = -1074;
    if (exponent_field != 0) {
        mantissa |= std::uint64_t{1} << 52;
        exponent = exponent_field - 1075;
    }
    static constexpr std::uint64_t kScales[] = {1, 10, 100, 1000};
    const std::uint64_t scale = kScales[precision];
    // Constant divisors let the compiler multiply instead of divide.
    const auto whole = [precision](std::uint64_t n) {
        switch (precision) {
        case 3:
            return n / 1000;
        case 2:
            return n / 100;
        case 1:
            return n / 10;
        default:
            return n;
        }
    };
    std::uint64_t scaled = 0; // |value| × scale, rounded
    if (mantissa != 0) {
        if (exponent > 0) return false;
        const int shift = -exponent;
        const std::uint64_t product = mantissa * scale; // below 2^63
        if (shift < 64) {
            scaled = product >> shift;
            const std::uint64_t rest = product - (scaled << shift);
            const std::uint64_t half = shift > 0 ? std::uint64_t{1} << (shift - 1) : 0;
            if (shift > 0 && (rest > half || (rest == half && (scaled & 1)))) ++scaled;
        }
    }
    char *p = text;
    if (negative) *p++ = '-';
    const std::uint64_t integer_part = whole(scaled);
    p = std::to_chars(p, text + 40, integer_part).ptr;
    if (precision > 0) {
        *p++ = '.';
        std::uint64_t fraction = scaled - integer_part * scale;
        for (int i = precision - 1; i >= 0; --i) {
            p[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        p += precision;
    }
    length = static_cast<std::size_t>(p - text);
    return true;
}

// One "%f" conversion through the C library, for the values the fast path leaves.
void library_fixed(std::string &out, const Conversion &conversion, double value) {
    char format[24];
    std::snprintf(format, sizeof format, "%%%s%s%d.%df", conversion.left ? "-" : "",
                  conversion.zero ? "0" : "", conversion.width,
                  conversion.precision < 0 ? 6 : conversion.precision);
    const int length = std::snprintf(nullptr, 0, format, value);
    if (length <= 0) return;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(length) + 1);
    std::snprintf(out.data() + at, static_cast<std::size_t>(length) + 1, format, value);
    out.resize(at + static_cast<std::size_t>(length));
}

void library_format(std::string &out, const char *format, std::va_list args) {
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    if (length > 0) {
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(length) + 1);
        std::vsnprintf(out.data() + at, static_cast<std::size_t>(length) + 1, format, again);
        out.resize(at + static_cast<std::size_t>(length));
    }
    va_end(again);
}

} // namespace

void append_vformat(std::string &out, const char *format, std::va_list args) {
    // A conversion outside the fast subset hands the whole format to the library, from the
    // start: what was appended so far is taken back.
    std::va_list from_start;
    va_copy(from_start, args);
    const std::size_t start = out.size();
    char text[48];
    const char *p = format;
    while (*p) {
        const char *literal = p;
        while (*p && *p != '%')
            ++p;
        out.append(literal, static_cast<std::size_t>(p - literal));
        if (!*p) break;
        ++p;
        Conversion conversion;
        if (!parse_conversion(p, conversion)) {
            out.resize(start);
            library_format(out, format, from_start);
            break;
        }
        switch (conversion.kind) {
        case '%':
            out += '%';
            break;
        case 'd': {
            const int value = va_arg(args, int);
            const auto end = std::to_chars(text, text + sizeof text, value).ptr;
            pad(out, conversion, text, static_cast<std::size_t>(end - text));
            break;
        }
        case 'x':
        case 'X': {
            const unsigned value = va_arg(args, unsigned);
            const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
            if (conversion.kind == 'X')
                for (char *c = text; c != end; ++c)
                    if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
            pad(out, conversion, text, static_cast<std::size_t>(end - text));
            break;
        }
        case 'c':
            text[0] = static_cast<char>(va_arg(args, int));
            pad(out, conversion, text, 1);
            break;
        case 's': {
            const char *value = va_arg(args, const char *);
            pad(out, conversion, value, std::strlen(value));
            break;
        }
        case 'f': {
            const double value = va_arg(args, double);
            std::size_t length = 0;
            const int precision = conversion.precision < 0 ? 6 : conversion.precision;
            if (precision <= 3 && !conversion.zero && fixed(value, precision, text, length))
                pad(out, conversion, text, length);
            else
                library_fixed(out, conversion, value);
            break;
        }
        }
    }
    va_end(from_start);
}

void append_format(std::string &out, const char *format, ...) {
    std::va_list args;
    va_start(args, format);
    append_vformat(out, format, args);
    va_end(args);
}

} // namespace dumpdec::ip
