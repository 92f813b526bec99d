#include "text_out.h"

#include "portable.h"

#include <algorithm>
#include <cerrno>

namespace exports {

int write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const long written = ravelin::portable::write_some(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

TextOut::TextOut(int fd, ravelin::OrderedJobs *writer) : fd_(fd), writer_(writer) {
    reserve(kChunk);
    if (writer_) spare_.reset(new char[kChunk]);
}

TextOut::~TextOut() {
    if (writer_) writer_->wait(spare_ticket_);
}

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
    if (fd_ >= 0) hand_over();
    const std::size_t capacity = static_cast<std::size_t>(limit_ - buffer_.get());
    if (static_cast<std::size_t>(limit_ - end_) < n)
        reserve(std::max({text().size() + n, 2 * capacity, std::size_t{4096}}));
}

// A text longer than the room left: with a file it fills the chunk and goes on in the next, so
// the chunk keeps its size; without one the buffer grows.
void TextOut::append_in_parts(std::string_view text) {
    if (fd_ < 0) {
        std::memcpy(room(text.size()), text.data(), text.size());
        end_ += text.size();
        return;
    }
    while (!text.empty()) {
        if (end_ == limit_) hand_over();
        const std::size_t part = std::min(text.size(), static_cast<std::size_t>(limit_ - end_));
        std::memcpy(end_, text.data(), part);
        end_ += part;
        text.remove_prefix(part);
    }
}

void TextOut::write_out(std::string_view text, std::uint64_t offset) {
    if (text.empty() || error_ != 0) return;
    if (const int error = write_all(fd_, text); error != 0) {
        error_ = error;
        return;
    }
    // The disk starts on the chunk now rather than at the sync that ends the export.
    ravelin::portable::start_writeback(fd_, offset, text.size());
}

void TextOut::hand_over() {
    const std::string_view held = error_ ? std::string_view() : text();
    const std::uint64_t offset = handed_;
    handed_ += held.size();
    if (writer_) writer_->wait(spare_ticket_);
    if (!writer_ || limit_ - buffer_.get() != static_cast<std::ptrdiff_t>(kChunk)) {
        // No writer, or a text that outgrew the chunk: written here.
        write_out(held, offset);
        end_ = buffer_.get();
        return;
    }
    spare_ticket_ = writer_->run([this, held, offset] { write_out(held, offset); });
    std::swap(buffer_, spare_);
    end_ = buffer_.get();
    limit_ = buffer_.get() + kChunk;
}

bool TextOut::flush() {
    if (fd_ < 0) return true;
    hand_over();
    if (writer_) writer_->wait(spare_ticket_);
    return error_ == 0;
}

} // namespace exports
