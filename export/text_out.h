// Text of a large file written a chunk at a time: writers put their text at room() and hand the
// buffer on whenever it is full, so the memory held stays one chunk however large the file, and
// the chunk stays in the processor's cache on its way to the file. Given a writer thread, a full
// chunk is written there while the next is filled. Without a file the buffer grows to hold the
// whole text.
#pragma once

#include "ordered_jobs.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace exports {

// Writes all of text to fd, again where a signal cut a write short; 0, or the errno of the
// write that failed.
int write_all(int fd, std::string_view text);

class TextOut {
  public:
    static constexpr std::size_t kChunk = 256 * 1024;

    TextOut() = default; // keeps the whole text
    explicit TextOut(int fd, ravelin::OrderedJobs *writer = nullptr);
    TextOut(const TextOut &) = delete;
    TextOut &operator=(const TextOut &) = delete;
    ~TextOut(); // waits for the chunk the writer holds

    // Room for n more characters: write them there, then say where they end with wrote().
    char *room(std::size_t n) {
        if (static_cast<std::size_t>(limit_ - end_) < n) make_room(n);
        return end_;
    }
    void wrote(char *end) { end_ = end; }

    void append(std::string_view text) {
        if (text.empty()) return; // may have no buffer behind it, and memcpy takes no null
        if (static_cast<std::size_t>(limit_ - end_) < text.size()) return append_in_parts(text);
        std::memcpy(end_, text.data(), text.size());
        end_ += text.size();
    }
    void put(char c) {
        *room(1) = c;
        ++end_;
    }

    // Drops the text held, to make another; for a text kept whole.
    void clear() { end_ = buffer_.get(); }

    // About total characters are coming: held at once when kept whole.
    void expect(std::size_t total) {
        if (fd_ < 0) reserve(total);
    }

    // The text held: all of it without a file.
    std::string_view text() const {
        return {buffer_.get(), static_cast<std::size_t>(end_ - buffer_.get())};
    }

    // Puts what is held in the file, and waits for the writer; false once a write has failed.
    // After a failure the text is dropped as it comes.
    bool flush();
    int error() const { return error_; } // errno of the failed write, else 0

  private:
    void make_room(std::size_t n);
    void append_in_parts(std::string_view text);
    void reserve(std::size_t size);
    // Writes what is held, or hands it to the writer and goes on in the other chunk.
    void hand_over();
    void write_out(std::string_view text, std::uint64_t offset);

    std::unique_ptr<char[]> buffer_;
    char *end_ = nullptr;
    char *limit_ = nullptr;
    int fd_ = -1;
    std::atomic<int> error_ = 0;

    ravelin::OrderedJobs *writer_ = nullptr;
    std::unique_ptr<char[]> spare_; // the chunk the writer has, or had
    std::uint64_t spare_ticket_ = 0;
    std::uint64_t handed_ = 0; // bytes handed to the file so far
};

} // namespace exports
