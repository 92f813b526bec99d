#include "line_format.h"

#include "portable.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace dumpdec {

namespace {

// Gathers the formatted text in a buffer on the stack and hands it to the target in one
// piece: growing a string conversion by conversion costs more than the formatting itself.
class Sink {
  public:
    explicit Sink(TextTarget out) : out_(out) {}
    Sink(const Sink &) = delete;
    Sink &operator=(const Sink &) = delete;

    void append(const char *text, std::size_t length) {
        if (char *at = room(length)) {
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
    // Space for count more bytes in the buffer, flushing it first if need be; nullptr when
    // count does not fit even an empty buffer.
    char *room(std::size_t count) {
        if (count > kSize - used_) {
            flush();
            if (count > kSize) return nullptr;
        }
        return buffer_ + used_;
    }
    // The bytes written at room() up to end are taken.
    void took(const char *end) { used_ = static_cast<std::size_t>(end - buffer_); }
    void flush() {
        if (used_ > 0) out_.write(out_.target, buffer_, used_);
        used_ = 0;
    }

  private:
    static constexpr std::size_t kSize = 512;

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
void pad(Sink &out, const FormatPiece &conversion, const char *text, std::size_t length) {
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

// The conversions the compiled formats write, into the gathering buffer.
char *put_common(char *at, const FormatPiece &piece, const FormatArg &arg) {
    switch (piece.kind) {
    case 'd':
        return conversion::put_decimal(at, piece, static_cast<int>(arg.integer));
    case 'x':
    case 'X':
        return conversion::put_hex(at, piece, static_cast<unsigned>(arg.integer));
    case 'f':
        return conversion::put_fixed(at, piece, arg.real);
    default:
        return nullptr;
    }
}

// Whatever put_common() leaves: wide padding, characters, texts, and numbers in fixed notation
// too large for 64-bit arithmetic or not finite, which std::to_chars writes with the C
// library's digits. Infinity and NaN are padded with spaces, never zeros.
void put_general(Sink &out, const FormatPiece &piece, const FormatArg &arg) {
    char text[24];
    switch (piece.kind) {
    case 'd': {
        const auto end = std::to_chars(text, text + sizeof text, static_cast<int>(arg.integer)).ptr;
        pad(out, piece, text, static_cast<std::size_t>(end - text));
        break;
    }
    case 'x':
    case 'X': {
        const auto end =
            conversion::hex_digits(text, static_cast<unsigned>(arg.integer), piece.kind == 'X');
        pad(out, piece, text, static_cast<std::size_t>(end - text));
        break;
    }
    case 'c':
        text[0] = static_cast<char>(arg.integer);
        pad(out, piece, text, 1);
        break;
    case 's':
        pad(out, piece, arg.text, std::strlen(arg.text));
        break;
    case 'f': {
        char wide[400]; // the largest double has 309 integer digits
        const auto end =
            ravelin::portable::fixed_chars(wide, wide + sizeof wide, arg.real, piece.precision);
        FormatPiece conversion = piece;
        if (arg.real != arg.real || arg.real == __builtin_inf() || arg.real == -__builtin_inf())
            conversion.zero = false;
        pad(out, conversion, wide, static_cast<std::size_t>(end - wide));
        break;
    }
    default:
        break;
    }
}

void put_conversion(Sink &out, const FormatPiece &piece, const FormatArg &arg) {
    if (piece.width <= conversion::kMaxWidth) {
        char *const at = out.room(conversion::kConversionRoom);
        if (char *const end = put_common(at, piece, arg)) return out.took(end);
    }
    put_general(out, piece, arg);
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

void append_to_string(void *target, const char *bytes, std::size_t size) {
    static_cast<std::string *>(target)->append(bytes, size);
}

void append_parsed(std::string &out, const ParsedFormat &format, const FormatArg *args) {
    write_parsed({&out, append_to_string}, format, args);
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
