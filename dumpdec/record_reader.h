// Reads records from the input database into the record in hand.
#pragma once

#include "files.h"
#include "record.h"

namespace dumpdec {

struct RecordReader {
    InputFile input;               // raw database (first pass), intermediate database (second)
    bool record_cut_short = false; // some record ran past the end of the raw database

    // First pass: big-endian header bytes.
    void read_header(Record &record);
    // Second pass: little-endian header bytes, also kept in the record's buffer.
    void read_stored_header(Record &record);
    // Reads the body into the buffer from offset 4; bytes missing at the end of the file read
    // as 0xFF, never as an earlier record's.
    void read_body(Record &record);
};

} // namespace dumpdec
