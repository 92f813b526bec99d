#include "link_table.h"

#include "record_layout.h"

#include <initializer_list>
#include <limits>

namespace dumpdec {

void LinkTables::limit(std::uint64_t input_length) {
    const std::uint64_t records = input_length / ravelin::kRecordHeaderSize + 1;
    const std::size_t bound = records < std::numeric_limits<std::size_t>::max()
                                  ? static_cast<std::size_t>(records)
                                  : std::numeric_limits<std::size_t>::max();
    for (LinkTable *table :
         {&survey_offsets, &first_line_offsets, &line_header_offsets, &first_data_offsets})
        table->limit = bound;
}

void LinkTables::add_survey_header(std::uint32_t offset) {
    survey_offsets.append(offset);
    if (awaiting_first_line) first_line_offsets.append(0); // the previous survey had no line
    awaiting_first_line = true;
}

void LinkTables::add_line_header(std::uint32_t offset) {
    // The previous line header got no data: it keeps a 0 of its own, so this one's first data
    // link does not land on it.
    if (awaiting_first_data) first_data_offsets.append(0);
    line_header_offsets.append(offset);
    if (awaiting_first_line) {
        first_line_offsets.append(offset);
        awaiting_first_line = false;
    }
    awaiting_first_data = true;
}

void LinkTables::add_data_record(std::uint32_t offset) {
    if (!awaiting_first_data) return;
    first_data_offsets.append(offset);
    awaiting_first_data = false;
}

bool LinkTables::have_room(LinkRole role) const {
    switch (role) {
    case LinkRole::kSurveyHeader:
        return survey_offsets.has_room() && (!awaiting_first_line || first_line_offsets.has_room());
    case LinkRole::kLineHeader:
        return line_header_offsets.has_room() &&
               (!awaiting_first_line || first_line_offsets.has_room()) &&
               (!awaiting_first_data || first_data_offsets.has_room());
    case LinkRole::kDataRecord:
        return !awaiting_first_data || first_data_offsets.has_room();
    case LinkRole::kNone:
        break;
    }
    return true;
}

} // namespace dumpdec
