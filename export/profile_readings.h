// Which readings of a profile the inversion formats can take, grouped by the form each needs.
#pragma once

#include "survey_model.h"

#include <string>
#include <vector>

namespace exports {

// Four-electrode arrays go in the general-array form; pole arrays in index-based forms, since
// general-array readers disagree on rows with fewer electrodes.
enum class ArrayFamily { FourElectrode, PoleDipole, PolePole };

ArrayFamily array_family(std::uint16_t array_code);

struct ReadingGroup {
    ArrayFamily family = ArrayFamily::FourElectrode;
    std::vector<const survey::IpReading *> readings; // in file order
};

struct ProfileReadings {
    std::vector<ReadingGroup> groups; // one per family met, in the order first met
    int unsound = 0;                  // readings left out: a value not a number or out of reach
    int coincident = 0;               // readings left out: electrodes at one place
    int not_positive = 0;             // readings left out: Ro of 0 or below
    // Readings the formats could take, left out by choice, counted by the reason chosen_by gave.
    std::vector<int> chosen;
};

// chosen_by: per reading, -1 to keep it, else a reason (an index into chosen) to leave it out
// when the formats could take it; null to keep every such reading.
ProfileReadings select_profile_readings(const std::vector<survey::IpReading> &readings,
                                        const std::vector<int> *chosen_by = nullptr);

// The errors of a group's readings, for the files that carry them.
struct GroupErrors {
    std::vector<double> relative; // per reading, of R (and so of rhoa), a fraction
    // Per reading, the chargeability's error in mV/V, where every reading's is known.
    std::vector<double> ip;
};

// Whether every reading carries M channels, so that the file can hold a chargeability.
bool every_reading_has_chargeability(const std::vector<const survey::IpReading *> &readings);

} // namespace exports
