// Where a dump announces its length: the first 64-byte packet the instrument sends on its read
// pipe starts with the count of data-memory bytes that follow, a 32-bit little-endian signed
// integer at offsets 0-3. The rest of that packet is not part of the memory image.
#ifndef RAVELIN_USBBULK_DUMP_LENGTH_H
#define RAVELIN_USBBULK_DUMP_LENGTH_H

#include <cstdint>

namespace usbbulk {

inline constexpr int kDumpLengthOffset = 0;
inline constexpr int kDumpLengthSize = 4;

inline int32_t decodeDumpLength(const uint8_t *firstPacket) {
    const uint8_t *p = firstPacket + kDumpLengthOffset;
    const uint32_t value =
        uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return static_cast<int32_t>(value);
}

inline void encodeDumpLength(int32_t length, uint8_t *firstPacket) {
    const auto value = static_cast<uint32_t>(length);
    uint8_t *p = firstPacket + kDumpLengthOffset;
    for (int i = 0; i < kDumpLengthSize; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace usbbulk

#endif
