// Sounding headers and the IP readings: survey text lines and the pseudo-section file.
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
std::array<float, 4> list_m_channels(Record &record, OutputFile &listing,
                                     std::uint32_t window_count, std::size_t first_offset) {
    std::array<float, 4> first_four{};
    const std::size_t record_end = std::min<std::size_t>(record.length, kRecordBufferSize);
    for (std::uint32_t k = 0; k < window_count; ++k) {
        const std::size_t offset = first_offset + std::size_t{4} * k;
        if (offset >= record_end) break;
        const float value = record.convert_f32(offset);
        print(listing, "M chanel %-d:\t\t%-8.3f\n"_fmt, static_cast<int>(k), wide(value));
        if (k < first_four.size()) first_four[k] = value;
    }
    return first_four;
}

// Converts a single-precision field and lists it.
template <typename LineFormat>
float list_f32(Record &record, OutputFile &listing, std::size_t offset, LineFormat format) {
    const float value = record.convert_f32(offset);
    print(listing, format, wide(value));
    return value;
}

ip::PseudoSectionHeader header_block_values(const SurveyState &survey, const IpState &ip) {
    ip::PseudoSectionHeader h;
    h.geometry = {ip.i2d_left_electrode, ip.i2d_spacing};
    h.client = survey.survey_header.text(4, 36);
    h.project = survey.survey_header.text(40, 36);
    h.day = survey.survey_header.u8(116);
    h.month = survey.survey_header.u8(117);
    h.year = survey.survey_header.u16(118);
    h.array_code = ip.array_code;
    h.line_pos = survey.profile_header.f32(4);
    h.line_coord = survey.profile_header.u16(8);
    h.profile_azimuth = survey.profile_header.u16(10);
    return h;
}

} // namespace

void handle_sounding_header(Record &record, DatabaseWriter &database, LinkTables &links,
                            SurveyState &survey, IpState &ip, Outputs &out) {
    survey.line_is_profile = false;
    const std::uint32_t first_data = record.convert_u32(ravelin::link_field::kSoundingFirstData);
    if (first_data == kNoLink) {
        put(out.listing, "EMPTY  HEADER\n");
        database.drop(record);
        return;
    }
    print(out.listing, "*First_Data:\t\t\t%-4x\n"_fmt, first_data);
    const std::uint16_t array = record.convert_u16(4);
    print(out.listing, "Array:\t\t\t\t\t%-4x\n"_fmt, array);
    const std::uint16_t azimuth = record.convert_u16(6);
    print(out.listing, "Azimuth:\t\t\t\t%-4d\n"_fmt, azimuth);
    const double easting = record.convert_f64(8);
    print(out.listing, "Easting:\t\t\t\t%-8.3f\n"_fmt, easting);
    const double northing = record.convert_f64(16);
    print(out.listing, "Northing:\t\t\t\t%-8.3f\n"_fmt, northing);
    const float altitude = list_f32(record, out.listing, 24, "Altitude:\t\t\t\t%-8.3f\n"_fmt);
    const std::string name = record.text(28, 8);
    print(out.listing, "Sound name:\t\t\t%s\n"_fmt, name.c_str());
    print(out.listing, "Reserved:\t\t\t\t%-4x\n"_fmt, record.convert_u32(40));
    print(out.listing, "*Next_Sound:\t\t\t%-4x\n"_fmt,
          record.convert_u32(ravelin::link_field::kSoundingNextSounding));
    links.add_line_header(database.offset());
    database.write(record);

    const ip::ArrayNaming naming = ip::sounding_naming(array);
    std::string text;
    append_format(text, "\r\nSounding\t%s"_fmt, name.c_str());
    text += "\r\n/\t";
    text += naming.name;
    append_format(text, "\r\n/\tPosition:      \t%8.3f%c,%8.3f%c"_fmt, std::fabs(easting),
                  easting > 0 ? 'E' : 'W', std::fabs(northing), northing > 0 ? 'N' : 'S');
    append_format(text, "\r\n/\tAzimuth:       \t%4.2f"_fmt, azimuth * 0.1);
    append_format(text, "\r\n/\tAltitude:      \t%8.3f"_fmt, wide(altitude));
    put(out.survey_text, text);
    ip.column_names = naming.column_names;
    print_data_columns(out.survey_text, ip);
    ip.array_code = array;
}

