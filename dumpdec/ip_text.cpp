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

// Gathers the formatted text in a buffer on the stack and appends it to the string in one
// piece: growing the string conversion by conversion costs more than the formatting itself.
class Sink {
  public:
    explicit Sink(std::string &out) : out_(out) {}
    Sink(const Sink &) = delete;
    Sink &operator=(const Sink &) = delete;

    void append(const char *text, std::size_t length) {
        if (char *at = room(length)) {
            std::memcpy(at, text, length);
            used_ += length;
        } else {
            out_.append(text, length);
        }
    }
    void fill(char c, std::size_t count) {
        if (char *at = room(count)) {
            std::memset(at, c, count);
            used_ += count;
        } else {
            out_.append(count, c);
        }
    }
    // Copies the format's text up to the next conversion or its end; returns where it stopped.
    const char *literal(const char *p) {
        const char *end = ::strchrnul(p, '%');
        append(p, static_cast<std::size_t>(end - p));
        return end;
    }
    // A number of at most kScratch - kMaxShortWidth bytes, from a kScratch-byte scratch buffer,
    // padded with spaces to a width of at most kMaxShortWidth. Fixed-size copies of the whole
    // scratch and of a run of spaces are single vector moves, unlike calls sized at run time.
    static constexpr std::size_t kScratch = 48;
    static constexpr std::size_t kMaxShortWidth = 16;
    void short_padded(const char (&scratch)[kScratch], std::size_t length, std::size_t width,
                      bool left) {
        char *at = room(kScratch + kMaxShortWidth);
        const std::size_t fill = width > length ? width - length : 0;
        if (left) {
            std::memcpy(at, scratch, kScratch);
            std::memset(at + length, ' ', kMaxShortWidth);
        } else {
            std::memset(at, ' ', kMaxShortWidth);
            std::memcpy(at + fill, scratch, kScratch);
        }
        used_ += length + fill;
    }
    void put(char c) {
        if (used_ == kSize) flush();
        buffer_[used_++] = c;
    }
    void flush() {
        out_.append(buffer_, used_);
        used_ = 0;
    }
    // Forgets what was gathered and not yet flushed.
    void discard() { used_ = 0; }

  private:
    static constexpr std::size_t kSize = 512;

    // Space for count more bytes in the buffer, flushing it first if need be; nullptr when
    // count does not fit even an empty buffer.
    char *room(std::size_t count) {
        if (count > kSize - used_) {
            flush();
            if (count > kSize) return nullptr;
        }
        return buffer_ + used_;
    }

    std::string &out_;
    std::size_t used_ = 0;
    char buffer_[kSize];
};

// Appends text padded to the conversion's width; zero padding goes after a leading sign.
inline void pad(Sink &out, const Conversion &conversion, const char *text, std::size_t length) {
    const std::size_t width = static_cast<std::size_t>(conversion.width);
    const std::size_t fill = width > length ? width - length : 0;
    if (conversion.left) {
        out.append(text, length);
        out.fill(' ', fill);
    } else if (conversion.zero && conversion.kind != 's' && conversion.kind != 'c') {
        const std::size_t sign = length > 0 && (text[0] == '-') ? 1 : 0;
        out.append(text, sign);
        out.fill('0', fill);
        out.append(text + sign, length - sign);
    } else {
        out.fill(' ', fill);
        out.append(text, length);
    }
}

// pad() for a number formatted into the scratch buffer.
inline void pad_number(Sink &out, const Conversion &conversion,
                       const char (&scratch)[Sink::kScratch], std::size_t length) {
    if (!conversion.zero && static_cast<std::size_t>(conversion.width) <= Sink::kMaxShortWidth &&
        length <= Sink::kScratch - Sink::kMaxShortWidth)
        out.short_padded(scratch, length, static_cast<std::size_t>(conversion.width),
                         conversion.left);
    else
        pad(out, conversion, scratch, length);
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
    if (integer_part <= UINT32_MAX)
        p = std::to_chars(p, text + 40, static_cast<std::uint32_t>(integer_part)).ptr;
    else
        p = std::to_chars(p, text + 40, integer_part).ptr;
    if (precision > 0) {
        *p++ = '.';
        // Below 1000: 32-bit arithmetic with constant divisors.
        auto fraction = static_cast<std::uint32_t>(scaled - integer_part * scale);
        if (precision == 3) { // nearly every value printed: no loop
            p[0] = static_cast<char>('0' + fraction / 100u);
            p[1] = static_cast<char>('0' + fraction / 10u % 10u);
            p[2] = static_cast<char>('0' + fraction % 10u);
        } else {
            for (int i = precision - 1; i >= 0; --i) {
                p[i] = static_cast<char>('0' + fraction % 10u);
                fraction /= 10u;
            }
        }
        p += precision;
    }
    length = static_cast<std::size_t>(p - text);
    return true;
}

// One "%f" conversion through the C library, for the values the fast path leaves.
void library_fixed(Sink &out, const Conversion &conversion, double value) {
    char format[24];
    std::snprintf(format, sizeof format, "%%%s%s%d.%df", conversion.left ? "-" : "",
                  conversion.zero ? "0" : "", conversion.width,
                  conversion.precision < 0 ? 6 : conversion.precision);
    const int length = std::snprintf(nullptr, 0, format, value);
    if (length <= 0) return;
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, value);
    out.append(text.data(), static_cast<std::size_t>(length));
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

// Formats the whole line into the sink; false, with the arguments partly used, at the first
// conversion outside the fast subset.
bool fast_format(Sink &out, const char *format, std::va_list args) {
    char text[Sink::kScratch] = {};
    const char *p = format;
    for (;;) {
        p = out.literal(p);
        if (!*p) return true;
        ++p;
        Conversion conversion;
        if (!parse_conversion(p, conversion)) return false;
        switch (conversion.kind) {
        case '%':
            out.put('%');
            break;
        case 'd': {
            const int value = va_arg(args, int);
            const auto end = std::to_chars(text, text + sizeof text, value).ptr;
            pad_number(out, conversion, text, static_cast<std::size_t>(end - text));
            break;
        }
        case 'x':
        case 'X': {
            const unsigned value = va_arg(args, unsigned);
            const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
            if (conversion.kind == 'X')
                for (char *c = text; c != end; ++c)
                    if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
            pad_number(out, conversion, text, static_cast<std::size_t>(end - text));
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
                pad_number(out, conversion, text, length);
            else
                library_fixed(out, conversion, value);
            break;
        }
        }
    }
}

} // namespace

void append_vformat(std::string &out, const char *format, std::va_list args) {
    // A conversion outside the fast subset hands the whole format to the library, from the
    // start: what was appended so far is taken back.
    std::va_list from_start;
    va_copy(from_start, args);
    const std::size_t start = out.size();
    Sink sink(out);
    if (fast_format(sink, format, args)) {
        sink.flush();
    } else {
        sink.discard();
        out.resize(start);
        library_format(out, format, from_start);
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
