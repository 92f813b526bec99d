// One link table: entries appended in the first pass, read back in order in the second.
//
// A table grows as the database needs: no output depends on how many surveys or lines it
// holds. Its limit only guards against a corrupt database: no record adds more than one entry
// to a table, so a table never needs more entries than the raw database has room for records
// (a 4-byte header each), and memory stays bounded by the input's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace dumpdec {

struct LinkTable {
    std::vector<std::uint32_t> entries; // written in the first pass
    std::size_t read_index = 0;         // next entry the second pass takes
    std::size_t limit = std::numeric_limits<std::size_t>::max();

    std::size_t count() const { return entries.size(); }
    bool has_room() const { return entries.size() < limit; }
    // Appends; returns false (and changes nothing) when the table is at its limit.
    bool append(std::uint32_t offset) {
        if (!has_room()) return false;
        entries.push_back(offset);
        return true;
    }
    // The entry at the read index, which advances; 0 past the last entry.
    std::uint32_t take() {
        const std::uint32_t value = read_index < entries.size() ? entries[read_index] : 0;
        ++read_index;
        return value;
    }
};

// How a record kind takes part in the links between headers and data.
enum class LinkRole { kNone, kSurveyHeader, kLineHeader, kDataRecord };

// The four tables and the rules that fill them in the first pass; the second pass reads them
// back in order to patch the link fields.
struct LinkTables {
    bool awaiting_first_line = false;
    bool awaiting_first_data = false;
    LinkTable survey_offsets;
    LinkTable first_line_offsets;
    LinkTable line_header_offsets;
    LinkTable first_data_offsets;

    // Bounds every table by what a raw database of this length can hold.
    void limit(std::uint64_t input_length);
    void add_survey_header(std::uint32_t offset);
    void add_line_header(std::uint32_t offset);
    void add_data_record(std::uint32_t offset);
    // Whether a record of this role can make its link entries without overflowing a table.
    bool have_room(LinkRole role) const;
};

} // namespace dumpdec
