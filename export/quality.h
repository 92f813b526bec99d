// What is doubtful about a reading, in words for the QC column of the spreadsheet export.
#pragma once

#include "rules.h"
#include "survey_model.h"

#include <string>
#include <vector>

namespace exports {

inline constexpr double kGravitySdLimit = 0.1;     // mGal
inline constexpr double kRejectedShareLimit = 0.1; // of the samples of a reading

// "Ro not positive", "Ro not finite", "Stdev above LIMIT", "M rising from window K to K+1",
// "decay not positive", "decay not falling as a t^b", "decay off its dipole's master curve",
// "ResCon above LIMIT", "reciprocal error above 20 %" (or "repeat ..."), joined by "; "; empty
// for a sound reading. pair is the reading's repeat or reciprocal, if it has one.
std::string ip_doubts(float ro, float stdev, std::uint16_t res_con, const qc::DecayCheck &decay,
                      const qc::Pair *pair, const qc::Limits &limits);

// "a value not finite", "SD above 0.1 mGal", "more than a tenth of the samples rejected"; the
// meter takes one sample a second, so a reading of DUR seconds has DUR samples.
std::string gravity_doubts(const survey::GravityReading &reading);

} // namespace exports
