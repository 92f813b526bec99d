#include "table_csv_writer.h"

#include "line_names.h"
#include "line_runs.h"
#include "number_text.h"
#include "plot_geometry.h"
#include "quality.h"
#include "text_pieces.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

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

constexpr std::string_view kEol = "\r\n";

void csv_text(TextOut &out, std::string_view text) {
    if (!needs_quotes(text)) return out.append(text);
    out.put('"');
    for (char c : text) {
        if (c == '"') out.put('"');
        out.put(c);
    }
    out.put('"');
}

template <typename Value> void number(TextOut &out, Value value) {
    char *at = out.room(1 + kWidestExact);
    *at++ = ',';
    if constexpr (std::is_floating_point_v<Value>)
        out.wrote(write_exact(at, static_cast<float>(value)));
    else
        out.wrote(write_integer(at, value));
}

char *two_digits(char *at, unsigned value) {
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
    return at + 2;
}

// ",HH:MM:SS.mmm" of a clock field; the hours of a damaged field (beyond 99) in full.
void append_clock(TextOut &out, std::uint32_t ms) {
    const std::uint32_t seconds = ms / 1000;
    char *at = out.room(16 + kWidestInteger);
    *at++ = ',';
    at = seconds / 3600 > 99 ? write_integer(at, seconds / 3600) : two_digits(at, seconds / 3600);
    *at++ = ':';
    at = two_digits(at, seconds / 60 % 60);
    *at++ = ':';
    at = two_digits(at, seconds % 60);
    *at++ = '.';
    at = two_digits(at, ms % 1000 / 10);
    *at++ = static_cast<char>('0' + ms % 10);
    out.wrote(at);
}

// ",YYYY-MM-DD" as recorded: the BCD bytes in hexadecimal, so digits that are no number show.
void append_date(TextOut &out, const survey::Date &date) {
    constexpr char kHex[] = "0123456789ABCDEF";
    char year[kWidestInteger];
    const auto digits = static_cast<std::size_t>(write_integer(year, date.year) - year);
    char *at = out.room(16 + kWidestInteger);
    *at++ = ',';
    for (std::size_t i = digits; i < 4; ++i)
        *at++ = '0';
    std::memcpy(at, year, digits);
    at += digits;
    for (std::uint8_t bcd : {date.month_bcd, date.day_bcd}) {
        *at++ = '-';
        *at++ = kHex[bcd >> 4];
        *at++ = kHex[bcd & 0x0F];
    }
    out.wrote(at);
}

void text(std::string &out, std::string_view value) {
    out += ',';
    append_csv_text(out, value);
}

void text(TextOut &out, std::string_view value) {
    out.put(',');
    csv_text(out, value);
}

} // namespace

namespace {

// The survey and line columns, the same for every reading of a line.
std::string name_columns(const survey::Survey &s, const survey::Line &line) {
    std::string names;
    append_csv_text(names, s.header.name);
    text(names, line_title(line));
    return names;
}

// What the checks say of one reading: its decay, its pair and its error, when known.
struct ReadingChecks {
    qc::DecayCheck decay;
    const qc::Pair *pair = nullptr;
    std::optional<double> error;
};

// ERROR, PAIR, PAIR_ERROR, DECAY_A, DECAY_B.
void check_columns(TextOut &out, const ReadingChecks &checks) {
    auto significant = [&](const std::optional<double> &value) {
        char *at = out.room(1 + kWidestFixed);
        *at++ = ',';
        out.wrote(value ? write_significant(at, *value, 4, 4) : at);
    };
    significant(checks.error);
    text(out, !checks.pair                                ? "none"
              : checks.pair->kind == qc::PairKind::Repeat ? "repeat"
                                                          : "reciprocal");
    significant(checks.pair ? std::optional(checks.pair->relative_error()) : std::nullopt);
    const std::optional<qc::DecayLaw> &law = checks.decay.law;
    significant(law ? std::optional(law->a) : std::nullopt);
    significant(law ? std::optional(law->b) : std::nullopt);
}

// The measurement columns both kinds of IP reading share, the check columns when asked for and
// the QC column.
template <typename Reading>
void measurements(TextOut &out, const Reading &r, std::size_t channels,
                  const IpTableOptions &options, const ReadingChecks &checks) {
    number(out, r.res_con);
    number(out, r.sp);
    for (float v : {r.vp, r.itx, r.ro, r.stdev})
        number(out, v);
    for (std::size_t k = 0; k < channels; ++k) {
        if (k < r.m.size())
            number(out, r.m[k]);
        else
            out.put(',');
    }
    if (options.errors) check_columns(out, checks);
    text(out, ip_doubts(r.ro, r.stdev, r.res_con, checks.decay, checks.pair, options.limits));
    out.append(kEol);
}

// The checks of reading i of a line: from its profile's where it was checked, else of its decay
// alone.
ReadingChecks reading_checks(const survey::Line &line, std::size_t i, const qc::ProfileQc *profile,
                             const IpTableOptions &options) {
    ReadingChecks checks;
    if (!profile) {
        checks.decay = qc::check_decay(line.ip_readings[i].m);
        return checks;
    }
    checks.decay = profile->decays[i];
    if (profile->pair_of[i]) checks.pair = &profile->pairs[*profile->pair_of[i]];
    if (options.errors) {
        const qc::ReadingError error = qc::chosen_error(*profile, line.ip_readings[i], i,
                                                        *options.errors, options.error_floor);
        if (error.source != qc::ErrorSource::None) checks.error = error.relative;
    }
    return checks;
}

} // namespace

