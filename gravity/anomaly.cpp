#include "anomaly.h"

#include <cmath>
#include <numbers>

namespace gravity {

namespace {

double sin_squared(double latitude_deg) {
    const double s = std::sin(latitude_deg * std::numbers::pi / 180);
    return s * s;
}

} // namespace

double normal_gravity(double latitude_deg) {
    const double s2 = sin_squared(latitude_deg);
    return 978032.67715 * (1 + 0.001931851353 * s2) / std::sqrt(1 - 0.0066943800229 * s2);
}

double height_correction(double latitude_deg, double h) {
    return -(0.308769109 - 0.000439773 * sin_squared(latitude_deg)) * h + 7.2125e-8 * h * h;
}

double atmospheric_correction(double h) {
    return 0.874 - 9.9e-5 * h + 3.56e-9 * h * h;
}

double bouguer_slab(double density_kg_m3, double h) {
    // G = 6.673e-11 m^3 kg^-1 s^-2, as the standard takes it; 1 m/s^2 = 1e5 mGal.
    return 2 * std::numbers::pi * 6.673e-11 * density_kg_m3 * h * 1e5;
}

double free_air_anomaly(double g, double latitude_deg, double h) {
    return g - (normal_gravity(latitude_deg) + height_correction(latitude_deg, h)) +
           atmospheric_correction(h);
}

} // namespace gravity
