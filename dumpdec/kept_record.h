// A decoded copy of a header record, numeric fields in host order, read by later records.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace dumpdec {

template <std::size_t N> struct KeptRecord {
    std::array<std::uint8_t, N> bytes{};

    std::uint8_t u8(std::size_t offset) const { return offset < N ? bytes[offset] : 0; }
    std::uint16_t u16(std::size_t offset) const {
        return static_cast<std::uint16_t>(le(offset, 2));
    }
    std::uint32_t u32(std::size_t offset) const {
        return static_cast<std::uint32_t>(le(offset, 4));
    }
    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
    float f32(std::size_t offset) const;
    double f64(std::size_t offset) const;
    // NUL-terminated text of a fixed-width field; a full field without NUL is taken whole.
    std::string text(std::size_t offset, std::size_t width) const;

  private:
    std::uint64_t le(std::size_t offset, std::size_t width) const {
        std::uint64_t value = 0;
        for (std::size_t i = width; i-- > 0;)
            value = value << 8 | u8(offset + i);
        return value;
    }
};

} // namespace dumpdec
