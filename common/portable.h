// What differs between the systems the plain libraries and the console tools run on (Linux,
// Windows, WebAssembly), kept in this one place: the rest of the code calls these and never asks
// which system it is on. Every function gives the same bytes everywhere; only speed may differ.
#pragma once

#include <bit>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include <fcntl.h>
#if defined(_WIN32)
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

// Marks a function that takes a printf format and its arguments, checked as the printf family
// the build uses: on Windows MinGW-w64's own C99 one, not the system's (cmake/toolchains).
#if defined(__MINGW32__)
#define RAVELIN_PRINTF_FORMAT(string, first) __attribute__((format(gnu_printf, string, first)))
#else
#define RAVELIN_PRINTF_FORMAT(string, first) __attribute__((format(printf, string, first)))
#endif

namespace ravelin::portable {

// --- A stdio stream that one thread alone uses: where the C library has calls without the lock
// taken per call, they are used (a conversion reads its database a byte at a time).

inline int get_byte(std::FILE *file) {
#if defined(__GLIBC__)
    return getc_unlocked(file);
#else
    return std::getc(file);
#endif
}

inline std::size_t read_bytes(void *into, std::size_t size, std::FILE *file) {
#if defined(__GLIBC__)
    return fread_unlocked(into, 1, size, file);
#else
    return std::fread(into, 1, size, file);
#endif
}

inline std::size_t write_bytes(const void *bytes, std::size_t size, std::FILE *file) {
#if defined(__GLIBC__)
    return fwrite_unlocked(bytes, 1, size, file);
#else
    return std::fwrite(bytes, 1, size, file);
#endif
}

// --- Paths. The characters after which a file's own name starts: Windows also takes "\" and
// the ":" of a drive letter ("C:name").
#if defined(_WIN32)
inline constexpr std::string_view kFolderSeparators = "/\\:";
#else
inline constexpr std::string_view kFolderSeparators = "/";
#endif

// The folder part of a path, "." when it names none.
inline std::string folder_of(const std::string &path) {
    const std::size_t end = path.find_last_of(kFolderSeparators);
    if (end == std::string::npos) return ".";
    if (end == 0) return path.substr(0, 1);
#if defined(_WIN32)
    if (path[end] == ':' || (end == 2 && path[1] == ':')) return path.substr(0, end + 1);
#endif
    return path.substr(0, end);
}

// --- The bits of a value as another type of the same size.
template <typename To, typename From> To bit_cast(const From &from) {
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<From> &&
                  std::is_trivially_copyable_v<To>);
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<To>(from);
#else
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
#endif
}

// --- Floating-point numbers as text and back, as std::to_chars and std::from_chars write and
// read them. A C++ library without them for floating point (WebAssembly's) gets the same text
// from the C library's printf and strtod, which round exactly as well.
// value in fixed notation with precision decimals.
inline char *fixed_chars(char *first, char *last, double value, int precision) {
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value, std::chars_format::fixed, precision).ptr;
#else
    const int n =
        std::snprintf(first, static_cast<std::size_t>(last - first), "%.*f", precision, value);
    return n < 0 || n >= last - first ? last : first + n;
#endif
}

// value in fixed notation with the fewest digits that read back as value: a whole number as its
// exact digits (all candidates are as long; the nearest wins).
inline char *shortest_fixed_chars(char *first, char *last, float value) {
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value, std::chars_format::fixed).ptr;
#else
    if (!std::isfinite(value)) return fixed_chars(first, last, value, 0);
    char scientific[32];
    int digits = 1;
    for (; digits < 9; ++digits) {
        std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1,
                      static_cast<double>(value));
        if (std::strtof(scientific, nullptr) == value) break;
    }
    std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, static_cast<double>(value));
    const char *e = std::strchr(scientific, 'e');
    const int exponent = std::atoi(e + 1);
    if (exponent >= digits - 1) return fixed_chars(first, last, value, 0);
    std::string text = value < 0 ? "-" : "";
    std::string mantissa;
    for (const char *c = scientific; c < e; ++c)
        if (std::isdigit(static_cast<unsigned char>(*c))) mantissa += *c;
    if (exponent < 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += mantissa;
    } else {
        text += mantissa.substr(0, static_cast<std::size_t>(exponent) + 1);
        text += '.';
        text += mantissa.substr(static_cast<std::size_t>(exponent) + 1);
    }
    if (static_cast<std::ptrdiff_t>(text.size()) > last - first) return last;
    std::memcpy(first, text.data(), text.size());
    return first + text.size();
#endif
}

// The whole text as a number (no blanks, no "+", no hexadecimal, as std::from_chars reads it).
inline std::optional<double> parse_double(std::string_view text) {
    double value = 0;
#if defined(__cpp_lib_to_chars)
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
#else
    const std::string whole(text);
    if (whole.empty() || whole.find_first_of(" \t\n\v\f\r+xX") != std::string::npos)
        return std::nullopt;
    char *end = nullptr;
    value = std::strtod(whole.c_str(), &end);
    if (end != whole.c_str() + whole.size()) return std::nullopt;
#endif
    return value;
}

// --- Files written through a descriptor. Binary everywhere: Windows would otherwise write
// "\r\n" for each "\n".

inline int create_for_writing(const char *path) {
#if defined(_WIN32)
    return ::_open(path, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                   _S_IREAD | _S_IWRITE);
#else
    return ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
#endif
}

// Writes up to size bytes and returns how many, or -1 with errno set.
inline long write_some(int fd, const char *bytes, std::size_t size) {
#if defined(_WIN32)
    constexpr std::size_t kMost = 1u << 30; // the call takes an unsigned int
    return ::_write(fd, bytes, static_cast<unsigned>(size < kMost ? size : kMost));
#else
    return static_cast<long>(::write(fd, bytes, size));
#endif
}

inline int close_file(int fd) {
#if defined(_WIN32)
    return ::_close(fd);
#else
    return ::close(fd);
#endif
}

// Asks the system to start putting these bytes on the disk now, where it can be asked.
inline void start_writeback([[maybe_unused]] int fd, [[maybe_unused]] std::uint64_t offset,
                            [[maybe_unused]] std::uint64_t size) {
#if defined(__linux__)
    ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(size),
                      SYNC_FILE_RANGE_WRITE);
#endif
}

// Flushes the folder's entries to the disk, and first, with whole_file_system, everything
// written to the file system that holds it; false when that failed. Windows and WebAssembly have
// no call for a folder: true there.
inline bool sync_folder([[maybe_unused]] const std::string &folder,
                        [[maybe_unused]] bool whole_file_system) {
#if defined(__linux__)
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = (!whole_file_system || ::syncfs(fd) == 0) && ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    return true;
#endif
}

// Gives the file at from the name to, replacing a file of that name; false with errno set.
// (portable.cpp: Windows's call for it comes with a header that defines names of ours as macros.)
bool replace_file(const std::string &from, const std::string &to);

inline long process_id() {
#if defined(_WIN32)
    return static_cast<long>(::_getpid());
#else
    return static_cast<long>(::getpid());
#endif
}

} // namespace ravelin::portable
