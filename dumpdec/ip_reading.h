// One reading of a standard array (IPR standard record) and the text it produces: the IP data
// line of the survey text file and the pseudo-section line with its position indices.
#pragma once

#include "array_geometry.h"

#include <array>
#include <cstdint>
#include <string>

namespace dumpdec::ip {

// The fields of an IPR standard record in host order, and its M channels 0 to 3 (0 where the
// record carries none).
struct IprStandardReading : records::IpStandard {
    std::array<float, 4> m{};
};

// Electrode spacing and left electrode of a profile's pseudo-section, from its first reading.
using records::profile_geometry;
using records::ProfileGeometry;

// Position columns of the IP data line: "\r\n" and the columns the array's formula gives.
std::string position_part(const IprStandardReading &reading, std::uint16_t array_code,
                          bool in_profile);

// Measurement columns that follow the position part on the same line; Ro keeps its sign.
std::string measurement_part(const IprStandardReading &reading, std::uint16_t operating_mode);

// The same three texts appended to a string the caller reuses, for the conversion's hot path.
void append_position_part(std::string &out, const IprStandardReading &reading,
                          std::uint16_t array_code, bool in_profile);
void append_measurement_part(std::string &out, const IprStandardReading &reading,
                             std::uint16_t operating_mode);

// TX_INDEX and RX_INDEX of a reading in a profile, in the decoder's rounding.
using records::PseudoSectionIndices;
PseudoSectionIndices pseudo_section_indices(const IprStandardReading &reading,
                                            std::uint16_t array_code, ProfileGeometry geometry);

// The pseudo-section data line; rho_a is the reading's Ro made non-negative.
std::string pseudo_section_data_line(PseudoSectionIndices indices, float rho_a,
                                     const IprStandardReading &reading,
                                     std::uint16_t operating_mode);
void append_pseudo_section_data_line(std::string &out, PseudoSectionIndices indices, float rho_a,
                                     const IprStandardReading &reading,
                                     std::uint16_t operating_mode);

// Values of a pseudo-section header block.
struct PseudoSectionHeader {
    ProfileGeometry geometry;
    std::string client;
    std::string project;
    std::uint16_t profile_azimuth = 0; // tenths of a degree
    std::uint16_t year = 0;
    std::uint8_t month = 0; // BCD
    std::uint8_t day = 0;   // BCD
    std::uint16_t array_code = 0;
    float line_pos = 0;
    std::uint16_t line_coord = 0;
};

std::string pseudo_section_header_block(const PseudoSectionHeader &header);

// Direction letter of a line position: bit 1 of Line Coord marks an easting.
char line_direction(float line_pos, std::uint16_t line_coord);

} // namespace dumpdec::ip
