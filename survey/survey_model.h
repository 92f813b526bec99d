// The survey model: what a converted database (".tvd") holds, as typed values. Surveys hold
// lines (profiles, soundings, bore holes); lines hold their readings in file order. Plain C++,
// no Qt: the plots, the exports and the command-line tools all read this.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace survey {

// A record's date: the year in binary, day and month as the instrument's BCD bytes (0x12 is the
// 12th), kept as stored so text printed with "%X" shows them as the instrument meant.
struct Date {
    std::uint16_t year = 0;
    std::uint8_t month_bcd = 0;
    std::uint8_t day_bcd = 0;

    int month() const { return (month_bcd >> 4) * 10 + (month_bcd & 0x0F); }
    int day() const { return (day_bcd >> 4) * 10 + (day_bcd & 0x0F); }
};

// The File header: which instrument wrote the memory.
struct InstrumentHeader {
    std::string name; // "KX-4", "VIREL", ...
    std::uint16_t serial = 0;
    std::uint32_t time_ms = 0; // milliseconds since midnight
    Date date;
    bool is_kx4 = false; // the name is exactly "KX-4"
};

struct SurveyHeader {
    std::string client;
    std::string name;
    std::string operator_name;
    std::uint32_t time_ms = 0;
    Date date;
    std::int32_t utc_offset_ms = 0;    // UTC_LTZ: local time zone minus UTC
    std::uint16_t coordinate_mode = 0; // Flags: how KX-4 readings give X and Y
    std::uint16_t azimuth = 0;
    std::uint16_t utm_zone = 0;
    std::uint16_t magnetic_declination = 0;
    double longitude = 0; // "Easting" field, degrees east positive
    double latitude = 0;  // "Northing" field, degrees north positive
    float altitude = 0;
    float grid_north = 0, grid_south = 0, grid_east = 0, grid_west = 0;
};

struct ProfileHeader {
    float line_pos = 0;           // a northing, or an easting when line_pos_is_easting()
    std::uint16_t line_coord = 0; // flags; bit 1: Line pos is an easting
    std::uint16_t azimuth_tenths = 0;
    std::uint16_t station_count = 0;

    bool line_pos_is_easting() const { return (line_coord & 0x2) != 0; }
};

struct SoundingHeader {
    std::uint16_t array_code = 0;
    std::uint16_t azimuth_tenths = 0;
    double easting = 0;
    double northing = 0;
    float altitude = 0;
    std::string name;
};

struct BoreHoleHeader {
    std::uint16_t plunge_tenths = 0;
    std::uint16_t azimuth_tenths = 0;
    double easting = 0;
    double northing = 0;
    float altitude = 0;
    std::string name;
};

// One reading of a standard array (IPR standard record), with the acquisition set-up in force
// when it was taken.
struct IpReading {
    std::uint16_t array_code = 0;     // of the latest Array record or Sounding header
    std::uint16_t operating_mode = 0; // of the latest IPI record
    std::uint32_t window_count = 0;   // OnWinNum + OffWinNum of the latest IPI record
    float x = 0, y = 0, z = 0;
    std::uint16_t line_coord = 0;
    std::uint16_t n = 0;
    float dn = 0, da = 0, db = 0;
    std::uint16_t res_con = 0;
    std::int16_t sp = 0;
    float vp = 0, itx = 0;
    float ro = 0; // apparent resistivity, signed as measured
    float stdev = 0;
    // The M channels the record carries: window_count of them, fewer when the record is too
    // short to hold them all.
    std::vector<float> m;
};

struct ElectrodePoint {
    float x = 0, y = 0, z = 0;
};

// A reading with free electrode positions (IPR user record): A, B, M, N in that order.
struct IpUserReading {
    std::uint16_t operating_mode = 0;
    std::uint32_t window_count = 0;
    std::uint16_t line_coord = 0;
    ElectrodePoint electrodes[4];
    std::uint16_t res_con = 0;
    std::int16_t sp = 0;
    float vp = 0, itx = 0, ro = 0, stdev = 0;
    std::vector<float> m;
};

