#include "record_file.h"

#include "portable.h"

#include <algorithm>

namespace records {

namespace {

// The reader is the file's only user: no lock for each byte.
std::uint8_t read_byte(std::FILE *input) {
    const int c = ravelin::portable::get_byte(input);
    return c == EOF ? 0xFF : static_cast<std::uint8_t>(c);
}

} // namespace

void RecordReader::read_header() {
    const std::uint8_t b0 = read_byte(input_);
    const std::uint8_t b1 = read_byte(input_);
    const std::uint8_t b2 = read_byte(input_);
    const std::uint8_t b3 = read_byte(input_);
    id_ = static_cast<std::uint16_t>(b0 | (b1 << 8));
    length_ = static_cast<std::uint16_t>(b2 | (b3 << 8));
    buffer_[0] = b0;
    buffer_[1] = b1;
    buffer_[2] = b2;
    buffer_[3] = b3;
    written_end_ = std::max(written_end_, header_size);
}

void RecordReader::read_body() {
    const std::size_t body = length_ - header_size;
    const std::size_t got = std::fread(buffer_.data() + header_size, 1, body, input_);
    body_complete_ = got == body;
    std::fill(buffer_.begin() + static_cast<std::ptrdiff_t>(header_size + got),
              buffer_.begin() + length_, std::uint8_t{0xFF});
    if (written_end_ > length_)
        std::fill(buffer_.begin() + length_,
                  buffer_.begin() + static_cast<std::ptrdiff_t>(written_end_), std::uint8_t{0});
    written_end_ = length_;
}

} // namespace records
