// The pseudo-section file as this library writes it: array types, profile geometry, the two
// position indices with this library's rounding, and the header-block and data-line formats.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace i2dwriter {

// Spacing and left electrode of a profile, taken from its first standard reading.
struct ProfileGeometry {
    float left_electrode = 0.0f;
    float spacing = 0.0f;
};

// Four-letter array type of the header block.
std::string_view array_type_name(std::uint16_t array_code);

ProfileGeometry profile_geometry(std::uint16_t array_code, float x, float dn, float da);

// Transmitter index: X + dA is rounded to single precision before the division.
int tx_index(float x, float da, const ProfileGeometry &geometry);

// Receiver index: the quotient is truncated in double precision.
int rx_index(std::uint16_t array_code, float dn, float da, const ProfileGeometry &geometry);

// Drops the fraction toward zero; a quotient that is not a finite number inside the range of int
// (a spacing of 0, overflowing fields) gives 0.
int truncate_index(double quotient);

struct HeaderBlock {
    ProfileGeometry geometry;
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
