// The survey model: what a converted database (".tvd") holds, as typed values. Surveys hold
// lines (profiles, soundings, bore holes); lines hold their readings in file order. Plain C++,
// no Qt: the plots, the exports and the command-line tools all read this.
#pragma once

#include "header_records.h"
#include "ip_records.h"
#include "kx4_records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace survey {

// A record's date: the year in binary, day and month as the instrument's BCD bytes.
using records::Date;

// The File header: which instrument wrote the memory.
struct InstrumentHeader {
    std::string name; // "KX-4", "VIREL", ...
    std::uint16_t serial = 0;
    std::uint32_t time_ms = 0; // milliseconds since midnight
    Date date;
    bool is_kx4 = false; // the name is exactly "KX-4"

    bool operator==(const InstrumentHeader &) const = default;
};

// The headers as their records hold them (header_records.h).
using records::BoreHoleHeader;
using records::ProfileHeader;
using records::SoundingHeader;
using records::SurveyHeader;

// One reading of a standard array (IPR standard record), with the acquisition set-up in force
// when it was taken.
struct IpReading : records::IpStandard {
    std::uint16_t array_code = 0;     // of the latest Array record or Sounding header
    std::uint16_t operating_mode = 0; // of the latest IPI record
    std::uint32_t window_count = 0;   // OnWinNum + OffWinNum of the latest IPI record
    // The M channels the record carries: window_count of them, fewer when the record is too
    // short to hold them all.
    std::vector<float> m;

    bool operator==(const IpReading &) const = default;
};

using records::ElectrodePoint;

// A reading with free electrode positions (IPR user record): A, B, M, N in that order.
struct IpUserReading : records::IpUser {
    std::uint16_t operating_mode = 0;
    std::uint32_t window_count = 0;
    std::vector<float> m;

    bool operator==(const IpUserReading &) const = default;
};

// One KX-4 gravity reading, with the set-up in force when it was taken.
struct GravityReading : records::Kx4Reading {
    std::uint16_t coordinate_mode = 0; // Flags of the survey header in force
    // Whether the meter's Tide Correction option was on, so that gravity holds the tide
    // correction: from the latest KX-4 parameter record before the reading, else the first of
    // the database; empty when the database holds none.
    std::optional<bool> tide_corrected;

    bool operator==(const GravityReading &) const = default;
};

// The KX-4 parameter record: the meter's set-up constants and option switches.
using records::Kx4Parameter;

enum class BoreHoleLog { ShortNormal, LongNormal, Lateral, Fluid, SelfPotential };

// One depth of a bore hole log. Fields a log does not measure are 0.
struct BoreHoleReading {
    BoreHoleLog log = BoreHoleLog::ShortNormal;
    float depth = 0;
    float resistivity = 0;
    std::int16_t sp = 0;
    float temperature = 0; // fluid log only

    bool operator==(const BoreHoleReading &) const = default;
};

using records::Note;

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

    bool operator==(const Line &) const = default;
};

struct Survey {
    bool has_header = false; // false for readings that came before any Survey header
    SurveyHeader header;
    std::vector<Line> lines;
    std::vector<Note> notes;

    bool operator==(const Survey &) const = default;
};

struct Database {
    bool has_instrument = false;
    InstrumentHeader instrument;
    std::vector<Survey> surveys;
    std::vector<Kx4Parameter> kx4_parameters; // in file order

    bool operator==(const Database &) const = default;
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
