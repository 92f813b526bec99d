#include "record_model.h"

#include "bore_hole_records.h"
#include "record_layout.h"

#include <algorithm>

namespace survey {

namespace id = ravelin::record_id;

std::size_t minimum_record_length(std::uint16_t record_id) {
    switch (record_id) {
    case id::kNote:
        return 8;
    case id::kIprStandard:
        return records::kIpStandardChannels;
    case id::kIprUser:
        return records::kIpUserChannels;
    case id::kBoreHoleResData:
    case id::kBoreHoleFluidData:
        return 16;
    case id::kBoreHoleSpData:
        return 10;
    case id::kKx4Data:
        return 61;
    case id::kProfileHeader:
        return 24;
    case id::kSurveyHeader:
        return 168;
    case id::kFileHeader:
        return 92;
    case id::kBoreHoleHeader:
        return 56;
    case id::kSoundingHeader:
        return 40;
    case id::kIpi:
        return 20;
    case id::kArray:
        return 6;
    case id::kKx4Parameter:
        return ravelin::kRecordHeaderSize;
    default:
        return 0;
    }
}

Database ModelBuilder::take() {
    // Readings before the first parameter record took the meter's set-up of that record.
    if (!database_.kx4_parameters.empty()) {
        const bool first = database_.kx4_parameters.front().tide_correction();
        for (Survey &s : database_.surveys)
            for (Line &line : s.lines)
                for (GravityReading &g : line.gravity_readings)
                    if (!g.tide_corrected) g.tide_corrected = first;
    }
    return std::move(database_);
}

Survey &ModelBuilder::survey() {
    if (database_.surveys.empty()) database_.surveys.emplace_back();
    return database_.surveys.back();
}

Line &ModelBuilder::start_line(LineKind kind) {
    Line &line = survey().lines.emplace_back();
    line.kind = kind;
    line_ = &line;
    return line;
}

Line &ModelBuilder::line() {
    return line_ ? *line_ : start_line(LineKind::Unheaded);
}

std::vector<float> ModelBuilder::m_channels(std::size_t offset) const {
    const std::size_t held = (r_->length() - std::min<std::size_t>(r_->length(), offset)) / 4;
    const std::size_t count = std::min<std::size_t>(window_count_, held);
    std::vector<float> m(count);
    const records::RecordBytes fields = r_->fields();
    for (std::size_t k = 0; k < count; ++k)
        m[k] = fields.f32(offset + 4 * k);
    return m;
}

void ModelBuilder::add(const RecordView &record) {
    r_ = &record;
    switch (r_->id()) {
    case id::kFileHeader:
        add_file_header();
        break;
    case id::kSurveyHeader:
        add_survey_header();
        break;
    case id::kProfileHeader:
        add_profile_header();
        break;
    case id::kSoundingHeader:
        add_sounding_header();
        break;
    case id::kBoreHoleHeader:
        add_bore_hole_header();
        break;
    case id::kIpi: {
        const records::Ipi ipi = records::read_ipi(r_->fields());
        operating_mode_ = ipi.operating_mode;
        window_count_ = ipi.window_count();
        break;
    }
    case id::kArray:
        array_code_ = records::read_array(r_->fields()).code;
        break;
    case id::kNote:
        survey().notes.push_back(records::read_note(r_->fields()));
        break;
    case id::kIprStandard:
        add_ip_reading();
        break;
    case id::kIprUser:
        add_ip_user_reading();
        break;
    case id::kKx4Data:
        add_gravity_reading();
        break;
    case id::kBoreHoleResData:
    case id::kBoreHoleSpData:
    case id::kBoreHoleFluidData:
        add_bore_hole_reading();
        break;
    case id::kKx4Parameter:
        add_kx4_parameter();
        break;
    default:
        break;
    }
}

void ModelBuilder::add_file_header() {
    const records::FileHeader file = records::read_file_header(r_->fields());
    InstrumentHeader &h = database_.instrument;
    // A KX-4 stays a KX-4 whatever a later File header says, as in the decoder.
    const bool was_kx4 = database_.has_instrument && h.is_kx4;
    h.name = file.instrument_name;
    h.serial = file.serial;
    h.time_ms = file.time_ms;
    h.date = file.date;
    h.is_kx4 = was_kx4 || h.name == "KX-4";
    database_.has_instrument = true;
}

void ModelBuilder::add_survey_header() {
    Survey &s = database_.surveys.emplace_back();
    s.has_header = true;
    s.header = records::read_survey_header(r_->fields());
    line_ = nullptr;
}

// An empty line header (no first data) starts no line.
void ModelBuilder::add_profile_header() {
    const ProfileHeader h = records::read_profile_header(r_->fields());
    if (h.first_data != ravelin::kNoLink) start_line(LineKind::Profile).profile = h;
}

void ModelBuilder::add_sounding_header() {
    const SoundingHeader h = records::read_sounding_header(r_->fields());
    if (h.first_data == ravelin::kNoLink) return;
    start_line(LineKind::Sounding).sounding = h;
    // The sounding's array holds for the readings that follow it.
    array_code_ = h.array_code;
}

void ModelBuilder::add_bore_hole_header() {
    const BoreHoleHeader h = records::read_bore_hole_header(r_->fields());
    if (h.first_data != ravelin::kNoLink) start_line(LineKind::BoreHole).bore_hole = h;
}

void ModelBuilder::add_ip_reading() {
    IpReading &m = line().ip_readings.emplace_back();
    static_cast<records::IpStandard &>(m) = records::read_ip_standard(r_->fields());
    m.array_code = array_code_;
    m.operating_mode = operating_mode_;
    m.window_count = window_count_;
    m.m = m_channels(records::kIpStandardChannels);
}

void ModelBuilder::add_ip_user_reading() {
    IpUserReading &m = line().ip_user_readings.emplace_back();
    static_cast<records::IpUser &>(m) = records::read_ip_user(r_->fields());
    m.operating_mode = operating_mode_;
    m.window_count = window_count_;
    m.m = m_channels(records::kIpUserChannels);
}

void ModelBuilder::add_gravity_reading() {
    GravityReading &g = line().gravity_readings.emplace_back();
    static_cast<records::Kx4Reading &>(g) = records::read_kx4_reading(r_->fields());
    const Survey &s = survey();
    g.coordinate_mode = s.has_header ? s.header.coordinate_mode : 0;
    g.tide_corrected = tide_corrected_;
}

void ModelBuilder::add_kx4_parameter() {
    if (r_->length() < records::kKx4ParameterLength) return;
    const Kx4Parameter &p =
        database_.kx4_parameters.emplace_back(records::read_kx4_parameter(r_->fields()));
    tide_corrected_ = p.tide_correction();
}

void ModelBuilder::add_bore_hole_reading() {
    BoreHoleReading &b = line().bore_hole_readings.emplace_back();
    switch (r_->id()) {
    case id::kBoreHoleResData: {
        const records::BoreHoleResistivity r = records::read_bore_hole_resistivity(r_->fields());
        b.log = r.array == 1   ? BoreHoleLog::LongNormal
                : r.array == 2 ? BoreHoleLog::Lateral
                               : BoreHoleLog::ShortNormal;
        b.sp = r.sp;
        b.depth = r.depth;
        b.resistivity = r.resistivity;
        break;
    }
    case id::kBoreHoleFluidData: {
        const records::BoreHoleFluid r = records::read_bore_hole_fluid(r_->fields());
        b.log = BoreHoleLog::Fluid;
        b.depth = r.depth;
        b.resistivity = r.resistivity;
        b.temperature = r.temperature;
        break;
    }
    default: {
        const records::BoreHoleSp r = records::read_bore_hole_sp(r_->fields());
        b.log = BoreHoleLog::SelfPotential;
        b.depth = r.depth;
        b.sp = r.sp;
        break;
    }
    }
}

} // namespace survey
