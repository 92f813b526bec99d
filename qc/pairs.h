// Repeats and reciprocals of a profile. Readings with the same four electrodes are repeats; a
// reading whose current and potential dipoles are swapped (A B M N measured as M N A B) is a
// reciprocal. Electrodes are compared sorted within each dipole, so any order of the labels
// matches; the transfer resistance changes sign when one dipole's order was swapped.
#pragma once

#include "survey_model.h"

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

namespace qc {

// A position to the millimetre, as the electrode layout gives it; remote electrodes are all one
// place, beyond every other.
using ElectrodeKey = long long;
inline constexpr ElectrodeKey kRemote = std::numeric_limits<ElectrodeKey>::max();

// A, B, M, N of a reading (survey::electrode_layout); empty when an electrode is out of reach.
std::optional<std::array<ElectrodeKey, 4>> electrode_keys(const survey::IpReading &reading);

// The transfer resistance Vp / Itx, empty when either is not finite or Itx is 0.
std::optional<double> transfer_resistance(const survey::IpReading &reading);

// Whether a reading takes part in repeats and reciprocals: the readings the inversion exports
// take (values finite, electrodes within reach and apart, Ro above 0) with a value to compare.
bool pairable(const survey::IpReading &reading);

enum class PairKind { Repeat, Reciprocal };

struct Pair {
    PairKind kind = PairKind::Repeat;
    std::size_t first = 0, second = 0; // indices of the line's readings, first < second
    // The values compared: the first reading's, and the second's in the first one's electrode
    // order (its sign flipped when one dipole's order differs). Transfer resistances, or Ro
    // when either reading lacks Vp / Itx; Ro carries the sign of its own geometric factor and
    // is compared as recorded.
    double value1 = 0, value2 = 0;
    bool on_ro = false;

    double error() const { return value1 - value2; } // e = R1 - R2
    double mean() const;                             // (|R1| + |R2|) / 2
    double relative_error() const;                   // |e| / mean
};

// The pairs of one profile's readings. Each reading belongs to at most one pair: per set of
// electrodes, readings in one orientation are paired with those in the other in file order
// (reciprocals); what is left of one orientation pairs up in file order (repeats).
std::vector<Pair> match_pairs(const std::vector<survey::IpReading> &readings);

} // namespace qc
