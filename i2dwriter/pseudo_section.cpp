#include "pseudo_section.h"

#include "array_codes.h"
#include "text_format.h"

#include <cmath>

namespace i2dwriter {

namespace {

char direction_letter(float line_pos, std::uint16_t line_coord) {
    const bool easting = (line_coord & 0x2) != 0;
    if (easting) return line_pos > 0 ? 'E' : 'W';
    return line_pos > 0 ? 'N' : 'S';
}

} // namespace

std::string_view array_type_name(std::uint16_t array_code) {
    return ravelin::pseudo_section_array_type(array_code);
}

void append_header_block(std::string &out, const HeaderBlock &block) {
    const std::string client(block.client);
    const std::string project(block.project);
    const std::string array_type(block.array_type);
    append_format(out, "/ SPACING:       \t%-8.3f", block.geometry.spacing);
    append_format(out, "\r\n/ LEFT ELECTRODE:\t%-8.3f", block.geometry.left_electrode);
    append_format(out, "\r\n/ CLIENT:        \t%-s", client.c_str());
    append_format(out, "\r\n/ PROJECT:       \t%-s", project.c_str());
    append_format(out, "\r\n/ AZIMUTH:       \t%-4.2f", block.azimuth_tenths * 0.1);
    out += "\r\n/ EQUIPMENT:     \tVIREL";
    append_format(out, "\r\n/ DATE:          \t%-4d-%02X-%02X", block.year, block.month_bcd,
                  block.day_bcd);
    append_format(out, "\r\n/ ARRAY TYPE:    \t%-s", array_type.c_str());
    append_format(out, "\r\nLINE\t%8.3f%c\tDATA:  TX_INDEX, RX_INDEX, RHO-A, IP-VALUE\r\n",
                  std::fabs(block.line_pos), direction_letter(block.line_pos, block.line_coord));
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
