// What the quality control found on one profile, counted: its readings, pairs, decays, the
// readings each rule flags and those left out by hand. ravelin-qc prints these counts and the
// window shows them under its QC view.
#pragma once

#include "reading_errors.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace qc {

struct ProfileCounts {
    std::size_t readings = 0;
    std::size_t usable = 0; // pairable(): the readings the inversion exports take
    std::size_t reciprocals = 0, repeats = 0;
    std::size_t decays = 0; // fitted as m = a t^b
    std::size_t rising = 0, not_positive = 0, not_falling = 0, off_master = 0;
    std::array<std::size_t, kRules.size()> flagged{}; // readings under each rule, in kRules order
    std::size_t excluded = 0;                         // left out by hand
};

// excluded: per reading of the line, whether it was left out by hand (may be empty).
ProfileCounts count_profile(const std::vector<survey::IpReading> &readings,
                            const ProfileQc &profile, const std::vector<bool> &excluded);

// "ro 1, nan 0, stdev 2, decay 1, reciprocal 0, rescon 0": the readings under each rule.
std::string flagged_text(const ProfileCounts &counts);

} // namespace qc
