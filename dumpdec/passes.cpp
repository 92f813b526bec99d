#include "passes.h"

#include "record_kinds.h"

namespace dumpdec {

namespace record_id = ravelin::record_id;
namespace link_field = ravelin::link_field;

namespace {

// Patches one line header's two links: first data from its table, next from the line header
// table unless the header says it has none.
template <typename LineFormat> void patch_line_header(Decoder &d, LineFormat format) {
    const auto [next_at, first_data_at] = ravelin::line_header_links(d.record_id);
    const std::uint32_t first_data = d.links.first_data_offsets.take();
    d.store_u32(first_data_at, first_data);
    std::uint32_t next = d.links.line_header_offsets.take();
    if (d.stored_u32(next_at) == kNoLink) next = 0;
    d.store_u32(next_at, next);
    d.print(d.listing, format, d.file_position, next, first_data);
}

} // namespace

void first_pass(Decoder &d) {
    const std::uint64_t length = d.input.length();
    if (length == 0) {
        d.pass_end = PassEnd::kLengthTest;
        return;
    }
    d.links.limit(length);
    for (;;) {
        d.read_record_header();
        if (d.record_id == record_id::kEndOfData) {
            d.pass_end = PassEnd::kEndMarker;
            return;
        }
        const RecordKind *kind = find_record_kind(d.record_id);
        PassEnd stop = PassEnd::kRunning;
        if (!kind)
            stop = PassEnd::kBadRecord;
        else if (d.record_length < 4 || d.record_length > kRecordBufferSize)
            stop = PassEnd::kBadLength;
        else if (!d.links.have_room(kind->link_role))
            stop = PassEnd::kTableFull;
        if (stop != PassEnd::kRunning) {
            d.put(d.listing, kBadRecordHeading);
            d.pass_end = stop;
            return;
        }

        d.put(d.listing, kind->heading);
        d.print_record_index();
        d.read_body();
        d.store_header();
        d.record_disposed = false;
        kind->handler(d);
        if (!d.record_disposed) d.write_record(); // keeps the offsets true whatever happens
        if (kind->column_header == ColumnHeader::kSet) d.column_header_due = true;
        if (kind->column_header == ColumnHeader::kClear) d.column_header_due = false;

        if (d.file_position == length) {
            d.pass_end = PassEnd::kLengthTest;
            return;
        }
    }
}

void second_pass(Decoder &d) {
    d.put(d.listing, "\n\n\n==>FINAL FILE INDEX<==\n\n\n");
    const std::uint64_t length = d.input.length();
    d.file_position = 0;
    d.links.survey_offsets.read_index = 1;
    d.links.line_header_offsets.read_index = 1;
    d.links.first_line_offsets.read_index = 0;
    d.links.first_data_offsets.read_index = 0;
    d.output_database = &d.converted;
    if (length == 0) return;
    for (;;) {
        d.read_stored_header();
        // The intermediate database is our own, but a short or broken one must still end.
        if (d.record_id == record_id::kEndOfData || d.record_length < 4 ||
            d.record_length > kRecordBufferSize)
            return;
        d.read_body();
        switch (d.record_id) {
        case record_id::kSurveyHeader: {
            const std::uint32_t next_survey = d.links.survey_offsets.take();
            d.store_u32(link_field::kSurveyNextSurvey, next_survey);
            // One entry per survey, also when the survey says it has no line.
            std::uint32_t first_line = d.links.first_line_offsets.take();
            if (d.stored_u32(link_field::kSurveyFirstLine) == kNoLink) first_line = 0;
            d.store_u32(link_field::kSurveyFirstLine, first_line);
            d.print(d.listing, "\nH_SURVEY\t%-4x\nNext_Survey\t%-4x\nFirst_Line\t%-4x\n\n"_fmt,
                    d.file_position, next_survey, first_line);
            break;
        }
        case record_id::kProfileHeader:
            patch_line_header(d, "\nH_PROFILE\t%-4x\nNext_Prof\t%-4x\nFirst_Data\t%-4x\n\n"_fmt);
            break;
        case record_id::kBoreHoleHeader:
            patch_line_header(d, "\nH_BH\t%-4x\nNext\t%-4x\nFirst_Data\t%-4x\n\n"_fmt);
            break;
        case record_id::kSoundingHeader:
            patch_line_header(d, "\nH_SOUND\t%-4x\nNext_Sound\t%-4x\nFirst_Data\t%-4x\n\n"_fmt);
            break;
        default:
            break;
        }
        d.write_record();
        if (d.file_position == length) return;
    }
}

} // namespace dumpdec
