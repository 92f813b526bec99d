#include "reduction.h"

#include "chi_square.h"
#include "portable.h"
#include "table_csv_writer.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace gravity {

namespace {

void add(std::string &out, const char *format, ...) RAVELIN_PRINTF_FORMAT(2, 3);
void add(std::string &out, const char *format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length > 0) out.append(buffer, std::min<std::size_t>(length, sizeof buffer - 1));
}

std::string signed_shift(int minutes) {
    char text[32];
    std::snprintf(text, sizeof text, "%c%d h %02d min", minutes < 0 ? '-' : '+',
                  std::abs(minutes) / 60, std::abs(minutes) % 60);
    return text;
}

} // namespace

Tally tally(const Reduction &reduction) {
    Tally t;
    for (const LoopFit &loop : reduction.drift.loops) {
        t.loops += loop.closed;
        t.failed_loops += !loop.test_passed;
    }
    for (const ReducedReading &r : reduction.readings)
        t.flagged += r.flagged;
    for (const Station &s : reduction.stations)
        t.single += s.readings == 1;
    return t;
}

std::string summary_text(const Reduction &reduction) {
    std::string out;
    add(out, "KX-4 readings reduced: %zu at %zu stations", reduction.readings.size(),
        reduction.stations.size());
    if (reduction.left_out > 0)
        add(out, " (%zu left out: a value that is no number or an impossible date)",
            reduction.left_out);
    out += '\n';
    for (const survey::Kx4Parameter &p : reduction.parameters)
        add(out,
            "Meter set-up: Tide Correction %s, Gref %.3f, Gcal1 %.6f, drift constant %.4f from "
            "%04d-%02d-%02d %02u:%02u\n",
            p.tide_correction() ? "on" : "off", p.gref, p.gcal1, p.drift, p.drift_date.year,
            p.drift_date.month(), p.drift_date.day(), p.drift_time_ms / 3600000,
            p.drift_time_ms / 60000 % 60);
    if (reduction.readings.empty()) return out;

    const TideComparison &t = reduction.tide;
    if (t.readings > 0) {
        add(out,
            "Tide, meter against Longman (1959), %zu readings: largest difference %.4f mGal, "
            "median %.4f mGal\n",
            t.readings, t.largest, t.median);
        add(out,
            "  the model fits the meter best with the reading times moved by %+d h in whole "
            "hours, %s in minutes (RMS %.4f mGal, unmoved %.4f mGal)\n",
            t.best_shift_hours, signed_shift(t.best_shift_minutes).c_str(), t.rms_at_best_minutes,
            t.rms_unshifted);
    }
    if (reduction.without_position > 0)
        add(out,
            "  %zu readings have no position and their survey header gives none: their model "
            "tide is taken at 0 N 0 E\n",
            reduction.without_position);
    std::size_t by_meter = 0;
    for (const ReducedReading &r : reduction.readings)
        by_meter += r.meter_tide;
    add(out, "Tide correction applied: the meter's for %zu readings, the model's for %zu\n",
        by_meter, reduction.readings.size() - by_meter);

    if (!reduction.base_found) {
        out += "The base named was never read: nothing was adjusted\n";
        return out;
    }
    add(out, "Base: %s\n", reduction.stations[reduction.base].name.c_str());
    const DriftFit &d = reduction.drift;
    if (!d.solved) {
        add(out, "No adjustment: %s\n", d.problem.c_str());
        return out;
    }
    if (d.degrees_of_freedom > 0) {
        const ChiSquareTest test =
            chi_square_test(d.sigma0, static_cast<double>(d.degrees_of_freedom));
        add(out,
            "Adjustment: sigma0 %.3f with %zu degrees of freedom; chi-square test at 95 %%: %s "
            "(v'Pv %.2f, accepted from %.2f to %.2f)\n",
            d.sigma0, d.degrees_of_freedom, test.passed() ? "passed" : "failed", test.statistic,
            test.lower, test.upper);
    } else {
        out += "Adjustment: no redundancy, no test\n";
    }
    if (reduction.base_gravity)
        add(out,
            "Anomalies: the base at %.4f mGal; GRS80 normal gravity, free-air and simple "
            "Bouguer (slab of %.0f kg/m^3) after Hinze et al. (2005)\n",
            *reduction.base_gravity, reduction.density);
    std::size_t loop_number = 0;
    for (const LoopFit &loop : d.loops) {
        const ReducedReading &first = reduction.readings[loop.first];
        const ReducedReading &last = reduction.readings[loop.last];
        if (loop.closed)
            add(out, "Loop %zu: ", ++loop_number);
        else
            out += loop.before_base ? "Before the first base reading: "
                                    : "After the last base reading: ";
        add(out, "%s %s to %s %s UTC, %zu readings", utc_date_text(first.utc).c_str(),
            utc_time_text(first.utc).c_str(), utc_date_text(last.utc).c_str(),
            utc_time_text(last.utc).c_str(), loop.readings);
        if (!loop.tied) {
            out += ", not tied: none of its stations was read in a loop\n";
            continue;
        }
        add(out, ", drift %+.4f mGal/h", loop.rate);
        if (loop.degree == 2) add(out, " %+.5f mGal/h^2", loop.curvature);
        if (loop.closed) add(out, " (base closure %+.4f mGal/h)", loop.closure_rate);
        if (loop.degree < d.requested_degree)
            add(out, ", of degree %d only: its readings tie no more", loop.degree);
        if (loop.sigma0 > 0) {
            add(out, ", sigma0 %.3f, misfit %s\n", loop.sigma0,
                loop.test_passed ? "within chi-square's 95 % bound"
                                 : "BEYOND chi-square's 95 % bound");
        } else {
            out += ", no redundancy\n";
        }
    }
    std::string untied, again;
    for (const Station &s : reduction.stations) {
        if (!s.tied) untied += (untied.empty() ? "" : " ") + s.name;
        if (s.read_again) again += (again.empty() ? "" : " ") + s.name;
    }
    const Tally counted = tally(reduction);
    add(out, "Readings beyond the residual limit: %zu\n", counted.flagged);
    add(out, "Stations tied by one reading only: %zu\n", counted.single);
    add(out, "Loops whose misfit is beyond the bound: %zu\n", counted.failed_loops);
    if (!untied.empty())
        out += "Stations not tied to the base (read the base again): " + untied + '\n';
    out += "Stations to read again: " + (again.empty() ? std::string("none") : again) + '\n';
    return out;
}

