// KX-4 data and KX-4 parameter records.
#include "gravity.h"

#include "handlers.h"
#include "kx4_records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace dumpdec {

std::int64_t day_number(int day, int month, int year) {
    if (day == 29 && month == 2 && year == 1900) return 60;
    const std::int64_t a = (month - 14) / 12;
    const std::int64_t y = year + a;
    std::int64_t d = (1461 * (y + 4800)) / 4 + (367 * (month - 2 - 12 * a)) / 12 -
                     (3 * ((y + 4900) / 100)) / 4 + day - 2447094;
    if (d < 60) d -= 1;
    return d;
}

double decimal_date_time(std::int64_t day, int hours, int minutes, int seconds) {
    // The instrument's constant is 0.0416 per hour, not 1/24; the per-minute and per-second
    // values are the doubles nearest 0.0416/60 and 0.0416/3600.
    constexpr double kPerHour = 0.0416;
    constexpr double kPerMinute = 0.00069333333333333333;
    constexpr double kPerSecond = 0.000011555555555555556;
    return static_cast<double>(day) + hours * kPerHour + minutes * kPerMinute +
           seconds * kPerSecond;
}

std::size_t format_sample_line(char *line, const std::int32_t (&samples)[4]) {
    char *out = line;
    *out++ = '\r';
    *out++ = '\n';
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) {
            *out++ = ' ';
            *out++ = ' ';
        }
        char digits[12];
        const auto result = std::to_chars(digits, digits + sizeof digits, samples[i]);
        const std::size_t length = static_cast<std::size_t>(result.ptr - digits);
        for (std::size_t pad = length; pad < 10; ++pad)
            *out++ = ' '; // "%10d"
        std::memcpy(out, digits, length);
        out += length;
    }
    return static_cast<std::size_t>(out - line);
}

namespace {

enum class ColumnMode { kLineStation, kLineStationLettered, kNorthingEasting, kLatLong, kNone };

ColumnMode column_mode(std::uint16_t survey_flags) {
    switch (survey_flags) {
    case 0:
    case 4:
        return ColumnMode::kLineStation;
    case 1:
    case 5:
        return ColumnMode::kLineStationLettered;
    case 2:
        return ColumnMode::kNorthingEasting;
    case 12:
        return ColumnMode::kLatLong;
    default:
        return ColumnMode::kNone;
    }
}

const char *column_header(ColumnMode mode) {
    switch (mode) {
    case ColumnMode::kLineStation:
    case ColumnMode::kLineStationLettered:
        return "\r\n/------LINE-----STATION-----ALT.------GRAV.---SD.--TILTX--TILTY-TEMP---TIDE"
               "---DUR-REJ-----TIME----DEC.TIME+DATE--TERRAIN---DATE";
    case ColumnMode::kNorthingEasting:
        return "\r\n/--NORTHING-----EASTING-----ALT.------GRAV.---SD.--TILTX--TILTY-TEMP---TIDE"
               "---DUR-REJ-----TIME----DEC.TIME+DATE--TERRAIN---DATE";
    case ColumnMode::kLatLong:
        return "\r\n/-------LAT--------LONG-----ALT.------GRAV.---SD.--TILTX--TILTY-TEMP---TIDE"
               "---DUR-REJ-----TIME----DEC.TIME+DATE--TERRAIN---DATE";
    case ColumnMode::kNone:
        break;
    }
    return nullptr;
}

// Y and X as written in a data line: magnitude or signed value, with a letter or a blank.
struct Coordinates {
    float y, x;
    char y_letter = ' ', x_letter = ' ';
};

Coordinates letter_coordinates(ColumnMode mode, float y, float x, std::uint8_t direction) {
    Coordinates c{y, x};
    if (mode == ColumnMode::kNorthingEasting) {
        c.y_letter = y > 0 ? 'N' : (y < 0 ? 'S' : ' ');
        c.x_letter = x > 0 ? 'E' : (x < 0 ? 'W' : ' ');
    } else if (mode == ColumnMode::kLineStationLettered) {
        // Y carries the line's direction; X the side across the line. A direction above 3 has
        // no meaning: no letters then.
        if (direction <= 3) {
            if (y != 0) c.y_letter = "NSEW"[direction];
            if (x != 0) c.x_letter = direction <= 1 ? (x > 0 ? 'E' : 'W') : (x > 0 ? 'N' : 'S');
        }
    } else {
        return c;
    }
    c.y = std::fabs(y);
    c.x = std::fabs(x);
    return c;
}

// Converts the raw samples and writes their complete groups of four to the raw-samples file.
// Only samples that lie inside both Raw_Length and the record are touched.
void write_raw_samples(Record &record, OutputFile &raw_samples, std::int32_t raw_length) {
    if (raw_length <= 0 || record.length <= records::kKx4RawSamples) return;
    const std::size_t room = record.length - records::kKx4RawSamples;
    const std::size_t bytes = std::min<std::size_t>(static_cast<std::size_t>(raw_length), room);
    const std::size_t samples = bytes / 4;
    const std::size_t groups = samples / 4;
    std::size_t offset = records::kKx4RawSamples;
    char line[64];
    for (std::size_t g = 0; g < groups; ++g, offset += 16) {
        const std::int32_t group[4] = {record.convert_i32(offset), record.convert_i32(offset + 4),
                                       record.convert_i32(offset + 8),
                                       record.convert_i32(offset + 12)};
        raw_samples.write(line, format_sample_line(line, group));
    }
    for (std::size_t s = groups * 4; s < samples; ++s, offset += 4)
        record.convert_i32(offset);
}

} // namespace

