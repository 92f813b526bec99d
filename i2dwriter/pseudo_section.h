// The pseudo-section file as this library writes it: array types and the header-block and
// data-line formats (the geometry and this library's rounding of the indices: array_geometry.h).
#pragma once

#include "array_geometry.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace i2dwriter {

// Four-letter array type of the header block.
std::string_view array_type_name(std::uint16_t array_code);

struct HeaderBlock {
    records::ProfileGeometry geometry;
    std::string_view client;
    std::string_view project;
    std::uint16_t azimuth_tenths = 0;
    std::uint16_t year = 0;
    std::uint8_t month_bcd = 0;
    std::uint8_t day_bcd = 0;
    std::string_view array_type;
    float line_pos = 0.0f;
    std::uint16_t line_coord = 0;
};

void append_header_block(std::string &out, const HeaderBlock &block);

// One reading; operating mode 0 carries the M channels 0 to 3, any other mode four " ***".
void append_data_line(std::string &out, int tx, int rx, float rho_a, std::uint16_t operating_mode,
                      const float (&m_channels)[4]);

} // namespace i2dwriter
