// Sounding headers and the IP readings: survey text lines and the pseudo-section file.
#include "decoder.h"
#include "handlers.h"
#include "ip_arrays.h"
#include "ip_columns.h"
#include "ip_reading.h"
#include "line_format.h"

#include <algorithm>
#include <cmath>

namespace dumpdec {

namespace {

constexpr std::size_t kStandardChannels = 52; // offset of M channel 0 in an IPR standard record
constexpr std::size_t kUserChannels = 76;     // the same in an IPR user record

double wide(float value) {
    return static_cast<double>(value);
}

// Converts and lists the M channels that the IPI record announced, as far as the record holds
// them: a window count larger than the record never reads beyond it. Returns channels 0 to 3,
// 0 where the record carries none.
std::array<float, 4> list_m_channels(Decoder &d, std::size_t first_offset) {
    std::array<float, 4> first_four{};
    const std::size_t record_end = std::min<std::size_t>(d.record_length, kRecordBufferSize);
    for (std::uint32_t k = 0; k < d.ip_state.window_count; ++k) {
        const std::size_t offset = first_offset + std::size_t{4} * k;
        if (offset >= record_end) break;
        const float value = d.convert_f32(offset);
        d.print(d.listing, "M chanel %-d:\t\t%-8.3f\n"_fmt, static_cast<int>(k), wide(value));
        if (k < first_four.size()) first_four[k] = value;
    }
    return first_four;
}

// Converts a single-precision field and lists it.
template <typename LineFormat> float list_f32(Decoder &d, std::size_t offset, LineFormat format) {
    const float value = d.convert_f32(offset);
    d.print(d.listing, format, wide(value));
    return value;
}

ip::PseudoSectionHeader header_block_values(const Decoder &d) {
    ip::PseudoSectionHeader h;
    h.geometry = {d.ip_state.i2d_left_electrode, d.ip_state.i2d_spacing};
    h.client = d.current_survey_header.text(4, 36);
    h.project = d.current_survey_header.text(40, 36);
    h.day = d.current_survey_header.u8(116);
    h.month = d.current_survey_header.u8(117);
    h.year = d.current_survey_header.u16(118);
    h.array_code = d.ip_state.array_code;
    h.line_pos = d.current_profile_header.f32(4);
    h.line_coord = d.current_profile_header.u16(8);
    h.profile_azimuth = d.current_profile_header.u16(10);
    return h;
}

} // namespace

void handle_sounding_header(Decoder &d) {
    d.line_is_profile = false;
    const std::uint32_t first_data = d.convert_u32(ravelin::link_field::kSoundingFirstData);
    if (first_data == kNoLink) {
        d.put(d.listing, "EMPTY  HEADER\n");
        d.drop_record();
        return;
    }
    d.print(d.listing, "*First_Data:\t\t\t%-4x\n"_fmt, first_data);
    const std::uint16_t array = d.convert_u16(4);
    d.print(d.listing, "Array:\t\t\t\t\t%-4x\n"_fmt, array);
    const std::uint16_t azimuth = d.convert_u16(6);
    d.print(d.listing, "Azimuth:\t\t\t\t%-4d\n"_fmt, azimuth);
    const double easting = d.convert_f64(8);
    d.print(d.listing, "Easting:\t\t\t\t%-8.3f\n"_fmt, easting);
    const double northing = d.convert_f64(16);
    d.print(d.listing, "Northing:\t\t\t\t%-8.3f\n"_fmt, northing);
    const float altitude = list_f32(d, 24, "Altitude:\t\t\t\t%-8.3f\n"_fmt);
    const std::string name = d.text(28, 8);
    d.print(d.listing, "Sound name:\t\t\t%s\n"_fmt, name.c_str());
    d.print(d.listing, "Reserved:\t\t\t\t%-4x\n"_fmt, d.convert_u32(40));
    d.print(d.listing, "*Next_Sound:\t\t\t%-4x\n"_fmt,
            d.convert_u32(ravelin::link_field::kSoundingNextSounding));
    d.link_line_header();
    d.write_record();

    const ip::ArrayNaming naming = ip::sounding_naming(array);
    std::string text;
    append_format(text, "\r\nSounding\t%s"_fmt, name.c_str());
    text += "\r\n/\t";
    text += naming.name;
    append_format(text, "\r\n/\tPosition:      \t%8.3f%c,%8.3f%c"_fmt, std::fabs(easting),
                  easting > 0 ? 'E' : 'W', std::fabs(northing), northing > 0 ? 'N' : 'S');
    append_format(text, "\r\n/\tAzimuth:       \t%4.2f"_fmt, azimuth * 0.1);
    append_format(text, "\r\n/\tAltitude:      \t%8.3f"_fmt, wide(altitude));
    d.put(d.survey_text, text);
    d.ip_state.column_names = naming.column_names;
    print_data_columns(d);
    d.ip_state.array_code = array;
}

void handle_ipr_standard(Decoder &d) {
    ip::IprStandardReading r;
    r.x = d.convert_f32(4);
    r.y = d.convert_f32(8);
    r.z = d.convert_f32(12);
    r.line_coord = d.convert_u16(16);
    r.n = d.convert_u16(18);
    r.dn = d.convert_f32(20);
    r.da = d.convert_f32(24);
    r.db = d.convert_f32(28);
    r.res_con = d.convert_u16(32);
    r.sp = d.convert_i16(34);
    r.vp = d.convert_f32(36);
    r.itx = d.convert_f32(40);
    r.ro = d.convert_f32(44);
    r.stdev = d.convert_f32(48);
    // The lines of every reading in one call: this is the listing's hottest path.
    d.print(d.listing,
            "X:\t\t\t\t\t\t%-8.3f\n"
            "Y:\t\t\t\t\t\t%-8.3f\n"
            "Z:\t\t\t\t\t\t%-8.3f\n"
            "LineCoord:\t\t\t\t%-4x\n"
            "N:\t\t\t\t\t\t%-4x\n"
            "dN:\t\t\t\t\t%-8.3f\n"
            "dA:\t\t\t\t\t%-8.3f\n"
            "dB:\t\t\t\t\t%-8.3f\n"
            "ResCon:\t\t\t\t%-4d\n"
            "SP:\t\t\t\t\t%-4d\n"
            "Vp:\t\t\t\t\t%-8.3f\n"
            "Itx:\t\t\t\t\t%-8.3f\n"
            "Ro:\t\t\t\t\t%-8.3f\n"
            "Stdev:\t\t\t\t\t%-8.3f\n"_fmt,
            wide(r.x), wide(r.y), wide(r.z), unsigned{r.line_coord}, unsigned{r.n}, wide(r.dn),
            wide(r.da), wide(r.db), int{r.res_con}, int{r.sp}, wide(r.vp), wide(r.itx), wide(r.ro),
            wide(r.stdev));
    r.m = list_m_channels(d, kStandardChannels);

    if (d.links.awaiting_first_data) {
        d.link_data_record();
        if (d.line_is_profile) {
            const ip::ProfileGeometry geometry = ip::profile_geometry(d.ip_state.array_code, r);
            d.ip_state.i2d_left_electrode = geometry.left_electrode;
            d.ip_state.i2d_spacing = geometry.spacing;
            d.put(d.pseudo_section, ip::pseudo_section_header_block(header_block_values(d)));
        }
    }
    d.write_record();

    std::string &line = d.reading_text;
    line.clear();
    ip::append_position_part(line, r, d.ip_state.array_code, d.line_is_profile);
    ip::append_measurement_part(line, r, d.ip_state.operating_mode);
    d.put(d.survey_text, line);

    // Readings outside a profile have no place in a pseudo-section: written after the previous
    // profile's lines they would be taken for part of it.
    if (!d.line_is_profile) return;
    const float rho_a = std::fabs(r.ro);
    const ip::PseudoSectionIndices indices = ip::pseudo_section_indices(
        r, d.ip_state.array_code, {d.ip_state.i2d_left_electrode, d.ip_state.i2d_spacing});
    line.clear();
    ip::append_pseudo_section_data_line(line, indices, rho_a, r, d.ip_state.operating_mode);
    d.put(d.pseudo_section, line);
}

void handle_ipr_user(Decoder &d) {
    d.link_data_record();
    d.print(d.listing, "LineCoord:\t\t\t\t%-4x\n"_fmt, d.convert_u16(4));
    d.print(d.listing, "Reserved:\t\t\t\t%-4x\n"_fmt, d.convert_u16(6));
    for (std::size_t point = 0; point < 4; ++point) {
        const std::size_t offset = 8 + 12 * point;
        list_f32(d, offset, "x:\t\t\t\t\t\t%-8.3f\n"_fmt);
        list_f32(d, offset + 4, "y:\t\t\t\t\t\t%-8.3f\n"_fmt);
        list_f32(d, offset + 8, "z:\t\t\t\t\t\t%-8.3f\n"_fmt);
    }
    d.print(d.listing, "ResCon:\t\t\t\t%-4d\n"_fmt, d.convert_u16(56));
    d.print(d.listing, "SP:\t\t\t\t\t%-4d\n"_fmt, d.convert_i16(58));
    list_f32(d, 60, "Vp:\t\t\t\t\t%-8.3f\n"_fmt);
    list_f32(d, 64, "Itx:\t\t\t\t\t%-8.3f\n"_fmt);
    list_f32(d, 68, "Ro:\t\t\t\t\t%-8.3f\n"_fmt);
    list_f32(d, 72, "Stdev:\t\t\t\t\t%-8.3f\n"_fmt);
    list_m_channels(d, kUserChannels);
    d.write_record();
}

} // namespace dumpdec
