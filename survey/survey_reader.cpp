#include "survey_reader.h"

#include "record_layout.h"
#include "record_reader.h"

#include <algorithm>
#include <cinttypes>
#include <cstring>
#include <memory>

namespace survey {

namespace id = ravelin::record_id;
namespace link = ravelin::link_field;

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
        return 52;
    case id::kIprUser:
        return 76;
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
    explicit ModelBuilder(const i2dwriter::RecordReader &record) : r_(record) {}

    void add_current_record();
    Database take();

  private:
    std::string text(std::size_t offset, std::size_t width) const {
        return std::string(i2dwriter::load_text(r_.bytes(), r_.length(), offset, width));
    }
    Date date(std::size_t offset) const {
        return Date{r_.u16(offset + 2), r_.u8(offset + 1), r_.u8(offset)};
    }
    double f64(std::size_t offset) const {
        const std::uint64_t bits = r_.u32(offset) | std::uint64_t{r_.u32(offset + 4)} << 32;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::int16_t i16(std::size_t offset) const { return static_cast<std::int16_t>(r_.u16(offset)); }
    // The M channels that the IPI record in force announces and the record holds.
    std::vector<float> m_channels(std::size_t offset) const;

    Survey &survey();
    Line &line();
    Line &start_line(LineKind kind);
    bool is_empty_header(std::size_t first_data_offset) const {
        return r_.u32(first_data_offset) == ravelin::kNoLink;
    }

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

    const i2dwriter::RecordReader &r_;
    Database database_;
    Line *line_ = nullptr; // the open line of the last survey
    std::uint16_t operating_mode_ = 0;
    std::uint32_t window_count_ = 0;
    std::uint16_t array_code_ = 0;
    std::optional<bool> tide_corrected_; // of the latest KX-4 parameter record
};

// The KX-4 parameter record's Flags field ends at this offset; a shorter record states no options.
constexpr std::size_t kKx4ParameterLength = 78;

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
    for (std::size_t k = 0; k < count; ++k)
        m[k] = r_.f32(offset + 4 * k);
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
    case id::kIpi:
        operating_mode_ = r_.u16(4);
        window_count_ = std::uint32_t{r_.u16(16)} + r_.u16(18);
        break;
    case id::kArray:
        array_code_ = r_.u16(4);
        break;
    case id::kNote:
        survey().notes.push_back(Note{r_.u32(4), text(8, r_.length())});
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
    InstrumentHeader &h = database_.instrument;
    const std::string name = text(28, 16);
    // A KX-4 stays a KX-4 whatever a later File header says, as in the decoder.
    const bool was_kx4 = database_.has_instrument && h.is_kx4;
    h.name = name;
    h.serial = r_.u16(44);
    h.time_ms = r_.u32(84);
    h.date = date(88);
    h.is_kx4 = was_kx4 || name == "KX-4";
    database_.has_instrument = true;
}

void ModelBuilder::add_survey_header() {
    Survey &s = database_.surveys.emplace_back();
    s.has_header = true;
    SurveyHeader &h = s.header;
    h.client = text(4, 36);
    h.name = text(40, 36);
    h.operator_name = text(76, 36);
    h.time_ms = r_.u32(112);
    h.date = date(116);
    h.utc_offset_ms = static_cast<std::int32_t>(r_.u32(120));
    h.coordinate_mode = r_.u16(124);
    h.azimuth = r_.u16(126);
    h.utm_zone = r_.u16(128);
    h.magnetic_declination = r_.u16(130);
    h.longitude = f64(132);
    h.latitude = f64(140);
    h.altitude = r_.f32(148);
    h.grid_north = r_.f32(152);
    h.grid_south = r_.f32(156);
    h.grid_east = r_.f32(160);
    h.grid_west = r_.f32(164);
    line_ = nullptr;
}

void ModelBuilder::add_profile_header() {
    if (is_empty_header(link::kProfileFirstData)) return;
    ProfileHeader &h = start_line(LineKind::Profile).profile;
    h.line_pos = r_.f32(4);
    h.line_coord = r_.u16(8);
    h.azimuth_tenths = r_.u16(10);
    h.station_count = r_.u16(12);
}

void ModelBuilder::add_sounding_header() {
    if (is_empty_header(link::kSoundingFirstData)) return;
    SoundingHeader &h = start_line(LineKind::Sounding).sounding;
    h.array_code = r_.u16(4);
    h.azimuth_tenths = r_.u16(6);
    h.easting = f64(8);
    h.northing = f64(16);
    h.altitude = r_.f32(24);
    h.name = text(28, 8);
    // The sounding's array holds for the readings that follow it.
    array_code_ = h.array_code;
}

