#include "pseudo_section_writer.h"

#include "ip_records.h"
#include "record_layout.h"

#include <cmath>

namespace i2dwriter {

namespace {

using namespace ravelin::record_id;

// Every kind but the KX-4 ones: a gravity record ends the run as an unknown one does.
bool is_handled_kind(std::uint16_t id) {
    switch (id) {
    case kNote:
    case kIprStandard:
    case kIprUser:
    case kBoreHoleResData:
    case kBoreHoleSpData:
    case kBoreHoleFluidData:
    case kProfileHeader:
    case kSurveyHeader:
    case kFileHeader:
    case kBoreHoleHeader:
    case kSoundingHeader:
    case kIpi:
    case kArray:
        return true;
    default:
        return false;
    }
}

constexpr std::size_t flush_threshold = 64 * 1024;

} // namespace

PseudoSectionWriter::PseudoSectionWriter(std::FILE *input, std::uint64_t input_length,
                                         std::FILE *output)
    : reader_(input, record_capacity), input_length_(input_length), output_(output) {}

bool PseudoSectionWriter::run() {
    if (input_length_ != 0) {
        while (handle_record()) {
            file_position_ += reader_.length();
            if (pending_.size() >= flush_threshold) flush();
            if (file_position_ == input_length_) break;
        }
    }
    return flush();
}

bool PseudoSectionWriter::flush() {
    if (!pending_.empty() &&
        std::fwrite(pending_.data(), 1, pending_.size(), output_) != pending_.size())
        write_failed_ = true;
    pending_.clear();
    return !write_failed_;
}

bool PseudoSectionWriter::handle_record() {
    reader_.read_header();
    // A record too long for its buffer, or too short to hold its own header, ends the run as a
    // kind outside the table does.
    if (!is_handled_kind(reader_.id()) || !reader_.length_fits()) return false;
    reader_.read_body();

    switch (reader_.id()) {
    case kIprStandard:
        on_ipr_standard();
        break;
    case kIprUser:
    case kBoreHoleResData:
    case kBoreHoleSpData:
    case kBoreHoleFluidData:
        awaiting_first_data_ = false;
        break;
    case kProfileHeader:
        line_is_profile_ = true;
        profile_header_ = records::read_profile_header(reader_.fields());
        awaiting_first_data_ = true;
        break;
    case kSurveyHeader:
        survey_header_ = records::read_survey_header(reader_.fields());
        break;
    case kBoreHoleHeader:
        awaiting_first_data_ = true;
        break;
    case kSoundingHeader:
        line_is_profile_ = false;
        break;
    case kIpi: {
        const records::Ipi ipi = records::read_ipi(reader_.fields());
        ip_operating_mode_ = ipi.operating_mode;
        ip_window_count_ = ipi.window_count();
        break;
    }
    case kArray:
        array_code_ = records::read_array(reader_.fields()).code;
        break;
    default: // note, file header
        break;
    }
    return true;
}

void PseudoSectionWriter::on_ipr_standard() {
    const records::RecordBytes fields = reader_.fields();
    const records::IpStandard r = records::read_ip_standard(fields);

    if (awaiting_first_data_) {
        awaiting_first_data_ = false;
        if (line_is_profile_) {
            geometry_ = records::profile_geometry(array_code_, r);
            append_header_block(pending_, geometry_, survey_header_, profile_header_, array_code_);
        }
    }
    // Readings outside a profile have no place in a pseudo-section.
    if (!line_is_profile_) return;

    float m_channels[4];
    for (std::uint32_t k = 0; k < 4; ++k)
        m_channels[k] =
            k < ip_window_count_ ? fields.f32(records::kIpStandardChannels + 4 * k) : 0.0f;
    const records::PseudoSectionIndices indices =
        records::writer_indices(array_code_, r, geometry_);
    append_data_line(pending_, indices.tx, indices.rx, std::fabs(r.ro), ip_operating_mode_,
                     m_channels);
}

} // namespace i2dwriter
