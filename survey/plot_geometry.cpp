#include "plot_geometry.h"

#include "array_codes.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace survey {

namespace ac = ravelin::array_code;

namespace {

// Positions are computed in double precision from the single-precision fields and then rounded
// to single precision, as the survey text file prints them.
double rounded(double value) {
    return static_cast<double>(static_cast<float>(value));
}

} // namespace

LevelKind level_kind(std::uint16_t array_code) {
    switch (array_code) {
    case ac::kPolePole:
    case ac::kWenner:
    case ac::kLateralDipoleDipole:
    case ac::kLateralPolePole:
    case ac::kGradient:
        return LevelKind::Separation;
    case ac::kSchlumberger:
        return LevelKind::HalfSpread;
    default: // dipole-dipole, pole-dipole, offset Wenner and unknown codes
        return LevelKind::DipoleNumber;
    }
}

PseudoSectionPoint pseudo_section_point(const IpReading &r) {
    const double x = r.x, dn = r.dn, da = r.da, db = r.db;
    PseudoSectionPoint p;
    p.level_kind = level_kind(r.array_code);
    switch (r.array_code) {
    case ac::kPoleDipole:
        p.position = rounded(x + 0.5 * da);
        p.level = r.n;
        break;
    case ac::kPolePole:
        p.position = rounded(x + 0.5 * da);
        p.level = std::fabs(r.da);
        break;
    case ac::kSchlumberger:
        p.position = rounded(x + 0.5 * dn);
        p.level = rounded(0.5 * (db - da));
        break;
    case ac::kWenner:
    case ac::kGradient:
        p.position = rounded(x + 0.5 * dn);
        p.level = r.dn;
        break;
    case ac::kLateralDipoleDipole:
    case ac::kLateralPolePole:
        p.position = r.x;
        p.level = std::fabs(r.da);
        break;
    default:
        p.position = rounded(x + 0.5 * db);
        p.level = r.n;
        break;
    }
    return p;
}

double sounding_spacing(const IpReading &r) {
    switch (r.array_code) {
    case ac::kDipoleDipole:
        return rounded(-static_cast<double>(r.db));
    case ac::kWenner:
    case ac::kOffsetWenner:
        return r.dn;
    default:
        return rounded(0.5 * (static_cast<double>(r.db) - r.da));
    }
}

double chargeability(const IpReading &reading, int channel) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    if (channel >= 0)
        return static_cast<std::size_t>(channel) < reading.m.size() ? reading.m[channel] : none;
    if (reading.m.empty()) return none;
    double sum = 0;
    for (float m : reading.m)
        sum += m;
    return sum / static_cast<double>(reading.m.size());
}

bool has_plottable_resistivity(const IpReading &reading) {
    return std::isfinite(reading.ro) && reading.ro > 0;
}

std::string array_name(std::uint16_t array_code) {
    if (const ravelin::ArrayKind *kind = ravelin::find_array(array_code))
        return std::string(kind->name);
    char name[16];
    std::snprintf(name, sizeof name, "array 0x%x", array_code);
    return name;
}

double reading_hours(const GravityReading &reading) {
    // Days since 1900-01-01 by the civil calendar, in integer arithmetic.
    const long long year = reading.date.year;
    const long long month = reading.date.month();
    const long long day = reading.date.day();
    const long long a = (month - 14) / 12;
    const long long y = year + a;
    const long long days = (1461 * (y + 4800)) / 4 + (367 * (month - 2 - 12 * a)) / 12 -
                           (3 * ((y + 4900) / 100)) / 4 + day - 2447094;
    return static_cast<double>(days) * 24.0 + reading.time_ms / 3600000.0;
}

} // namespace survey
