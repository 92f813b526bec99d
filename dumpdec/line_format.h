// printf-compatible formatting of every line the decoder writes, without the C library.
//
// A format is compiled into code: print(file, "X:\t%-8.3f\n"_fmt, x) names its format as a
// type, whose text is split into literal text and conversions when the program is compiled and
// checked against the argument types there. Each line then becomes straight-line code that writes
// its pieces into the output block after a single check for room, byte for byte as snprintf
// writes them: "%d", "%x", "%X", "%c", "%s" and "%f" with any flags ('-', '0'), width and
// precision. A value outside the common cases (a huge or not finite number, a long text) sends
// the whole line through the general formatter, write_parsed(), which gives the same bytes.
//
// append_vformat takes a format known only at run time (the comparison tests build theirs);
// a conversion outside that subset hands the whole format to vsnprintf.
#pragma once

#include "conversions.h"

#include <array>
#include <concepts>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

namespace dumpdec {

struct ParsedFormat {
    static constexpr std::size_t kMaxPieces = 16;
    const char *text = nullptr;
    std::uint16_t count = 0;       // pieces in use
    std::uint16_t conversions = 0; // of them with a conversion
    std::uint16_t tail_begin = 0;  // literal text after the last piece
    std::uint16_t tail_length = 0;
    std::array<FormatPiece, kMaxPieces> pieces{};
};

// Splits a format into pieces; false for anything outside the subset (or too many pieces).
constexpr bool parse_format(const char *text, ParsedFormat &parsed) {
    parsed = ParsedFormat{};
    parsed.text = text;
    std::size_t at = 0, literal = 0;
    for (;;) {
        while (text[at] != 0 && text[at] != '%')
            ++at;
        if (text[at] == 0) break;
        if (parsed.count == ParsedFormat::kMaxPieces || at > 0xFFFF) return false;
        FormatPiece piece;
        piece.literal_begin = static_cast<std::uint16_t>(literal);
        piece.literal_length = static_cast<std::uint16_t>(at - literal);
        ++at;
        if (text[at] == '%') { // "%%": the first '%' ends the literal text, the second is skipped
            ++piece.literal_length;
            ++at;
            literal = at;
            parsed.pieces[parsed.count++] = piece;
            continue;
        }
        for (;; ++at) {
            if (text[at] == '-')
                piece.left = true;
            else if (text[at] == '0')
                piece.zero = true;
            else
                break;
        }
        int width = 0;
        while (text[at] >= '0' && text[at] <= '9')
            width = width * 10 + (text[at++] - '0');
        if (width > 0xFFFF) return false;
        piece.width = static_cast<std::uint16_t>(width);
        if (text[at] == '.') {
            ++at;
            int precision = 0;
            while (text[at] >= '0' && text[at] <= '9')
                precision = precision * 10 + (text[at++] - '0');
            if (precision > 17) return false;
            piece.precision = static_cast<std::int8_t>(precision);
        }
        piece.kind = text[at];
        switch (piece.kind) {
        case 'd':
        case 'x':
        case 'X':
        case 'c':
        case 's':
            if (piece.precision >= 0) return false;
            break;
        case 'f':
            if (piece.precision < 0) piece.precision = 6;
            break;
        default:
            return false;
        }
        ++at;
        literal = at;
        parsed.pieces[parsed.count++] = piece;
        ++parsed.conversions;
    }
    if (at > 0xFFFF) return false;
    parsed.tail_begin = static_cast<std::uint16_t>(literal);
    parsed.tail_length = static_cast<std::uint16_t>(at - literal);
    return true;
}

// One argument, as the C library would read it from a variadic call.
struct FormatArg {
    union {
        long long integer;
        double real;
        const char *text;
    };
    constexpr FormatArg() : integer(0) {}
    template <std::integral T> constexpr FormatArg(T value) : integer(value) {}
    template <std::floating_point T> constexpr FormatArg(T value) : real(value) {}
    constexpr FormatArg(const char *value) : text(value) {}
    FormatArg(const std::string &value) : text(value.c_str()) {}
};

namespace format_check {
template <typename T> constexpr char category() {
    using U = std::remove_cvref_t<T>;
    if constexpr (std::is_integral_v<U>)
        return 'i';
    else if constexpr (std::is_floating_point_v<U>)
        return 'f';
    else if constexpr (std::is_convertible_v<U, const char *> || std::is_same_v<U, std::string>)
        return 's';
    else
        return '?';
}

template <typename T> constexpr std::size_t is_text() {
    return category<T>() == 's' ? 1 : 0;
}

constexpr bool fits(char kind, char argument) {
    switch (kind) {
    case 'd':
    case 'x':
    case 'X':
    case 'c':
        return argument == 'i';
    case 'f':
        return argument == 'f';
    case 's':
        return argument == 's';
    default:
        return false;
    }
}
} // namespace format_check

// Where write_parsed puts its text: write(target, ...) receives it a block at a time.
struct TextTarget {
    void *target;
    void (*write)(void *target, const char *bytes, std::size_t size);
};

// Writes the formatted pieces to out; args holds one value per conversion.
void write_parsed(TextTarget out, const ParsedFormat &format, const FormatArg *args);
// write_parsed() appending to a string.
void append_parsed(std::string &out, const ParsedFormat &format, const FormatArg *args);

// ---- Formats compiled into code ----------------------------------------------------------

// A format's text as a template argument.
template <std::size_t N> struct FormatString {
    char text[N]{};
    consteval FormatString(const char (&from)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            text[i] = from[i];
    }
};

// A format known when the program is compiled, named by "..."_fmt.
template <FormatString F> struct Format {
    static constexpr ParsedFormat parsed = [] {
        ParsedFormat p;
        if (!parse_format(F.text, p)) throw "not a format the line formatter takes";
        for (std::size_t i = 0; i < p.count; ++i)
            if (p.pieces[i].width > conversion::kMaxWidth) throw "a width over kMaxWidth";
        return p;
    }();

    // Which argument each piece formats.
    static constexpr std::array<std::size_t, ParsedFormat::kMaxPieces> argument = [] {
        std::array<std::size_t, ParsedFormat::kMaxPieces> at{};
        std::size_t next = 0;
        for (std::size_t i = 0; i < parsed.count; ++i)
            at[i] = parsed.pieces[i].kind != 0 ? next++ : 0;
        return at;
    }();

    // The most bytes a line takes, its texts ("%s") aside, with the room the last conversion
    // may write beyond it.
    static constexpr std::size_t room = [] {
        std::size_t bytes = parsed.tail_length + conversion::kConversionRoom;
        for (std::size_t i = 0; i < parsed.count; ++i) {
            const FormatPiece &piece = parsed.pieces[i];
            const std::size_t longest = conversion::longest(piece.kind);
            bytes += piece.literal_length + (piece.width > longest ? piece.width : longest);
        }
        return bytes;
    }();

    template <typename... Args> static constexpr bool accepts() {
        if (parsed.conversions != sizeof...(Args)) return false;
        constexpr char categories[] = {format_check::category<Args>()..., 0};
        for (std::size_t i = 0; i < parsed.count; ++i)
            if (parsed.pieces[i].kind != 0 &&
                !format_check::fits(parsed.pieces[i].kind, categories[argument[i]]))
                return false;
        return true;
    }
};

template <FormatString F> constexpr Format<F> operator""_fmt() {
    return {};
}

namespace format_detail {

inline std::size_t text_length(const char *text) {
    return std::strlen(text);
}
inline std::size_t text_length(const std::string &text) {
    return text.size();
}
template <typename T>
requires(!std::is_convertible_v<T, const char *>) std::size_t text_length(const T &) {
    return 0;
}

inline const char *text_of(const char *text) {
    return text;
}
inline const char *text_of(const std::string &text) {
    return text.c_str();
}

// One conversion of value.
template <FormatPiece piece, typename Value>
[[gnu::always_inline]] inline char *put_value(char *at, const Value &value) {
    if constexpr (piece.kind == 'f') {
        return conversion::put_fixed(at, piece, static_cast<double>(value));
    } else if constexpr (piece.kind == 'd') {
        return conversion::put_decimal(at, piece, static_cast<int>(value));
    } else if constexpr (piece.kind == 'x' || piece.kind == 'X') {
        return conversion::put_hex(at, piece, static_cast<unsigned>(value));
    } else if constexpr (piece.kind == 'c') {
        const char c = static_cast<char>(value);
        return conversion::put_text(at, piece, &c, 1);
    } else {
        return conversion::put_text(at, piece, text_of(value), text_length(value));
    }
}

// One piece: its literal text, then its conversion.
template <FormatString F, std::size_t I, typename Values>
[[gnu::always_inline]] inline char *put_piece(char *at, const Values &values) {
    static constexpr FormatPiece piece = Format<F>::parsed.pieces[I];
    std::memcpy(at, F.text + piece.literal_begin, piece.literal_length);
    at += piece.literal_length;
    if constexpr (piece.kind == 0) {
        return at;
    } else {
        return put_value<piece>(at, std::get<Format<F>::argument[I]>(values));
    }
}

template <FormatString F, std::size_t... I, typename... Args>
[[gnu::always_inline]] inline char *put_pieces(char *at, std::index_sequence<I...>,
                                               const Args &...args) {
    [[maybe_unused]] const std::tuple<const Args &...> values(args...);
    // Piece by piece, left to right, until one needs the general path.
    ((at = at ? put_piece<F, I>(at, values) : nullptr), ...);
    if (!at) return nullptr;
    constexpr ParsedFormat parsed = Format<F>::parsed;
    std::memcpy(at, F.text + parsed.tail_begin, parsed.tail_length);
    return at + parsed.tail_length;
}

} // namespace format_detail

// The bytes a line of format F with these arguments needs at most, for format_into().
template <FormatString F, typename... Args> std::size_t line_room(Format<F>, const Args &...args) {
    return Format<F>::room + (std::size_t{0} + ... + format_detail::text_length(args));
}

// Writes the line at `at`, which has line_room() bytes; returns its end, or nullptr when a value
// needs the general path (write_line()), having written nothing that counts.
template <FormatString F, typename... Args>
[[gnu::always_inline]] inline char *format_into(char *at, Format<F>, const Args &...args) {
    static_assert(Format<F>::template accepts<Args...>(),
                  "the format's conversions do not match the arguments");
    constexpr std::size_t count = Format<F>::parsed.count;
    return format_detail::put_pieces<F>(at, std::make_index_sequence<count>{}, args...);
}

// A TextTarget's write() for a std::string.
void append_to_string(void *target, const char *bytes, std::size_t size);

// The general path: the line through write_parsed().
template <FormatString F, typename... Args>
void write_line(TextTarget out, Format<F>, const Args &...args) {
    if constexpr (sizeof...(Args) == 0) {
        write_parsed(out, Format<F>::parsed, nullptr);
    } else {
        const FormatArg values[] = {FormatArg(args)...};
        write_parsed(out, Format<F>::parsed, values);
    }
}

template <FormatString F, typename... Args>
void append_format(std::string &out, Format<F> format, const Args &...args) {
    if constexpr ((std::size_t{0} + ... + format_check::is_text<Args>())) {
        const std::size_t size = out.size();
        out.resize(size + line_room(format, args...));
        if (char *end = format_into(out.data() + size, format, args...)) {
            out.resize(static_cast<std::size_t>(end - out.data()));
            return;
        }
        out.resize(size);
    } else { // a size known now: no string to grow and shrink
        char line[Format<F>::room];
        if (char *end = format_into(line, format, args...)) {
            out.append(line, static_cast<std::size_t>(end - line));
            return;
        }
    }
    write_line({&out, append_to_string}, format, args...);
}

template <FormatString F, typename... Args>
std::string format_text(Format<F> format, const Args &...args) {
    std::string text;
    append_format(text, format, args...);
    return text;
}
void append_vformat(std::string &out, const char *format, std::va_list args);

} // namespace dumpdec
