#include "ip_reading.h"

#include "header_records.h"
#include "ip_arrays.h"
#include "line_format.h"

#include <cmath>

namespace dumpdec::ip {

namespace {

double wide(float value) {
    return static_cast<double>(value);
}

} // namespace

void append_position_part(std::string &out, const IprStandardReading &r, std::uint16_t array_code,
                          bool in_profile) {
    if (!in_profile) {
        const records::SoundingSpacings s = records::sounding_spacings(array_code, r);
        return append_format(out, "\r\n %-8.3f,%-8.3f"_fmt, s.spacing, s.second);
    }
    const records::PseudoSectionPoint p = records::pseudo_section_point(array_code, r);
    switch (p.level_kind) {
    case records::LevelKind::DipoleNumber:
        return append_format(out, "\r\n %-8.3f,%-4d,%-8.3f"_fmt, p.position, r.n, wide(r.dn));
    case records::LevelKind::HalfSpread:
        return append_format(out, "\r\n %-8.3f,%-8.3f,%-8.3f"_fmt, p.position, p.level,
                             records::half_potential_dipole(r));
    case records::LevelKind::Separation:
        break;
    }
    return append_format(out, "\r\n %-8.3f,%-8.3f"_fmt, p.position, p.level);
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
    return records::decoder_indices(array_code, r, geometry);
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
    return records::ProfileHeader{.line_pos = line_pos, .line_coord = line_coord}.direction();
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
