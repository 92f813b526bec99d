#include "text_out.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace exports {

void start_writeback(int fd, std::size_t offset, std::size_t size) {
    // Only a head start: whether it worked, the sync before the files take their names says.
    ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(size),
                      SYNC_FILE_RANGE_WRITE);
}

bool TextOut::flush() {
    if (fd_ < 0) return true;
    std::string_view rest = error_ ? std::string_view() : std::string_view(text_);
    while (!rest.empty()) {
        const ssize_t written = ::write(fd_, rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            break;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (error_ == 0) start_writeback(fd_, written_, text_.size());
    written_ += text_.size();
    text_.clear();
    return error_ == 0;
}

} // namespace exports
