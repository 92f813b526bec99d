#include "pseudo_section_writer.h"

#include "record_layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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
    : reader_(input), input_length_(input_length), output_(output) {}

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
        std::memcpy(current_profile_header_.data(), reader_.bytes(), profile_copy_size);
        awaiting_first_data_ = true;
        break;
    case kSurveyHeader:
        std::memcpy(current_survey_header_.data(), reader_.bytes(), survey_copy_size);
        break;
    case kBoreHoleHeader:
        awaiting_first_data_ = true;
        break;
    case kSoundingHeader:
        line_is_profile_ = false;
        break;
    case kIpi:
        ip_operating_mode_ = reader_.u16(4);
        ip_window_count_ = static_cast<std::uint32_t>(reader_.u16(16)) + reader_.u16(18);
        break;
    case kArray:
        array_code_ = reader_.u16(4);
        break;
    default: // note, file header
        break;
    }
    return true;
}

void PseudoSectionWriter::on_ipr_standard() {
    const float x = reader_.f32(4);
    const float dn = reader_.f32(20);
    const float da = reader_.f32(24);

    if (awaiting_first_data_) {
        awaiting_first_data_ = false;
        if (line_is_profile_) {
            geometry_ = profile_geometry(array_code_, x, dn, da);
            write_header_block();
        }
    }
    // Readings outside a profile have no place in a pseudo-section.
    if (!line_is_profile_) return;

    float m_channels[4];
    for (std::uint32_t k = 0; k < 4; ++k)
        m_channels[k] = k < ip_window_count_ ? reader_.f32(52 + 4 * k) : 0.0f;
    const float rho_a = std::fabs(reader_.f32(44));
    append_data_line(pending_, tx_index(x, da, geometry_), rx_index(array_code_, dn, da, geometry_),
                     rho_a, ip_operating_mode_, m_channels);
}

void PseudoSectionWriter::write_header_block() {
    const std::uint8_t *survey = current_survey_header_.data();
    const std::uint8_t *profile = current_profile_header_.data();
    HeaderBlock block;
    block.geometry = geometry_;
    block.client = load_text(survey, survey_copy_size, 4, 36);
    block.project = load_text(survey, survey_copy_size, 40, 36);
    block.azimuth_tenths = load_u16(profile, profile_copy_size, 10);
    block.day_bcd = survey[116];
    block.month_bcd = survey[117];
    block.year = load_u16(survey, survey_copy_size, 118);
    block.array_type = array_type_name(array_code_);
    block.line_pos = load_f32(profile, profile_copy_size, 4);
    block.line_coord = load_u16(profile, profile_copy_size, 8);
    append_header_block(pending_, block);
}

} // namespace i2dwriter
