#include "array_geometry.h"

#include "array_codes.h"

#include <cfloat>
#include <cmath>

namespace records {

using namespace ravelin::array_code;

namespace {

double wide(float value) {
    return static_cast<double>(value);
}

double to_millimetre(double x) {
    return std::round(x * 1000.0) / 1000.0;
}

// X shifted by half of an electrode distance.
double half_shifted(float x, float distance) {
    return to_single(wide(x) + 0.5 * wide(distance));
}

double half_difference(float b, float a) {
    return to_single(0.5 * (wide(b) - wide(a)));
}

// Drops the fraction toward zero. Quotients that are not numbers or do not fit an int (a spacing
// of 0 gives one) have no index; they are written as 0.
int truncate_index(double quotient) {
    if (!(quotient > -2147483649.0 && quotient < 2147483648.0)) return 0;
    return static_cast<int>(quotient);
}

// Pole-pole, Schlumberger and the lateral arrays count the receiver index along dA, the others
// along dN.
float receiver_distance(std::uint16_t array_code, const IpStandard &r) {
    const bool along_da = array_code == kPolePole || array_code == kSchlumberger ||
                          array_code == kLateralDipoleDipole || array_code == kLateralPolePole;
    return std::fabs(along_da ? r.da : r.dn);
}

} // namespace

float to_single(double value) {
    constexpr double kOverflow = 0x1.ffffffp127; // FLT_MAX plus half a unit in the last place
    if (value >= kOverflow) return HUGE_VALF;
    if (value <= -kOverflow) return -HUGE_VALF;
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

bool is_pole_dipole(std::uint16_t array_code) {
    return array_code == kPoleDipole;
}

bool is_pole_pole(std::uint16_t array_code) {
    return array_code == kPolePole || array_code == kLateralPolePole;
}

ElectrodeLayout electrode_layout(std::uint16_t array_code, const IpStandard &r) {
    const double m = r.x;
    ElectrodeLayout layout{.a = to_millimetre(m + wide(r.da)),
                           .b = to_millimetre(m + wide(r.db)),
                           .m = to_millimetre(m),
                           .n = to_millimetre(m + wide(r.dn))};
    if (is_pole_dipole(array_code) || is_pole_pole(array_code)) layout.b.reset();
    if (is_pole_pole(array_code)) layout.n.reset();
    return layout;
}

LevelKind level_kind(std::uint16_t array_code) {
    switch (array_code) {
    case kPolePole:
    case kWenner:
    case kLateralDipoleDipole:
    case kLateralPolePole:
    case kGradient:
        return LevelKind::Separation;
    case kSchlumberger:
        return LevelKind::HalfSpread;
    default:
        return LevelKind::DipoleNumber;
    }
}

PseudoSectionPoint pseudo_section_point(std::uint16_t array_code, const IpStandard &r) {
    const LevelKind kind = level_kind(array_code);
    switch (array_code) {
    case kPoleDipole:
        return {half_shifted(r.x, r.da), wide(r.n), kind};
    case kPolePole:
        return {half_shifted(r.x, r.da), std::fabs(wide(r.da)), kind};
    case kSchlumberger:
        return {half_shifted(r.x, r.dn), half_difference(r.db, r.da), kind};
    case kWenner:
    case kGradient:
        return {half_shifted(r.x, r.dn), wide(r.dn), kind};
    case kLateralDipoleDipole:
    case kLateralPolePole:
        return {wide(r.x), std::fabs(wide(r.da)), kind};
    default:
        return {half_shifted(r.x, r.db), wide(r.n), kind};
    }
}

double half_potential_dipole(const IpStandard &r) {
    return to_single(0.5 * wide(r.dn));
}

SoundingSpacings sounding_spacings(std::uint16_t array_code, const IpStandard &r) {
    switch (array_code) {
    case kDipoleDipole:
        return {wide(-r.db), r.n == 0 ? 0.0 : -wide(r.db) / r.n};
    case kWenner:
    case kOffsetWenner:
        return {wide(r.dn), wide(r.dn)};
    default:
        return {half_difference(r.db, r.da), half_potential_dipole(r)};
    }
}

ProfileGeometry profile_geometry(std::uint16_t array_code, const IpStandard &first) {
    const float x_plus_da = to_single(wide(first.x) + wide(first.da));
    switch (array_code) {
    case kPoleDipole:
    case kSchlumberger:
    case kWenner:
        return {x_plus_da, first.dn};
    case kPolePole:
        return {x_plus_da, std::fabs(first.da)};
    case kGradient:
        return {first.x, first.dn};
    default:
        return {x_plus_da, std::fabs(first.dn)};
    }
}

PseudoSectionIndices decoder_indices(std::uint16_t array_code, const IpStandard &r,
                                     ProfileGeometry geometry) {
    const double spacing = wide(geometry.spacing);
    PseudoSectionIndices indices;
    indices.tx =
        truncate_index((wide(r.x) + wide(r.da) - wide(geometry.left_electrode)) / spacing + 1.0);
    const double quotient = wide(receiver_distance(array_code, r)) / spacing;
    if (quotient > -2147483648.0 && quotient < 2147483648.0)
        indices.rx = truncate_index(wide(to_single(quotient)));
    return indices;
}

PseudoSectionIndices writer_indices(std::uint16_t array_code, const IpStandard &r,
                                    ProfileGeometry geometry) {
    if (geometry.spacing == 0.0f) return {};
    const double spacing = wide(geometry.spacing);
    const float x_plus_da = to_single(wide(r.x) + wide(r.da));
    return {truncate_index((wide(x_plus_da) - wide(geometry.left_electrode)) / spacing + 1.0),
            truncate_index(wide(receiver_distance(array_code, r)) / spacing)};
}

} // namespace records
