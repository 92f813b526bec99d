// Reads the little-endian records of a converted database one at a time into a bounded buffer.
// Bytes beyond a record's length read as 0; bytes of a record that the file ends inside of read
// as 0xFF, like every read past the end of the file. The pseudo-section writer and the survey
// model each read with one, of their own record buffer size.
#pragma once

#include "record_bytes.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace records {

class RecordReader {
  public:
    static constexpr std::size_t header_size = 4;

    RecordReader(std::FILE *input, std::size_t capacity) : input_(input), buffer_(capacity) {}

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

    // The fields of the current record, as far as they lie in the buffer.
    RecordBytes fields() const {
        return {buffer_.data(), length_ < buffer_.size() ? length_ : buffer_.size(),
                ByteOrder::Little};
    }

  private:
    std::FILE *input_;
    std::uint16_t id_ = 0;
    std::uint16_t length_ = 0;
    std::vector<std::uint8_t> buffer_;
    // The end of the bytes that may not be 0: only those need clearing for the next record, not
    // the whole buffer (the survey model's holds 25,000 bytes, its records a few hundred).
    std::size_t written_end_ = 0;
    bool body_complete_ = false;
};

} // namespace records
