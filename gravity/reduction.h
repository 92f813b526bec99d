// Reducing the KX-4 readings of one or more converted databases as one network: each reading's
// UTC time, the Longman tide at it compared with the meter's, the tide correction chosen, the
// drift per loop and the stations' gravity adjusted together (drift.h), the anomalies
// (anomaly.h), and the stations to read again.
#pragma once

#include "drift.h"
#include "survey_model.h"
#include "utc_time.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace gravity {

enum class TideSource {
    Automatic, // the meter's where its Tide Correction option was on, else the model's
    Meter,
    Model,
};

struct ReductionOptions {
    std::optional<double> base_gravity;     // mGal: the base's absolute value, for the anomalies
    double density = 2670;                  // kg/m^3, of the Bouguer slab
    std::optional<std::string> base;        // a station name; else the first station read
    std::optional<double> utc_offset_hours; // overrides the survey headers' time zones
    TideSource tide = TideSource::Automatic;
    int drift_degree = 1;
    double min_sd = 0.003;     // mGal: the floor of each reading's sigma
    double residual_limit = 3; // in sigma
};

struct ReducedReading {
    std::size_t station = 0;
    UtcMs utc = 0;
    double gravity = 0;     // GRAV as the meter stored it, mGal
    double sd = 0;          // the meter's SD, mGal
    double tide_meter = 0;  // the meter's TIDE correction, mGal
    double tide_model = 0;  // the Longman tide (upward, = the correction to add), mGal
    bool meter_tide = true; // which of the two the reduction applied
    double drift = 0;       // the adjusted drift removed, mGal
    double reduced = 0;     // tide and drift corrected, relative to the base, mGal
    double residual = 0;    // reduced minus the station's adjusted value, mGal
    bool flagged = false;   // residual beyond the limit
};

struct Station {
    std::string name; // as the gravity CSV export names it
    double line = 0, x = 0, y = 0;
    double latitude = 0, longitude = 0, altitude = 0;
    std::size_t readings = 0;
    double g_rel = 0, g_sd = 0; // mGal, relative to the base
    bool tied = true;           // false: read only where no base reading ties the drift
    // A reading's residual is beyond the limit, or every loop it was read in failed its test.
    bool read_again = false;
    double terrain = 0; // the meter's terrain correction, of the station's first reading
    // With the base's absolute gravity (anomaly.h), mGal:
    std::optional<double> g_abs, free_air, bouguer;
};

// The meter's TIDE values against the model at the same moments.
struct TideComparison {
    std::size_t readings = 0; // compared: those whose meter applied its tide correction
    double largest = 0;       // the largest |meter - model|, mGal
    double median = 0;        // the median |meter - model|, mGal
    // The shift of the reading times that makes the model fit the meter's values best (least
    // RMS): in whole hours (-12..12) and in minutes (-720..720).
    int best_shift_hours = 0;
    int best_shift_minutes = 0;
    double rms_unshifted = 0, rms_at_best_minutes = 0; // mGal
};

struct Reduction {
    std::vector<Station> stations;
    std::vector<ReducedReading> readings; // in time order
    std::size_t base = 0;
    bool base_found = true; // false when options.base names no station read
    DriftFit drift;         // its loops' and observations' indices are the readings'
    TideComparison tide;
    std::vector<survey::Kx4Parameter> parameters; // the meter's set-up records, in file order
    std::size_t left_out = 0; // readings with a number that is no number or an impossible date
    // Readings without a position of their own in a survey whose header gives none (0 N 0 E):
    // their model tide is for the wrong place.
    std::size_t without_position = 0;
    std::optional<double> base_gravity;
    double density = 0;
    double residual_limit = 0; // in sigma
};

Reduction reduce(const std::vector<const survey::Database *> &databases,
                 const ReductionOptions &options = {});

// Compares meter and model tides. The shift search samples at most a few hundred readings.
TideComparison compare_tides(const std::vector<double> &meter, const std::vector<UtcMs> &times,
                             const std::vector<double> &latitudes,
                             const std::vector<double> &longitudes,
                             const std::vector<double> &altitudes);

// What the summary and the window count.
struct Tally {
    std::size_t loops = 0;        // closed, from one base reading to the next
    std::size_t failed_loops = 0; // misfit beyond the chi-square bound (open ends included)
    std::size_t flagged = 0;      // readings beyond the residual limit
    std::size_t single = 0;       // stations tied by one reading only
};
Tally tally(const Reduction &reduction);

// The summary, the station table and the reading table (reduction_text.cpp).
std::string summary_text(const Reduction &reduction);
std::string stations_csv(const Reduction &reduction);
std::string readings_csv(const Reduction &reduction);

} // namespace gravity
