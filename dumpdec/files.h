// Buffered byte files for the decoder: an input that reads 0xFF past its end, and outputs that
// count what was written and remember a write error instead of losing it silently.
#pragma once

#include "block_writer.h"
#include "portable.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace dumpdec {

class InputFile {
  public:
    InputFile() = default;
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;
    ~InputFile() { close(); }

    bool open(const std::string &path);
    void close();
    bool is_open() const { return file_ != nullptr; }
    std::uint64_t length() const { return length_; }

    // One byte; 0xFF at the end of the file. A file belongs to one conversion and so to one
    // thread: the unlocked calls skip a lock per byte.
    std::uint8_t byte() {
        const int c = ravelin::portable::get_byte(file_);
        return c == EOF ? 0xFF : static_cast<std::uint8_t>(c);
    }
    // Reads up to size bytes and returns how many were there.
    std::size_t read(std::uint8_t *into, std::size_t size) {
        return ravelin::portable::read_bytes(into, size, file_);
    }

  private:
    std::FILE *file_ = nullptr;
    std::unique_ptr<char[]> buffer_; // outlives file_: close() comes first
    std::uint64_t length_ = 0;
};

class OutputFile {
  public:
    OutputFile() = default;
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;
    ~OutputFile() { close(); }

    // Creates or truncates the file ("w+b"). With a writer, full blocks are written on its
    // thread while the next block fills.
    bool create(const std::string &path, BlockWriter *writer = nullptr);
    // Closes the file; false when a buffered write or the close itself failed.
    bool close();
    bool is_open() const { return file_ != nullptr; }

    // Gathers the bytes in a large block of its own: the listing gets dozens of short lines per
    // record, and a copy costs far less than a call into the C library for each.
    void write(const char *bytes, std::size_t size) {
        if (!file_) return;
        written_ += size;
        if (size <= capacity_ - used_) {
            std::memcpy(block_ + used_, bytes, size);
            used_ += size;
        } else {
            write_through(bytes, size);
        }
    }
    void write(const std::uint8_t *bytes, std::size_t size) {
        write(reinterpret_cast<const char *>(bytes), size);
    }
    // Room for up to size bytes at the end of the block, written in place and then taken with
    // commit(); nullptr when the file is not open or size is more than a block holds.
    char *reserve(std::size_t size) {
        if (size > capacity_ - used_) [[unlikely]] {
            if (size > capacity_) return nullptr;
            flush();
        }
        return block_ + used_;
    }
    // Takes the bytes written since reserve() up to end.
    void commit(const char *end) {
        const auto size = static_cast<std::size_t>(end - (block_ + used_));
        used_ += size;
        written_ += size;
    }

    std::uint64_t bytes_written() const { return written_; }
    bool failed() const { return failed_; }

  private:
    static constexpr std::size_t kBlock = 1 << 17;
    // Writes what was gathered, then the bytes (directly when they would not fit a block).
    void write_through(const char *bytes, std::size_t size);
    // Writes the block, or hands it to the writer and goes on in the other block.
    void flush();
    // Returns once every block handed to the writer is written.
    void drain();

    std::FILE *file_ = nullptr;
    BlockWriter *writer_ = nullptr;
    // One block, or two with a writer: one fills while the other is written.
    std::unique_ptr<char[]> blocks_;
    std::size_t block_count_ = 0;
    char *block_ = nullptr;               // the block filling
    std::uint64_t block_tickets_[2] = {}; // each block's last write handed to the writer
    std::size_t capacity_ = 0;            // kBlock while the file is open with a block, else 0
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;
    std::atomic<bool> failed_ = false;
};

} // namespace dumpdec
