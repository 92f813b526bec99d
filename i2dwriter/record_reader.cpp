#include "record_reader.h"

#include "portable.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace i2dwriter {

namespace {

// The reader is the file's only user: no lock for each byte.
std::uint8_t read_byte(std::FILE *input) {
    const int c = ravelin::portable::get_byte(input);
    return c == EOF ? 0xFF : static_cast<std::uint8_t>(c);
}

// Fields are little-endian: on a little-endian processor one whole within the block is read at
// once; otherwise, and one cut off by the block's end, byte by byte.
template <typename Unsigned>
bool load_whole(const std::uint8_t *block, std::size_t size, std::size_t offset, Unsigned &value) {
    if (std::endian::native != std::endian::little || offset + sizeof value > size) return false;
    std::memcpy(&value, block + offset, sizeof value);
    return true;
}

} // namespace

std::uint16_t load_u16(const std::uint8_t *block, std::size_t size, std::size_t offset) {
    std::uint16_t value = 0;
    if (load_whole(block, size, offset, value)) return value;
    for (std::size_t i = 0; i < 2; ++i)
        if (offset + i < size) value |= static_cast<std::uint16_t>(block[offset + i] << (8 * i));
    return value;
}

std::uint32_t load_u32(const std::uint8_t *block, std::size_t size, std::size_t offset) {
    std::uint32_t value = 0;
    if (load_whole(block, size, offset, value)) return value;
    for (std::size_t i = 0; i < 4; ++i)
        if (offset + i < size) value |= static_cast<std::uint32_t>(block[offset + i]) << (8 * i);
    return value;
}

float load_f32(const std::uint8_t *block, std::size_t size, std::size_t offset) {
    return ravelin::portable::bit_cast<float>(load_u32(block, size, offset));
}

std::string_view load_text(const std::uint8_t *block, std::size_t size, std::size_t offset,
                           std::size_t width) {
    if (offset >= size) return {};
    const char *start = reinterpret_cast<const char *>(block + offset);
    const std::size_t limit = std::min(width, size - offset);
    const void *nul = std::memchr(start, 0, limit);
    return {start, nul ? static_cast<std::size_t>(static_cast<const char *>(nul) - start) : limit};
}

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

std::size_t RecordReader::readable() const {
    return std::min<std::size_t>(length_, buffer_.size());
}

std::uint8_t RecordReader::u8(std::size_t offset) const {
    return offset < readable() ? buffer_[offset] : 0;
}
std::uint16_t RecordReader::u16(std::size_t offset) const {
    return load_u16(buffer_.data(), readable(), offset);
}
std::uint32_t RecordReader::u32(std::size_t offset) const {
    return load_u32(buffer_.data(), readable(), offset);
}
float RecordReader::f32(std::size_t offset) const {
    return load_f32(buffer_.data(), readable(), offset);
}

} // namespace i2dwriter
