#include "record.h"

#include <algorithm>

namespace dumpdec {

// A field that does not lie whole inside the record (Record::swap takes the others).
std::uint64_t Record::swap_cut(std::size_t offset, std::size_t width) {
    if (offset >= length || offset >= kRecordBufferSize) return 0;
    const std::size_t inside =
        std::min({width, std::size_t{length} - offset, kRecordBufferSize - offset});
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value = value << 8 | (i < inside ? buffer[offset + i] : 0);
    // A field cut by the end of the record has no little-endian form that fits: its bytes
    // stay as the instrument wrote them.
    if (inside == width)
        for (std::size_t i = 0; i < width; ++i)
            buffer[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return value;
}

std::string Record::text(std::size_t offset, std::size_t width) const {
    std::string value;
    for (std::size_t i = offset; i < offset + width; ++i) {
        const std::uint8_t c = byte(i);
        if (c == 0) break;
        value += static_cast<char>(c);
    }
    return value;
}

std::uint32_t Record::stored_u32(std::size_t offset) const {
    return static_cast<std::uint32_t>(byte(offset) | byte(offset + 1) << 8 |
                                      byte(offset + 2) << 16 |
                                      static_cast<std::uint32_t>(byte(offset + 3)) << 24);
}

void Record::store_u32(std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        if (offset + i < length && offset + i < kRecordBufferSize)
            buffer[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TimeOfDay split_time(std::int32_t milliseconds) {
    const std::int64_t t = milliseconds;
    const std::int64_t hours = t / 3600000;
    const std::int64_t minutes = (t - hours * 3600000) / 60000;
    const std::int64_t seconds = (t - hours * 3600000 - minutes * 60000) / 1000;
    return {static_cast<int>(hours), static_cast<int>(minutes), static_cast<int>(seconds)};
}

} // namespace dumpdec
