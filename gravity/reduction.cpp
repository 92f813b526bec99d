#include "reduction.h"

#include "anomaly.h"
#include "gravity_csv_writer.h"
#include "longman.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace gravity {

namespace {

struct Gathered {
    std::string name;
    const survey::GravityReading *reading = nullptr;
    UtcMs utc = 0;
    double latitude = 0, longitude = 0;
};

double rms_at_shift(const std::vector<std::size_t> &sample, const std::vector<double> &meter,
                    const std::vector<UtcMs> &times, const std::vector<double> &latitudes,
                    const std::vector<double> &longitudes, const std::vector<double> &altitudes,
                    std::int64_t shift_ms) {
    double sum = 0;
    for (std::size_t i : sample) {
        const double model =
            longman_tide(latitudes[i], longitudes[i], altitudes[i], times[i] + shift_ms).total();
        sum += (meter[i] - model) * (meter[i] - model);
    }
    return std::sqrt(sum / static_cast<double>(sample.size()));
}

} // namespace

TideComparison compare_tides(const std::vector<double> &meter, const std::vector<UtcMs> &times,
                             const std::vector<double> &latitudes,
                             const std::vector<double> &longitudes,
                             const std::vector<double> &altitudes) {
    TideComparison comparison;
    comparison.readings = meter.size();
    if (meter.empty()) return comparison;
    std::vector<double> differences(meter.size());
    for (std::size_t i = 0; i < meter.size(); ++i)
        differences[i] = std::fabs(
            meter[i] - longman_tide(latitudes[i], longitudes[i], altitudes[i], times[i]).total());
    comparison.largest = *std::max_element(differences.begin(), differences.end());
    const std::size_t middle = differences.size() / 2;
    std::nth_element(differences.begin(), differences.begin() + middle, differences.end());
    comparison.median = differences[middle];
    if (differences.size() % 2 == 0)
        comparison.median = (comparison.median +
                             *std::max_element(differences.begin(), differences.begin() + middle)) /
                            2;

    // Readings spread evenly over the whole set stand for it in the search.
    constexpr std::size_t kSample = 240;
    std::vector<std::size_t> sample;
    const std::size_t step = std::max<std::size_t>(1, meter.size() / kSample);
    for (std::size_t i = 0; i < meter.size(); i += step)
        sample.push_back(i);
    double best_hour_rms = std::numeric_limits<double>::infinity();
    double best_minute_rms = best_hour_rms;
    for (int minutes = -720; minutes <= 720; ++minutes) {
        const double rms =
            rms_at_shift(sample, meter, times, latitudes, longitudes, altitudes, minutes * 60000LL);
        if (minutes == 0) comparison.rms_unshifted = rms;
        // Ties keep the shift nearest zero.
        const auto nearer = [&](int best) { return std::abs(minutes) < std::abs(best); };
        if (rms < best_minute_rms ||
            (rms == best_minute_rms && nearer(comparison.best_shift_minutes))) {
            best_minute_rms = rms;
            comparison.best_shift_minutes = minutes;
        }
        if (minutes % 60 == 0 &&
            (rms < best_hour_rms ||
             (rms == best_hour_rms && nearer(comparison.best_shift_hours * 60)))) {
            best_hour_rms = rms;
            comparison.best_shift_hours = minutes / 60;
        }
    }
    comparison.rms_at_best_minutes = best_minute_rms;
    return comparison;
}

