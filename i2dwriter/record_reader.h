// Reads the little-endian records of a converted database one at a time into a bounded buffer.
// Bytes beyond a record's length read as 0; bytes of a record that the file ends inside of read
// as 0xFF, like every read past the end of the file. Shared by the pseudo-section writer and the
// survey model, each with its own record buffer size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace i2dwriter {

class RecordReader {
  public:
    static constexpr std::size_t default_capacity = 500; // the pseudo-section writer's buffer
    static constexpr std::size_t header_size = 4;

    explicit RecordReader(std::FILE *input, std::size_t capacity = default_capacity)
        : input_(input), buffer_(capacity) {}

    // Reads Record ID and Record length, little-endian.
    void read_header();
    std::uint16_t id() const { return id_; }
    std::uint16_t length() const { return length_; }

    // Whether the current record's length fits its buffer (at least the header, at most the
    // buffer's capacity).
    bool length_fits() const { return length_ >= header_size && length_ <= buffer_.size(); }

    // Reads the body of a record whose length fits; the buffer beyond the record is cleared.
    void read_body();
    // Whether the last body read found all its bytes before the end of the file.
    bool body_complete() const { return body_complete_; }

    std::uint8_t u8(std::size_t offset) const;
    std::uint16_t u16(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const;
    float f32(std::size_t offset) const;
    const std::uint8_t *bytes() const { return buffer_.data(); }

  private:
    // The bytes of the current record that lie in the buffer.
    std::size_t readable() const;

    std::FILE *input_;
    std::uint16_t id_ = 0;
    std::uint16_t length_ = 0;
    std::vector<std::uint8_t> buffer_;
    // The end of the bytes that may not be 0: only those need clearing for the next record, not
    // the whole buffer (the survey model's holds 25,000 bytes, its records a few hundred).
    std::size_t written_end_ = 0;
    bool body_complete_ = false;
};

// Little-endian field access on a plain byte block; offsets outside the block read as 0.
std::uint16_t load_u16(const std::uint8_t *block, std::size_t size, std::size_t offset);
std::uint32_t load_u32(const std::uint8_t *block, std::size_t size, std::size_t offset);
float load_f32(const std::uint8_t *block, std::size_t size, std::size_t offset);

// A NUL-terminated text field of a fixed width; a field without NUL ends at its width.
std::string_view load_text(const std::uint8_t *block, std::size_t size, std::size_t offset,
                           std::size_t width);

} // namespace i2dwriter
