#include "convert.h"

#include "decoder.h"
#include "passes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace dumpdec {

namespace {

std::string cannot(const char *what, const std::string &path) {
    return std::string("cannot ") + what + " " + path + ": " + std::strerror(errno);
}

// Whether the raw database is one of the files this conversion writes, by name or as the same
// file under another name (a link): its own output would overwrite it.
bool is_own_output(const OutputNames &names, std::string_view path) {
    const std::filesystem::path raw(path);
    for (const std::string *name :
         {&names.tvd, &names.log, &names.tmp, &names.txt, &names.i2d, &names.sn, &names.ln,
          &names.lat, &names.sp, &names.con, &names.smp}) {
        if (*name == path) return true;
        std::error_code error;
        if (std::filesystem::equivalent(raw, *name, error) && !error) return true;
    }
    return false;
}

bool open_first_pass_files(RecordReader &reader, Outputs &out, std::string_view raw_path,
                           ConversionReport &report) {
    const std::string raw(raw_path);
    if (!reader.input.open(raw)) {
        report.failure = cannot("open", raw);
        return false;
    }
    const std::pair<OutputFile *, const std::string *> outputs[] = {
        {&out.intermediate, &out.names.tmp}, {&out.listing, &out.names.log},
        {&out.survey_text, &out.names.txt},  {&out.pseudo_section, &out.names.i2d},
        {&out.raw_samples, &out.names.smp},
    };
    for (const auto &[file, name] : outputs) {
        if (!file->create(*name, &out.block_writer)) {
            report.failure = cannot("create", *name);
            return false;
        }
    }
    return true;
}

void close_between_passes(RecordReader &reader, Outputs &out, ConversionReport &report) {
    reader.input.close();
    const std::pair<OutputFile *, const std::string *> closing[] = {
        {&out.intermediate, &out.names.tmp},
        {&out.survey_text, &out.names.txt},
        {&out.pseudo_section, &out.names.i2d},
    };
    for (const auto &[file, name] : closing)
        if (!file->close() && report.failure.empty()) report.failure = "cannot write " + *name;
    for (std::size_t i = 0; i < out.bore_logs.size(); ++i)
        if (!out.bore_logs[i].close() && report.failure.empty())
            report.failure = "cannot write " + out.bore_log_name(static_cast<BoreLog>(i));
}

bool read_whole(const Decoder &d) {
    return !d.reader.record_cut_short &&
           (d.pass_end == PassEnd::kEndMarker || d.pass_end == PassEnd::kLengthTest);
}

} // namespace

ConversionReport convert(std::string_view raw_path, const std::int16_t *keep) {
    ConversionReport report;
    // Heap: the decoder holds a 25000-byte record buffer and the link tables.
    auto d = std::make_unique<Decoder>(raw_path);
    Outputs &out = d->outputs;
    if (raw_path.empty()) {
        report.failure = "no raw database named";
        return report;
    }
    if (is_own_output(out.names, raw_path)) {
        report.failure = std::string(raw_path) + " would be overwritten by its own output";
        return report;
    }
    if (!open_first_pass_files(d->reader, out, raw_path, report)) return report;

    first_pass(*d);
    report.pass_end = d->pass_end;
    report.read_whole = read_whole(*d);
    close_between_passes(d->reader, out, report);

    if (!d->reader.input.open(out.names.tmp)) {
        report.failure = cannot("reopen", out.names.tmp);
        return report;
    }
    if (!out.converted.create(out.names.tvd, &out.block_writer)) {
        report.failure = cannot("create", out.names.tvd);
        return report;
    }
    second_pass(*d);

    d->reader.input.close();
    const std::pair<OutputFile *, const std::string *> closing[] = {
        {&out.converted, &out.names.tvd},
        {&out.listing, &out.names.log},
        {&out.raw_samples, &out.names.smp},
    };
    for (const auto &[file, name] : closing)
        if (!file->close() && report.failure.empty()) report.failure = "cannot write " + *name;
    std::remove(out.names.tmp.c_str());
    if (!report.failure.empty()) return report; // a short output: keep everything else

    const bool keep_files = keep == nullptr || *keep != 0;
    bool listing_kept = true;
    if (!keep_files) {
        std::remove(out.names.log.c_str());
        listing_kept = false;
        // The raw database goes only when the converted database holds all of it.
        if (report.read_whole) report.raw_deleted = std::remove(std::string(raw_path).c_str()) == 0;
    }
    // The other instrument's file goes, unless something was written to it.
    bool i2d_kept = true, smp_kept = true;
    if (d->survey.instrument_is_kx4) {
        if (out.pseudo_section.bytes_written() == 0)
            i2d_kept = std::remove(out.names.i2d.c_str()) != 0;
    } else if (out.raw_samples.bytes_written() == 0) {
        smp_kept = std::remove(out.names.smp.c_str()) != 0;
    }

    report.files_written.push_back(out.names.tvd);
    if (listing_kept) report.files_written.push_back(out.names.log);
    report.files_written.push_back(out.names.txt);
    if (i2d_kept) report.files_written.push_back(out.names.i2d);
    if (smp_kept) report.files_written.push_back(out.names.smp);
    for (std::size_t i = 0; i < out.bore_logs.size(); ++i)
        if (out.bore_log_opened[i])
            report.files_written.push_back(out.bore_log_name(static_cast<BoreLog>(i)));
    report.result = 1;
    return report;
}

} // namespace dumpdec