void handle_kx4_data(Record &record, DatabaseWriter &database, LinkTables &links,
                     SurveyState &survey, Outputs &out) {
    links.add_data_record(database.offset());
    const records::Kx4Reading r = records::read_kx4_reading(record);
    const TimeOfDay time = split_time(static_cast<std::int32_t>(r.time_ms));
    const std::uint16_t year = r.date.year;
    const std::uint8_t month = r.date.month_bcd, day = r.date.day_bcd;
    OutputFile &log = out.listing;
    print(log, "X:\t\t\t\t%-12.7f\n"_fmt, r.x);
    print(log, "Y:\t\t\t\t%-12.7f\n"_fmt, r.y);
    print(log, "Altitude:\t\t\t\t%-8.3f\n"_fmt, r.altitude);
    print(log, "LineID:\t\t\t\t%-8.3f\n"_fmt, r.line_id);
    print(log, "Gravity:\t\t\t\t%-8.3f\n"_fmt, r.gravity);
    print(log, "Standard dev.:\t\t\t\t%-8.3f\n"_fmt, r.standard_deviation);
    print(log, "TiltX:\t\t\t\t\t%-4.1f\n"_fmt, r.tilt_x);
    print(log, "TiltY:\t\t\t\t\t%-4.1f\n"_fmt, r.tilt_y);
    print(log, "Temperature:\t\t\t%-4.1f\n"_fmt, r.temperature);
    print(log, "Tide:\t\t\t\t\t%-4.3f\n"_fmt, r.tide);
    print(log, "Duration:\t\t\t\t%-4d\n"_fmt, r.duration);
    print(log, "Rejected:\t\t\t\t%-4d\n"_fmt, r.rejected);
    print(log, "Terrain Corr.:\t\t\t\t%-8.3f\n"_fmt, r.terrain_correction);
    print(log, "Time:\t\t        %02d:%02d:%02d\n"_fmt, time.hours, time.minutes, time.seconds);
    print(log, "Date:\t            %04d/%02X/%02X\n"_fmt, year, month, day);
    print(log, "*Raw_Samples:\t\t    %-d\n"_fmt, r.raw_samples);
    print(log, "Raw_Length:\t\t     %-d\n"_fmt, r.raw_length);
    if (r.raw_samples != -1) write_raw_samples(record, out.raw_samples, r.raw_length);
    database.write(record);

    const ColumnMode mode = column_mode(survey.survey_header.coordinate_mode);
    OutputFile &txt = out.survey_text;
    if (survey.column_header_due) {
        if (const char *header = column_header(mode)) put(txt, header);
        survey.column_header_due = false;
    }
    const Coordinates c = letter_coordinates(mode, r.y, r.x, r.line_direction);
    print(txt, "\r\n%10.7f%c %10.7f%c %8.4f %10.3f %4.3f %6.1f %6.1f %4.2f %5.3f "_fmt, c.y,
          c.y_letter, c.x, c.x_letter, r.altitude, r.gravity, r.standard_deviation, r.tilt_x,
          r.tilt_y, r.temperature, r.tide);
    const double when = decimal_date_time(day_number(from_bcd(day), from_bcd(month), year),
                                          time.hours, time.minutes, time.seconds);
    print(txt, "%3d %3d %02d:%02d:%02d     %9.5f    %6.4f  %04d/%02X/%02X"_fmt, r.duration,
          r.rejected, time.hours, time.minutes, time.seconds, when, r.terrain_correction, year,
          month, day);
}

