// Text of a large file written a chunk at a time: writers append to text() and call row_end()
// after each row, which hands the text to the file once it holds a chunk. The memory held stays
// that of one chunk however large the file, and the chunk stays in the processor's cache on its
// way to the file. Without a file, text() keeps the whole text.
#pragma once

#include <cstddef>
#include <string>

namespace exports {

// Has the disk start writing size bytes of fd from offset while the caller goes on: the sync
// that must come before a file takes its name then finds most of the work done.
void start_writeback(int fd, std::size_t offset, std::size_t size);

class TextOut {
  public:
    static constexpr std::size_t kChunk = 256 * 1024;

    TextOut() = default; // keeps the whole text
    explicit TextOut(int fd) : fd_(fd) { text_.reserve(kChunk + kChunk / 4); }

    std::string &text() { return text_; }

    // About total bytes are coming: held at once when kept whole.
    void expect(std::size_t total) {
        if (fd_ < 0) text_.reserve(total);
    }

    void row_end() {
        if (fd_ >= 0 && text_.size() >= kChunk) flush();
    }

    // Hands what is held to the file; false once a write has failed. After a failure the text
    // is dropped as it comes.
    bool flush();
    int error() const { return error_; } // errno of the failed write, else 0

  private:
    std::string text_;
    int fd_ = -1;
    std::size_t written_ = 0;
    int error_ = 0;
};

} // namespace exports