// One KX-4 gravity reading. Tilts, temperature and tide are the stored counts scaled as the
// meter lists them (x 0.1, x 0.1, x 0.01, x 0.001).
struct GravityReading {
    float x = 0; // station, easting or longitude by coordinate mode
    float y = 0; // line, northing or latitude by coordinate mode
    float altitude = 0;
    float line_id = 0;
    float gravity = 0;            // mGal, the meter's tide correction included
    float standard_deviation = 0; // mGal
    double tilt_x = 0;
    double tilt_y = 0;
    double temperature = 0;     // degrees C
    double tide = 0;            // mGal
    std::uint16_t duration = 0; // seconds
    std::uint16_t rejected = 0; // samples
    float terrain_correction = 0;
    std::uint32_t time_ms = 0;
    Date date;
    std::uint8_t line_direction = 0;   // 0 N, 1 S, 2 E, 3 W
    std::uint16_t coordinate_mode = 0; // Flags of the survey header in force
    // Whether the meter's Tide Correction option was on, so that gravity holds the tide
    // correction: from the latest KX-4 parameter record before the reading, else the first of
    // the database; empty when the database holds none.
    std::optional<bool> tide_corrected;
};

// The KX-4 parameter record: the meter's set-up constants and option switches.
struct Kx4Parameter {
    double gref = 0, gcal1 = 0;
    double tilt_x_sensitivity = 0, tilt_y_sensitivity = 0, tilt_x_offset = 0, tilt_y_offset = 0;
    double tempco = 0, drift = 0;
    std::uint32_t drift_time_ms = 0; // drift start, milliseconds since midnight
    Date drift_date;
    std::uint16_t flags = 0; // option bits: 0x01 tide correction, 0x02 continuous tilt,
                             // 0x04 auto rejection, 0x08 terrain correction, 0x10 seismic
                             // filter, 0x20 raw data

    bool tide_correction() const { return (flags & 0x01) != 0; }
};

enum class BoreHoleLog { ShortNormal, LongNormal, Lateral, Fluid, SelfPotential };

// One depth of a bore hole log. Fields a log does not measure are 0.
struct BoreHoleReading {
    BoreHoleLog log = BoreHoleLog::ShortNormal;
    float depth = 0;
    float resistivity = 0;
    std::int16_t sp = 0;
    float temperature = 0; // fluid log only
};

struct Note {
    std::uint32_t code = 0;
    std::string text;
};

enum class LineKind {
    Profile,
    Sounding,
    BoreHole,
    Unheaded, // data records that came before any line header of their survey
};

// A survey line, sounding or bore hole: its header and the readings that follow it.
struct Line {
    LineKind kind = LineKind::Unheaded;
    ProfileHeader profile;    // kind Profile
    SoundingHeader sounding;  // kind Sounding
    BoreHoleHeader bore_hole; // kind BoreHole
    std::vector<IpReading> ip_readings;
    std::vector<IpUserReading> ip_user_readings;
    std::vector<GravityReading> gravity_readings;
    std::vector<BoreHoleReading> bore_hole_readings;

    bool empty() const {
        return ip_readings.empty() && ip_user_readings.empty() && gravity_readings.empty() &&
               bore_hole_readings.empty();
    }
};

struct Survey {
    bool has_header = false; // false for readings that came before any Survey header
    SurveyHeader header;
    std::vector<Line> lines;
    std::vector<Note> notes;
};

struct Database {
    bool has_instrument = false;
    InstrumentHeader instrument;
    std::vector<Survey> surveys;
    std::vector<Kx4Parameter> kx4_parameters; // in file order
};

// Why reading stopped. Everything before the stop is in the database and sound.
enum class LoadStop {
    EndOfFile,       // the whole file was read
    EndMarker,       // an erased-memory word (0xFFFF) ended the data
    CannotOpen,      // the file could not be opened or read; the database is empty
    UnknownRecord,   // a Record ID outside the table of record kinds
    BadLength,       // a Record length below the header's 4 bytes or above the record buffer
    RecordTooShort,  // a record too short for the fields of its kind
    TruncatedRecord, // the file ends inside a record
};

struct LoadResult {
    Database database;
    LoadStop stop = LoadStop::EndOfFile;
    std::uint64_t stop_offset = 0; // byte offset of the record where reading stopped
    std::uint16_t stop_record_id = 0;
    std::uint16_t stop_record_length = 0;
    std::string path;

    // Whether every byte of the file was read as sound records.
    bool complete() const { return stop == LoadStop::EndOfFile || stop == LoadStop::EndMarker; }
};

} // namespace survey