int ip_table_csv(const survey::Database &database, const IpTableOptions &options, TextOut &out) {
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
    std::unordered_map<const survey::Line *, const qc::ProfileQc *> checked;
    if (options.checked)
        for (const qc::ProfileQc &profile : options.checked->profiles)
            checked[&database.surveys[profile.survey].lines[profile.line]] = &profile;

    out.expect(rows * (200 + 12 * channels));
    std::string header = "SURVEY,LINE,ARRAY,OPERATING_MODE,WINDOWS,LINE_COORD,X,Y,Z,N,DN,DA,DB";
    // Readings with free electrode positions give the four points instead of X and distances.
    if (free_electrodes) header += ",A_X,A_Y,A_Z,B_X,B_Y,B_Z,M_X,M_Y,M_Z,N_X,N_Y,N_Z";
    header += ",RES_CON,SP,VP,ITX,RO,STDEV";
    for (std::size_t k = 1; k <= channels; ++k)
        header += ",M" + std::to_string(k);
    if (options.errors) header += ",ERROR,PAIR,PAIR_ERROR,DECAY_A,DECAY_B";
    header += ",QC";
    header += kEol;
    out.append(header);
    // A line's readings with free electrode positions come after its others.
    const std::vector<LineRun> runs = line_runs(database, [](const survey::Line &line) {
        return line.ip_readings.size() + line.ip_user_readings.size();
    });
    format_pieces(
        runs.size(),
        [&](std::size_t piece, TextOut &run_text) {
            const LineRun &run = runs[piece];
            const std::string names = name_columns(*run.survey, *run.line);
            const auto found = checked.find(run.line);
            const qc::ProfileQc *profile = found == checked.end() ? nullptr : found->second;
            const std::size_t standard = run.line->ip_readings.size();
            for (std::size_t i = run.begin; i < run.end; ++i) {
                run_text.append(names);
                if (i < standard) {
                    const survey::IpReading &r = run.line->ip_readings[i];
                    text(run_text, survey::array_name(r.array_code));
                    number(run_text, r.operating_mode);
                    number(run_text, r.window_count);
                    number(run_text, r.line_coord);
                    for (float v : {r.x, r.y, r.z})
                        number(run_text, v);
                    number(run_text, r.n);
                    for (float v : {r.dn, r.da, r.db})
                        number(run_text, v);
                    if (free_electrodes) run_text.append(",,,,,,,,,,,,");
                    measurements(run_text, r, channels, options,
                                 reading_checks(*run.line, i, profile, options));
                } else {
                    const survey::IpUserReading &r = run.line->ip_user_readings[i - standard];
                    text(run_text, "free electrodes");
                    number(run_text, r.operating_mode);
                    number(run_text, r.window_count);
                    number(run_text, r.line_coord);
                    run_text.append(",,,,,,,");
                    for (const survey::ElectrodePoint &p : r.electrodes)
                        for (float v : {p.x, p.y, p.z})
                            number(run_text, v);
                    ReadingChecks checks;
                    checks.decay = qc::check_decay(r.m);
                    measurements(run_text, r, channels, options, checks);
                }
            }
        },
        out);
    return static_cast<int>(rows);
}

int gravity_table_csv(const survey::Database &database, TextOut &out) {
    const std::vector<LineRun> runs = gravity_runs(database);
    const std::size_t rows = reading_count(runs);
    out.expect(rows * 200);
    out.append(
        "SURVEY,LINE,X,Y,ALTITUDE,LINE_ID,GRAVITY,SD,TILT_X,TILT_Y,TEMPERATURE,TIDE,DURATION,"
        "REJECTED,TERRAIN,TIME,DATE,LINE_DIRECTION,COORDINATE_MODE,QC\r\n");
    format_pieces(
        runs.size(),
        [&](std::size_t piece, TextOut &run_text) {
            const LineRun &run = runs[piece];
            const std::string names = name_columns(*run.survey, *run.line);
            for (std::size_t i = run.begin; i < run.end; ++i) {
                const survey::GravityReading &r = run.line->gravity_readings[i];
                run_text.append(names);
                for (float v : {r.x, r.y, r.altitude, r.line_id, r.gravity, r.standard_deviation})
                    number(run_text, v);
                for (double v : {r.tilt_x, r.tilt_y, r.temperature, r.tide}) {
                    char *at = run_text.room(1 + kWidestFixed);
                    *at++ = ',';
                    run_text.wrote(write_fixed(at, v, 3));
                }
                number(run_text, r.duration);
                number(run_text, r.rejected);
                number(run_text, r.terrain_correction);
                append_clock(run_text, r.time_ms);
                append_date(run_text, r.date);
                number(run_text, unsigned{r.line_direction});
                number(run_text, r.coordinate_mode);
                text(run_text, gravity_doubts(r));
                run_text.append(kEol);
            }
        },
        out);
    return static_cast<int>(rows);
}

} // namespace exports
