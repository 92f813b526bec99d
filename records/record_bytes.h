// A record's bytes read in the byte order of the database that holds them: the raw database is
// big-endian, the converted one little-endian. A field reads only bytes inside the record; those
// it lacks beyond the record's end read as 0. The record readers (ip_records.h, ...) take this or
// any reader with the same functions, such as the decoder's, which converts each field it reads.
#pragma once

#include "portable.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace records {

enum class ByteOrder { Big, Little };

class RecordBytes {
  public:
    RecordBytes(const std::uint8_t *data, std::size_t size, ByteOrder order)
        : data_(data), size_(size), order_(order) {}

    std::uint8_t u8(std::size_t offset) const { return offset < size_ ? data_[offset] : 0; }
    std::uint16_t u16(std::size_t offset) const {
        return static_cast<std::uint16_t>(field<std::uint16_t>(offset));
    }
    std::int16_t i16(std::size_t offset) const { return static_cast<std::int16_t>(u16(offset)); }
    std::uint32_t u32(std::size_t offset) const {
        return static_cast<std::uint32_t>(field<std::uint32_t>(offset));
    }
    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
    float f32(std::size_t offset) const { return ravelin::portable::bit_cast<float>(u32(offset)); }
    double f64(std::size_t offset) const {
        return ravelin::portable::bit_cast<double>(field<std::uint64_t>(offset));
    }
    // Text of a fixed-width field, cut at its NUL, at its width and at the end of the record.
    std::string text(std::size_t offset, std::size_t width) const {
        if (offset >= size_) return {};
        const char *start = reinterpret_cast<const char *>(data_ + offset);
        const std::size_t limit = width < size_ - offset ? width : size_ - offset;
        const void *nul = std::memchr(start, 0, limit);
        return {start,
                nul ? static_cast<std::size_t>(static_cast<const char *>(nul) - start) : limit};
    }

  private:
    static std::uint16_t byte_reversed(std::uint16_t v) { return __builtin_bswap16(v); }
    static std::uint32_t byte_reversed(std::uint32_t v) { return __builtin_bswap32(v); }
    static std::uint64_t byte_reversed(std::uint64_t v) { return __builtin_bswap64(v); }
    template <typename Unsigned> std::uint64_t field(std::size_t offset) const {
        constexpr std::size_t width = sizeof(Unsigned);
        const bool big = order_ == ByteOrder::Big;
        if (offset + width <= size_) [[likely]] {
            Unsigned value;
            std::memcpy(&value, data_ + offset, width);
            if (big != (std::endian::native == std::endian::big)) value = byte_reversed(value);
            return value;
        }
        // Cut by the record's end: the missing bytes are zeros.
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::uint64_t byte = offset + i < size_ ? data_[offset + i] : 0;
            value |= byte << (8 * (big ? width - 1 - i : i));
        }
        return value;
    }

    const std::uint8_t *data_;
    std::size_t size_;
    ByteOrder order_;
};

// A record's date: the year in binary, day and month as the instrument's BCD bytes (0x12 is the
// 12th), kept as stored so text printed with "%X" shows them as the instrument meant.
struct Date {
    std::uint16_t year = 0;
    std::uint8_t month_bcd = 0;
    std::uint8_t day_bcd = 0;

    int month() const { return (month_bcd >> 4) * 10 + (month_bcd & 0x0F); }
    int day() const { return (day_bcd >> 4) * 10 + (day_bcd & 0x0F); }

    bool operator==(const Date &) const = default;
};

// The day byte, the month byte and the 16-bit year from offset on.
template <typename Fields> Date read_date(Fields &&record, std::size_t offset) {
    return Date{record.u16(offset + 2), record.u8(offset + 1), record.u8(offset)};
}

} // namespace records
