#include "record_reader.h"

#include <algorithm>
#include <cstring>

namespace dumpdec {

void RecordReader::read_header(Record &record) {
    const std::uint8_t b0 = input.byte(), b1 = input.byte(), b2 = input.byte(), b3 = input.byte();
    record.id = static_cast<std::uint16_t>(b0 << 8 | b1);
    record.length = static_cast<std::uint16_t>(b2 << 8 | b3);
}

void RecordReader::read_stored_header(Record &record) {
    auto &bytes = record.buffer;
    for (std::size_t i = 0; i < 4; ++i)
        bytes[i] = input.byte();
    record.id = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    record.length = static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8);
}

void RecordReader::read_body(Record &record) {
    if (record.length <= 4) return;
    const std::size_t wanted = std::min<std::size_t>(record.length, kRecordBufferSize) - 4;
    const std::size_t got = input.read(record.buffer.data() + 4, wanted);
    if (got < wanted) {
        // Past the end of the file every byte reads as 0xFF, never as an earlier record's.
        std::memset(record.buffer.data() + 4 + got, 0xFF, wanted - got);
        record_cut_short = true;
    }
}

} // namespace dumpdec
