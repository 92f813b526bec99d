#include "database_writer.h"

#include <algorithm>

namespace dumpdec {

void DatabaseWriter::write(const Record &record) {
    file->write(record.buffer.data(), std::min<std::size_t>(record.length, kRecordBufferSize));
    position += record.length;
    record_disposed = true;
}

void DatabaseWriter::drop(const Record &record) {
    position += record.length;
    dropped_bytes += record.length;
    record_disposed = true;
}

} // namespace dumpdec
