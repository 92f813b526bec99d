#include "convert.h"

#include "record_kinds.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace dumpdec {

namespace {

std::string cannot(const char *what, const std::string &path) {
    return std::string("cannot ") + what + " " + path + ": " + std::strerror(errno);
}

// Names this conversion would write; a raw database carrying one of them would be overwritten
// by its own output.
bool is_own_output(const OutputNames &names, std::string_view path) {
    for (const std::string *name :
         {&names.tvd, &names.log, &names.tmp, &names.txt, &names.i2d, &names.sn, &names.ln,
          &names.lat, &names.sp, &names.con, &names.smp})
        if (*name == path) return true;
    return false;
}

bool open_first_pass_files(Decoder &d, std::string_view raw_path, ConversionReport &report) {
    const std::string raw(raw_path);
    if (!d.input.open(raw)) {
        report.failure = cannot("open", raw);
        return false;
    }
    const std::pair<OutputFile *, const std::string *> outputs[] = {
        {&d.intermediate, &d.names.tmp}, {&d.listing, &d.names.log},
        {&d.survey_text, &d.names.txt},  {&d.pseudo_section, &d.names.i2d},
        {&d.raw_samples, &d.names.smp},
    };
    for (const auto &[file, name] : outputs) {
        if (!file->create(*name)) {
            report.failure = cannot("create", *name);
            return false;
        }
    }
    return true;
}

void first_pass(Decoder &d) {
    const std::uint64_t length = d.input.length();
    if (length == 0) {
        d.pass_end = PassEnd::kLengthTest;
        return;
    }
    for (;;) {
        d.read_record_header();
        if (d.record_id == kEndOfData) {
            d.pass_end = PassEnd::kEndMarker;
            return;
        }
        const RecordKind *kind = find_record_kind(d.record_id);
        PassEnd stop = PassEnd::kRunning;
        if (!kind)
            stop = PassEnd::kBadRecord;
        else if (d.record_length < 4 || d.record_length > kRecordBufferSize)
            stop = PassEnd::kBadLength;
        else if (!d.links_have_room(kind->link_role))
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

void close_between_passes(Decoder &d, ConversionReport &report) {
    d.input.close();
    const std::pair<OutputFile *, const std::string *> closing[] = {
        {&d.intermediate, &d.names.tmp},
        {&d.survey_text, &d.names.txt},
        {&d.pseudo_section, &d.names.i2d},
    };
    for (const auto &[file, name] : closing)
        if (!file->close() && report.failure.empty()) report.failure = "cannot write " + *name;
    for (std::size_t i = 0; i < d.bore_logs.size(); ++i)
        if (!d.bore_logs[i].close() && report.failure.empty())
            report.failure = "cannot write " + d.bore_log_name(static_cast<BoreLog>(i));
}

// Patches one line header's two links: first data from its table, next from the line header
// table unless the header says it has none.
void patch_line_header(Decoder &d, const char *format, std::size_t next_at,
                       std::size_t first_data_at) {
    const std::uint32_t first_data = d.first_data_offsets.take();
    d.store_u32(first_data_at, first_data);
    std::uint32_t next = d.line_header_offsets.take();
    if (d.stored_u32(next_at) == kNoLink) next = 0;
    d.store_u32(next_at, next);
    d.print(d.listing, format, d.file_position, next, first_data);
}

void second_pass(Decoder &d) {
    d.put(d.listing, "\n\n\n==>FINAL FILE INDEX<==\n\n\n");
    const std::uint64_t length = d.input.length();
    d.file_position = 0;
    d.survey_offsets.read_index = 1;
    d.line_header_offsets.read_index = 1;
    d.first_line_offsets.read_index = 0;
    d.first_data_offsets.read_index = 0;
    d.output_database = &d.converted;
    if (length == 0) return;
    for (;;) {
        d.read_stored_header();
        // The intermediate database is our own, but a short or broken one must still end.
        if (d.record_id == kEndOfData || d.record_length < 4 || d.record_length > kRecordBufferSize)
            return;
        d.read_body();
        switch (d.record_id) {
        case 0x1004: {
            const std::uint32_t next_survey = d.survey_offsets.take();
            d.store_u32(168, next_survey);
            // One entry per survey, also when the survey says it has no line.
            std::uint32_t first_line = d.first_line_offsets.take();
            if (d.stored_u32(172) == kNoLink) first_line = 0;
            d.store_u32(172, first_line);
            d.print(d.listing, "\nH_SURVEY\t%-4x\nNext_Survey\t%-4x\nFirst_Line\t%-4x\n\n",
                    d.file_position, next_survey, first_line);
            break;
        }
        case 0x1002:
            patch_line_header(d, "\nH_PROFILE\t%-4x\nNext_Prof\t%-4x\nFirst_Data\t%-4x\n\n", 24,
                              20);
            break;
        case 0x1010:
            patch_line_header(d, "\nH_BH\t%-4x\nNext\t%-4x\nFirst_Data\t%-4x\n\n", 48, 52);
            break;
        case 0x1100:
            patch_line_header(d, "\nH_SOUND\t%-4x\nNext_Sound\t%-4x\nFirst_Data\t%-4x\n\n", 44, 36);
            break;
        default:
            break;
        }
        d.write_record();
        if (d.file_position == length) return;
    }
}

bool read_whole(const Decoder &d) {
    return !d.record_cut_short &&
           (d.pass_end == PassEnd::kEndMarker || d.pass_end == PassEnd::kLengthTest);
}

} // namespace

ConversionReport convert(std::string_view raw_path, const std::int16_t *keep) {
    ConversionReport report;
    // Heap: the decoder holds a 25000-byte record buffer and the link tables.
    auto d = std::make_unique<Decoder>(raw_path);
    if (raw_path.empty()) {
        report.failure = "no raw database named";
        return report;
    }
    if (is_own_output(d->names, raw_path)) {
        report.failure = std::string(raw_path) + " would be overwritten by its own output";
        return report;
    }
    if (!open_first_pass_files(*d, raw_path, report)) return report;

    first_pass(*d);
    report.pass_end = d->pass_end;
    report.read_whole = read_whole(*d);
    close_between_passes(*d, report);

    if (!d->input.open(d->names.tmp)) {
        report.failure = cannot("reopen", d->names.tmp);
        return report;
    }
    if (!d->converted.create(d->names.tvd)) {
        report.failure = cannot("create", d->names.tvd);
        return report;
    }
    second_pass(*d);

    d->input.close();
    const std::pair<OutputFile *, const std::string *> closing[] = {
        {&d->converted, &d->names.tvd},
        {&d->listing, &d->names.log},
        {&d->raw_samples, &d->names.smp},
    };
    for (const auto &[file, name] : closing)
        if (!file->close() && report.failure.empty()) report.failure = "cannot write " + *name;
    std::remove(d->names.tmp.c_str());
    if (!report.failure.empty()) return report; // a short output: keep everything else

    const bool keep_files = keep == nullptr || *keep != 0;
    bool listing_kept = true;
    if (!keep_files) {
        std::remove(d->names.log.c_str());
        listing_kept = false;
        // The raw database goes only when the converted database holds all of it.
        if (report.read_whole) report.raw_deleted = std::remove(std::string(raw_path).c_str()) == 0;
    }
    // The other instrument's file goes, unless something was written to it.
    bool i2d_kept = true, smp_kept = true;
    if (d->instrument_is_kx4) {
        if (d->pseudo_section.bytes_written() == 0)
            i2d_kept = std::remove(d->names.i2d.c_str()) != 0;
    } else if (d->raw_samples.bytes_written() == 0) {
        smp_kept = std::remove(d->names.smp.c_str()) != 0;
    }

    report.files_written.push_back(d->names.tvd);
    if (listing_kept) report.files_written.push_back(d->names.log);
    report.files_written.push_back(d->names.txt);
    if (i2d_kept) report.files_written.push_back(d->names.i2d);
    if (smp_kept) report.files_written.push_back(d->names.smp);
    for (std::size_t i = 0; i < d->bore_logs.size(); ++i)
        if (d->bore_log_opened[i])
            report.files_written.push_back(d->bore_log_name(static_cast<BoreLog>(i)));
    report.result = 1;
    return report;
}

} // namespace dumpdec
