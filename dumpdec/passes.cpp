#include "passes.h"

#include "decoder.h"
#include "record_kinds.h"

namespace dumpdec {

namespace record_id = ravelin::record_id;
namespace link_field = ravelin::link_field;

namespace {

void print_record_index(OutputFile &listing, const Record &record, std::uint32_t offset) {
    // Three lines in one call: this runs for every record.
    print(listing,
          "\nFILE INDEX\t\t\t\t%-4x\t%-4d\n"
          "Record ID :\t\t\t\t%-4x\n"
          "Record length :\t\t\t%-4d\n"_fmt,
          offset, static_cast<int>(offset), record.id, record.length);
}

// Patches one line header's two links: first data from its table, next from the line header
// table unless the header says it has none.
template <typename LineFormat> void patch_line_header(Decoder &d, LineFormat format) {
    Record &record = d.record;
    const auto [next_at, first_data_at] = ravelin::line_header_links(record.id);
    const std::uint32_t first_data = d.links.first_data_offsets.take();
    record.store_u32(first_data_at, first_data);
    std::uint32_t next = d.links.line_header_offsets.take();
    if (record.stored_u32(next_at) == kNoLink) next = 0;
    record.store_u32(next_at, next);
    print(d.outputs.listing, format, d.database.position, next, first_data);
}

} // namespace

void first_pass(Decoder &d) {
    Record &record = d.record;
    OutputFile &listing = d.outputs.listing;
    const std::uint64_t length = d.reader.input.length();
    if (length == 0) {
        d.pass_end = PassEnd::kLengthTest;
        return;
    }
    d.links.limit(length);
    for (;;) {
        d.reader.read_header(record);
        if (record.id == record_id::kEndOfData) {
            d.pass_end = PassEnd::kEndMarker;
            return;
        }
        const RecordKind *kind = find_record_kind(record.id);
        PassEnd stop = PassEnd::kRunning;
        if (!kind)
            stop = PassEnd::kBadRecord;
        else if (record.length < 4 || record.length > kRecordBufferSize)
            stop = PassEnd::kBadLength;
        else if (!d.links.have_room(kind->link_role))
            stop = PassEnd::kTableFull;
        if (stop != PassEnd::kRunning) {
            put(listing, kBadRecordHeading);
            d.pass_end = stop;
            return;
        }

        put(listing, kind->heading);
        print_record_index(listing, record, d.database.offset());
        d.reader.read_body(record);
        record.store_header();
        d.database.record_disposed = false;
        kind->handler(d);
        // Keeps the offsets true whatever happens.
        if (!d.database.record_disposed) d.database.write(record);
        if (kind->column_header == ColumnHeader::kSet) d.survey.column_header_due = true;
        if (kind->column_header == ColumnHeader::kClear) d.survey.column_header_due = false;

        if (d.database.position == length) {
            d.pass_end = PassEnd::kLengthTest;
            return;
        }
    }
}

void second_pass(Decoder &d) {
    Record &record = d.record;
    put(d.outputs.listing, "\n\n\n==>FINAL FILE INDEX<==\n\n\n");
    const std::uint64_t length = d.reader.input.length();
    d.database.position = 0;
    d.links.survey_offsets.read_index = 1;
    d.links.line_header_offsets.read_index = 1;
    d.links.first_line_offsets.read_index = 0;
    d.links.first_data_offsets.read_index = 0;
    d.database.file = &d.outputs.converted;
    if (length == 0) return;
    for (;;) {
        d.reader.read_stored_header(record);
        // The intermediate database is our own, but a short or broken one must still end.
        if (record.id == record_id::kEndOfData || record.length < 4 ||
            record.length > kRecordBufferSize)
            return;
        d.reader.read_body(record);
        switch (record.id) {
        case record_id::kSurveyHeader: {
            const std::uint32_t next_survey = d.links.survey_offsets.take();
            record.store_u32(link_field::kSurveyNextSurvey, next_survey);
            // One entry per survey, also when the survey says it has no line.
            std::uint32_t first_line = d.links.first_line_offsets.take();
            if (record.stored_u32(link_field::kSurveyFirstLine) == kNoLink) first_line = 0;
            record.store_u32(link_field::kSurveyFirstLine, first_line);
            print(d.outputs.listing,
                  "\nH_SURVEY\t%-4x\nNext_Survey\t%-4x\nFirst_Line\t%-4x\n\n"_fmt,
                  d.database.position, next_survey, first_line);
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
        d.database.write(record);
        if (d.database.position == length) return;
    }
}

} // namespace dumpdec
