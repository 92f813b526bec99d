#include "longman.h"

#include <cmath>
#include <numbers>

namespace gravity {

namespace {

// Longman's constants, in his cgs units.
constexpr double kG = 6.673e-8;               // gravitational constant, cm^3 g^-1 s^-2
constexpr double kMoonMass = 7.3537e25;       // g
constexpr double kSunMass = 1.993e33;         // g
constexpr double kMoonEcc = 0.05490;          // eccentricity of the moon's orbit
constexpr double kMotionRatio = 0.074804;     // mean motion of the sun over that of the moon
constexpr double kMoonDistance = 3.84402e10;  // mean, cm
constexpr double kSunDistance = 1.495e13;     // mean, cm
constexpr double kEquatorRadius = 6.378270e8; // cm
constexpr double kMoonOrbitTilt = 0.08979719; // moon's orbit to the ecliptic, rad
constexpr double kObliquity = 23.452 * std::numbers::pi / 180; // equator to the ecliptic

// Longman's epoch: 1899-12-31 12:00 UT, in milliseconds since 1970.
constexpr double kEpochMs = -25567.5 * 86400000.0;

double polynomial(double t, double c0, double c1, double c2, double c3 = 0) {
    return c0 + t * (c1 + t * (c2 + t * c3));
}

} // namespace

Tide longman_tide(double latitude_deg, double longitude_deg, double altitude_m, UtcMs moment,
                  double gravimetric_factor) {
    using std::cos;
    using std::sin;
    const double pi = std::numbers::pi;
    const double days = (static_cast<double>(moment) - kEpochMs) / 86400000.0;
    const double T = days / 36525;                       // Julian centuries
    const double hour = std::fmod(days + 0.5, 1.0) * 24; // UT hour of the day
    const double phi = latitude_deg * pi / 180;

    // Mean longitudes (rad): moon s, lunar perigee p, sun h, moon's ascending node N, solar
    // perigee p1; eccentricity of the Earth's orbit e1.
    const double s =
        polynomial(T, 4.72000889397, 8399.70927456, 3.45575191895e-05, 3.49065850399e-08);
    const double p =
        polynomial(T, 5.83515162814, 71.0180412089, 0.000180108282532, 1.74532925199e-07);
    const double h = polynomial(T, 4.88162798259, 628.331950894, 5.23598775598e-06);
    const double N =
        polynomial(T, 4.52360161181, -33.757146295, 3.6264063347e-05, 3.39369576777e-08);
    const double p1 =
        polynomial(T, 4.90822941839, 0.0300025492114, 7.85398163397e-06, 5.3329504922e-08);
    const double e1 = polynomial(T, 0.01675104, -0.00004180, -0.000000126);

    // The moon's orbit against the equator: its inclination I, the right ascension nu of their
    // intersection A, and xi, the longitude in the orbit of A.
    const double I = std::acos(cos(kObliquity) * cos(kMoonOrbitTilt) -
                               sin(kObliquity) * sin(kMoonOrbitTilt) * cos(N));
    const double nu = std::asin(sin(kMoonOrbitTilt) * sin(N) / sin(I));
    const double cos_alpha = cos(N) * cos(nu) + sin(N) * sin(nu) * cos(kObliquity);
    const double sin_alpha = sin(kObliquity) * sin(N) / sin(I);
    const double xi = N - 2 * std::atan(sin_alpha / (1 + cos_alpha));

    // Hour angle of the mean sun at the station (Longman counts longitude west positive), and
    // the right ascensions of the station's meridian from A and from the equinox.
    const double t = (15 * (hour - 12) + longitude_deg) * pi / 180;
    const double chi = t + h - nu;
    const double chi1 = t + h;

    // True longitudes: the moon in its orbit from A, the sun in the ecliptic.
    const double e = kMoonEcc, m = kMotionRatio;
    const double l = s - xi + 2 * e * sin(s - p) + 1.25 * e * e * sin(2 * (s - p)) +
                     3.75 * m * e * sin(s - 2 * h + p) + 1.375 * m * m * sin(2 * (s - h));
    const double l1 = h + 2 * e1 * sin(h - p1);

    // Zenith angles of the moon (theta) and the sun (psi).
    const double half_i = I / 2, half_w = kObliquity / 2;
    const double cos_theta =
        sin(phi) * sin(I) * sin(l) + cos(phi) * (cos(half_i) * cos(half_i) * cos(l - chi) +
                                                 sin(half_i) * sin(half_i) * cos(l + chi));
    const double cos_psi = sin(phi) * sin(kObliquity) * sin(l1) +
                           cos(phi) * (cos(half_w) * cos(half_w) * cos(l1 - chi1) +
                                       sin(half_w) * sin(half_w) * cos(l1 + chi1));

    // Distances: station from the Earth's centre, moon and sun from the Earth's centre.
    const double r =
        kEquatorRadius / std::sqrt(1 + 0.006738 * sin(phi) * sin(phi)) + altitude_m * 100;
    const double a_moon = 1 / (kMoonDistance * (1 - e * e));
    const double a_sun = 1 / (kSunDistance * (1 - e1 * e1));
    const double d =
        1 / (1 / kMoonDistance + a_moon * e * cos(s - p) + a_moon * e * e * cos(2 * (s - p)) +
             1.875 * a_moon * m * e * cos(s - 2 * h + p) + a_moon * m * m * cos(2 * (s - h)));
    const double D = 1 / (1 / kSunDistance + a_sun * e1 * cos(h - p1));

    // Vertical accelerations in cm/s^2 (gal); the moon's to the third harmonic.
    const double moon = kG * kMoonMass * r / (d * d * d) * (3 * cos_theta * cos_theta - 1) +
                        1.5 * kG * kMoonMass * r * r / (d * d * d * d) *
                            (5 * cos_theta * cos_theta * cos_theta - 3 * cos_theta);
    const double sun = kG * kSunMass * r / (D * D * D) * (3 * cos_psi * cos_psi - 1);
    return Tide{.moon = moon * 1e3 * gravimetric_factor, .sun = sun * 1e3 * gravimetric_factor};
}

} // namespace gravity
