// printf-compatible formatting of every line the decoder writes, without the C library.
//
// A format is parsed once, when the program is compiled: append_format(out, "X:\t%-8.3f\n", x)
// takes its format as a LineFormat, whose constructor splits it into literal text and
// conversions and checks each conversion against the type of its argument. At run time only
// the pieces are copied and the values formatted, byte for byte as snprintf formats them:
// "%d", "%x", "%X", "%c", "%s" and "%f" with any flags ('-', '0'), width and precision.
//
// append_vformat takes a format known only at run time (the comparison tests build theirs);
// a conversion outside that subset hands the whole format to vsnprintf.
#pragma once

#include <array>
#include <concepts>
#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace dumpdec {

// One conversion: the literal text before it, then the conversion itself (kind 0: none, the
// piece is literal text only, as after "%%").
struct FormatPiece {
    std::uint16_t literal_begin = 0;
    std::uint16_t literal_length = 0;
    char kind = 0; // 'd', 'x', 'X', 'c', 's', 'f' or 0
    bool left = false;
    bool zero = false;
    std::int8_t precision = -1;
    std::uint16_t width = 0;
};

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
// Not constexpr: reaching it in a LineFormat's constructor stops the compilation there.
void format_does_not_match_its_arguments();

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

// The argument type a LineFormat names: any text as const char *, other values as they are.
template <typename T> struct FormatType { using type = std::decay_t<T>; };
template <std::size_t N> struct FormatType<char[N]> { using type = const char *; };
template <> struct FormatType<char *> { using type = const char *; };
template <typename T> using format_type_t = typename FormatType<T>::type;

// A format string parsed when the program is compiled, checked against its argument types.
template <typename... Args> struct LineFormat {
    ParsedFormat parsed;
    template <std::size_t N> consteval LineFormat(const char (&text)[N]) {
        if (!parse_format(text, parsed)) format_check::format_does_not_match_its_arguments();
        if (parsed.conversions != sizeof...(Args))
            format_check::format_does_not_match_its_arguments();
        constexpr char categories[] = {format_check::category<Args>()..., 0};
        std::size_t argument = 0;
        for (std::size_t i = 0; i < parsed.count; ++i) {
            if (parsed.pieces[i].kind == 0) continue;
            if (!format_check::fits(parsed.pieces[i].kind, categories[argument++]))
                format_check::format_does_not_match_its_arguments();
        }
    }
};

// Where write_parsed puts its text: write(target, ...) receives it a block at a time.
struct TextTarget {
    void *target;
    void (*write)(void *target, const char *bytes, std::size_t size);
};

// Writes the formatted pieces to out; args holds one value per conversion.
void write_parsed(TextTarget out, const ParsedFormat &format, const FormatArg *args);
// write_parsed() appending to a string.
void append_parsed(std::string &out, const ParsedFormat &format, const FormatArg *args);

// The argument list of a call, one FormatArg per value, for write_parsed().
template <typename... Args> struct FormatArgs {
    FormatArg values[sizeof...(Args) > 0 ? sizeof...(Args) : 1];
    explicit FormatArgs(const Args &...args) : values{FormatArg(args)...} {}
};

template <typename... Args>
void append_arguments(std::string &out, const ParsedFormat &format, const Args &...args) {
    if constexpr (sizeof...(Args) == 0) {
        append_parsed(out, format, nullptr);
    } else {
        const FormatArg values[] = {FormatArg(args)...};
        append_parsed(out, format, values);
    }
}

template <typename... Args>
void append_format(std::string &out, const LineFormat<format_type_t<Args>...> &format,
                   const Args &...args) {
    append_arguments(out, format.parsed, args...);
}

template <typename... Args>
std::string format_text(const LineFormat<format_type_t<Args>...> &format, const Args &...args) {
    std::string text;
    append_arguments(text, format.parsed, args...);
    return text;
}

void append_vformat(std::string &out, const char *format, std::va_list args);

} // namespace dumpdec
