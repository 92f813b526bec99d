// Where each record goes once handled: the intermediate database in the first pass, the
// converted one in the second, and the offset the record takes there.
#pragma once

#include "files.h"
#include "record.h"

#include <cstdint>

namespace dumpdec {

struct DatabaseWriter {
    explicit DatabaseWriter(OutputFile &database) : file(&database) {}

    OutputFile *file;
    std::uint32_t position = 0;      // bytes of the input database behind the current record
    std::uint32_t dropped_bytes = 0; // of them in records left out of the output
    bool record_disposed = false;    // the current record was written or dropped

    void write(const Record &record);
    // Drops the record: it takes space in the raw database but none in the output.
    void drop(const Record &record);
    // The current record's offset in the output database.
    std::uint32_t offset() const { return position - dropped_bytes; }
};

} // namespace dumpdec
