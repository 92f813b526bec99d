// The solid-earth tide by Longman (1959), "Formulas for computing the tidal accelerations due to
// the moon and the sun", Journal of Geophysical Research 64(12), 2351-2355.
//
// Sign convention: the values are the vertical tidal acceleration, positive UPWARD (away from
// the Earth's centre). With the moon overhead the value is positive and the meter reads that much
// less, so the value is the tide CORRECTION to add to a reading, the sense in which the meter's
// TIDE column is kept (GRAV = raw + TIDE). A tidal catalogue's gravity signal has the opposite
// sign.
#pragma once

#include "utc_time.h"

namespace gravity {

// 1 + h2 - 1.5 k2 with h2 = 0.612, k2 = 0.303: the elastic Earth's amplification of the rigid
// Earth's tide.
constexpr double kGravimetricFactor = 1.1575;

struct Tide {
    double moon = 0, sun = 0; // mGal
    double total() const { return moon + sun; }
};

// The tide at latitude and longitude (degrees, north and east positive) and altitude (metres
// above sea level) at the UTC moment.
Tide longman_tide(double latitude_deg, double longitude_deg, double altitude_m, UtcMs moment,
                  double gravimetric_factor = kGravimetricFactor);

} // namespace gravity