void ModelBuilder::add_bore_hole_header() {
    if (is_empty_header(link::kBoreHoleFirstData)) return;
    BoreHoleHeader &h = start_line(LineKind::BoreHole).bore_hole;
    h.plunge_tenths = r_.u16(4);
    h.azimuth_tenths = r_.u16(6);
    h.easting = f64(8);
    h.northing = f64(16);
    h.altitude = r_.f32(24);
    h.name = text(28, 8);
}

void ModelBuilder::add_ip_reading() {
    IpReading &m = line().ip_readings.emplace_back();
    m.array_code = array_code_;
    m.operating_mode = operating_mode_;
    m.window_count = window_count_;
    m.x = r_.f32(4);
    m.y = r_.f32(8);
    m.z = r_.f32(12);
    m.line_coord = r_.u16(16);
    m.n = r_.u16(18);
    m.dn = r_.f32(20);
    m.da = r_.f32(24);
    m.db = r_.f32(28);
    m.res_con = r_.u16(32);
    m.sp = i16(34);
    m.vp = r_.f32(36);
    m.itx = r_.f32(40);
    m.ro = r_.f32(44);
    m.stdev = r_.f32(48);
    m.m = m_channels(52);
}

void ModelBuilder::add_ip_user_reading() {
    IpUserReading &m = line().ip_user_readings.emplace_back();
    m.operating_mode = operating_mode_;
    m.window_count = window_count_;
    m.line_coord = r_.u16(4);
    for (std::size_t p = 0; p < 4; ++p)
        m.electrodes[p] = {r_.f32(8 + 12 * p), r_.f32(12 + 12 * p), r_.f32(16 + 12 * p)};
    m.res_con = r_.u16(56);
    m.sp = i16(58);
    m.vp = r_.f32(60);
    m.itx = r_.f32(64);
    m.ro = r_.f32(68);
    m.stdev = r_.f32(72);
    m.m = m_channels(76);
}

void ModelBuilder::add_gravity_reading() {
    GravityReading &g = line().gravity_readings.emplace_back();
    g.x = r_.f32(4);
    g.y = r_.f32(8);
    g.altitude = r_.f32(12);
    g.line_id = r_.f32(16);
    g.gravity = r_.f32(20);
    g.standard_deviation = r_.f32(24);
    g.tilt_x = i16(28) * 0.1;
    g.tilt_y = i16(30) * 0.1;
    g.temperature = i16(32) * 0.01;
    g.tide = i16(34) * 0.001;
    g.duration = r_.u16(36);
    g.rejected = r_.u16(38);
    g.terrain_correction = r_.f32(40);
    g.time_ms = r_.u32(44);
    g.date = date(48);
    g.line_direction = r_.u8(60);
    const Survey &s = survey();
    g.coordinate_mode = s.has_header ? s.header.coordinate_mode : 0;
    g.tide_corrected = tide_corrected_;
}

void ModelBuilder::add_kx4_parameter() {
    if (r_.length() < kKx4ParameterLength) return;
    Kx4Parameter &p = database_.kx4_parameters.emplace_back();
    p.gref = f64(4);
    p.gcal1 = f64(12);
    p.tilt_x_sensitivity = f64(20);
    p.tilt_y_sensitivity = f64(28);
    p.tilt_x_offset = f64(36);
    p.tilt_y_offset = f64(44);
    p.tempco = f64(52);
    p.drift = f64(60);
    p.drift_time_ms = r_.u32(68);
    p.drift_date = date(72);
    p.flags = r_.u16(76);
    tide_corrected_ = p.tide_correction();
}

void ModelBuilder::add_bore_hole_reading() {
    BoreHoleReading &b = line().bore_hole_readings.emplace_back();
    switch (r_.id()) {
    case id::kBoreHoleResData:
        b.log = r_.u16(4) == 1   ? BoreHoleLog::LongNormal
                : r_.u16(4) == 2 ? BoreHoleLog::Lateral
                                 : BoreHoleLog::ShortNormal;
        b.sp = i16(6);
        b.depth = r_.f32(8);
        b.resistivity = r_.f32(12);
        break;
    case id::kBoreHoleFluidData:
        b.log = BoreHoleLog::Fluid;
        b.depth = r_.f32(4);
        b.resistivity = r_.f32(8);
        b.temperature = r_.f32(12);
        break;
    default:
        b.log = BoreHoleLog::SelfPotential;
        b.depth = r_.f32(4);
        b.sp = i16(8);
        break;
    }
}

} // namespace

LoadResult read_database(std::FILE *input, std::uint64_t length) {
    LoadResult result;
    i2dwriter::RecordReader record(input, kRecordCapacity);
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
