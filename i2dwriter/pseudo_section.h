// The pseudo-section file as this library writes it: array types and the header-block and
// data-line formats (the geometry and this library's rounding of the indices: array_geometry.h).
#pragma once

#include "array_geometry.h"
#include "header_records.h"

#include <cstdint>
#include <string>

namespace i2dwriter {

// The header block of a profile, from its survey and profile headers and its first reading.
void append_header_block(std::string &out, records::ProfileGeometry geometry,
                         const records::SurveyHeader &survey, const records::ProfileHeader &profile,
                         std::uint16_t array_code);

// One reading; operating mode 0 carries the M channels 0 to 3, any other mode four " ***".
void append_data_line(std::string &out, int tx, int rx, float rho_a, std::uint16_t operating_mode,
                      const float (&m_channels)[4]);

} // namespace i2dwriter