void handle_kx4_parameter(Record &record, DatabaseWriter &database, Outputs &out) {
    OutputFile &log = out.listing;
    // The flags as the instrument's little-endian reading shows them, then decoded.
    const std::size_t at = records::kKx4ParameterFlags;
    const unsigned before = static_cast<unsigned>(record.byte(at) | record.byte(at + 1) << 8);
    print(log, "Flags:\t  before          %-x\n"_fmt, before);
    const records::Kx4Parameter p = records::read_kx4_parameter(record);
    print(log, "Flags:\t            %-x\n"_fmt, p.flags);

    static constexpr const char *kNames[] = {"Gref",   "Gcal1",  "TiltxS", "TiltyS",
                                             "TiltxO", "TiltyO", "Tempco", "Drift"};
    const double values[] = {p.gref,
                             p.gcal1,
                             p.tilt_x_sensitivity,
                             p.tilt_y_sensitivity,
                             p.tilt_x_offset,
                             p.tilt_y_offset,
                             p.tempco,
                             p.drift};
    for (std::size_t i = 0; i < 8; ++i)
        print(log, "%s:\t\t\t\t%-8.3f\n"_fmt, kNames[i], values[i]);
    const TimeOfDay drift_time = split_time(static_cast<std::int32_t>(p.drift_time_ms));
    print(log, "DriftTime Start:\t%02d:%02d:%02d\n"_fmt, drift_time.hours, drift_time.minutes,
          drift_time.seconds);
    const std::uint16_t year = p.drift_date.year;
    const std::uint8_t month = p.drift_date.month_bcd, day = p.drift_date.day_bcd;
    print(log, "Drift Date Start:\t%04d/%02X/%02X\n"_fmt, year, month, day);
    database.write(record);

    OutputFile &txt = out.survey_text;
    put(txt, "\r\n\r\n/\tKX-4 SETUP PARAMETERS");
    print(txt, "\r\n/\tGref:\t\t\t%-8.3f"_fmt, values[0]);
    for (std::size_t i = 1; i < 8; ++i)
        print(txt, "\r\n/\t%s:\t\t%-8.3f"_fmt, kNames[i], values[i]);
    print(txt, "\r\n/\tDriftTime Start:\t%02d:%02d:%02d"_fmt, drift_time.hours, drift_time.minutes,
          drift_time.seconds);
    print(txt, "\r\n/\tDriftDate Start:\t%4d/%02X/%02X"_fmt, year, month, day);
    put(txt, "\r\n\r\n/\tKX-4 OPTIONS");
    const auto option = [flags = p.flags](int bit) { return (flags >> bit) & 1 ? "YES" : " NO"; };
    print(txt, "\r\n/\tTide Correction:    %3s"_fmt, option(0));
    print(txt, "\r\n/\tCont. Tilt:         %3s"_fmt, option(1));
    print(txt, "\r\n/\tAuto Rejection:     %3s"_fmt, option(2));
    print(txt, "\r\n/\tTerrain Corr.:      %3s"_fmt, option(3));
    print(txt, "\r\n/\tSeismic Filter:     %3s"_fmt, option(4));
    print(txt, "\r\n/\tRaw Data:           %3s"_fmt, option(5));
}

} // namespace dumpdec
