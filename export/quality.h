// What is doubtful about a reading, in words for the QC column of the spreadsheet export.
#pragma once

#include "survey_model.h"

#include <string>
#include <vector>

namespace exports {

inline constexpr double kDefaultStdevLimit = 5.0;
inline constexpr double kGravitySdLimit = 0.1;     // mGal
inline constexpr double kRejectedShareLimit = 0.1; // of the samples of a reading

// "Ro not positive", "Ro not finite", "Stdev above LIMIT", "M rising from window K to K+1",
// joined by "; "; empty for a sound reading.
std::string ip_doubts(float ro, float stdev, const std::vector<float> &m, double stdev_limit);

// "a value not finite", "SD above 0.1 mGal", "more than a tenth of the samples rejected"; the
// meter takes one sample a second, so a reading of DUR seconds has DUR samples.
std::string gravity_doubts(const survey::GravityReading &reading);

} // namespace exports