void handle_ipr_standard(Record &record, DatabaseWriter &database, LinkTables &links,
                         const SurveyState &survey, IpState &ip, Outputs &out) {
    ip::IprStandardReading r;
    r.x = record.convert_f32(4);
    r.y = record.convert_f32(8);
    r.z = record.convert_f32(12);
    r.line_coord = record.convert_u16(16);
    r.n = record.convert_u16(18);
    r.dn = record.convert_f32(20);
    r.da = record.convert_f32(24);
    r.db = record.convert_f32(28);
    r.res_con = record.convert_u16(32);
    r.sp = record.convert_i16(34);
    r.vp = record.convert_f32(36);
    r.itx = record.convert_f32(40);
    r.ro = record.convert_f32(44);
    r.stdev = record.convert_f32(48);
    // The lines of every reading in one call: this is the listing's hottest path.
    print(out.listing,
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
    r.m = list_m_channels(record, out.listing, ip.window_count, kStandardChannels);

    if (links.awaiting_first_data) {
        links.add_data_record(database.offset());
        if (survey.line_is_profile) {
            const ip::ProfileGeometry geometry = ip::profile_geometry(ip.array_code, r);
            ip.i2d_left_electrode = geometry.left_electrode;
            ip.i2d_spacing = geometry.spacing;
            put(out.pseudo_section,
                ip::pseudo_section_header_block(header_block_values(survey, ip)));
        }
    }
    database.write(record);

    std::string &line = ip.reading_text;
    line.clear();
    ip::append_position_part(line, r, ip.array_code, survey.line_is_profile);
    ip::append_measurement_part(line, r, ip.operating_mode);
    put(out.survey_text, line);

    // Readings outside a profile have no place in a pseudo-section: written after the previous
    // profile's lines they would be taken for part of it.
    if (!survey.line_is_profile) return;
    const float rho_a = std::fabs(r.ro);
    const ip::PseudoSectionIndices indices =
        ip::pseudo_section_indices(r, ip.array_code, {ip.i2d_left_electrode, ip.i2d_spacing});
    line.clear();
    ip::append_pseudo_section_data_line(line, indices, rho_a, r, ip.operating_mode);
    put(out.pseudo_section, line);
}

void handle_ipr_user(Record &record, DatabaseWriter &database, LinkTables &links, const IpState &ip,
                     OutputFile &listing) {
    links.add_data_record(database.offset());
    print(listing, "LineCoord:\t\t\t\t%-4x\n"_fmt, record.convert_u16(4));
    print(listing, "Reserved:\t\t\t\t%-4x\n"_fmt, record.convert_u16(6));
    for (std::size_t point = 0; point < 4; ++point) {
        const std::size_t offset = 8 + 12 * point;
        list_f32(record, listing, offset, "x:\t\t\t\t\t\t%-8.3f\n"_fmt);
        list_f32(record, listing, offset + 4, "y:\t\t\t\t\t\t%-8.3f\n"_fmt);
        list_f32(record, listing, offset + 8, "z:\t\t\t\t\t\t%-8.3f\n"_fmt);
    }
    print(listing, "ResCon:\t\t\t\t%-4d\n"_fmt, record.convert_u16(56));
    print(listing, "SP:\t\t\t\t\t%-4d\n"_fmt, record.convert_i16(58));
    list_f32(record, listing, 60, "Vp:\t\t\t\t\t%-8.3f\n"_fmt);
    list_f32(record, listing, 64, "Itx:\t\t\t\t\t%-8.3f\n"_fmt);
    list_f32(record, listing, 68, "Ro:\t\t\t\t\t%-8.3f\n"_fmt);
    list_f32(record, listing, 72, "Stdev:\t\t\t\t\t%-8.3f\n"_fmt);
    list_m_channels(record, listing, ip.window_count, kUserChannels);
    database.write(record);
}

} // namespace dumpdec
