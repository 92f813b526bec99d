#include "database_writer.h"

#include <algorithm>

namespace dumpdec {

void DatabaseWriter::write(const Record &record) {
    const std::uint16_t length = record.length;
    file->write(record.buffer.data(), std::min<std::size_t>(length, kRecordBufferSize));
    position += length;
    record_disposed = true;
}

void DatabaseWriter::drop(const Record &record) {
    position += record.length;
    dropped_bytes += record.length;
    record_disposed = true;
}

} // namespace dumpdec
