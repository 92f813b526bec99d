// What a database offers to plot: a pseudo-section per profile, a curve per sounding, a
// gravity profile per line, and a drift view per survey whose stations were read more than once.
#pragma once

#include "survey_model.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace plots {

enum class PlotKind { PseudoSection, Sounding, GravityLine, GravityDrift };

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

// The line's name as the survey text file gives it: "100.000N".
std::string line_name(const survey::ProfileHeader &header);

} // namespace plots
