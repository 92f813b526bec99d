#include "gravity_csv_writer.h"

#include "line_runs.h"
#include "number_text.h"
#include "reading_time.h"
#include "text_pieces.h"

#include <cmath>

namespace exports {

namespace {

bool is_line_station_mode(std::uint16_t mode) {
    return mode == 0 || mode == 1 || mode == 4 || mode == 5;
}

// The reading's date and time in UTC, local time standing offset_ms ahead of it; not valid for
// a date that is no calendar date.
struct Moment {
    survey::UtcDay utc;
    bool valid = false;
    long long serial_day = 0; // days since 1899-12-30, the spreadsheet count
};

Moment shifted(const survey::GravityReading &r, long long offset_ms) {
    const std::optional<survey::UtcMs> utc = survey::to_utc(r.date, r.time_ms, offset_ms);
    if (!utc) return {};
    const survey::UtcDay day = survey::utc_day(*utc);
    constexpr long long kSpreadsheetEpoch = 25569; // 1970-01-01 counted from 1899-12-30
    return {day, true, day.days + kSpreadsheetEpoch};
}

char *field(char *at, double value, int decimals) {
    at = write_fixed(at, value, decimals);
    *at = ',';
    return at + 1;
}

char *integer_field(char *at, long long value) {
    at = write_integer(at, value);
    *at = ',';
    return at + 1;
}

char *two_digits(char *at, int value) {
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
    return at + 2;
}

} // namespace

bool is_finite(const survey::GravityReading &r) {
    for (double v : {double{r.x}, double{r.y}, double{r.altitude}, double{r.gravity},
                     double{r.standard_deviation}, r.tilt_x, r.tilt_y, r.temperature, r.tide,
                     double{r.terrain_correction}})
        if (!std::isfinite(v)) return false;
    return true;
}

namespace {

// Room enough for a station name.
constexpr std::size_t kWidestStationName = 2 + 2 * kWidestFixed;

char *write_station_name(char *at, const survey::GravityReading &r) {
    const bool by_line = is_line_station_mode(r.coordinate_mode);
    if (by_line) *at++ = 'L';
    at = write_compact(at, r.y, by_line ? 3 : 7);
    *at++ = by_line ? '-' : '_';
    return write_compact(at, r.x, by_line ? 3 : 7);
}

} // namespace

void append_station_name(std::string &out, const survey::GravityReading &r) {
    char buffer[kWidestStationName];
    out.append(buffer, write_station_name(buffer, r));
}

std::string station_name(const survey::GravityReading &r) {
    std::string name;
    append_station_name(name, r);
    return name;
}

GravityCsv gravity_csv(const survey::Database &database, const GravityCsvOptions &options,
                       TextOut &out) {
    const long long offset_ms =
        options.utc_offset_hours ? std::llround(*options.utc_offset_hours * 3600000.0) : 0;
    GravityCsv csv;
    std::string head(kGravityCsvHeader);
    head += '\n';
    if (options.utc_offset_hours) {
        const double zone = *options.utc_offset_hours;
        head += "% TIME and DATE in UTC: the meter's times (UTC";
        head += zone < 0 ? "-" : "+";
        head += compact(std::fabs(zone), 3);
        head += ") shifted by ";
        head += zone > 0 ? "-" : "+";
        head += compact(std::fabs(zone), 3);
        head += " h\n";
    }
    bool by_line_and_station = false, uncorrected = false;
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines)
            for (const survey::GravityReading &r : line.gravity_readings) {
                by_line_and_station = by_line_and_station || r.coordinate_mode != 12;
                uncorrected = uncorrected || r.tide_corrected == false;
            }
    // Readers take the raw reading as GRAV - TIDE: where the meter applied no tide correction,
    // its TIDE values would shift every such reading.
    if (uncorrected)
        head += "% TIDE 0: the meter's Tide Correction option was off, so GRAV carries no tide "
                "correction; the meter's values are in the TIDE column of the spreadsheet CSV\n";
    // Readings in latitude/longitude mode carry their own; the others stand at the survey's
    // reference position, close enough for a tide model.
    if (by_line_and_station)
        head += "% LAT and LON of readings without their own: the survey's reference position\n";
    // The lines are formatted in runs two at a time (line_runs.h), each run counting what it
    // leaves out.
    const std::vector<LineRun> runs = gravity_runs(database);
    out.expect(head.size() + 140 * reading_count(runs));
    out.append(head);

    // The widest line: the station, eleven numbers of fixed decimals, five integers, the time.
    constexpr std::size_t kWidestLine =
        kWidestStationName + 11 * (kWidestFixed + 1) + 5 * (kWidestInteger + 1) + 16;
    std::vector<GravityCsv> counts(runs.size());
    format_pieces(
        runs.size(),
        [&](std::size_t piece, TextOut &run_text) {
            const LineRun &run = runs[piece];
            const survey::Survey &s = *run.survey;
            GravityCsv &count = counts[piece];
            for (std::size_t i = run.begin; i < run.end; ++i) {
                const survey::GravityReading &r = run.line->gravity_readings[i];
                if (!is_finite(r)) {
                    ++count.not_finite;
                    continue;
                }
                // A damaged clock field: moving the date by it would invent a day.
                if (r.time_ms >= survey::kDayMs) {
                    ++count.beyond_a_day;
                    continue;
                }
                const Moment m = shifted(r, offset_ms);
                // A reader's import stops at a date that cannot exist, loading nothing.
                if (!m.valid) {
                    ++count.invalid_dates;
                    continue;
                }
                const bool own_position = r.coordinate_mode == 12;
                ++count.readings;

                char *at = write_station_name(run_text.room(kWidestLine), r);
                *at++ = ',';
                at = field(at, own_position ? r.y : s.header.latitude, 7);
                at = field(at, own_position ? r.x : s.header.longitude, 7);
                at = field(at, r.altitude, 3);
                at = field(at, r.gravity, 3);
                at = field(at, r.standard_deviation, 3);
                at = field(at, r.tilt_x, 1);
                at = field(at, r.tilt_y, 1);
                at = field(at, r.temperature, 2);
                at = field(at, r.tide_corrected == false ? 0.0 : r.tide, 3);
                at = integer_field(at, r.duration);
                at = integer_field(at, r.rejected);
                const auto seconds = static_cast<int>(m.utc.ms / 1000);
                at = two_digits(at, seconds / 3600);
                *at++ = ':';
                at = two_digits(at, seconds / 60 % 60);
                *at++ = ':';
                at = two_digits(at, seconds % 60);
                *at++ = ',';
                at = field(at,
                           static_cast<double>(m.serial_day) +
                               static_cast<double>(m.utc.ms) / survey::kDayMs,
                           5);
                at = field(at, r.terrain_correction, 3);
                at = write_integer(at, m.utc.month);
                *at++ = '/';
                at = write_integer(at, m.utc.day);
                *at++ = '/';
                at = write_integer(at, m.utc.year);
                *at++ = '\n';
                run_text.wrote(at);
            }
        },
        out);
    for (const GravityCsv &count : counts) {
        csv.readings += count.readings;
        csv.invalid_dates += count.invalid_dates;
        csv.not_finite += count.not_finite;
        csv.beyond_a_day += count.beyond_a_day;
    }
    return csv;
}

} // namespace exports
