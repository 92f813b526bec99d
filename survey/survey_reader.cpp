#include "survey_reader.h"

#include "bore_hole_records.h"
#include "record_file.h"
#include "record_layout.h"

#include <algorithm>
#include <cinttypes>
#include <memory>

namespace survey {

namespace id = ravelin::record_id;

namespace {

// The decoder's record buffer: no record of a sound database is longer.
constexpr std::size_t kRecordCapacity = 25000;

// Bytes a record of each kind needs to hold the fields the model reads; 0 for a kind outside the
// table of record kinds.
std::size_t minimum_length(std::uint16_t record_id) {
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

// Builds the model record by record, keeping the acquisition set-up in force as the decoder does.
class ModelBuilder {
  public:
    explicit ModelBuilder(const records::RecordReader &record) : r_(record) {}

    void add_current_record();
    Database take();

  private:
    // The M channels that the IPI record in force announces and the record holds.
    std::vector<float> m_channels(std::size_t offset) const;

    Survey &survey();
    Line &line();
    Line &start_line(LineKind kind);

    void add_file_header();
    void add_survey_header();
    void add_profile_header();
    void add_sounding_header();
    void add_bore_hole_header();
    void add_ip_reading();
    void add_ip_user_reading();
    void add_gravity_reading();
    void add_kx4_parameter();
    void add_bore_hole_reading();

    const records::RecordReader &r_;
    Database database_;
    Line *line_ = nullptr; // the open line of the last survey
    std::uint16_t operating_mode_ = 0;
    std::uint32_t window_count_ = 0;
    std::uint16_t array_code_ = 0;
    std::optional<bool> tide_corrected_; // of the latest KX-4 parameter record
};

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
    const std::size_t held = (r_.length() - std::min<std::size_t>(r_.length(), offset)) / 4;
    const std::size_t count = std::min<std::size_t>(window_count_, held);
    std::vector<float> m(count);
    const records::RecordBytes fields = r_.fields();
    for (std::size_t k = 0; k < count; ++k)
        m[k] = fields.f32(offset + 4 * k);
    return m;
}

void ModelBuilder::add_current_record() {
    switch (r_.id()) {
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
        const records::Ipi ipi = records::read_ipi(r_.fields());
        operating_mode_ = ipi.operating_mode;
        window_count_ = ipi.window_count();
        break;
    }
    case id::kArray:
        array_code_ = records::read_array(r_.fields()).code;
        break;
    case id::kNote:
        survey().notes.push_back(records::read_note(r_.fields()));
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
    const records::FileHeader file = records::read_file_header(r_.fields());
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
    s.header = records::read_survey_header(r_.fields());
    line_ = nullptr;
}

// An empty line header (no first data) starts no line.
void ModelBuilder::add_profile_header() {
    const ProfileHeader h = records::read_profile_header(r_.fields());
    if (h.first_data != ravelin::kNoLink) start_line(LineKind::Profile).profile = h;
}

void ModelBuilder::add_sounding_header() {
    const SoundingHeader h = records::read_sounding_header(r_.fields());
    if (h.first_data == ravelin::kNoLink) return;
    start_line(LineKind::Sounding).sounding = h;
    // The sounding's array holds for the readings that follow it.
    array_code_ = h.array_code;
}

void ModelBuilder::add_bore_hole_header() {
    const BoreHoleHeader h = records::read_bore_hole_header(r_.fields());
    if (h.first_data != ravelin::kNoLink) start_line(LineKind::BoreHole).bore_hole = h;
}

void ModelBuilder::add_ip_reading() {
    IpReading &m = line().ip_readings.emplace_back();
    static_cast<records::IpStandard &>(m) = records::read_ip_standard(r_.fields());
    m.array_code = array_code_;
    m.operating_mode = operating_mode_;
    m.window_count = window_count_;
    m.m = m_channels(records::kIpStandardChannels);
}

void ModelBuilder::add_ip_user_reading() {
    IpUserReading &m = line().ip_user_readings.emplace_back();
    static_cast<records::IpUser &>(m) = records::read_ip_user(r_.fields());
    m.operating_mode = operating_mode_;
    m.window_count = window_count_;
    m.m = m_channels(records::kIpUserChannels);
}

void ModelBuilder::add_gravity_reading() {
    GravityReading &g = line().gravity_readings.emplace_back();
    static_cast<records::Kx4Reading &>(g) = records::read_kx4_reading(r_.fields());
    const Survey &s = survey();
    g.coordinate_mode = s.has_header ? s.header.coordinate_mode : 0;
    g.tide_corrected = tide_corrected_;
}

void ModelBuilder::add_kx4_parameter() {
    if (r_.length() < records::kKx4ParameterLength) return;
    const Kx4Parameter &p =
        database_.kx4_parameters.emplace_back(records::read_kx4_parameter(r_.fields()));
    tide_corrected_ = p.tide_correction();
}

void ModelBuilder::add_bore_hole_reading() {
    BoreHoleReading &b = line().bore_hole_readings.emplace_back();
    switch (r_.id()) {
    case id::kBoreHoleResData: {
        const records::BoreHoleResistivity r = records::read_bore_hole_resistivity(r_.fields());
        b.log = r.array == 1   ? BoreHoleLog::LongNormal
                : r.array == 2 ? BoreHoleLog::Lateral
                               : BoreHoleLog::ShortNormal;
        b.sp = r.sp;
        b.depth = r.depth;
        b.resistivity = r.resistivity;
        break;
    }
    case id::kBoreHoleFluidData: {
        const records::BoreHoleFluid r = records::read_bore_hole_fluid(r_.fields());
        b.log = BoreHoleLog::Fluid;
        b.depth = r.depth;
        b.resistivity = r.resistivity;
        b.temperature = r.temperature;
        break;
    }
    default: {
        const records::BoreHoleSp r = records::read_bore_hole_sp(r_.fields());
        b.log = BoreHoleLog::SelfPotential;
        b.depth = r.depth;
        b.sp = r.sp;
        break;
    }
    }
}

} // namespace

LoadResult read_database(std::FILE *input, std::uint64_t length) {
    LoadResult result;
    records::RecordReader record(input, kRecordCapacity);
    ModelBuilder builder(record);
    std::uint64_t position = 0;
    while (position < length) {
        record.read_header();
        result.stop_offset = position;
        result.stop_record_id = record.id();
        result.stop_record_length = record.length();
        const std::uint64_t remaining = length - position;
        if (record.id() == id::kEndOfData) {
            result.stop = LoadStop::EndMarker;
            break;
        }
        const std::size_t minimum = minimum_length(record.id());
        if (minimum == 0) {
            result.stop = LoadStop::UnknownRecord;
            break;
        }
        if (!record.length_fits()) {
            result.stop = LoadStop::BadLength;
            break;
        }
        if (record.length() > remaining) {
            result.stop = LoadStop::TruncatedRecord;
            break;
        }
        record.read_body();
        if (!record.body_complete()) { // the file shrank while being read
            result.stop = LoadStop::TruncatedRecord;
            break;
        }
        if (record.length() < minimum) {
            result.stop = LoadStop::RecordTooShort;
            break;
        }
        builder.add_current_record();
        position += record.length();
    }
    if (position == length) {
        result.stop = LoadStop::EndOfFile;
        result.stop_offset = length;
        result.stop_record_id = 0;
        result.stop_record_length = 0;
    }
    result.database = builder.take();
    return result;
}

LoadResult load_database(const std::string &path) {
    struct Closer {
        void operator()(std::FILE *f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> input(std::fopen(path.c_str(), "rb"));
    LoadResult result;
    long length = -1;
    if (input && std::fseek(input.get(), 0, SEEK_END) == 0) length = std::ftell(input.get());
    if (length < 0 || std::fseek(input.get(), 0, SEEK_SET) != 0) {
        result.stop = LoadStop::CannotOpen;
        result.path = path;
        return result;
    }
    result = read_database(input.get(), static_cast<std::uint64_t>(length));
    result.path = path;
    return result;
}

std::string stop_reason(const LoadResult &result) {
    char text[160];
    const auto at = static_cast<unsigned long long>(result.stop_offset);
    const unsigned kind = result.stop_record_id;
    switch (result.stop) {
    case LoadStop::EndOfFile:
    case LoadStop::EndMarker:
        return {};
    case LoadStop::CannotOpen:
        return "Cannot read " + result.path + ".";
    case LoadStop::UnknownRecord:
        std::snprintf(text, sizeof text,
                      "Reading stopped at byte %llu: record 0x%04x is of no known kind.", at, kind);
        break;
    case LoadStop::BadLength:
        std::snprintf(text, sizeof text,
                      "Reading stopped at byte %llu: record 0x%04x claims a length of %u bytes.",
                      at, kind, static_cast<unsigned>(result.stop_record_length));
        break;
    case LoadStop::RecordTooShort:
        std::snprintf(text, sizeof text,
                      "Reading stopped at byte %llu: record 0x%04x is too short for its fields.",
                      at, kind);
        break;
    case LoadStop::TruncatedRecord:
        std::snprintf(text, sizeof text,
                      "Reading stopped at byte %llu: the file ends inside record 0x%04x.", at,
                      kind);
        break;
    }
    return text;
}

} // namespace survey
