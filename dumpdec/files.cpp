#include "files.h"

#include <sys/stat.h>

#include <algorithm>
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

bool OutputFile::create(const std::string &path, BlockWriter *writer) {
    close();
    file_ = std::fopen(path.c_str(), "w+b");
    if (!file_) return false;
    const std::size_t wanted = writer ? 2 : 1;
    if (block_count_ != wanted) {
        blocks_.reset(new (std::nothrow) char[wanted * kBlock]);
        block_count_ = blocks_ ? wanted : 0;
    }
    writer_ = block_count_ == 2 ? writer : nullptr;
    block_ = blocks_.get();
    capacity_ = blocks_ ? kBlock : 0;
    used_ = 0;
    written_ = 0;
    failed_ = false;
    return true;
}

void OutputFile::flush() {
    if (used_ == 0) return;
    if (writer_) {
        const std::size_t filled = block_ == blocks_.get() ? 0 : 1;
        block_tickets_[filled] = writer_->write(file_, block_, used_, failed_);
        // The other block is free once its last write is done.
        writer_->wait(block_tickets_[1 - filled]);
        block_ = blocks_.get() + (1 - filled) * kBlock;
    } else if (ravelin::portable::write_bytes(block_, used_, file_) != used_) {
        failed_ = true;
    }
    used_ = 0;
}

void OutputFile::drain() {
    if (!writer_) return;
    writer_->wait(std::max(block_tickets_[0], block_tickets_[1]));
}

void OutputFile::write_through(const char *bytes, std::size_t size) {
    flush();
    if (size <= capacity_) {
        std::memcpy(block_, bytes, size);
        used_ = size;
        return;
    }
    drain();
    if (ravelin::portable::write_bytes(bytes, size, file_) != size) failed_ = true;
}

bool OutputFile::close() {
    if (!file_) return !failed_;
    flush();
    drain();
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    capacity_ = 0;
    block_tickets_[0] = block_tickets_[1] = 0;
    return !failed_;
}

} // namespace dumpdec
