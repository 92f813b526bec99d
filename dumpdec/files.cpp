#include "files.h"

#include <sys/stat.h>

#include <cerrno>

namespace dumpdec {

namespace {
// Large stdio buffers: the listing gets dozens of short lines per record.
constexpr std::size_t kStreamBuffer = 1 << 16;
} // namespace

bool InputFile::open(const std::string &path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return false;
    // A folder or a device is no database (and deleting "it" afterwards must never happen).
    struct stat status {};
    if (fstat(fileno(file_), &status) != 0 || !S_ISREG(status.st_mode)) {
        close();
        errno = EINVAL;
        return false;
    }
    std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer);
    length_ = 0;
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        if (end > 0) length_ = static_cast<std::uint64_t>(end);
    }
    std::rewind(file_);
    return true;
}

void InputFile::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool OutputFile::create(const std::string &path) {
    close();
    file_ = std::fopen(path.c_str(), "w+b");
    if (!file_) return false;
    std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer);
    written_ = 0;
    failed_ = false;
    return true;
}

bool OutputFile::close() {
    if (!file_) return !failed_;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

} // namespace dumpdec
