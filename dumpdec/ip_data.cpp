// Sounding headers and the IP readings: survey text lines and the pseudo-section file.
#include "handlers.h"
#include "header_records.h"
#include "ip_arrays.h"
#include "ip_columns.h"
#include "ip_reading.h"
#include "line_format.h"

#include <algorithm>
#include <cmath>

namespace dumpdec {

namespace {

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

ip::PseudoSectionHeader header_block_values(const SurveyState &survey, const IpState &ip) {
    ip::PseudoSectionHeader h;
    h.geometry = {ip.i2d_left_electrode, ip.i2d_spacing};
    h.client = survey.survey_header.client;
    h.project = survey.survey_header.name;
    h.day = survey.survey_header.date.day_bcd;
    h.month = survey.survey_header.date.month_bcd;
    h.year = survey.survey_header.date.year;
    h.array_code = ip.array_code;
    h.line_pos = survey.profile_header.line_pos;
    h.line_coord = survey.profile_header.line_coord;
    h.profile_azimuth = survey.profile_header.azimuth_tenths;
    return h;
}

} // namespace

void handle_sounding_header(Record &record, DatabaseWriter &database, LinkTables &links,
                            SurveyState &survey, IpState &ip, Outputs &out) {
    survey.line_is_profile = false;
    const records::SoundingHeader h = records::read_sounding_header(record);
    if (h.first_data == kNoLink) {
        put(out.listing, "EMPTY  HEADER\n");
        database.drop(record);
        return;
    }
    print(out.listing, "*First_Data:\t\t\t%-4x\n"_fmt, h.first_data);
    print(out.listing, "Array:\t\t\t\t\t%-4x\n"_fmt, h.array_code);
    print(out.listing, "Azimuth:\t\t\t\t%-4d\n"_fmt, h.azimuth_tenths);
    print(out.listing, "Easting:\t\t\t\t%-8.3f\n"_fmt, h.easting);
    print(out.listing, "Northing:\t\t\t\t%-8.3f\n"_fmt, h.northing);
    print(out.listing, "Altitude:\t\t\t\t%-8.3f\n"_fmt, wide(h.altitude));
    print(out.listing, "Sound name:\t\t\t%s\n"_fmt, h.name.c_str());
    print(out.listing, "Reserved:\t\t\t\t%-4x\n"_fmt, h.reserved);
    print(out.listing, "*Next_Sound:\t\t\t%-4x\n"_fmt, h.next_sounding);
    links.add_line_header(database.offset());
    database.write(record);

    const ip::ArrayNaming naming = ip::sounding_naming(h.array_code);
    const double easting = h.easting, northing = h.northing;
    std::string text;
    append_format(text, "\r\nSounding\t%s"_fmt, h.name.c_str());
    text += "\r\n/\t";
    text += naming.name;
    append_format(text, "\r\n/\tPosition:      \t%8.3f%c,%8.3f%c"_fmt, std::fabs(easting),
                  easting > 0 ? 'E' : 'W', std::fabs(northing), northing > 0 ? 'N' : 'S');
    append_format(text, "\r\n/\tAzimuth:       \t%4.2f"_fmt, h.azimuth_tenths * 0.1);
    append_format(text, "\r\n/\tAltitude:      \t%8.3f"_fmt, wide(h.altitude));
    put(out.survey_text, text);
    ip.column_names = naming.column_names;
    print_data_columns(out.survey_text, ip);
    ip.array_code = h.array_code;
}

void handle_ipr_standard(Record &record, DatabaseWriter &database, LinkTables &links,
                         const SurveyState &survey, IpState &ip, Outputs &out) {
    ip::IprStandardReading r;
    static_cast<records::IpStandard &>(r) = records::read_ip_standard(record);
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
    r.m = list_m_channels(record, out.listing, ip.window_count, records::kIpStandardChannels);

    if (links.awaiting_first_data) {
        links.add_data_record(database.offset());
        if (survey.line_is_profile) {
            const records::ProfileGeometry geometry = records::profile_geometry(ip.array_code, r);
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
    const records::IpUser r = records::read_ip_user(record);
    print(listing, "LineCoord:\t\t\t\t%-4x\n"_fmt, unsigned{r.line_coord});
    print(listing, "Reserved:\t\t\t\t%-4x\n"_fmt, unsigned{r.reserved});
    for (const records::ElectrodePoint &p : r.electrodes)
        print(listing, "x:\t\t\t\t\t\t%-8.3f\ny:\t\t\t\t\t\t%-8.3f\nz:\t\t\t\t\t\t%-8.3f\n"_fmt,
              wide(p.x), wide(p.y), wide(p.z));
    print(listing,
          "ResCon:\t\t\t\t%-4d\nSP:\t\t\t\t\t%-4d\nVp:\t\t\t\t\t%-8.3f\nItx:\t\t\t\t\t%-8.3f\n"
          "Ro:\t\t\t\t\t%-8.3f\nStdev:\t\t\t\t\t%-8.3f\n"_fmt,
          int{r.res_con}, int{r.sp}, wide(r.vp), wide(r.itx), wide(r.ro), wide(r.stdev));
    list_m_channels(record, listing, ip.window_count, records::kIpUserChannels);
    database.write(record);
}

} // namespace dumpdec
