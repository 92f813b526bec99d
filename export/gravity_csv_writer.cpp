#include "gravity_csv_writer.h"

#include "number_text.h"

#include <chrono>
#include <cmath>

namespace exports {

namespace {

constexpr long long kDayMs = 24LL * 3600 * 1000;

bool is_line_station_mode(std::uint16_t mode) {
    return mode == 0 || mode == 1 || mode == 4 || mode == 5;
}

// The reading's time and date, shifted by offset_ms; a date that is no calendar date keeps its
// numbers and only the time of day moves.
struct Moment {
    long long ms = 0; // since midnight
    int year = 0, month = 0, day = 0;
    bool valid = false;
    long long serial_day = 0; // days since 1899-12-30, the spreadsheet count
};

Moment shifted(const survey::GravityReading &r, long long offset_ms) {
    using namespace std::chrono;
    const long long total = static_cast<long long>(r.time_ms) - offset_ms;
    const long long carry = total >= 0 ? total / kDayMs : -((-total + kDayMs - 1) / kDayMs);
    Moment m{.ms = total - carry * kDayMs,
             .year = r.date.year,
             .month = r.date.month(),
             .day = r.date.day()};
    const year_month_day date{year{m.year}, month{static_cast<unsigned>(m.month)},
                              day{static_cast<unsigned>(m.day)}};
    if (!date.ok()) return m;
    const sys_days moved = sys_days{date} + days{carry};
    const year_month_day result{moved};
    m.year = static_cast<int>(result.year());
    m.month = static_cast<int>(static_cast<unsigned>(result.month()));
    m.day = static_cast<int>(static_cast<unsigned>(result.day()));
    m.valid = true;
    m.serial_day = (moved - sys_days{1899y / December / 30}).count();
    return m;
}

void field(std::string &out, double value, int decimals) {
    append_fixed(out, value, decimals);
    out += ',';
}

std::size_t reading_count(const survey::Database &database) {
    std::size_t count = 0;
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines)
            count += line.gravity_readings.size();
    return count;
}

} // namespace

bool is_finite(const survey::GravityReading &r) {
    for (double v : {double{r.x}, double{r.y}, double{r.altitude}, double{r.gravity},
                     double{r.standard_deviation}, r.tilt_x, r.tilt_y, r.temperature, r.tide,
                     double{r.terrain_correction}})
        if (!std::isfinite(v)) return false;
    return true;
}

void append_station_name(std::string &out, const survey::GravityReading &r) {
    const bool by_line = is_line_station_mode(r.coordinate_mode);
    if (by_line) out += 'L';
    append_compact(out, r.y, by_line ? 3 : 7);
    out += by_line ? '-' : '_';
    append_compact(out, r.x, by_line ? 3 : 7);
}

std::string station_name(const survey::GravityReading &r) {
    std::string name;
    append_station_name(name, r);
    return name;
}

GravityCsv gravity_csv(const survey::Database &database, const GravityCsvOptions &options,
                       TextOut &sink) {
    const long long offset_ms =
        options.utc_offset_hours ? std::llround(*options.utc_offset_hours * 3600000.0) : 0;
    GravityCsv csv;
    std::string &out = sink.text();
    out += kGravityCsvHeader;
    out += '\n';
    if (options.utc_offset_hours) {
        const double zone = *options.utc_offset_hours;
        out += "% TIME and DATE in UTC: the meter's times (UTC";
        out += zone < 0 ? "-" : "+";
        out += compact(std::fabs(zone), 3);
        out += ") shifted by ";
        out += zone > 0 ? "-" : "+";
        out += compact(std::fabs(zone), 3);
        out += " h\n";
    }
    bool by_line_and_station = false;
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines)
            for (const survey::GravityReading &r : line.gravity_readings)
                by_line_and_station = by_line_and_station || r.coordinate_mode != 12;
    // Readings in latitude/longitude mode carry their own; the others stand at the survey's
    // reference position, close enough for a tide model.
    if (by_line_and_station)
        out += "% LAT and LON of readings without their own: the survey's reference position\n";

    sink.expect(out.size() + 140 * reading_count(database));
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines)
            for (const survey::GravityReading &r : line.gravity_readings) {
                if (!is_finite(r)) {
                    ++csv.not_finite;
                    continue;
                }
                // A damaged clock field: moving the date by it would invent a day.
                if (r.time_ms >= kDayMs) {
                    ++csv.beyond_a_day;
                    continue;
                }
                const bool own_position = r.coordinate_mode == 12;
                const Moment m = shifted(r, offset_ms);
                csv.invalid_dates += m.valid ? 0 : 1;
                ++csv.readings;

                append_station_name(out, r);
                out += ',';
                field(out, own_position ? r.y : s.header.latitude, 7);
                field(out, own_position ? r.x : s.header.longitude, 7);
                field(out, r.altitude, 3);
                field(out, r.gravity, 3);
                field(out, r.standard_deviation, 3);
                field(out, r.tilt_x, 1);
                field(out, r.tilt_y, 1);
                field(out, r.temperature, 2);
                field(out, r.tide, 3);
                append_integer(out, r.duration);
                out += ',';
                append_integer(out, r.rejected);
                out += ',';
                const auto seconds = static_cast<int>(m.ms / 1000);
                append_two_digits(out, seconds / 3600);
                out += ':';
                append_two_digits(out, seconds / 60 % 60);
                out += ':';
                append_two_digits(out, seconds % 60);
                out += ',';
                field(out, static_cast<double>(m.serial_day) + static_cast<double>(m.ms) / kDayMs,
                      5);
                field(out, r.terrain_correction, 3);
                append_integer(out, m.month);
                out += '/';
                append_integer(out, m.day);
                out += '/';
                append_integer(out, m.year);
                out += '\n';
                sink.row_end();
            }
    return csv;
}

} // namespace exports
