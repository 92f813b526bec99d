// The table of record kinds: heading, handler, what the kind does to column_header_due, and
// its part in the links.
#pragma once

#include "link_table.h"

#include <cstdint>

namespace dumpdec {

struct Decoder;

enum class ColumnHeader { kUnchanged, kSet, kClear };

struct RecordKind {
    std::uint16_t id;
    const char *heading;
    void (*handler)(Decoder &);
    ColumnHeader column_header;
    LinkRole link_role;
};

// nullptr for a Record ID outside the table (0xFFFF included).
const RecordKind *find_record_kind(std::uint16_t record_id);

inline constexpr const char *kBadRecordHeading = "\n\n[ *** Bad Record*** ]";

} // namespace dumpdec
