// The record in hand and the access to its fields.
//
// The buffer holds the header little-endian in bytes 0..3 and the body as read from offset 4.
// Handlers convert the fields they know in place with the convert_* helpers, which never touch
// a byte beyond `length`: a field that lies beyond the record reads as 0.
#pragma once

#include "portable.h"
#include "record_bytes.h"
#include "record_layout.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace dumpdec {

inline constexpr std::size_t kRecordBufferSize = 25000;
using ravelin::kNoLink;

struct Record {
    std::uint16_t id = 0;
    std::uint16_t length = 0;
    std::array<std::uint8_t, kRecordBufferSize> buffer{};

    // Stores id and length little-endian in buffer[0..3].
    void store_header() {
        buffer[0] = static_cast<std::uint8_t>(id);
        buffer[1] = static_cast<std::uint8_t>(id >> 8);
        buffer[2] = static_cast<std::uint8_t>(length);
        buffer[3] = static_cast<std::uint8_t>(length >> 8);
    }

    // ---- Field access (offsets from the first byte of the Record ID) --------------------
    // Reverse a big-endian field in place and return its value. Bytes beyond the record read
    // as 0; a field that does not lie whole inside the record is left as it is.
    std::uint16_t swap16(std::size_t offset) { return static_cast<std::uint16_t>(swap<2>(offset)); }
    std::uint32_t swap32(std::size_t offset) { return static_cast<std::uint32_t>(swap<4>(offset)); }
    std::uint64_t swap64(std::size_t offset) { return swap<8>(offset); }
    std::uint16_t convert_u16(std::size_t offset) { return swap16(offset); }
    std::int16_t convert_i16(std::size_t offset) {
        return static_cast<std::int16_t>(swap16(offset));
    }
    std::uint32_t convert_u32(std::size_t offset) { return swap32(offset); }
    std::int32_t convert_i32(std::size_t offset) {
        return static_cast<std::int32_t>(swap32(offset));
    }
    float convert_f32(std::size_t offset) {
        return ravelin::portable::bit_cast<float>(swap32(offset));
    }
    double convert_f64(std::size_t offset) {
        return ravelin::portable::bit_cast<double>(swap64(offset));
    }
    // Single byte inside the record, else 0.
    std::uint8_t byte(std::size_t offset) const { return offset < length ? buffer[offset] : 0; }
    // The field reads of the record readers (header_records.h, ...): each converts in place.
    std::uint8_t u8(std::size_t offset) const { return byte(offset); }
    std::uint16_t u16(std::size_t offset) { return convert_u16(offset); }
    std::int16_t i16(std::size_t offset) { return convert_i16(offset); }
    std::uint32_t u32(std::size_t offset) { return convert_u32(offset); }
    std::int32_t i32(std::size_t offset) { return convert_i32(offset); }
    float f32(std::size_t offset) { return convert_f32(offset); }
    double f64(std::size_t offset) { return convert_f64(offset); }
    // Text of a fixed-width field, cut at its NUL, at its width and at the end of the record.
    std::string text(std::size_t offset, std::size_t width) const;
    // The fields as converted so far, as the converted database holds them: a field cut by the
    // record's end stays as the instrument wrote it.
    records::RecordBytes converted_fields() const {
        return {buffer.data(), length < kRecordBufferSize ? length : kRecordBufferSize,
                records::ByteOrder::Little};
    }
    // Host-order (already converted) 32-bit field, and its replacement; both stay inside the
    // record.
    std::uint32_t stored_u32(std::size_t offset) const;
    void store_u32(std::size_t offset, std::uint32_t value);

  private:
    static std::uint16_t byte_reversed(std::uint16_t v) { return __builtin_bswap16(v); }
    static std::uint32_t byte_reversed(std::uint32_t v) { return __builtin_bswap32(v); }
    static std::uint64_t byte_reversed(std::uint64_t v) { return __builtin_bswap64(v); }
    // Every field read takes this path: a whole field inline, a cut one out of line.
    template <std::size_t Width> std::uint64_t swap(std::size_t offset) {
        if (offset + Width <= length && offset + Width <= kRecordBufferSize) [[likely]] {
            std::uint8_t *field = buffer.data() + offset;
            if constexpr (std::endian::native == std::endian::little) {
                using Field = std::conditional_t<
                    Width == 2, std::uint16_t,
                    std::conditional_t<Width == 4, std::uint32_t, std::uint64_t>>;
                Field stored;
                std::memcpy(&stored, field, Width);
                const Field value = byte_reversed(stored);
                std::memcpy(field, &value, Width);
                return value;
            }
            std::uint64_t value = 0;
            for (std::size_t i = 0; i < Width; ++i)
                value = value << 8 | field[i];
            for (std::size_t i = 0; i < Width; ++i)
                field[i] = static_cast<std::uint8_t>(value >> (8 * i));
            return value;
        }
        return swap_cut(offset, Width);
    }
    std::uint64_t swap_cut(std::size_t offset, std::size_t width);
};

// Milliseconds since midnight split into hours, minutes and seconds by truncating division.
struct TimeOfDay {
    int hours, minutes, seconds;
};
TimeOfDay split_time(std::int32_t milliseconds);

} // namespace dumpdec
