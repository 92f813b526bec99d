#include "pseudo_section.h"

#include "array_codes.h"
#include "text_format.h"

#include <cmath>

namespace i2dwriter {

void append_header_block(std::string &out, records::ProfileGeometry geometry,
                         const records::SurveyHeader &survey, const records::ProfileHeader &profile,
                         std::uint16_t array_code) {
    const std::string array_type(ravelin::pseudo_section_array_type(array_code));
    append_format(out, "/ SPACING:       \t%-8.3f", geometry.spacing);
    append_format(out, "\r\n/ LEFT ELECTRODE:\t%-8.3f", geometry.left_electrode);
    append_format(out, "\r\n/ CLIENT:        \t%-s", survey.client.c_str());
    append_format(out, "\r\n/ PROJECT:       \t%-s", survey.name.c_str());
    append_format(out, "\r\n/ AZIMUTH:       \t%-4.2f", profile.azimuth_tenths * 0.1);
    out += "\r\n/ EQUIPMENT:     \tVIREL";
    append_format(out, "\r\n/ DATE:          \t%-4d-%02X-%02X", survey.date.year,
                  survey.date.month_bcd, survey.date.day_bcd);
    append_format(out, "\r\n/ ARRAY TYPE:    \t%-s", array_type.c_str());
    append_format(out, "\r\nLINE\t%8.3f%c\tDATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n",
                  std::fabs(profile.line_pos), profile.direction());
}

void append_data_line(std::string &out, int tx, int rx, float rho_a, std::uint16_t operating_mode,
                      const float (&m_channels)[4]) {
    if (operating_mode != 0) {
        append_format(out, "%4d,%4d,%10.3f, ***, ***, ***, ***\r\n", tx, rx, rho_a);
        return;
    }
    append_format(out, "%4d,%4d,%10.3f,%10.3f,%10.3f,%10.3f,%10.3f\r\n", tx, rx, rho_a,
                  m_channels[0], m_channels[1], m_channels[2], m_channels[3]);
}

} // namespace i2dwriter
