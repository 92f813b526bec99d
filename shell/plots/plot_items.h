// What a database offers to plot: a pseudo-section per profile, a curve per sounding, a
// gravity profile per line, and a drift view per survey whose stations were read more than once.
#pragma once

#include "survey_model.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace plots {

// ReducedGravity and GravityLoops draw a gravity reduction (reduced_gravity_plot.h).
enum class PlotKind {
    PseudoSection,
    Sounding,
    GravityLine,
    GravityDrift,
    ReducedGravity,
    GravityLoops
};

struct PlotItem {
    PlotKind kind = PlotKind::PseudoSection;
    std::size_t survey = 0;
    std::size_t line = 0; // unused for GravityDrift
    std::string title;    // "Block 7 - Line 100.000N - Dipole_Dipole"
};

std::vector<PlotItem> plot_items(const survey::Database &database);

// Gravity readings of a survey at stations visited more than once, grouped by station.
struct RepeatedStation {
    std::string name; // "line 100 station 25"
    std::vector<const survey::GravityReading *> readings;
};
std::vector<RepeatedStation> repeated_stations(const survey::Survey &survey);

// A least-squares straight line y = intercept + slope * x; none when x does not vary.
struct LineFit {
    double slope = 0;
    double intercept = 0;
};
std::optional<LineFit> straight_line_fit(const std::vector<double> &x,
                                         const std::vector<double> &y);

// The meter's drift fitted over every repeated station at once: one slope common to all, each
// station an offset of its own. Each station's own slope is kept beside it, with its standard
// error from the readings' scatter about their own stations' lines (never below what the
// readings' SD gives); a station whose own slope departs from the common one by more than three
// such errors is marked. The common slope's error comes from the scatter about the common fit.
struct StationDrift {
    std::optional<double> slope; // mGal/h; none when its readings share one time
    double error = 0;            // of slope, mGal/h
    bool departs = false;
};
struct CommonDrift {
    double slope = 0; // mGal/h
    double error = 0;
    std::vector<StationDrift> stations; // in the order of the stations given
};
// None when no station's readings span any time.
std::optional<CommonDrift> common_drift(const std::vector<RepeatedStation> &stations);

// A gravity line as its profile joins it: one point per station in order along the line, at the
// mean of the station's readings, and the base stations read in the line's loops but standing
// off the line (another line number), which are not joined.
struct ProfileStation {
    double position = 0;         // station number, or distance along the line
    float line = 0, station = 0; // the readings' Y and X
    double mean = 0;             // mGal
    std::vector<const survey::GravityReading *> readings; // in the order taken
};
struct GravityProfile {
    bool by_station = true; // position is the station number, else the distance along the line
    std::vector<ProfileStation> stations; // in order of position
    std::vector<ProfileStation> bases;
};
GravityProfile gravity_profile(const survey::Line &line);

// The line's name as the survey text file gives it: "100.000N".
std::string line_name(const survey::ProfileHeader &header);

} // namespace plots
