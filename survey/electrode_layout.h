// Where the four electrodes of a standard-array reading stood. The receiver records the reading's
// X (the first potential electrode, M) and the distances of A, B and N from it; pole arrays leave
// their far electrodes at "infinity", which the exports write as remote. The exports and the
// quality control both place electrodes by these rules.
#pragma once

#include "array_geometry.h"
#include "survey_model.h"

#include <optional>

namespace survey {

// Positions along the line, to the millimetre; an empty optional is a remote electrode
// (array_geometry.h).
using records::ElectrodeLayout;
ElectrodeLayout electrode_layout(const IpReading &reading);

// The largest position an electrode can have, in metres: beyond it a value is damage, not a
// survey (and the millimetres would not fit an integer).
inline constexpr double kFarthestPosition = 1e9;

// Pole-dipole: one remote current electrode. Pole-pole arrays: both far electrodes remote.
using records::is_pole_dipole;
using records::is_pole_pole;

struct Point {
    double x = 0, y = 0, z = 0;
};

// The geometric factor of a surface array, 2 pi / (1/AM - 1/BM - 1/AN + 1/BN), with the terms of
// remote electrodes left out. Empty when two electrodes coincide or the potentials cancel.
std::optional<double> geometric_factor(const std::optional<Point> &a, const std::optional<Point> &b,
                                       const std::optional<Point> &m,
                                       const std::optional<Point> &n);

} // namespace survey
