// Readings placed by their four electrodes, as the QC tests describe them.
#pragma once

#include "array_codes.h"
#include "survey_model.h"

#include <cmath>
#include <optional>

namespace qc_test {

// A four-electrode reading at A, B, M, N with transfer resistance R = Vp / Itx (Itx 1 A).
inline survey::IpReading at(double a, double b, double m, double n, double r, float ro = 100,
                            float stdev = 1) {
    survey::IpReading reading;
    reading.array_code = ravelin::array_code::kDipoleDipole;
    reading.x = static_cast<float>(m);
    reading.da = static_cast<float>(a - m);
    reading.db = static_cast<float>(b - m);
    reading.dn = static_cast<float>(n - m);
    reading.vp = static_cast<float>(r);
    reading.itx = 1;
    reading.ro = ro;
    reading.stdev = stdev;
    return reading;
}

} // namespace qc_test
