#include "text_out.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace exports {

void TextOut::reserve(std::size_t size) {
    const std::size_t held = text().size();
    if (buffer_ && static_cast<std::size_t>(limit_ - buffer_.get()) >= size) return;
    std::unique_ptr<char[]> bigger(new char[size]);
    if (held) std::memcpy(bigger.get(), buffer_.get(), held);
    buffer_ = std::move(bigger);
    end_ = buffer_.get() + held;
    limit_ = buffer_.get() + size;
}

void TextOut::make_room(std::size_t n) {
    if (fd_ >= 0) flush();
    const std::size_t capacity = static_cast<std::size_t>(limit_ - buffer_.get());
    if (static_cast<std::size_t>(limit_ - end_) < n)
        reserve(std::max({text().size() + n, 2 * capacity, std::size_t{4096}}));
}

bool TextOut::flush() {
    if (fd_ < 0) return true;
    std::string_view rest = error_ ? std::string_view() : text();
    while (!rest.empty()) {
        const ssize_t written = ::write(fd_, rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            break;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    end_ = buffer_.get();
    return error_ == 0;
}

} // namespace exports
