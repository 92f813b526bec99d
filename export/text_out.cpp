#include "text_out.h"

#include <cerrno>
#include <unistd.h>

namespace exports {

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
    text_.clear();
    return error_ == 0;
}

} // namespace exports
