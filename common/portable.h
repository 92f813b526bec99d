// What differs between the systems the plain libraries and the console tools run on (Linux,
// Windows, WebAssembly), kept in this one place: the rest of the code calls these and never asks
// which system it is on. Every function gives the same bytes everywhere; only speed may differ.
#pragma once

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
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