std::string stations_csv(const Reduction &reduction) {
    std::string out = "STATION,LINE,X,Y,LAT,LON,ALT,READINGS,G_REL,G_SD,G_ABS,FREE_AIR,BOUGUER,"
                      "FLAG\n";
    const bool adjusted = reduction.base_found && reduction.drift.solved;
    for (std::size_t j = 0; j < reduction.stations.size(); ++j) {
        const Station &s = reduction.stations[j];
        exports::append_csv_text(out, s.name);
        add(out, ",%.3f,%.3f,%.3f,%.7f,%.7f,%.3f,%zu,", s.line, s.x, s.y, s.latitude, s.longitude,
            s.altitude, s.readings);
        if (adjusted && s.tied)
            add(out, "%.4f,%.4f,", s.g_rel, s.g_sd);
        else
            out += ",,";
        if (s.g_abs)
            add(out, "%.4f,%.4f,%.4f,", *s.g_abs, *s.free_air, *s.bouguer);
        else
            out += ",,,";
        if (adjusted && j == reduction.base)
            out += "BASE";
        else if (adjusted && !s.tied)
            out += "UNTIED";
        else if (s.read_again)
            out += "READ_AGAIN";
        else if (s.readings == 1)
            out += "SINGLE";
        out += '\n';
    }
    return out;
}

std::string readings_csv(const Reduction &reduction) {
    std::string out =
        "STATION,DATE_UTC,TIME_UTC,GRAV,SD,TIDE_METER,TIDE_MODEL,DRIFT,G_REDUCED,RESIDUAL,FLAG\n";
    const bool adjusted = reduction.base_found && reduction.drift.solved;
    for (const ReducedReading &r : reduction.readings) {
        exports::append_csv_text(out, reduction.stations[r.station].name);
        add(out, ",%s,%s,%.3f,%.3f,%.4f,%.4f,", utc_date_text(r.utc).c_str(),
            utc_time_text(r.utc).c_str(), r.gravity, r.sd, r.tide_meter, r.tide_model);
        const bool tied = adjusted && !std::isnan(r.residual);
        if (tied)
            add(out, "%.4f,%.4f,%.4f,", r.drift, r.reduced, r.residual);
        else
            out += ",,,";
        if (adjusted) out += !tied ? "UNTIED" : r.flagged ? "RESIDUAL" : "";
        out += '\n';
    }
    return out;
}

} // namespace gravity