Reduction reduce(const std::vector<const survey::Database *> &databases,
                 const ReductionOptions &options) {
    Reduction reduction;
    std::vector<Gathered> gathered;
    for (const survey::Database *database : databases) {
        reduction.parameters.insert(reduction.parameters.end(), database->kx4_parameters.begin(),
                                    database->kx4_parameters.end());
        for (const survey::Survey &s : database->surveys) {
            const std::int64_t offset_ms = options.utc_offset_hours
                                               ? std::llround(*options.utc_offset_hours * 3600000.0)
                                               : s.header.utc_offset_ms;
            for (const survey::Line &line : s.lines)
                for (const survey::GravityReading &r : line.gravity_readings) {
                    const std::optional<UtcMs> utc = to_utc(r.date, r.time_ms, offset_ms);
                    if (!exports::is_finite(r) || !utc) {
                        ++reduction.left_out;
                        continue;
                    }
                    // Readings in latitude/longitude mode carry their own position; the others
                    // stand at the survey's reference position.
                    const bool own = r.coordinate_mode == 12;
                    if (!own && s.header.latitude == 0 && s.header.longitude == 0)
                        ++reduction.without_position;
                    gathered.push_back({exports::station_name(r), &r, *utc,
                                        own ? r.y : s.header.latitude,
                                        own ? r.x : s.header.longitude});
                }
        }
    }
    std::stable_sort(gathered.begin(), gathered.end(),
                     [](const Gathered &a, const Gathered &b) { return a.utc < b.utc; });

    std::unordered_map<std::string, std::size_t> index;
    std::vector<double> meter, latitudes, longitudes, altitudes;
    std::vector<UtcMs> times;
    reduction.readings.reserve(gathered.size());
    for (const Gathered &g : gathered) {
        const survey::GravityReading &r = *g.reading;
        const auto [at, added] = index.try_emplace(g.name, reduction.stations.size());
        if (added) {
            Station &station = reduction.stations.emplace_back();
            station.name = g.name;
            station.line = r.line_id;
            station.x = r.x;
            station.y = r.y;
            station.latitude = g.latitude;
            station.longitude = g.longitude;
            station.altitude = r.altitude;
            station.terrain = r.terrain_correction;
        }
        ++reduction.stations[at->second].readings;

        ReducedReading reading;
        reading.station = at->second;
        reading.utc = g.utc;
        reading.gravity = r.gravity;
        reading.sd = r.standard_deviation;
        reading.tide_meter = r.tide;
        reading.tide_model = longman_tide(g.latitude, g.longitude, r.altitude, g.utc).total();
        // A reading without a parameter record before it is taken as corrected, as the meter
        // ships with the option on.
        const bool corrected = r.tide_corrected != false;
        reading.meter_tide = options.tide == TideSource::Meter ||
                             (options.tide == TideSource::Automatic && corrected);
        const double raw = r.gravity - (corrected ? r.tide : 0.0);
        reading.reduced = raw + (reading.meter_tide ? r.tide : reading.tide_model);
        if (corrected) {
            meter.push_back(r.tide);
            times.push_back(g.utc);
            latitudes.push_back(g.latitude);
            longitudes.push_back(g.longitude);
            altitudes.push_back(r.altitude);
        }
        reduction.readings.push_back(reading);
    }
    reduction.tide = compare_tides(meter, times, latitudes, longitudes, altitudes);
    if (reduction.readings.empty()) return reduction;

    if (options.base) {
        const auto found = index.find(*options.base);
        reduction.base_found = found != index.end();
        if (!reduction.base_found) return reduction;
        reduction.base = found->second;
    } else {
        reduction.base = reduction.readings.front().station;
    }

    const UtcMs start = reduction.readings.front().utc;
    std::vector<Observation> observations;
    observations.reserve(reduction.readings.size());
    for (const ReducedReading &r : reduction.readings)
        observations.push_back({.station = r.station,
                                .hours = static_cast<double>(r.utc - start) / kHourMs,
                                .value = r.reduced,
                                .sigma = std::max(r.sd, options.min_sd)});
    reduction.drift =
        fit_drift(observations, reduction.stations.size(), reduction.base,
                  {.degree = options.drift_degree, .residual_limit = options.residual_limit});
    if (!reduction.drift.solved) return reduction;
    reduction.base_gravity = options.base_gravity;
    reduction.residual_limit = options.residual_limit;
    reduction.density = options.density;
    for (std::size_t j = 0; j < reduction.stations.size(); ++j) {
        Station &station = reduction.stations[j];
        station.g_rel = reduction.drift.station_value[j];
        station.g_sd = reduction.drift.station_sd[j];
        station.tied = reduction.drift.station_tied[j];
        if (!options.base_gravity || !station.tied) continue;
        station.g_abs = *options.base_gravity + station.g_rel;
        station.free_air = free_air_anomaly(*station.g_abs, station.latitude, station.altitude);
        station.bouguer =
            *station.free_air - bouguer_slab(options.density, station.altitude) + station.terrain;
    }
    // A station whose readings all lie in loops that failed their test is read again too.
    std::vector<bool> in_passed_loop(reduction.stations.size(), false);
    for (std::size_t i = 0; i < reduction.readings.size(); ++i) {
        ReducedReading &r = reduction.readings[i];
        r.drift = reduction.drift.drift[i];
        r.reduced -= reduction.drift.level + r.drift;
        r.residual = reduction.drift.residual[i];
        r.flagged = reduction.drift.flagged[i];
        if (r.flagged) reduction.stations[r.station].read_again = true;
        const LoopFit &loop = reduction.drift.loops[reduction.drift.loop[i]];
        if (loop.test_passed) in_passed_loop[r.station] = true;
    }
    for (std::size_t j = 0; j < reduction.stations.size(); ++j)
        if (!in_passed_loop[j] && j != reduction.base && reduction.stations[j].tied)
            reduction.stations[j].read_again = true;
    return reduction;
}

} // namespace gravity
