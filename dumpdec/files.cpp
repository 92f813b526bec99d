#include "files.h"

#include <sys/stat.h>

#include <cerrno>
#include <new>

namespace dumpdec {

namespace {
// A large stdio buffer for the input, read a record at a time. The C library takes the size only
// together with a buffer of our own; given none it uses a single page, and every page becomes a
// system call. (Outputs gather their bytes in blocks of their own, files.h.)
constexpr std::size_t kStreamBuffer = 1 << 17;

void use_large_buffer(std::FILE *file, std::unique_ptr<char[]> &buffer) {
    if (!buffer) buffer.reset(new (std::nothrow) char[kStreamBuffer]);
    if (buffer) std::setvbuf(file, buffer.get(), _IOFBF, kStreamBuffer);
}
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
    use_large_buffer(file_, buffer_);
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
    if (!buffer_) buffer_.reset(new (std::nothrow) char[kBlock]);
    capacity_ = buffer_ ? kBlock : 0;
    used_ = 0;
    written_ = 0;
    failed_ = false;
    return true;
}

void OutputFile::flush() {
    if (used_ > 0 && fwrite_unlocked(buffer_.get(), 1, used_, file_) != used_) failed_ = true;
    used_ = 0;
}

void OutputFile::write_through(const char *bytes, std::size_t size) {
    flush();
    if (buffer_ && size < kBlock) {
        std::memcpy(buffer_.get(), bytes, size);
        used_ = size;
    } else if (fwrite_unlocked(bytes, 1, size, file_) != size) {
        failed_ = true;
    }
}

bool OutputFile::close() {
    if (!file_) return !failed_;
    flush();
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    capacity_ = 0;
    return !failed_;
}

} // namespace dumpdec
