#include "ip_reading.h"

#include "ip_arrays.h"
#include "line_format.h"

#include <cfloat>
#include <cmath>

namespace dumpdec::ip {

namespace {

double wide(float value) {
    return static_cast<double>(value);
}

// Rounds a double to single precision as the FPU would, without the undefined behaviour of
// converting a value beyond the float range.
float to_single(double value) {
    constexpr double kOverflow = 0x1.ffffffp127; // FLT_MAX plus half a unit in the last place
    if (value >= kOverflow) return HUGE_VALF;
    if (value <= -kOverflow) return -HUGE_VALF;
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

// Drops the fraction toward zero. Quotients that are not numbers or do not fit an int (a spacing
// of 0 gives one) have no index; they are written as 0.
int truncate_index(double quotient) {
    if (!(quotient > -2147483649.0 && quotient < 2147483648.0)) return 0;
    return static_cast<int>(quotient);
}

// X shifted by half of an electrode distance, rounded to single precision as printed.
float half_shifted(float x, float distance) {
    return to_single(wide(x) + 0.5 * wide(distance));
}

float half(float value) {
    return to_single(0.5 * wide(value));
}

float half_difference(float b, float a) {
    return to_single(0.5 * (wide(b) - wide(a)));
}

} // namespace

ProfileGeometry profile_geometry(std::uint16_t array_code, const IprStandardReading &first) {
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

void append_position_part(std::string &out, const IprStandardReading &r, std::uint16_t array_code,
                          bool in_profile) {
    if (!in_profile) {
        switch (array_code) {
        case kDipoleDipole: {
            // A reading without a dipole number has no defined ratio; 0 stands in for it.
            const double ratio = r.n == 0 ? 0.0 : -wide(r.db) / r.n;
            return append_format(out, "\r\n %-8.3f,%-8.3f"_fmt, wide(-r.db), ratio);
        }
        case kWenner:
        case kOffsetWenner:
            return append_format(out, "\r\n %-8.3f,%-8.3f"_fmt, wide(r.dn), wide(r.dn));
        default:
            return append_format(out, "\r\n %-8.3f,%-8.3f"_fmt, wide(half_difference(r.db, r.da)),
                                 wide(half(r.dn)));
        }
    }
    switch (array_code) {
    case kPoleDipole:
        return append_format(out, "\r\n %-8.3f,%-4d,%-8.3f"_fmt, wide(half_shifted(r.x, r.da)), r.n,
                             wide(r.dn));
    case kPolePole:
        return append_format(out, "\r\n %-8.3f,%-8.3f"_fmt, wide(half_shifted(r.x, r.da)),
                             wide(std::fabs(r.da)));
    case kSchlumberger:
        return append_format(out, "\r\n %-8.3f,%-8.3f,%-8.3f"_fmt, wide(half_shifted(r.x, r.dn)),
                             wide(half_difference(r.db, r.da)), wide(half(r.dn)));
    case kWenner:
    case kGradient:
        return append_format(out, "\r\n %-8.3f,%-8.3f"_fmt, wide(half_shifted(r.x, r.dn)),
                             wide(r.dn));
    case kLateralDipoleDipole:
    case kLateralPolePole:
        return append_format(out, "\r\n %-8.3f,%-8.3f"_fmt, wide(r.x), wide(std::fabs(r.da)));
    default:
        return append_format(out, "\r\n %-8.3f,%-4d,%-8.3f"_fmt, wide(half_shifted(r.x, r.db)), r.n,
                             wide(r.dn));
    }
}

void append_measurement_part(std::string &out, const IprStandardReading &r,
                             std::uint16_t operating_mode) {
    if (operating_mode != 0)
        return append_format(out, ",%10.3f,%8.3f,%4d,%4d,%8.3f,%8.3f"_fmt, wide(r.ro),
                             wide(r.stdev), r.sp, r.res_con, wide(r.vp), wide(r.itx));
    return append_format(out, ",%10.3f,%8.3f,%4d,%4d,%8.3f,%8.3f,%-8.3f,%-8.3f,%-8.3f,%-8.3f"_fmt,
                         wide(r.ro), wide(r.stdev), r.sp, r.res_con, wide(r.vp), wide(r.itx),
                         wide(r.m[0]), wide(r.m[1]), wide(r.m[2]), wide(r.m[3]));
}

PseudoSectionIndices pseudo_section_indices(const IprStandardReading &r, std::uint16_t array_code,
                                            ProfileGeometry geometry) {
    const double spacing = wide(geometry.spacing);
    PseudoSectionIndices indices;
    // X + dA stays in double precision here; only the receiver quotient is rounded to single.
    indices.tx =
        truncate_index((wide(r.x) + wide(r.da) - wide(geometry.left_electrode)) / spacing + 1.0);

    // Pole-pole, Schlumberger and the lateral arrays are spaced by dA, the others by dN.
    const bool spaced_by_da = array_code == kPolePole || array_code == kSchlumberger ||
                              array_code == kLateralDipoleDipole || array_code == kLateralPolePole;
    const double quotient = std::fabs(wide(spaced_by_da ? r.da : r.dn)) / spacing;
    if (quotient > -2147483648.0 && quotient < 2147483648.0)
        indices.rx = truncate_index(wide(to_single(quotient)));
    return indices;
}

void append_pseudo_section_data_line(std::string &out, PseudoSectionIndices indices, float rho_a,
                                     const IprStandardReading &r, std::uint16_t operating_mode) {
    if (operating_mode != 0)
        return append_format(out, "%4d,%4d,%10.3f, ***, ***, ***, ***\r\n"_fmt, indices.tx,
                             indices.rx, wide(rho_a));
    return append_format(out, "%4d,%4d,%10.3f,%10.3f,%10.3f,%10.3f,%10.3f\r\n"_fmt, indices.tx,
                         indices.rx, wide(rho_a), wide(r.m[0]), wide(r.m[1]), wide(r.m[2]),
                         wide(r.m[3]));
}

std::string position_part(const IprStandardReading &reading, std::uint16_t array_code,
                          bool in_profile) {
    std::string text;
    append_position_part(text, reading, array_code, in_profile);
    return text;
}

std::string measurement_part(const IprStandardReading &reading, std::uint16_t operating_mode) {
    std::string text;
    append_measurement_part(text, reading, operating_mode);
    return text;
}

std::string pseudo_section_data_line(PseudoSectionIndices indices, float rho_a,
                                     const IprStandardReading &reading,
                                     std::uint16_t operating_mode) {
    std::string text;
    append_pseudo_section_data_line(text, indices, rho_a, reading, operating_mode);
    return text;
}

char line_direction(float line_pos, std::uint16_t line_coord) {
    if (line_coord & 0x2) return line_pos > 0 ? 'E' : 'W';
    return line_pos > 0 ? 'N' : 'S';
}

std::string pseudo_section_header_block(const PseudoSectionHeader &h) {
    std::string block;
    block += format_text("/ SPACING:       \t%8.3f"_fmt, wide(h.geometry.spacing));
    block += format_text("\r\n/ LEFT ELECTRODE:\t%8.3f"_fmt, wide(h.geometry.left_electrode));
    block += format_text("\r\n/ CLIENT:        \t%s"_fmt, h.client.c_str());
    block += format_text("\r\n/ PROJECT:       \t%s"_fmt, h.project.c_str());
    block += format_text("\r\n/ AZIMUTH:       \t%4.2f"_fmt, h.profile_azimuth * 0.1);
    block += "\r\n/ EQUIPMENT:     \tVIREL";
    block += format_text("\r\n/ DATE:          \t%4d-%2X-%2X"_fmt, h.year, unsigned{h.month},
                         unsigned{h.day});
    block += format_text("\r\n/ ARRAY TYPE:    \t%s"_fmt,
                         std::string(pseudo_section_array_type(h.array_code)).c_str());
    block += format_text("\r\nLINE\t%8.3f%c\tDATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n"_fmt,
                         std::fabs(wide(h.line_pos)), line_direction(h.line_pos, h.line_coord));
    return block;
}

} // namespace dumpdec::ip
