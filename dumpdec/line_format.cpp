#include "line_format.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace dumpdec {

namespace {

// memcpy() for the few bytes of literal text between conversions, without the call: two
// fixed-size copies that overlap in the middle.
inline void copy_short(char *to, const char *from, std::size_t length) {
    if (length >= 16) {
        std::memcpy(to, from, 16);
        std::memcpy(to + length - 16, from + length - 16, 16);
    } else if (length >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + length - 8, from + length - 8, 8);
    } else if (length >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + length - 4, from + length - 4, 4);
    } else if (length > 0) {
        to[0] = from[0];
        to[length / 2] = from[length / 2];
        to[length - 1] = from[length - 1];
    }
}

// Gathers the formatted text in a buffer on the stack and hands it to the target in one
// piece: growing a string conversion by conversion costs more than the formatting itself.
class Sink {
  public:
    explicit Sink(TextTarget out) : out_(out) {}
    Sink(const Sink &) = delete;
    Sink &operator=(const Sink &) = delete;

    void append(const char *text, std::size_t length) {
        if (char *at = room(length)) {
            if (length <= 32)
                copy_short(at, text, length);
            else
                std::memcpy(at, text, length);
            used_ += length;
        } else {
            out_.write(out_.target, text, length);
        }
    }
    void fill(char c, std::size_t count) {
        if (char *at = room(count)) {
            std::memset(at, c, count);
            used_ += count;
        } else {
            fill_in_blocks(c, count);
        }
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
    void flush() {
        if (used_ > 0) out_.write(out_.target, buffer_, used_);
        used_ = 0;
    }

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
    // A fill wider than the buffer, one buffer at a time (room() has flushed it).
    void fill_in_blocks(char c, std::size_t count) {
        while (count > 0) {
            const std::size_t part = count < kSize ? count : kSize;
            std::memset(buffer_, c, part);
            used_ = part;
            flush();
            count -= part;
        }
    }

    TextTarget out_;
    std::size_t used_ = 0;
    char buffer_[kSize];
};

// Appends text padded to the conversion's width; zero padding goes after a leading sign.
inline void pad(Sink &out, const FormatPiece &conversion, const char *text, std::size_t length) {
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
inline void pad_number(Sink &out, const FormatPiece &conversion,
                       const char (&scratch)[Sink::kScratch], std::size_t length) {
    if (!conversion.zero && static_cast<std::size_t>(conversion.width) <= Sink::kMaxShortWidth &&
        length <= Sink::kScratch - Sink::kMaxShortWidth)
        out.short_padded(scratch, length, static_cast<std::size_t>(conversion.width),
                         conversion.left);
    else
        pad(out, conversion, scratch, length);
}

constexpr std::uint64_t kPowersOfTen[] = {1,
                                          10,
                                          100,
                                          1000,
                                          10000,
                                          100000,
                                          1000000,
                                          10000000,
                                          100000000,
                                          1000000000,
                                          10000000000,
                                          100000000000,
                                          1000000000000,
                                          10000000000000,
                                          100000000000000,
                                          1000000000000000,
                                          10000000000000000,
                                          100000000000000000};

// n / 10^precision with a constant divisor for the precisions lines use, so the compiler
// multiplies instead of dividing.
inline std::uint64_t whole_part(std::uint64_t n, int precision) {
    switch (precision) {
    case 0:
        return n;
    case 1:
        return n / 10;
    case 2:
        return n / 100;
    case 3:
        return n / 1000;
    case 4:
        return n / 10000;
    case 5:
        return n / 100000;
    case 6:
        return n / 1000000;
    case 7:
        return n / 10000000;
    default:
        return n / kPowersOfTen[precision];
    }
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

// Fixed notation, rounded from the exact binary value with ties to even, as the C library
// does: |value| × 10^precision in 128-bit integer arithmetic. False for what it leaves to
// std::to_chars (not finite, or too large for 64 bits once scaled).
bool fast_fixed(double value, int precision, char *text, std::size_t &length) {
    if (precision > 9) return false;
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
    const std::uint64_t scale = kPowersOfTen[precision];
    std::uint64_t scaled = 0; // |value| × scale, rounded
    const int zeros = mantissa != 0 ? std::countr_zero(mantissa) : 0;
    const int short_shift = -(exponent + zeros);
    if ((mantissa >> zeros) < (std::uint64_t{1} << 24) && short_shift > 0 && short_shift < 64) {
        scaled = scale_short(mantissa >> zeros, short_shift, scale);
    } else if (mantissa != 0) {
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
    char *p = text;
    if (negative) *p++ = '-';
    const std::uint64_t integer_part = whole_part(scaled, precision);
    if (integer_part <= UINT32_MAX)
        p = std::to_chars(p, text + 40, static_cast<std::uint32_t>(integer_part)).ptr;
    else
        p = std::to_chars(p, text + 40, integer_part).ptr;
    if (precision > 0) {
        *p++ = '.';
        // Below 10^9: 32-bit arithmetic.
        auto fraction = static_cast<std::uint32_t>(scaled - integer_part * scale);
        if (precision == 3) { // most values printed: no loop
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

// One "%f" conversion: the integer path for nearly every value, std::to_chars (which gives the
// C library's digits) for the rest. Infinity and NaN are padded with spaces, never zeros.
void put_fixed(Sink &out, const FormatPiece &piece, double value) {
    char text[Sink::kScratch];
    std::size_t length = 0;
    if (fast_fixed(value, piece.precision, text, length)) {
        pad_number(out, piece, text, length);
        return;
    }
    char wide[400]; // the largest double has 309 integer digits
    const auto end =
        std::to_chars(wide, wide + sizeof wide, value, std::chars_format::fixed, piece.precision)
            .ptr;
    FormatPiece conversion = piece;
    if (value != value || value == __builtin_inf() || value == -__builtin_inf())
        conversion.zero = false;
    pad(out, conversion, wide, static_cast<std::size_t>(end - wide));
}

void put_conversion(Sink &out, const FormatPiece &piece, const FormatArg &arg) {
    const FormatPiece &conversion = piece;
    char text[Sink::kScratch];
    switch (piece.kind) {
    case 'd': {
        const auto end = std::to_chars(text, text + sizeof text, static_cast<int>(arg.integer)).ptr;
        pad_number(out, conversion, text, static_cast<std::size_t>(end - text));
        break;
    }
    case 'x':
    case 'X': {
        const auto end =
            std::to_chars(text, text + sizeof text, static_cast<unsigned>(arg.integer), 16).ptr;
        if (piece.kind == 'X')
            for (char *c = text; c != end; ++c)
                if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
        pad_number(out, conversion, text, static_cast<std::size_t>(end - text));
        break;
    }
    case 'c':
        text[0] = static_cast<char>(arg.integer);
        pad(out, conversion, text, 1);
        break;
    case 's':
        pad(out, conversion, arg.text, std::strlen(arg.text));
        break;
    case 'f':
        put_fixed(out, conversion, arg.real);
        break;
    default:
        break;
    }
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

void write_parsed(TextTarget out, const ParsedFormat &format, const FormatArg *args) {
    Sink sink(out);
    const char *text = format.text;
    for (std::size_t i = 0; i < format.count; ++i) {
        const FormatPiece &piece = format.pieces[i];
        sink.append(text + piece.literal_begin, piece.literal_length);
        if (piece.kind != 0) put_conversion(sink, piece, *args++);
    }
    sink.append(text + format.tail_begin, format.tail_length);
    sink.flush();
}

void append_parsed(std::string &out, const ParsedFormat &format, const FormatArg *args) {
    const auto append = [](void *target, const char *bytes, std::size_t size) {
        static_cast<std::string *>(target)->append(bytes, size);
    };
    write_parsed({&out, append}, format, args);
}

void append_vformat(std::string &out, const char *format, std::va_list args) {
    ParsedFormat parsed;
    if (!parse_format(format, parsed)) return library_format(out, format, args);
    FormatArg values[ParsedFormat::kMaxPieces] = {0};
    std::size_t n = 0;
    for (std::size_t i = 0; i < parsed.count; ++i) {
        switch (parsed.pieces[i].kind) {
        case 'd':
        case 'c':
            values[n++] = FormatArg(va_arg(args, int));
            break;
        case 'x':
        case 'X':
            values[n++] = FormatArg(va_arg(args, unsigned));
            break;
        case 'f':
            values[n++] = FormatArg(va_arg(args, double));
            break;
        case 's':
            values[n++] = FormatArg(va_arg(args, const char *));
            break;
        default:
            break;
        }
    }
    append_parsed(out, parsed, values);
}

} // namespace dumpdec
