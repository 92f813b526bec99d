#include "table_csv_writer.h"

#include "line_names.h"
#include "number_text.h"
#include "plot_geometry.h"
#include "quality.h"

#include <algorithm>

namespace exports {

namespace {

// A plain loop: find_first_of searches the four characters once for every character of text.
bool needs_quotes(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
}

} // namespace

void append_csv_text(std::string &out, std::string_view text) {
    if (!needs_quotes(text)) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

namespace {

constexpr const char *kEol = "\r\n";

template <typename Value> void number(std::string &out, Value value) {
    out += ',';
    if constexpr (std::is_floating_point_v<Value>)
        append_exact(out, static_cast<float>(value));
    else
        append_integer(out, value);
}

// ",HH:MM:SS.mmm" of a clock field; the hours of a damaged field (beyond 99) in full.
void append_clock(std::string &out, std::uint32_t ms) {
    const std::uint32_t seconds = ms / 1000;
    out += ',';
    if (seconds / 3600 > 99)
        append_integer(out, seconds / 3600);
    else
        append_two_digits(out, static_cast<int>(seconds / 3600));
    out += ':';
    append_two_digits(out, static_cast<int>(seconds / 60 % 60));
    out += ':';
    append_two_digits(out, static_cast<int>(seconds % 60));
    out += '.';
    append_two_digits(out, static_cast<int>(ms % 1000 / 10));
    out += static_cast<char>('0' + ms % 10);
}

// ",YYYY-MM-DD" as recorded: the BCD bytes in hexadecimal, so digits that are no number show.
void append_date(std::string &out, const survey::Date &date) {
    constexpr char kHex[] = "0123456789ABCDEF";
    out += ',';
    const std::size_t start = out.size();
    append_integer(out, date.year);
    if (out.size() - start < 4) out.insert(start, 4 - (out.size() - start), '0');
    for (std::uint8_t bcd : {date.month_bcd, date.day_bcd}) {
        out += '-';
        out += kHex[bcd >> 4];
        out += kHex[bcd & 0x0F];
    }
}

void text(std::string &out, std::string_view value) {
    out += ',';
    append_csv_text(out, value);
}

} // namespace

namespace {

// The measurement columns both kinds of IP reading share, and the QC column.
template <typename Reading>
void measurements(std::string &out, const Reading &r, std::size_t channels, double stdev_limit) {
    number(out, r.res_con);
    number(out, r.sp);
    for (float v : {r.vp, r.itx, r.ro, r.stdev})
        number(out, v);
    for (std::size_t k = 0; k < channels; ++k) {
        if (k < r.m.size())
            number(out, r.m[k]);
        else
            out += ',';
    }
    text(out, ip_doubts(r.ro, r.stdev, r.m, stdev_limit));
    out += kEol;
}

} // namespace

int ip_table_csv(const survey::Database &database, double stdev_limit, TextOut &sink) {
    std::size_t channels = 0, rows = 0;
    bool free_electrodes = false;
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines) {
            for (const survey::IpReading &r : line.ip_readings)
                channels = std::max(channels, r.m.size());
            for (const survey::IpUserReading &r : line.ip_user_readings)
                channels = std::max(channels, r.m.size());
            free_electrodes = free_electrodes || !line.ip_user_readings.empty();
            rows += line.ip_readings.size() + line.ip_user_readings.size();
        }

    int readings = 0;
    sink.expect(rows * (200 + 12 * channels));
    std::string &out = sink.text();
    out += "SURVEY,LINE,ARRAY,OPERATING_MODE,WINDOWS,LINE_COORD,X,Y,Z,N,DN,DA,DB";
    // Readings with free electrode positions give the four points instead of X and distances.
    if (free_electrodes) out += ",A_X,A_Y,A_Z,B_X,B_Y,B_Z,M_X,M_Y,M_Z,N_X,N_Y,N_Z";
    out += ",RES_CON,SP,VP,ITX,RO,STDEV";
    for (std::size_t k = 1; k <= channels; ++k)
        out += ",M" + std::to_string(k);
    out += ",QC";
    out += kEol;
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines) {
            // The survey and line columns, the same for every reading of the line.
            std::string names;
            append_csv_text(names, s.header.name);
            text(names, line_title(line));
            for (const survey::IpReading &r : line.ip_readings) {
                ++readings;
                out += names;
                text(out, survey::array_name(r.array_code));
                number(out, r.operating_mode);
                number(out, r.window_count);
                number(out, r.line_coord);
                for (float v : {r.x, r.y, r.z})
                    number(out, v);
                number(out, r.n);
                for (float v : {r.dn, r.da, r.db})
                    number(out, v);
                if (free_electrodes) out += ",,,,,,,,,,,,";
                measurements(out, r, channels, stdev_limit);
                sink.row_end();
            }
            for (const survey::IpUserReading &r : line.ip_user_readings) {
                ++readings;
                out += names;
                text(out, "free electrodes");
                number(out, r.operating_mode);
                number(out, r.window_count);
                number(out, r.line_coord);
                out += ",,,,,,,";
                for (const survey::ElectrodePoint &p : r.electrodes)
                    for (float v : {p.x, p.y, p.z})
                        number(out, v);
                measurements(out, r, channels, stdev_limit);
                sink.row_end();
            }
        }
    return readings;
}

int gravity_table_csv(const survey::Database &database, TextOut &sink) {
    std::size_t rows = 0;
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines)
            rows += line.gravity_readings.size();
    int readings = 0;
    sink.expect(rows * 200);
    std::string &out = sink.text();
    out += "SURVEY,LINE,X,Y,ALTITUDE,LINE_ID,GRAVITY,SD,TILT_X,TILT_Y,TEMPERATURE,TIDE,DURATION,"
           "REJECTED,TERRAIN,TIME,DATE,LINE_DIRECTION,COORDINATE_MODE,QC";
    out += kEol;
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines) {
            std::string names;
            append_csv_text(names, s.header.name);
            text(names, line_title(line));
            for (const survey::GravityReading &r : line.gravity_readings) {
                ++readings;
                out += names;
                for (float v : {r.x, r.y, r.altitude, r.line_id, r.gravity, r.standard_deviation})
                    number(out, v);
                for (double v : {r.tilt_x, r.tilt_y, r.temperature, r.tide}) {
                    out += ',';
                    append_fixed(out, v, 3);
                }
                number(out, r.duration);
                number(out, r.rejected);
                number(out, r.terrain_correction);
                append_clock(out, r.time_ms);
                append_date(out, r.date);
                number(out, unsigned{r.line_direction});
                number(out, r.coordinate_mode);
                text(out, gravity_doubts(r));
                out += kEol;
                sink.row_end();
            }
        }
    return readings;
}

} // namespace exports
